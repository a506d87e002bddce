#pragma once
// Draws a slide's display list with QPainter. By default the drawing is pixel-exact: device
// coordinates are truncated toward zero, lines are aliased and leave out their end pixel (a
// line whose ends fall on one pixel is widened to show that pixel), polygons are filled with
// the odd-even rule. The antialiased mode keeps fractional coordinates instead, for large views
// and for images rendered at a device-pixel ratio above 1.

#include <QImage>

class QPainter;
class QRect;

namespace orv {

class CAcadSlideBitmap;

struct SlideDrawOptions {
    bool antialias = false;
    double devicePixelRatio = 1.0; // RenderToBitmap only: the image has this many pixels per unit
};

// Draws into rect of the painter's device: background fill (when the slide asks for it),
// margin, aspect fit and centring, y growing upwards. An empty display list draws nothing.
void Draw(CAcadSlideBitmap& slide, QPainter& painter, const QRect& rect,
    const SlideDrawOptions& options = SlideDrawOptions());

// The slide drawn into a new RGB32 image of width x height (times the device-pixel ratio);
// a null image when the display list is empty or the size is not positive or too large.
QImage RenderToBitmap(
    CAcadSlideBitmap& slide, int width, int height, const SlideDrawOptions& options = SlideDrawOptions());

} // namespace orv
