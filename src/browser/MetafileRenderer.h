#pragma once
// Web views cannot show Windows metafiles, and the core has no painter: the program that has
// one (the reader, orvtool built with the renderer) installs a function that turns a metafile
// into PNG bytes, and the content panel shows that PNG in place of the metafile. Without one,
// pages name the metafile instead.

#include <functional>
#include <string>

namespace orv {

// Renders the metafile at wmfProgramPath into png (the file's bytes); false when it cannot.
using MetafileRenderer = std::function<bool(const std::string& wmfProgramPath, std::string& png)>;

// Returns the renderer it replaces; an empty function removes it.
MetafileRenderer SetMetafileRenderer(MetafileRenderer renderer);
const MetafileRenderer& GetMetafileRenderer();

} // namespace orv
