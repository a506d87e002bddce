#pragma once
// The two written forms of a demo drawing besides the pictures the gallery builder makes:
// the manifest's JSON description, and a DXF (release 12) drawing file, the honest form of a
// drawing file for a CAD program to insert.
//
// The DXF keeps every item as an entity on layer 0 with its colour: LINE, POLYLINE (closed
// where the outline is), CIRCLE, ARC, TEXT (GB2312, as the code page in the header says), and
// fills as SOLID triangles cut from the polygon.

#include "builder/GalleryManifest.h"

#include <nlohmann/json.hpp>

#include <string>

namespace orv::demo {

nlohmann::ordered_json DrawingToJson(const DrawingDescription& drawing);

std::string DrawingToDxf(const DrawingDescription& drawing);

} // namespace orv::demo
