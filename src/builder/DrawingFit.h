#pragma once
// A manifest drawing made concrete: circles and arcs flattened into short segments, and every
// point moved into whole slide units, so that one fitted drawing becomes the same picture as
// a slide, a raster picture and a metafile.

#include "browser/SlideDisplayList.h"
#include "builder/GalleryManifest.h"

#include <cstdint>
#include <string>
#include <vector>

namespace orv {

struct FittedText {
    std::int32_t X = 0, Y = 0; // baseline start, slide units (y up)
    std::int32_t Height = 0;
    int Color = 7;
    std::string Text; // UTF-8
};

struct FittedDrawing {
    SlideDisplayList List; // lines and filled polygons
    std::vector<FittedText> Texts;
};

// The largest coordinate a fitted drawing uses: the longer side of its box spans 0..this.
constexpr std::int32_t kFittedExtent = 4000;

// Flattens and fits; the box of every point (texts' anchors and heights included) maps onto
// 0..kFittedExtent keeping the aspect ratio. Degrees per segment of a circle or an arc: 5.
FittedDrawing FitDrawing(const DrawingDescription& drawing);

// The drawing as an AutoCAD slide; false with the reason when the slide writer refuses it.
bool SlideFromDrawing(const FittedDrawing& drawing, std::string& slide, std::string& error);

} // namespace orv
