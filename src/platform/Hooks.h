#pragma once
// The two places where the core reaches the user interface: dispatching pending window
// events inside long loops, and message boxes raised below the widgets. The reader sets
// both to its Qt implementations; the command-line tool and the tests keep the defaults.

#include <functional>
#include <string>

namespace orv::platform {

enum class MessageKind { Information = 0, Question = 1, Warning = 2 };

// Returns the button that closed the message: 1 ("确定") or 2 ("放弃").
using ShowMessageHook = std::function<int(const std::string& text, const std::string& caption, MessageKind kind)>;
using PumpEventsHook = std::function<void()>;

// The default does nothing.
void PumpEvents();
// The default prints "caption: text" to standard error and answers 1.
int ShowMessage(const std::string& text, const std::string& caption, MessageKind kind = MessageKind::Information);

// Each returns the hook it replaces; an empty function restores the default.
PumpEventsHook SetPumpEventsHook(PumpEventsHook hook);
ShowMessageHook SetShowMessageHook(ShowMessageHook hook);

}  // namespace orv::platform
