#include "browser/MetafileRenderer.h"

#include <utility>

namespace orv {
namespace {

MetafileRenderer& Installed()
{
    static MetafileRenderer renderer;
    return renderer;
}

} // namespace

MetafileRenderer SetMetafileRenderer(MetafileRenderer renderer)
{
    return std::exchange(Installed(), std::move(renderer));
}

const MetafileRenderer& GetMetafileRenderer()
{
    return Installed();
}

} // namespace orv
