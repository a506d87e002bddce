#include "Sketch.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace orv::demo {
namespace {

constexpr double kPi = 3.14159265358979323846;

// Coordinates kept to a thousandth of a millimetre, so the manifests stay short and the same
// sources always give the same text.
double Round(double v)
{
    double r = std::round(v * 1000.0) / 1000.0;
    return r == 0.0 ? 0.0 : r;
}

} // namespace

void Sketch::Add(DrawingItem::Kind kind, std::vector<double> coords, int color, bool closed)
{
    DrawingItem item;
    item.Type = kind;
    for (double& c : coords)
        c = Round(c);
    item.Coords = std::move(coords);
    item.Color = color;
    item.Closed = closed;
    m_drawing.Items.push_back(std::move(item));
}

void Sketch::Line(double x1, double y1, double x2, double y2, int color)
{
    Add(DrawingItem::Kind::Line, { x1, y1, x2, y2 }, color);
}

void Sketch::Polyline(std::vector<double> points, bool closed, int color)
{
    Add(DrawingItem::Kind::Polyline, std::move(points), color, closed);
}

void Sketch::Rect(double x0, double y0, double x1, double y1, int color)
{
    Polyline({ x0, y0, x1, y0, x1, y1, x0, y1 }, true, color);
}

void Sketch::Fill(std::vector<double> points, int color)
{
    Add(DrawingItem::Kind::Fill, std::move(points), color);
}

void Sketch::FillRect(double x0, double y0, double x1, double y1, int color)
{
    Fill({ x0, y0, x1, y0, x1, y1, x0, y1 }, color);
}

void Sketch::Circle(double cx, double cy, double r, int color)
{
    Add(DrawingItem::Kind::Circle, { cx, cy, r }, color);
}

void Sketch::Arc(double cx, double cy, double r, double start, double end, int color)
{
    Add(DrawingItem::Kind::Arc, { cx, cy, r, start, end }, color);
}

void Sketch::FillCircle(double cx, double cy, double r, int color)
{
    Fill(RegularPolygon(cx, cy, r, 32, 0.0), color);
}

void Sketch::FillRing(double cx, double cy, double inner, double outer, int color, double start, double end)
{
    int pieces = std::max(1, static_cast<int>(std::ceil((end - start) / 10.0)));
    for (int i = 0; i < pieces; ++i) {
        double a0 = (start + (end - start) * i / pieces) * kPi / 180.0;
        double a1 = (start + (end - start) * (i + 1) / pieces) * kPi / 180.0;
        Fill({ cx + inner * std::cos(a0), cy + inner * std::sin(a0), cx + outer * std::cos(a0),
                 cy + outer * std::sin(a0), cx + outer * std::cos(a1), cy + outer * std::sin(a1),
                 cx + inner * std::cos(a1), cy + inner * std::sin(a1) },
            color);
    }
}

void Sketch::Hatch(const std::vector<double>& polygon, double spacing, int color, double angle)
{
    std::size_t n = polygon.size() / 2;
    if (n < 3 || spacing <= 0.0)
        return;
    // Turn the polygon so that the hatch lines run along x, cut, and turn the pieces back.
    double a = angle * kPi / 180.0, ca = std::cos(a), sa = std::sin(a);
    std::vector<double> u(n), v(n);
    for (std::size_t i = 0; i < n; ++i) {
        double x = polygon[2 * i], y = polygon[2 * i + 1];
        u[i] = x * ca + y * sa;
        v[i] = -x * sa + y * ca;
    }
    double vMin = *std::min_element(v.begin(), v.end()), vMax = *std::max_element(v.begin(), v.end());
    for (double line = vMin + spacing / 2; line < vMax; line += spacing) {
        std::vector<double> cuts;
        for (std::size_t i = 0; i < n; ++i) {
            std::size_t j = (i + 1) % n;
            if ((v[i] <= line) == (v[j] <= line))
                continue;
            cuts.push_back(u[i] + (line - v[i]) * (u[j] - u[i]) / (v[j] - v[i]));
        }
        std::sort(cuts.begin(), cuts.end());
        for (std::size_t k = 0; k + 1 < cuts.size(); k += 2)
            Line(cuts[k] * ca - line * sa, cuts[k] * sa + line * ca, cuts[k + 1] * ca - line * sa,
                cuts[k + 1] * sa + line * ca, color);
    }
}

