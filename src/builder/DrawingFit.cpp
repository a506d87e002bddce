#include "builder/DrawingFit.h"

#include "browser/SlideWriter.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace orv {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kDegreesPerSegment = 5.0;

struct Point {
    double X, Y;
};

// One item as the points of its primitive(s): polylines (open) and polygons (filled).
struct Shape {
    std::vector<Point> Points;
    bool Filled = false;
    bool Closed = false;
    int Color = 7;
};

std::vector<Point> ArcPoints(double cx, double cy, double r, double start, double end)
{
    double sweep = end - start;
    while (sweep <= 0.0)
        sweep += 360.0;
    sweep = std::min(sweep, 360.0);
    const int segments = std::max(2, static_cast<int>(std::ceil(sweep / kDegreesPerSegment)));
    std::vector<Point> points;
    for (int i = 0; i <= segments; ++i) {
        double angle = (start + sweep * i / segments) * kPi / 180.0;
        points.push_back({cx + r * std::cos(angle), cy + r * std::sin(angle)});
    }
    return points;
}

Shape ShapeOf(const DrawingItem& item)
{
    Shape shape;
    shape.Color = item.Color;
    const std::vector<double>& c = item.Coords;
    switch (item.Type) {
    case DrawingItem::Kind::Line:
    case DrawingItem::Kind::Polyline:
    case DrawingItem::Kind::Fill:
        for (std::size_t i = 0; i + 1 < c.size(); i += 2)
            shape.Points.push_back({c[i], c[i + 1]});
        shape.Filled = item.Type == DrawingItem::Kind::Fill;
        shape.Closed = item.Closed;
        break;
    case DrawingItem::Kind::Circle:
        shape.Points = ArcPoints(c[0], c[1], c[2], 0.0, 360.0);
        shape.Points.pop_back(); // the last point repeats the first; closing draws that segment
        shape.Closed = true;
        break;
    case DrawingItem::Kind::Arc:
        shape.Points = ArcPoints(c[0], c[1], c[2], c[3], c[4]);
        break;
    case DrawingItem::Kind::Text:
        break;
    }
    return shape;
}

} // namespace

FittedDrawing FitDrawing(const DrawingDescription& drawing)
{
    std::vector<Shape> shapes;
    double minX = std::numeric_limits<double>::max(), minY = minX;
    double maxX = std::numeric_limits<double>::lowest(), maxY = maxX;
    auto widen = [&](double x, double y) {
        minX = std::min(minX, x);
        minY = std::min(minY, y);
        maxX = std::max(maxX, x);
        maxY = std::max(maxY, y);
    };
    for (const DrawingItem& item : drawing.Items) {
        if (item.Type == DrawingItem::Kind::Text) {
            widen(item.Coords[0], item.Coords[1]);
            widen(item.Coords[0], item.Coords[1] + item.Height);
            continue;
        }
        shapes.push_back(ShapeOf(item));
        for (const Point& p : shapes.back().Points)
            widen(p.X, p.Y);
    }
    FittedDrawing fitted;
    if (minX > maxX)
        return fitted;
    const double span = std::max(maxX - minX, maxY - minY);
    const double scale = span > 0.0 ? kFittedExtent / span : 1.0;
    auto mapX = [&](double x) { return static_cast<std::int32_t>(std::lround((x - minX) * scale)); };
    auto mapY = [&](double y) { return static_cast<std::int32_t>(std::lround((y - minY) * scale)); };

    for (const Shape& shape : shapes) {
        std::vector<SlidePoint> points;
        for (const Point& p : shape.Points)
            points.push_back({mapX(p.X), mapY(p.Y), shape.Color});
        if (shape.Filled) {
            fitted.List.AddPolygon(points.data(), points.size(), shape.Color);
            continue;
        }
        for (std::size_t i = 0; i + 1 < points.size(); ++i)
            fitted.List.AddLine(points[i].x, points[i].y, points[i + 1].x, points[i + 1].y, shape.Color);
        if (shape.Closed && points.size() > 2)
            fitted.List.AddLine(points.back().x, points.back().y, points[0].x, points[0].y, shape.Color);
    }
    for (const DrawingItem& item : drawing.Items) {
        if (item.Type == DrawingItem::Kind::Text) {
            fitted.Texts.push_back({mapX(item.Coords[0]), mapY(item.Coords[1]),
                std::max<std::int32_t>(1, static_cast<std::int32_t>(std::lround(item.Height * scale))), item.Color,
                item.Text});
        }
    }
    return fitted;
}

bool SlideFromDrawing(const FittedDrawing& drawing, std::string& slide, std::string& error)
{
    CSlideWriter writer;
    if (!writer.AddDisplayList(drawing.List)) {
        error = writer.Error();
        return false;
    }
    slide = writer.Finish();
    return true;
}

} // namespace orv
