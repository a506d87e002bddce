#include "browser/render/WmfPainter.h"

#include "browser/WmfReader.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include <algorithm>
#include <cmath>

namespace orv {
namespace {

constexpr qint64 kMaxImagePixels = 64LL * 1024 * 1024;
constexpr double kDefaultFontPixels = 12;

QColor ToQColor(std::uint32_t color)
{
    return QColor(static_cast<int>(color & 0xFF), static_cast<int>((color >> 8) & 0xFF),
        static_cast<int>((color >> 16) & 0xFF));
}

QPen MakePen(const WmfPen& pen, double scale, double maxWidth)
{
    if (pen.style == 5)
        return QPen(Qt::NoPen);
    static const Qt::PenStyle kStyles[]
        = { Qt::SolidLine, Qt::DashLine, Qt::DotLine, Qt::DashDotLine, Qt::DashDotDotLine };
    const Qt::PenStyle style = pen.style >= 1 && pen.style <= 4 ? kStyles[pen.style] : Qt::SolidLine;
    const double width = std::min(pen.width * scale, maxWidth);
    // Thin pens are one device pixel; GDI's wide pens have round ends and joins.
    if (width < 1.5)
        return QPen(ToQColor(pen.color), 0, style, Qt::FlatCap, Qt::MiterJoin);
    return QPen(ToQColor(pen.color), width, style, Qt::RoundCap, Qt::RoundJoin);
}

QBrush MakeBrush(const WmfBrush& brush)
{
    static const Qt::BrushStyle kHatches[] = { Qt::HorPattern, Qt::VerPattern, Qt::FDiagPattern,
        Qt::BDiagPattern, Qt::CrossPattern, Qt::DiagCrossPattern };
    switch (brush.style) {
    case 0:
        return QBrush(ToQColor(brush.color));
    case 2:
        return QBrush(ToQColor(brush.color), kHatches[std::clamp(brush.hatch, 0, 5)]);
    case 3:
        // Pattern bitmaps are not read: a half-tone stands for them.
        return QBrush(Qt::black, Qt::Dense4Pattern);
    default:
        return QBrush(Qt::NoBrush);
    }
}

class Drawer {
public:
    // Pens and glyphs wider than twice the target show nothing more; a damaged width or height
    // must not make the engine stroke or rasterise for ever.
    Drawer(QPainter& painter, const WmfPicture& picture, const QTransform& transform, const QRectF& rect)
        : m_painter(painter)
        , m_picture(picture)
        , m_t(transform)
        , m_scale(std::abs(transform.m11()))
        , m_maxPixels(std::max(2 * std::max(rect.width(), rect.height()), 2.0))
    {
    }

    void Draw(const WmfPrimitive& primitive);

private:
    QPointF At(std::uint32_t i) const
    {
        const WmfPointF& p = m_picture.points[i];
        return m_t.map(QPointF(p.x, p.y));
    }
    // Repeated points are dropped: they add nothing, and runs of them far outside the target
    // make Qt's antialiased stroker crawl.
    QPolygonF Points(std::uint32_t first, std::uint32_t count) const
    {
        QPolygonF polygon;
        polygon.reserve(static_cast<int>(count));
        for (std::uint32_t i = 0; i < count; ++i) {
            const QPointF point = At(first + i);
            if (polygon.isEmpty() || polygon.constLast() != point)
                polygon.append(point);
        }
        return polygon;
    }
    void UseStyle(const WmfStyle& style);
    // Hatches in an opaque background mode show the background colour between their lines.
    void FillPath(const QPainterPath& path, const WmfStyle& style);
    void ArcShape(const WmfPrimitive& primitive, const WmfStyle& style);
    void Text(const WmfPrimitive& primitive, const WmfStyle& style);

