#include "platform/Hooks.h"

#include <cstdio>
#include <utility>

namespace orv::platform {
namespace {

PumpEventsHook& PumpHook()
{
    static PumpEventsHook hook;
    return hook;
}

ShowMessageHook& MessageHook()
{
    static ShowMessageHook hook;
    return hook;
}

}  // namespace

void PumpEvents()
{
    if (PumpHook())
        PumpHook()();
}

int ShowMessage(const std::string& text, const std::string& caption, MessageKind kind)
{
    if (MessageHook())
        return MessageHook()(text, caption, kind);
    std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
    return 1;
}

PumpEventsHook SetPumpEventsHook(PumpEventsHook hook)
{
    return std::exchange(PumpHook(), std::move(hook));
}

ShowMessageHook SetShowMessageHook(ShowMessageHook hook)
{
    return std::exchange(MessageHook(), std::move(hook));
}

}  // namespace orv::platform
