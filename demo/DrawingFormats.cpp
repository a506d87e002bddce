#include "DrawingFormats.h"
#include "Sketch.h"

#include "platform/Encoding.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <vector>

namespace orv::demo {
namespace {

using Kind = DrawingItem::Kind;

// The shortest decimal form with at most four decimals: "12", "12.5", "0.3333".
std::string Number(double value)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.4f", value);
    std::string text = buffer;
    while (!text.empty() && text.back() == '0')
        text.pop_back();
    if (!text.empty() && text.back() == '.')
        text.pop_back();
    if (text == "-0" || text.empty())
        text = "0";
    return text;
}

class DxfStream {
public:
    void Code(int code, const std::string& value)
    {
        m_text += std::to_string(code);
        m_text += "\r\n";
        m_text += value;
        m_text += "\r\n";
    }
    void Code(int code, double value) { Code(code, Number(value)); }
    void Point(int code, double x, double y)
    {
        Code(code, x);
        Code(code + 10, y);
        Code(code + 20, 0.0);
    }
    void Entity(const char* name, int color)
    {
        Code(0, name);
        Code(8, "0");
        Code(62, std::to_string(color));
    }
    std::string Take() { return std::move(m_text); }

private:
    std::string m_text;
};

double Cross(double ax, double ay, double bx, double by, double cx, double cy)
{
    return (bx - ax) * (cy - ay) - (by - ay) * (cx - ax);
}

// Ear clipping of a simple polygon into triangles (index triples). The fills of the demo
// drawings are small, so the quadratic search is no concern.
std::vector<std::size_t> Triangulate(const std::vector<double>& p)
{
    std::size_t n = p.size() / 2;
    std::vector<std::size_t> out;
    if (n < 3)
        return out;
    std::vector<std::size_t> ring(n);
    for (std::size_t i = 0; i < n; ++i)
        ring[i] = i;
    double area = 0;
    for (std::size_t i = 0; i < n; ++i) {
        std::size_t j = (i + 1) % n;
        area += p[2 * i] * p[2 * j + 1] - p[2 * j] * p[2 * i + 1];
    }
    if (area < 0)
        std::reverse(ring.begin(), ring.end());
    auto x = [&](std::size_t i) { return p[2 * i]; };
    auto y = [&](std::size_t i) { return p[2 * i + 1]; };
    std::size_t guard = 0;
    while (ring.size() > 3 && guard++ < n * n) {
        bool clipped = false;
        for (std::size_t k = 0; k < ring.size(); ++k) {
            std::size_t a = ring[(k + ring.size() - 1) % ring.size()], b = ring[k],
                        c = ring[(k + 1) % ring.size()];
            if (Cross(x(a), y(a), x(b), y(b), x(c), y(c)) <= 0)
                continue;
            bool inside = false;
            for (std::size_t m : ring) {
                if (m == a || m == b || m == c)
                    continue;
                if (Cross(x(a), y(a), x(b), y(b), x(m), y(m)) >= 0
                    && Cross(x(b), y(b), x(c), y(c), x(m), y(m)) >= 0
                    && Cross(x(c), y(c), x(a), y(a), x(m), y(m)) >= 0) {
                    inside = true;
                    break;
                }
            }
            if (inside)
                continue;
            out.insert(out.end(), { a, b, c });
            ring.erase(ring.begin() + static_cast<std::ptrdiff_t>(k));
            clipped = true;
            break;
        }
        if (!clipped)
            break; // degenerate: the rest is fanned below
    }
    for (std::size_t k = 1; k + 1 < ring.size(); ++k)
        out.insert(out.end(), { ring[0], ring[k], ring[k + 1] });
    return out;
}

} // namespace

