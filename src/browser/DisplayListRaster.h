#pragma once
// Draws a slide display list into a RasterImage, for the picture files the gallery builder and
// orvtool write. The fit is the slide drawing's own (FitDisplayList: margin, aspect ratio,
// centring, slide y growing upwards), and the pixels are those of the exact (aliased) slide
// drawing on screen, so a picture file shows what the reader's renderer draws:
//
// - A line covers one pixel per column (or per row, where it is steeper than 45 degrees) from
//   its lower to its upper end along that axis, leaving out the pixel at the upper end. The
//   other coordinate is stepped in 16.16 fixed point, taken at the pixel's centre where it
//   grows and at the pixel's start where it falls. A line whose ends share a pixel is that
//   pixel. Wider lines put a square of width x width pixels on each of these pixels.
// - A polygon is filled by the odd-even rule, a pixel being inside when its centre is, and
//   its outline (every edge, closing edge included, and every vertex) drawn as lines. Where
//   two edges meet, the renderer's pen may take a pixel beside the vertex instead of the
//   vertex itself: the only place the two drawings part.
//
// Texts are not drawn: a raster picture has no fonts (the metafile writer carries them).

#include "browser/AcadSlideBitmap.h"
#include "browser/RasterImage.h"

#include <cstddef>
#include <cstdint>

namespace orv {

struct RasterPoint {
    int x = 0;
    int y = 0;
};

struct RasterDrawOptions {
    int margin = 4; // pixels left free on each side
    int lineWidth = 1; // pixels, for lines and polygon outlines; below 1 counts as 1
    SlideColorFunction color; // empty: CAcadSlideBitmap::ColorFromIndex
};

// Draws every primitive of the list over the whole image, in list order, and returns the
// layout used; nothing is drawn when it is not drawable (no primitives, no room).
SlideLayout DrawDisplayList(
    RasterImage& image, const SlideDisplayList& list, const RasterDrawOptions& options = RasterDrawOptions());

// The drawing steps in device pixels; anything off the image is cut.
void DrawRasterLine(RasterImage& image, RasterPoint from, RasterPoint to, std::uint32_t color, int width = 1);
void FillRasterPolygon(RasterImage& image, const RasterPoint* points, std::size_t count, std::uint32_t color);
// Fill, then outline.
void DrawRasterPolygon(
    RasterImage& image, const RasterPoint* points, std::size_t count, std::uint32_t color, int width = 1);

} // namespace orv
