#pragma once
// The drawings of the mechanical parts, computed from their dimensions: a side view or
// section beside an end view, with centre lines, thread lines, hidden lines, cut faces and a
// label. One function per shape; DrawPart chooses by the shape name the catalogue gives.

#include "builder/GalleryManifest.h"

#include <map>
#include <string>
#include <vector>

namespace orv::demo {

struct PartValues {
    std::map<std::string, double> Numbers; // dimensions in millimetres, by their catalogue names
    std::map<std::string, std::vector<double>> Lists; // stepped shapes: "d" and "l" per step
    std::string Label; // drawn as text under the part (kept only where texts are kept)
};

// Shapes: hexbolt, socketscrew, counterbore, hexnut, flatwasher, springwasher, plateflange,
// hubflange, blindflange, flatkey, pin, ballbearing, thrustbearing, shaft. False with the
// reason for an unknown shape or a missing or impossible dimension.
bool DrawPart(
    const std::string& shape, const PartValues& values, DrawingDescription& drawing, std::string& error);

// Every shape name DrawPart knows.
const std::vector<std::string>& PartShapes();

} // namespace orv::demo