nlohmann::ordered_json DrawingToJson(const DrawingDescription& drawing)
{
    auto items = nlohmann::ordered_json::array();
    for (const auto& item : drawing.Items) {
        nlohmann::ordered_json j;
        switch (item.Type) {
        case Kind::Line:
            j["line"] = item.Coords;
            break;
        case Kind::Polyline:
            j["polyline"] = item.Coords;
            if (item.Closed)
                j["closed"] = true;
            break;
        case Kind::Fill:
            j["fill"] = item.Coords;
            break;
        case Kind::Circle:
            j["circle"] = item.Coords;
            break;
        case Kind::Arc:
            j["arc"] = item.Coords;
            break;
        case Kind::Text:
            j["text"] = item.Text;
            j["at"] = item.Coords;
            j["height"] = item.Height;
            break;
        }
        j["color"] = item.Color;
        items.push_back(std::move(j));
    }
    nlohmann::ordered_json out;
    out["items"] = std::move(items);
    return out;
}

std::string DrawingToDxf(const DrawingDescription& drawing)
{
    const DrawingBox box = BoxOf(drawing);
    const double minX = box.MinX, minY = box.MinY, maxX = box.MaxX, maxY = box.MaxY;

    DxfStream dxf;
    dxf.Code(999, "ORVBook demo drawing");
    dxf.Code(0, "SECTION");
    dxf.Code(2, "HEADER");
    dxf.Code(9, "$ACADVER");
    dxf.Code(1, "AC1009");
    dxf.Code(9, "$DWGCODEPAGE");
    dxf.Code(3, "ANSI_936");
    dxf.Code(9, "$INSBASE");
    dxf.Point(10, 0, 0);
    dxf.Code(9, "$EXTMIN");
    dxf.Point(10, minX, minY);
    dxf.Code(9, "$EXTMAX");
    dxf.Point(10, maxX, maxY);
    dxf.Code(0, "ENDSEC");
    dxf.Code(0, "SECTION");
    dxf.Code(2, "ENTITIES");
    for (const auto& item : drawing.Items) {
        const auto& c = item.Coords;
        switch (item.Type) {
        case Kind::Line:
            if (c.size() < 4)
                break;
            dxf.Entity("LINE", item.Color);
            dxf.Point(10, c[0], c[1]);
            dxf.Point(11, c[2], c[3]);
            break;
        case Kind::Polyline:
            if (c.size() < 4)
                break;
            dxf.Entity("POLYLINE", item.Color);
            dxf.Code(66, "1");
            dxf.Code(70, item.Closed ? "1" : "0");
            dxf.Point(10, 0, 0);
            for (std::size_t i = 0; i + 1 < c.size(); i += 2) {
                dxf.Entity("VERTEX", item.Color);
                dxf.Point(10, c[i], c[i + 1]);
            }
            dxf.Code(0, "SEQEND");
            dxf.Code(8, "0");
            break;
        case Kind::Circle:
            if (c.size() < 3)
                break;
            dxf.Entity("CIRCLE", item.Color);
            dxf.Point(10, c[0], c[1]);
            dxf.Code(40, c[2]);
            break;
        case Kind::Arc:
            if (c.size() < 5)
                break;
            dxf.Entity("ARC", item.Color);
            dxf.Point(10, c[0], c[1]);
            dxf.Code(40, c[2]);
            dxf.Code(50, c[3]);
            dxf.Code(51, c[4]);
            break;
        case Kind::Fill: {
            auto triangles = Triangulate(c);
            for (std::size_t t = 0; t + 2 < triangles.size(); t += 3) {
                dxf.Entity("SOLID", item.Color);
                // A triangle is a solid whose third and fourth corners coincide.
                dxf.Point(10, c[2 * triangles[t]], c[2 * triangles[t] + 1]);
                dxf.Point(11, c[2 * triangles[t + 1]], c[2 * triangles[t + 1] + 1]);
                dxf.Point(12, c[2 * triangles[t + 2]], c[2 * triangles[t + 2] + 1]);
                dxf.Point(13, c[2 * triangles[t + 2]], c[2 * triangles[t + 2] + 1]);
            }
            break;
        }
        case Kind::Text:
            if (c.size() < 2)
                break;
            dxf.Entity("TEXT", item.Color);
            dxf.Point(10, c[0], c[1]);
            dxf.Code(40, item.Height);
            dxf.Code(1, platform::Utf8ToGb18030(item.Text));
            break;
        }
    }
    dxf.Code(0, "ENDSEC");
    dxf.Code(0, "EOF");
    return dxf.Take();
}

} // namespace orv::demo
