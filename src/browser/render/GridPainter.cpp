#include "browser/render/GridPainter.h"

#include <QFontMetrics>
#include <QPainter>
#include <QRect>
#include <QString>

namespace orv {
namespace {

QRect ToQRect(const Rect& r)
{
    return QRect(r.X, r.Y, r.Width, r.Height);
}

} // namespace

QColor ColorFromColorRef(std::uint32_t colour)
{
    return QColor(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
        static_cast<int>((colour >> 16) & 0xFF));
}

bool CaptionIsCentred(const QFontMetrics& metrics, const QString& caption, int width)
{
    return metrics.horizontalAdvance(caption) <= width;
}

void PaintGridPage(QPainter& painter, const GridPage& page, const GridLayout& layout, int selectedDrawing,
    const GridPaintStyle& style, const CellPictureFunction& drawPicture)
{
    const QColor selection = ColorFromColorRef(style.SelectionColour);
    const QColor pictureBack = ColorFromColorRef(style.Colours.PictureBackground);
    const QColor captionBack = ColorFromColorRef(style.Colours.CaptionBackground);
    const QColor captionText = ColorFromColorRef(style.Colours.CaptionText);
    painter.save();
    painter.setFont(style.Font);
    const QFontMetrics metrics(style.Font, painter.device());
    for (const GridCell& cell : page.Cells) {
        if (cell.DrawingIndex < 0 || cell.Cell < 0
            || static_cast<std::size_t>(cell.Cell) >= layout.Cells.size())
            continue;
        const CellRects& rects = layout.Cells[static_cast<std::size_t>(cell.Cell)];
        const bool selected = cell.DrawingIndex == selectedDrawing;
        const QRect picture = ToQRect(rects.Picture);
        if (!picture.isEmpty()) {
            painter.fillRect(picture, selected ? selection : pictureBack);
            if (drawPicture) {
                // A picture drawn past its cell must not spill into the neighbours.
                painter.save();
                painter.setClipRect(picture);
                drawPicture(painter, picture, cell.DrawingIndex);
                painter.restore();
            }
        }
        const QRect caption = ToQRect(rects.Caption);
        if (caption.isEmpty())
            continue;
        painter.fillRect(caption, selected ? selection : captionBack);
        const QString text = QString::fromStdString(cell.Caption);
        const int align
            = (CaptionIsCentred(metrics, text, caption.width()) ? Qt::AlignHCenter : Qt::AlignLeft)
            | Qt::AlignVCenter | Qt::TextSingleLine;
        painter.setPen(selected ? QColor(Qt::white) : captionText);
        painter.save();
        painter.setClipRect(caption);
        painter.drawText(caption, align, text);
        painter.restore();
    }
    painter.restore();
}

} // namespace orv
