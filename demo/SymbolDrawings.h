#pragma once
// Graphic symbols for circuit diagrams (resistors, capacitors, diodes, contacts, machines...),
// drawn on a grid of 20 units with the connection points on the left and right (or top and
// bottom) ends. Letters inside symbols (M, G, A, V) are drawn with lines, so they survive in
// slides, which carry no text.

#include "builder/GalleryManifest.h"

#include <string>
#include <vector>

namespace orv::demo {

// False with the reason for an unknown symbol.
bool DrawSymbol(
    const std::string& symbol, const std::string& label, DrawingDescription& drawing, std::string& error);

const std::vector<std::string>& SymbolNames();

} // namespace orv::demo