    QPainter& m_painter;
    const WmfPicture& m_picture;
    QTransform m_t;
    double m_scale;
    double m_maxPixels;
    std::uint32_t m_style = UINT32_MAX;
};

void Drawer::UseStyle(const WmfStyle& style)
{
    m_painter.setPen(MakePen(style.pen, m_scale, m_maxPixels));
    m_painter.setBrush(MakeBrush(style.brush));
    m_painter.setBackground(QBrush(ToQColor(style.backColor)));
    m_painter.setBackgroundMode(style.opaqueBackground ? Qt::OpaqueMode : Qt::TransparentMode);
}

// Shapes reaching far beyond the target (damaged files have them) are drawn aliased: Qt's
// antialiasing rasteriser spends long on their edges, for nothing that shows.
class AliasedWhenHuge {
public:
    AliasedWhenHuge(QPainter& painter, const QRectF& bounds, double huge)
        : m_painter(painter)
        , m_switched(painter.testRenderHint(QPainter::Antialiasing)
              && (bounds.width() > huge || bounds.height() > huge))
    {
        if (m_switched)
            m_painter.setRenderHint(QPainter::Antialiasing, false);
    }
    ~AliasedWhenHuge()
    {
        if (m_switched)
            m_painter.setRenderHint(QPainter::Antialiasing, true);
    }

private:
    QPainter& m_painter;
    bool m_switched;
};

void Drawer::FillPath(const QPainterPath& path, const WmfStyle& style)
{
    AliasedWhenHuge aliased(m_painter, path.controlPointRect(), 8 * m_maxPixels);
    if (style.brush.style == 2 && style.opaqueBackground)
        m_painter.fillPath(path, ToQColor(style.backColor));
    m_painter.drawPath(path);
}

void Drawer::ArcShape(const WmfPrimitive& primitive, const WmfStyle& style)
{
    const QRectF box = QRectF(At(primitive.first), At(primitive.first + 1)).normalized();
    if (box.width() <= 0 || box.height() <= 0)
        return;
    const QPointF centre = box.center();
    // Qt's angles are parametric on the ellipse: a radial point is first brought onto the
    // unit circle.
    auto angle = [&](QPointF p) {
        return std::atan2(-(p.y() - centre.y()) / box.height(), (p.x() - centre.x()) / box.width()) * 180.0
            / M_PI;
    };
    const double start = angle(At(primitive.first + 2)), end = angle(At(primitive.first + 3));
    // Counter-clockwise as seen, from the start radial to the end one; equal radials make a
    // whole ellipse.
    double span = std::fmod(end - start + 720.0, 360.0);
    if (span <= 0)
        span = 360.0;
    QPainterPath path;
    if (primitive.shape == WmfShape::Pie)
        path.moveTo(centre);
    else
        path.arcMoveTo(box, start);
    path.arcTo(box, start, span);
    if (primitive.shape == WmfShape::Arc) {
        m_painter.strokePath(path, m_painter.pen());
        return;
    }
    path.closeSubpath();
    FillPath(path, style);
}

void Drawer::Text(const WmfPrimitive& primitive, const WmfStyle& style)
{
    if (primitive.extra >= m_picture.texts.size())
        return;
    const QString text = QString::fromUtf8(m_picture.texts[primitive.extra].c_str());
    const WmfFont& f = style.font;
    // A negative height is the character height, a positive one the cell height (taller by
    // the internal leading).
    double pixels = f.height < 0 ? -f.height * m_scale
        : f.height > 0           ? f.height * m_scale * 0.8
                                 : kDefaultFontPixels;
    pixels = std::clamp(pixels, 1.0, m_maxPixels);
    QFont font;
    if (!f.face.empty())
        font.setFamily(QString::fromUtf8(f.face.c_str()));
    font.setPixelSize(static_cast<int>(std::lround(pixels)));
    if (f.weight > 0)
        font.setWeight(static_cast<QFont::Weight>(std::clamp(f.weight, 1, 1000)));
    font.setItalic(f.italic);
    font.setUnderline(f.underline);
    font.setStrikeOut(f.strikeOut);
    const QFontMetricsF metrics(font);
    const double width = metrics.horizontalAdvance(text);
    double dx = 0, dy = 0;
    if ((style.textAlign & 6) == 6)
        dx = -width / 2;
    else if (style.textAlign & 2)
        dx = -width;
    if ((style.textAlign & 24) == 24)
        dy = 0;
    else if (style.textAlign & 8)
        dy = -metrics.descent();
    else
        dy = metrics.ascent();
    m_painter.save();
    m_painter.translate(At(primitive.first));
    m_painter.rotate(-f.escapement / 10.0);
    m_painter.setFont(font);
    if (style.opaqueBackground)
        m_painter.fillRect(
            QRectF(dx, dy - metrics.ascent(), width, metrics.height()), ToQColor(style.backColor));
    m_painter.setPen(ToQColor(style.textColor));
    m_painter.setBackgroundMode(Qt::TransparentMode);
    m_painter.drawText(QPointF(dx, dy), text);
    m_painter.restore();
}

void Drawer::Draw(const WmfPrimitive& primitive)
{
    const WmfStyle& style = m_picture.styles[primitive.style];
    if (primitive.style != m_style) {
        UseStyle(style);
        m_style = primitive.style;
    }
    const Qt::FillRule rule = style.winding ? Qt::WindingFill : Qt::OddEvenFill;
    switch (primitive.shape) {
    case WmfShape::Polyline: {
        const QPolygonF points = Points(primitive.first, primitive.count);
        AliasedWhenHuge aliased(m_painter, points.boundingRect(), 8 * m_maxPixels);
        m_painter.drawPolyline(points);
        break;
    }
    case WmfShape::Polygon: {
        QPainterPath path;
        path.setFillRule(rule);
        path.addPolygon(Points(primitive.first, primitive.count));
        path.closeSubpath();
        FillPath(path, style);
        break;
    }
    case WmfShape::PolyPolygon: {
        QPainterPath path;
        path.setFillRule(rule);
        std::uint32_t next = primitive.first;
        for (std::uint32_t r = 0; r < primitive.rings; ++r) {
            const std::uint32_t size = m_picture.ringSizes[primitive.extra + r];
            path.addPolygon(Points(next, size));
            path.closeSubpath();
            next += size;
        }
        FillPath(path, style);
        break;
    }
    case WmfShape::Rectangle:
    case WmfShape::Ellipse: {
        QPainterPath path;
        const QRectF box = QRectF(At(primitive.first), At(primitive.first + 1)).normalized();
        if (primitive.shape == WmfShape::Rectangle)
            path.addRect(box);
        else
            path.addEllipse(box);
        FillPath(path, style);
        break;
    }
    case WmfShape::Arc:
    case WmfShape::Pie:
    case WmfShape::Chord:
        ArcShape(primitive, style);
        break;
    case WmfShape::Text:
        Text(primitive, style);
        m_style = UINT32_MAX;
        break;
    }
}

} // namespace

QTransform WmfFrameTransform(const WmfPicture& picture, const QRectF& rect)
{
    if (picture.Empty() || rect.width() <= 0 || rect.height() <= 0)
        return QTransform();
    const double scale
        = std::min(rect.width() / std::fabs(picture.width), rect.height() / std::fabs(picture.height));
    const double sx = picture.width < 0 ? -scale : scale, sy = picture.height < 0 ? -scale : scale;
    const QPointF centre = rect.center();
    const double cx = picture.left + picture.width / 2.0, cy = picture.top + picture.height / 2.0;
    return QTransform(sx, 0, 0, sy, centre.x() - cx * sx, centre.y() - cy * sy);
}

void DrawWmf(QPainter& painter, const QRectF& rect, const WmfPicture& picture, bool antialias)
{
    if (picture.Empty() || !painter.isActive() || rect.width() <= 0 || rect.height() <= 0)
        return;
    painter.save();
    painter.setClipRect(rect, Qt::IntersectClip);
    painter.setRenderHint(QPainter::Antialiasing, antialias);
    painter.setRenderHint(QPainter::TextAntialiasing, antialias);
    Drawer drawer(painter, picture, WmfFrameTransform(picture, rect), rect);
    for (const WmfPrimitive& primitive : picture.primitives)
        drawer.Draw(primitive);
    painter.restore();
}

QImage RenderWmf(const WmfPicture& picture, QSize size, QColor background)
{
    if (size.width() <= 0 || size.height() <= 0
        || static_cast<qint64>(size.width()) * size.height() > kMaxImagePixels)
        return QImage();
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        return image;
    image.fill(background);
    QPainter painter(&image);
    DrawWmf(painter, QRectF(QPointF(0, 0), QSizeF(size)), picture);
    painter.end();
    return image;
}

} // namespace orv