void Sketch::Section(const std::vector<double>& polygon, double spacing, int fillColor)
{
    Fill(polygon, fillColor);
    Hatch(polygon, spacing, kHatchColor);
    Polyline(polygon, true, kOutline);
}

void Sketch::Hexagon(double cx, double cy, double acrossFlats, double rotation, int color, int fillColor)
{
    double r = acrossFlats / std::sqrt(3.0);
    auto points = RegularPolygon(cx, cy, r, 6, 90.0 + rotation);
    if (fillColor != 0)
        Fill(points, fillColor);
    Polyline(std::move(points), true, color);
}

void Sketch::CentreCross(double cx, double cy, double r)
{
    double o = r + std::max(2.0, r * 0.12);
    Line(cx - o, cy, cx + o, cy, kCentreColor);
    Line(cx, cy - o, cx, cy + o, kCentreColor);
}

void Sketch::Text(const std::string& text, double x, double y, double height, int color)
{
    DrawingItem item;
    item.Type = DrawingItem::Kind::Text;
    item.Coords = { Round(x), Round(y) };
    item.Text = text;
    item.Height = Round(height);
    item.Color = color;
    m_drawing.Items.push_back(std::move(item));
}

std::vector<double> Sketch::RegularPolygon(double cx, double cy, double r, int sides, double startDegrees)
{
    std::vector<double> points;
    points.reserve(static_cast<std::size_t>(sides) * 2);
    for (int i = 0; i < sides; ++i) {
        double a = (startDegrees + 360.0 * i / sides) * kPi / 180.0;
        points.push_back(cx + r * std::cos(a));
        points.push_back(cy + r * std::sin(a));
    }
    return points;
}

void Sketch::AppendArc(
    std::vector<double>& points, double cx, double cy, double r, double start, double end, int segments)
{
    for (int i = 0; i <= segments; ++i) {
        double a = (start + (end - start) * i / segments) * kPi / 180.0;
        points.push_back(cx + r * std::cos(a));
        points.push_back(cy + r * std::sin(a));
    }
}

std::vector<double> Sketch::MirrorY(const std::vector<double>& polygon)
{
    std::vector<double> out(polygon);
    for (std::size_t i = 1; i < out.size(); i += 2)
        out[i] = -out[i];
    return out;
}

DrawingDescription Sketch::Take()
{
    DrawingDescription out = std::move(m_drawing);
    m_drawing = DrawingDescription();
    return out;
}

DrawingBox BoxOf(const DrawingDescription& drawing)
{
    double minX = std::numeric_limits<double>::max(), minY = minX;
    double maxX = std::numeric_limits<double>::lowest(), maxY = maxX;
    auto widen = [&](double x, double y) {
        minX = std::min(minX, x);
        maxX = std::max(maxX, x);
        minY = std::min(minY, y);
        maxY = std::max(maxY, y);
    };
    for (const auto& item : drawing.Items) {
        const auto& c = item.Coords;
        if ((item.Type == DrawingItem::Kind::Circle || item.Type == DrawingItem::Kind::Arc) && c.size() >= 3) {
            widen(c[0] - c[2], c[1] - c[2]);
            widen(c[0] + c[2], c[1] + c[2]);
        } else if (item.Type != DrawingItem::Kind::Text) {
            for (std::size_t i = 0; i + 1 < c.size(); i += 2)
                widen(c[i], c[i + 1]);
        }
    }
    if (minX > maxX)
        return {};
    return {minX, minY, maxX, maxY};
}

} // namespace orv::demo
