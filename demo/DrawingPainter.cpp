#include "DrawingPainter.h"
#include "Sketch.h"

#include "browser/AcadSlideBitmap.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include <algorithm>
#include <cmath>
#include <limits>

namespace orv::demo {
namespace {

using Kind = DrawingItem::Kind;

constexpr double kPi = 3.14159265358979323846;

QPolygonF ArcPoints(double cx, double cy, double r, double start, double end)
{
    QPolygonF points;
    if (end < start)
        end += 360.0;
    int segments = std::max(8, static_cast<int>((end - start) / 6.0));
    for (int i = 0; i <= segments; ++i) {
        double a = (start + (end - start) * i / segments) * kPi / 180.0;
        points << QPointF(cx + r * std::cos(a), cy + r * std::sin(a));
    }
    return points;
}

QPolygonF Pairs(const std::vector<double>& coords)
{
    QPolygonF points;
    for (std::size_t i = 0; i + 1 < coords.size(); i += 2)
        points << QPointF(coords[i], coords[i + 1]);
    return points;
}

} // namespace

void PaintDrawing(
    QPainter& painter, const DrawingDescription& drawing, const QRectF& target, const PaintStyle& style)
{
    const DrawingBox box = BoxOf(drawing);
    const double minX = box.MinX, minY = box.MinY, maxX = box.MaxX, maxY = box.MaxY;
    if (minX >= maxX || minY >= maxY)
        return;
    double scale = std::min(target.width() / (maxX - minX), target.height() / (maxY - minY));
    double offX = target.left() + (target.width() - (maxX - minX) * scale) / 2;
    double offY = target.top() + (target.height() - (maxY - minY) * scale) / 2;
    auto map = [&](const QPolygonF& points) {
        QPolygonF out;
        for (const auto& p : points)
            out << QPointF(offX + (p.x() - minX) * scale, offY + (maxY - p.y()) * scale);
        return out;
    };
    auto colorOf = [&](int index) {
        if (style.monochrome || index == 7)
            return style.outline;
        std::uint32_t rgb = CAcadSlideBitmap::ColorFromIndex(index);
        return QColor(static_cast<int>(SlideRed(rgb)), static_cast<int>(SlideGreen(rgb)),
            static_cast<int>(SlideBlue(rgb)));
    };

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    for (const auto& item : drawing.Items) {
        QColor color = colorOf(item.Color);
        const auto& c = item.Coords;
        QPen pen(color, style.lineWidth);
        pen.setCapStyle(Qt::RoundCap);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        switch (item.Type) {
        case Kind::Line:
            if (c.size() >= 4)
                painter.drawPolyline(map(Pairs(c)));
            break;
        case Kind::Polyline:
            if (item.Closed)
                painter.drawPolygon(map(Pairs(c)));
            else
                painter.drawPolyline(map(Pairs(c)));
            break;
        case Kind::Fill: {
            QColor fill = color;
            if (style.monochrome)
                fill.setAlphaF(0.25);
            painter.setPen(Qt::NoPen);
            painter.setBrush(fill);
            painter.drawPolygon(map(Pairs(c)));
            break;
        }
        case Kind::Circle:
            if (c.size() >= 3)
                painter.drawPolygon(map(ArcPoints(c[0], c[1], c[2], 0, 360)));
            break;
        case Kind::Arc:
            if (c.size() >= 5)
                painter.drawPolyline(map(ArcPoints(c[0], c[1], c[2], c[3], c[4])));
            break;
        case Kind::Text:
            if (style.texts && c.size() >= 2) {
                QFont font("Noto Sans CJK SC");
                font.setPixelSize(std::max(6, static_cast<int>(item.Height * scale)));
                painter.setFont(font);
                QPolygonF at = map(Pairs(c));
                painter.drawText(at.front(), QString::fromStdString(item.Text));
            }
            break;
        }
    }
    painter.restore();
}

} // namespace orv::demo
