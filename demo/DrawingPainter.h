#pragma once
// Paints a drawing description with QPainter, fitted into a rectangle: for the pictures the
// demo draws itself (splash screen, home page), not for gallery previews, which the gallery
// builder writes.

#include "builder/GalleryManifest.h"

#include <QColor>
#include <QRectF>

class QPainter;

namespace orv::demo {

struct PaintStyle {
    QColor outline = Qt::black; // what colour 7 becomes
    bool monochrome = false; // every item in the outline colour, fills at a quarter of its opacity
    double lineWidth = 1.0;
    bool texts = true;
};

void PaintDrawing(QPainter& painter, const DrawingDescription& drawing, const QRectF& target,
    const PaintStyle& style = PaintStyle());

} // namespace orv::demo
