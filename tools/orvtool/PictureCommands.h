#pragma once
// orvtool picture render, and the metafile renderer the content commands use: both draw
// through the reader's preview loader, so they need the renderer (ORV_HAVE_RENDER).

#include <CLI/CLI.hpp>

namespace orv::tool {

// Adds "render" to the "picture" command group; nothing without the renderer.
void RegisterPictureRender(CLI::App& pictures);

#ifdef ORV_HAVE_RENDER
// Text needs the font database, which needs a QGuiApplication: made on first use, off screen
// unless a platform was asked for, and kept until the process ends.
void EnsureGuiApplication();

// Lets content pages show metafiles as PNGs, as the reader does.
void InstallMetafileRenderer();
#endif

} // namespace orv::tool
