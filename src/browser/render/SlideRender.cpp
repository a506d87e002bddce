#include "browser/render/SlideRender.h"

#include "browser/AcadSlideBitmap.h"

#include <QPainter>
#include <QPen>
#include <QPolygon>
#include <QPolygonF>

#include <cmath>
#include <vector>

namespace orv {
namespace {

constexpr double kMaxImagePixels = 256.0 * 1024 * 1024;

QColor ToQColor(std::uint32_t color)
{
    return QColor(static_cast<int>(SlideRed(color)), static_cast<int>(SlideGreen(color)),
        static_cast<int>(SlideBlue(color)));
}

// Collects consecutive lines of one colour so they go to the paint engine in one call.
template <typename Line> class LineBatch {
public:
    LineBatch(QPainter& painter, bool dropRepeats)
        : m_painter(painter)
        , m_dropRepeats(dropRepeats)
    {
    }
    ~LineBatch() { Flush(); }
    // At thumbnail size many short segments land on the same pixels; drawing an aliased line
    // in an opaque colour twice changes nothing, so there a repeat of the previous line is
    // dropped (an antialiased one would blend twice).
    void Add(const Line& line)
    {
        if (!m_dropRepeats || m_lines.empty() || m_lines.back() != line)
            m_lines.push_back(line);
    }
    void Flush()
    {
        if (!m_lines.empty())
            m_painter.drawLines(m_lines.data(), static_cast<int>(m_lines.size()));
        m_lines.clear();
    }

private:
    QPainter& m_painter;
    bool m_dropRepeats;
    std::vector<Line> m_lines;
};

// Exact drawing: integer device pixels as the Windows edition drew them. Device coordinates
// are offset here rather than through the painter's transform, which would map every point
// again.
struct ExactMode {
    using Line = QLine;
    using Polygon = QPolygon;
    static constexpr bool kDropRepeats = true;
    const SlideLayout& layout;

    QPoint Map(const SlidePoint& p) const
    {
        return QPoint(layout.area.left + layout.MapX(p.x), layout.area.top + layout.MapY(p.y));
    }
    void AddLine(QPainter&, LineBatch<QLine>& lines, QPoint a, QPoint b) const
    {
        if (a == b)
            b.rx() += 1; // the end pixel is left out, so a point needs a line one pixel long
        lines.Add(QLine(a, b));
    }
};

// Antialiased drawing at fractional positions; the painter is already translated.
struct SmoothMode {
    using Line = QLineF;
    using Polygon = QPolygonF;
    static constexpr bool kDropRepeats = false;
    const SlideLayout& layout;

    QPointF Map(const SlidePoint& p) const { return QPointF(layout.MapXF(p.x), layout.MapYF(p.y)); }
    void AddLine(QPainter& painter, LineBatch<QLineF>& lines, QPointF a, QPointF b) const
    {
        if (a == b)
            painter.drawPoint(a);
        else
            lines.Add(QLineF(a, b));
    }
};

// Walks the display list once for either mode, changing pen and brush where the colour does.
template <typename Mode>
void DrawPrimitives(const CAcadSlideBitmap& slide, const Mode& mode, QPainter& painter, QPen& pen)
{
    const SlideDisplayList& list = slide.DisplayList();
    const auto& points = list.Points();
    const auto& sizes = list.PrimitiveSizes();
    LineBatch<typename Mode::Line> lines(painter, Mode::kDropRepeats);
    typename Mode::Polygon polygon;
    int current = -1;
    std::size_t next = 0;
    for (unsigned size : sizes) {
        const SlidePoint* p = points.data() + next;
        next += size;
        if (size == 0)
            continue;
        if (p[0].color != current || current == -1) {
            lines.Flush();
            QColor color = ToQColor(slide.SelectColor(p[0].color));
            pen.setColor(color);
            painter.setPen(pen);
            painter.setBrush(color);
            current = p[0].color;
        }
        if (size == 2) {
            mode.AddLine(painter, lines, mode.Map(p[0]), mode.Map(p[1]));
            continue;
        }
        lines.Flush();
        polygon.resize(static_cast<int>(size));
        for (unsigned i = 0; i < size; ++i)
            polygon[static_cast<int>(i)] = mode.Map(p[i]);
        painter.drawPolygon(polygon, Qt::OddEvenFill);
    }
}

} // namespace

void Draw(CAcadSlideBitmap& slide, QPainter& painter, const QRect& rect, const SlideDrawOptions& options)
{
    if (slide.IsEmpty() || !painter.isActive())
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, options.antialias);
    if (slide.FillBackground())
        painter.fillRect(rect, ToQColor(slide.BackgroundColor()));
    SlideRect target { rect.left(), rect.top(), rect.left() + rect.width(), rect.top() + rect.height() };
    SlideLayout layout = slide.FitToRectangle(target);
    if (layout.drawable) {
        // Width 1, square pixels; the flat cap leaves out a line's end pixel.
        QPen pen(Qt::black, options.antialias ? 1.0 : 0.0, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
        if (options.antialias) {
            pen.setCapStyle(Qt::RoundCap);
            pen.setJoinStyle(Qt::RoundJoin);
            painter.translate(layout.area.left, layout.area.top);
            DrawPrimitives(slide, SmoothMode { layout }, painter, pen);
        } else {
            DrawPrimitives(slide, ExactMode { layout }, painter, pen);
        }
    }
    painter.restore();
}

QImage RenderToBitmap(CAcadSlideBitmap& slide, int width, int height, const SlideDrawOptions& options)
{
    const double ratio = options.devicePixelRatio > 0 ? options.devicePixelRatio : 1.0;
    if (slide.IsEmpty() || width <= 0 || height <= 0)
        return QImage();
    const double pixelWidth = std::ceil(width * ratio), pixelHeight = std::ceil(height * ratio);
    if (pixelWidth * pixelHeight > kMaxImagePixels)
        return QImage();
    QImage image(static_cast<int>(pixelWidth), static_cast<int>(pixelHeight), QImage::Format_RGB32);
    if (image.isNull())
        return image;
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::black); // what a new screen-compatible bitmap holds when the background is not filled
    QPainter painter(&image);
    Draw(slide, painter, QRect(0, 0, width, height), options);
    painter.end();
    return image;
}

} // namespace orv
