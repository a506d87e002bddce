#pragma once
// Draws a metafile's display list (browser/WmfReader.h) with QPainter: the picture's frame is
// fitted into a rectangle with its aspect ratio kept and centred, and every primitive is drawn
// with the pen, brush, font and colours the reader resolved for it. Drawing happens in device
// coordinates (points mapped here), so text stays upright and pens keep their pixel widths
// whichever way the frame's axes point.

#include <QColor>
#include <QImage>
#include <QRectF>
#include <QTransform>

class QPainter;

namespace orv {

struct WmfPicture;

// Frame units to device units for rect: scale min(rect w / |frame w|, rect h / |frame h|),
// the sign of each axis kept, the frame's centre on the rect's centre. Identity for an empty
// picture or rect.
QTransform WmfFrameTransform(const WmfPicture& picture, const QRectF& rect);

// Draws nothing for an empty picture; leaves the painter's state as it found it.
void DrawWmf(QPainter& painter, const QRectF& rect, const WmfPicture& picture, bool antialias = true);

// The picture drawn over a filled background in a new ARGB32 image; a null image when a side
// is not positive or the image would be larger than 64 megapixels.
QImage RenderWmf(const WmfPicture& picture, QSize size, QColor background = Qt::white);

} // namespace orv
