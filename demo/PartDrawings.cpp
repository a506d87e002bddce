#include "PartDrawings.h"

#include "Sketch.h"

#include <algorithm>
#include <cmath>
#include <functional>

namespace orv::demo {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kSqrt3 = 1.7320508075688772;

// Reads dimensions by name; a missing one is remembered so the drawing can be refused whole.
class Dims {
public:
    explicit Dims(const PartValues& values)
        : m_values(values)
    {
    }

    double operator()(const std::string& name)
    {
        auto it = m_values.Numbers.find(name);
        if (it == m_values.Numbers.end()) {
            Missing(name);
            return 1.0;
        }
        return it->second;
    }
    double Or(const std::string& name, double fallback) const
    {
        auto it = m_values.Numbers.find(name);
        return it == m_values.Numbers.end() ? fallback : it->second;
    }
    const std::vector<double>& List(const std::string& name)
    {
        static const std::vector<double> empty;
        auto it = m_values.Lists.find(name);
        if (it == m_values.Lists.end() || it->second.empty()) {
            Missing(name);
            return empty;
        }
        return it->second;
    }
    void Require(bool condition, const std::string& what)
    {
        if (!condition && m_error.empty())
            m_error = what;
    }
    const std::string& Error() const { return m_error; }

private:
    void Missing(const std::string& name)
    {
        if (m_error.empty())
            m_error = "no dimension " + name;
    }

    const PartValues& m_values;
    std::string m_error;
};

double HatchSpacing(double size)
{
    return std::max(0.6, size / 28.0);
}

// The label sits below the drawing, left-aligned with it, sized to the whole drawing.
void AddLabel(Sketch& sketch, DrawingDescription& drawing, const std::string& label)
{
    double minX = 1e300, minY = 1e300, maxX = -1e300, maxY = -1e300;
    for (const auto& item : drawing.Items) {
        const auto& c = item.Coords;
        bool round = item.Type == DrawingItem::Kind::Circle || item.Type == DrawingItem::Kind::Arc;
        for (std::size_t i = 0; i + 1 < c.size() && !(round && i > 0); i += 2) {
            double r = round ? c[2] : 0.0;
            minX = std::min(minX, c[i] - r);
            maxX = std::max(maxX, c[i] + r);
            minY = std::min(minY, c[i + 1] - r);
            maxY = std::max(maxY, c[i + 1] + r);
        }
    }
    if (minX > maxX)
        return;
    double height = std::max(maxX - minX, maxY - minY) * 0.06;
    sketch.Text(label, minX, minY - height * 1.5, height);
    for (auto& item : sketch.Take().Items)
        drawing.Items.push_back(std::move(item));
}

// Chamfer arcs on the faces of a hexagon seen across its corners (the side view of a head or
// nut): one arc per face, bulging towards the end face at x.
void HexFaceArcs(Sketch& sketch, double x, double e, double depth, double direction)
{
    const double faces[3][2] = { { e / 4, e / 2 }, { -e / 4, e / 4 }, { -e / 2, -e / 4 } };
    for (const auto& face : faces) {
        double half = (face[1] - face[0]) / 2, yc = (face[0] + face[1]) / 2;
        double r = (half * half + depth * depth) / (2 * depth);
        double theta = std::asin(std::min(1.0, half / r)) * 180.0 / kPi;
        if (direction < 0)
            sketch.Arc(x + r, yc, r, 180.0 - theta, 180.0 + theta);
        else
            sketch.Arc(x - r, yc, r, -theta, theta);
    }
}

// Side view of a hexagon prism from x0 to x1, across corners e, both ends chamfered or one.
void HexSide(Sketch& sketch, double x0, double x1, double e, bool chamferLeft, bool chamferRight)
{
    sketch.FillRect(x0, -e / 2, x1, e / 2, kMetalColor);
    sketch.Rect(x0, -e / 2, x1, e / 2);
    sketch.Line(x0, e / 4, x1, e / 4);
    sketch.Line(x0, -e / 4, x1, -e / 4);
    double depth = (x1 - x0) * 0.14;
    if (chamferLeft)
        HexFaceArcs(sketch, x0, e, depth, -1);
    if (chamferRight)
        HexFaceArcs(sketch, x1, e, depth, 1);
}

// A threaded shank from x0 to x1 with the thread over its last b millimetres.
void ThreadedShank(Sketch& sketch, double x0, double x1, double d, double b, double pitch)
{
    double c = std::min(pitch * 0.8, d * 0.15);
    double r = d / 2, r1 = d / 2 - 0.54127 * pitch;
    sketch.Polyline({ x0, r, x1 - c, r, x1, r - c, x1, -(r - c), x1 - c, -r, x0, -r }, false);
    sketch.Line(x1 - c, r, x1 - c, -r);
    double start = std::max(x0, x1 - b);
    sketch.Line(start, r1, x1, r1, kThreadColor);
    sketch.Line(start, -r1, x1, -r1, kThreadColor);
    if (start > x0)
        sketch.Line(start, r, start, -r);
}

// The end of a threaded shank seen along its axis: the face, the minor diameter and three
// quarters of the major one.
void ThreadEnd(Sketch& sketch, double cx, double cy, double d, double pitch)
{
    double r1 = d / 2 - 0.54127 * pitch;
    sketch.FillCircle(cx, cy, r1, kSteelBlue);
    sketch.Circle(cx, cy, r1);
    sketch.Arc(cx, cy, d / 2, 0, 270, kThreadColor);
}

bool DrawHexBolt(Dims& v, Sketch& s)
{
    double d = v("d"), l = v("l"), k = v("k"), sw = v("s"), b = v.Or("b", l), p = v("P");
    v.Require(l > 0 && k > 0 && sw > d && d > 0, "impossible bolt");
    double e = sw * 2 / kSqrt3;
    HexSide(s, -k, 0, e, true, false);
    ThreadedShank(s, 0, l, d, std::min(b, l), p);
    s.Line(-k - 2, 0, l + 3, 0, kCentreColor);
    double gap = std::max(6.0, e * 0.3), cx = l + gap + e / 2;
    s.Hexagon(cx, 0, sw, 0, kOutline, kMetalColor);
    s.Circle(cx, 0, sw * 0.95 / 2);
    ThreadEnd(s, cx, 0, d, p);
    s.CentreCross(cx, 0, e / 2);
    return true;
}

bool DrawSocketScrew(Dims& v, Sketch& s)
{
    double d = v("d"), l = v("l"), k = v("k"), dk = v("dk"), sw = v("s"), b = v.Or("b", l), p = v("P");
    v.Require(dk > d && sw < dk && l > 0, "impossible screw");
    s.FillRect(-k, -dk / 2, 0, dk / 2, kMetalColor);
    s.Rect(-k, -dk / 2, 0, dk / 2);
    double e = sw * 2 / kSqrt3, t = k * 0.55;
    s.Polyline({ -k, e / 2, -k + t, e / 2, -k + t + e / 2 * 0.577, 0, -k + t, -e / 2, -k, -e / 2 }, false,
        kHiddenColor);
    ThreadedShank(s, 0, l, d, std::min(b, l), p);
    s.Line(-k - 2, 0, l + 3, 0, kCentreColor);
    double gap = std::max(5.0, dk * 0.3), cx = -k - gap - dk / 2;
    s.FillCircle(cx, 0, dk / 2, kMetalColor);
    s.Circle(cx, 0, dk / 2);
    s.Circle(cx, 0, dk * 0.45);
    s.Hexagon(cx, 0, sw, 30, kOutline, kDarkColor);
    s.CentreCross(cx, 0, dk / 2);
    return true;
}

// The counterbored hole a socket screw sits in, cut through the plate, with its plan view.
bool DrawCounterbore(Dims& v, Sketch& s)
{
    double d = v("d"), dk = v("dk"), k = v("k");
    double d2 = dk + 1.0, t = k + 0.5, dh = d * 1.1, w = dk * 1.6, thick = k + 1.5 * d;
    std::vector<double> left = { -w, 0, -d2 / 2, 0, -d2 / 2, -t, -dh / 2, -t, -dh / 2, -thick, -w, -thick };
    std::vector<double> right(left);
    for (std::size_t i = 0; i < right.size(); i += 2)
        right[i] = -right[i];
    std::reverse(right.begin(), right.end());
    for (std::size_t i = 0; i + 1 < right.size(); i += 2)
        std::swap(right[i], right[i + 1]);
    double spacing = HatchSpacing(w * 2);
    s.Section(left, spacing);
    s.Section(right, spacing);
    s.Line(0, 2, 0, -thick - 2, kCentreColor);
    double cx = w + d2 + 6, cy = -thick / 2;
    s.Circle(cx, cy, d2 / 2);
    s.FillRing(cx, cy, dh / 2, d2 / 2, kMetalColor);
    s.Circle(cx, cy, dh / 2);
    s.CentreCross(cx, cy, d2 / 2);
    return true;
}

bool DrawHexNut(Dims& v, Sketch& s)
{
    double d = v("d"), sw = v("s"), m = v("m"), p = v("P");
    v.Require(sw > d && m > 0, "impossible nut");
    double e = sw * 2 / kSqrt3, r1 = d / 2 - 0.54127 * p, rc = sw * 0.95 / 2;
    s.Hexagon(0, 0, sw, 0, kOutline, kMetalColor);
    s.FillRing(0, 0, r1, rc, kFaceColor);
    s.Circle(0, 0, rc);
    s.Circle(0, 0, r1);
    s.Arc(0, 0, d / 2, 0, 270, kThreadColor);
    s.CentreCross(0, 0, e / 2);
    double x0 = e / 2 + std::max(6.0, e * 0.3);
    HexSide(s, x0, x0 + m, e, true, true);
    s.Line(x0, d / 2, x0 + m, d / 2, kHiddenColor);
    s.Line(x0, -d / 2, x0 + m, -d / 2, kHiddenColor);
    s.Line(x0 - 2, 0, x0 + m + 2, 0, kCentreColor);
    return true;
}

bool DrawFlatWasher(Dims& v, Sketch& s)
{
    double d1 = v("d1"), d2 = v("d2"), h = v("h");
    v.Require(d2 > d1 && h > 0, "impossible washer");
    s.FillRing(0, 0, d1 / 2, d2 / 2, kFaceColor);
    s.Circle(0, 0, d2 / 2);
    s.Circle(0, 0, d1 / 2);
    s.CentreCross(0, 0, d2 / 2);
    double x = d2 / 2 + std::max(5.0, d2 * 0.25);
    double spacing = HatchSpacing(d2);
    s.Section({ x, d1 / 2, x + h, d1 / 2, x + h, d2 / 2, x, d2 / 2 }, spacing);
    s.Section({ x, -d2 / 2, x + h, -d2 / 2, x + h, -d1 / 2, x, -d1 / 2 }, spacing);
    s.Line(x - 2, 0, x + h + 2, 0, kCentreColor);
    return true;
}

bool DrawSpringWasher(Dims& v, Sketch& s)
{
    double d = v("d"), t = v("s"), b = v("b");
    v.Require(d > 0 && b > 0 && t > 0, "impossible spring washer");
    double ri = d / 2, ro = d / 2 + b;
    auto at = [](double r, double deg, double& x, double& y) {
        x = r * std::cos(deg * kPi / 180.0);
        y = r * std::sin(deg * kPi / 180.0);
    };
    // The cut runs at a slant across the ring at the top.
    s.FillRing(0, 0, ri, ro, kOrange, 96, 440);
    s.Arc(0, 0, ro, 92, 440);
    s.Arc(0, 0, ri, 96, 444);
    double x1, y1, x2, y2;
    at(ri, 84, x1, y1);
    at(ro, 80, x2, y2);
    s.Line(x1, y1, x2, y2);
    at(ri, 96, x1, y1);
    at(ro, 92, x2, y2);
    s.Line(x1, y1, x2, y2);
    s.CentreCross(0, 0, ro);
    double x = ro + std::max(5.0, ro * 0.5), skew = t * 0.45, spacing = HatchSpacing(2 * ro);
    s.Section({ x, ri, x + t, ri + skew, x + t, ro + skew, x, ro }, spacing, kOrange);
    s.Section({ x, -ro + skew, x + t, -ro, x + t, -ri, x, -ri + skew }, spacing, kOrange);
    s.Line(x - 2, 0, x + t + 2, 0, kCentreColor);
    return true;
}

struct FlangeDims {
    double D, K, L, n, C, B;
};

// The face of a flange seen along the pipe: outline, bolt circle and holes, and the bore.
void FlangeFace(Sketch& s, const FlangeDims& f, bool bore)
{
    s.FillRing(0, 0, bore ? f.B / 2 : 0.0, f.D / 2, kMetalColor);
    s.Circle(0, 0, f.D / 2);
    s.Circle(0, 0, f.K / 2, kCentreColor);
    int holes = std::max(3, static_cast<int>(f.n));
    for (int i = 0; i < holes; ++i) {
        double a = (180.0 / holes + 360.0 * i / holes) * kPi / 180.0;
        double hx = f.K / 2 * std::cos(a), hy = f.K / 2 * std::sin(a);
        s.FillCircle(hx, hy, f.L / 2, kSteelBlue);
        s.Circle(hx, hy, f.L / 2);
    }
    if (bore)
        s.Circle(0, 0, f.B / 2);
    s.CentreCross(0, 0, f.D / 2);
}

// The cut of a flange plate (both halves) between radii, split where the bolt holes pass.
void PlateCut(
    Sketch& s, double x0, double thickness, double from, double to, const FlangeDims& f, double spacing)
{
    double holeLow = f.K / 2 - f.L / 2, holeHigh = f.K / 2 + f.L / 2;
    std::vector<std::vector<double>> pieces;
    if (from < holeLow)
        pieces.push_back({ x0, from, x0 + thickness, from, x0 + thickness, holeLow, x0, holeLow });
    pieces.push_back({ x0, holeHigh, x0 + thickness, holeHigh, x0 + thickness, to, x0, to });
    for (const auto& piece : pieces) {
        s.Section(piece, spacing);
        s.Section(Sketch::MirrorY(piece), spacing);
    }
}

FlangeDims ReadFlange(Dims& v, bool bore)
{
    FlangeDims f { v("D"), v("K"), v("L"), v("n"), v("C"), bore ? v("B") : 0.0 };
    v.Require(f.D > f.K + f.L && f.K - f.L > f.B && f.C > 0, "impossible flange");
    return f;
}

bool DrawPlateFlange(Dims& v, Sketch& s)
{
    FlangeDims f = ReadFlange(v, true);
    double a = v("A");
    FlangeFace(s, f, true);
    double x0 = f.D / 2 + std::max(8.0, f.D * 0.12), spacing = HatchSpacing(f.D);
    PlateCut(s, x0, f.C, f.B / 2, f.D / 2, f, spacing);
    // The pipe runs through the bore and is welded on both faces.
    double weld = std::max(1.5, f.C * 0.3);
    for (double sign : { 1.0, -1.0 }) {
        s.Fill({ x0, sign * a / 2, x0 - weld, sign * a / 2, x0, sign * (a / 2 + weld) }, kOrange);
        s.Fill({ x0 + f.C, sign * a / 2, x0 + f.C + weld, sign * a / 2, x0 + f.C, sign * (a / 2 + weld) },
            kOrange);
    }
    double pipe = f.C * 1.6;
    for (double sign : { 1.0, -1.0 }) {
        s.Line(x0 - pipe, sign * a / 2, x0 + f.C + pipe, sign * a / 2, kDarkColor);
        s.Line(x0 - pipe, sign * (a / 2 - std::max(1.0, a * 0.04)), x0 + f.C + pipe,
            sign * (a / 2 - std::max(1.0, a * 0.04)), kDarkColor);
    }
    s.Line(x0 - pipe - 2, 0, x0 + f.C + pipe + 2, 0, kCentreColor);
    return true;
}

bool DrawHubFlange(Dims& v, Sketch& s)
{
    FlangeDims f = ReadFlange(v, true);
    double n1 = v("N"), h = v("H");
    double holeLow = f.K / 2 - f.L / 2, holeHigh = f.K / 2 + f.L / 2;
    v.Require(n1 / 2 < holeLow && h > f.C && n1 > f.B, "impossible hub flange");
    FlangeFace(s, f, true);
    s.Circle(0, 0, n1 / 2, kHiddenColor);
    double x0 = f.D / 2 + std::max(8.0, f.D * 0.12), spacing = HatchSpacing(f.D);
    double neckEnd = f.B / 2 + (n1 / 2 - f.B / 2) * 0.55;
    std::vector<double> inner
        = { x0, f.B / 2, x0, holeLow, x0 + f.C, holeLow, x0 + f.C, n1 / 2, x0 + h, neckEnd, x0 + h, f.B / 2 };
    std::vector<double> outer = { x0, holeHigh, x0 + f.C, holeHigh, x0 + f.C, f.D / 2, x0, f.D / 2 };
    s.Section(inner, spacing);
    s.Section(outer, spacing);
    s.Section(Sketch::MirrorY(inner), spacing);
    s.Section(Sketch::MirrorY(outer), spacing);
    s.Line(x0 - 2, 0, x0 + h + 4, 0, kCentreColor);
    return true;
}

bool DrawBlindFlange(Dims& v, Sketch& s)
{
    FlangeDims f = ReadFlange(v, false);
    FlangeFace(s, f, false);
    double x0 = f.D / 2 + std::max(8.0, f.D * 0.12), spacing = HatchSpacing(f.D);
    double holeLow = f.K / 2 - f.L / 2;
    s.Section({ x0, -holeLow, x0 + f.C, -holeLow, x0 + f.C, holeLow, x0, holeLow }, spacing);
    PlateCut(s, x0, f.C, f.D / 2, f.D / 2, f, spacing);
    s.Line(x0 - 2, 0, x0 + f.C + 2, 0, kCentreColor);
    return true;
}

bool DrawFlatKey(Dims& v, Sketch& s)
{
    double b = v("b"), h = v("h"), len = v("L");
    v.Require(len > b && h > 0, "impossible key");
    double r = b / 2, xl = -len / 2 + r, xr = len / 2 - r;
    std::vector<double> outline;
    Sketch::AppendArc(outline, xr, 0, r, -90, 90, 12);
    Sketch::AppendArc(outline, xl, 0, r, 90, 270, 12);
    s.Fill(outline, kMetalColor);
    s.Line(xl, r, xr, r);
    s.Line(xl, -r, xr, -r);
    s.Arc(xr, 0, r, -90, 90);
    s.Arc(xl, 0, r, 90, 270);
    double c = std::min(0.6, b * 0.08);
    s.Line(xl, r - c, xr, r - c, kDarkColor);
    s.Line(xl, -(r - c), xr, -(r - c), kDarkColor);
    s.Line(-len / 2 - 2, 0, len / 2 + 2, 0, kCentreColor);
    double y0 = -r - std::max(4.0, b * 0.6);
    s.FillRect(-len / 2, y0 - h, len / 2, y0, kFaceColor);
    s.Rect(-len / 2, y0 - h, len / 2, y0);
    s.Line(-len / 2, y0 - c, len / 2, y0 - c);
    s.Line(-len / 2, y0 - h + c, len / 2, y0 - h + c);
    double x = len / 2 + std::max(5.0, b * 0.6);
    s.Section({ x + c, y0 - h, x + b - c, y0 - h, x + b, y0 - h + c, x + b, y0 - c, x + b - c, y0, x + c, y0,
                  x, y0 - c, x, y0 - h + c },
        HatchSpacing(b * 2));
    return true;
}

bool DrawPin(Dims& v, Sketch& s)
{
    double d = v("d"), l = v("l"), c = v.Or("c", d * 0.12);
    v.Require(l > 2 * c && d > 2 * c, "impossible pin");
    double r = d / 2;
    std::vector<double> outline
        = { 0, r - c, c, r, l - c, r, l, r - c, l, -(r - c), l - c, -r, c, -r, 0, -(r - c) };
    s.Fill(outline, kMetalColor);
    s.Polyline(outline, true);
    s.Line(c, r, c, -r);
    s.Line(l - c, r, l - c, -r);
    s.Line(-2, 0, l + 2, 0, kCentreColor);
    double cx = l + std::max(5.0, d);
    s.FillCircle(cx, 0, r, kSteelBlue);
    s.Circle(cx, 0, r);
    s.Circle(cx, 0, r - c);
    s.CentreCross(cx, 0, r);
    return true;
}

bool DrawBallBearing(Dims& v, Sketch& s)
{
    double d = v("d"), od = v("D"), width = v("B");
    v.Require(od > d && width > 0, "impossible bearing");
    double dw = 0.3 * (od - d), pitch = (od + d) / 4; // pitch is a radius
    double ro = pitch + dw * 0.35, ri = pitch - dw * 0.35;
    // Face view: both rings, the pitch circle and the balls.
    s.FillRing(0, 0, ro, od / 2, kFaceColor);
    s.FillRing(0, 0, d / 2, ri, kFaceColor);
    for (double rr : { od / 2, ro, ri, d / 2 })
        s.Circle(0, 0, rr);
    s.Circle(0, 0, pitch, kCentreColor);
    int balls = std::clamp(static_cast<int>(2 * kPi * pitch / (dw * 1.35)), 7, 12);
    for (int i = 0; i < balls; ++i) {
        double a = 2 * kPi * i / balls + kPi / 2;
        s.FillCircle(pitch * std::cos(a), pitch * std::sin(a), dw / 2, kSteelBlue);
        s.Circle(pitch * std::cos(a), pitch * std::sin(a), dw / 2);
    }
    s.CentreCross(0, 0, od / 2);
    // Half section beside it: the grooved rings with the ball between.
    double x0 = od / 2 + std::max(6.0, od * 0.15), xm = x0 + width / 2, rg = dw / 2 * 1.04;
    double dyo = ro - pitch, dyi = pitch - ri;
    double wo = std::sqrt(std::max(0.0, rg * rg - dyo * dyo)),
           wi = std::sqrt(std::max(0.0, rg * rg - dyi * dyi));
    double ao = std::asin(std::min(1.0, dyo / rg)) * 180.0 / kPi,
           ai = std::asin(std::min(1.0, dyi / rg)) * 180.0 / kPi;
    std::vector<double> outer = { x0, od / 2, x0, ro, xm - wo, ro };
    Sketch::AppendArc(outer, xm, pitch, rg, 180.0 - ao, ao, 12);
    outer.insert(outer.end(), { xm + wo, ro, x0 + width, ro, x0 + width, od / 2 });
    std::vector<double> inner = { x0, d / 2, x0 + width, d / 2, x0 + width, ri, xm + wi, ri };
    Sketch::AppendArc(inner, xm, pitch, rg, -ai, -180.0 + ai, 12);
    inner.insert(inner.end(), { xm - wi, ri, x0, ri });
    double spacing = HatchSpacing(od);
    for (const auto& cut : { outer, inner }) {
        s.Section(cut, spacing);
        s.Section(Sketch::MirrorY(cut), spacing);
    }
    for (double sign : { 1.0, -1.0 }) {
        s.FillCircle(xm, sign * pitch, dw / 2, kSteelBlue);
        s.Circle(xm, sign * pitch, dw / 2);
    }
    s.Line(x0 - 2, 0, x0 + width + 2, 0, kCentreColor);
    return true;
}

bool DrawThrustBearing(Dims& v, Sketch& s)
{
    double d = v("d"), od = v("D"), t = v("T");
    v.Require(od > d + 4 && t > 0, "impossible thrust bearing");
    double tw = t * 0.3, rb = (t - 2 * tw) / 2 + tw * 0.3, rg = rb * 1.04, rp = (d + od) / 4;
    double dx = t / 2 - tw, w = std::sqrt(std::max(0.0, rg * rg - dx * dx));
    double phi = std::atan2(w, dx) * 180.0 / kPi;
    double shaftOuter = od / 2 - 0.5, housingInner = d / 2 + 1.0;
    // Section: the shaft washer on the left, the housing washer on the right, balls between.
    std::vector<double> left = { 0, d / 2, tw, d / 2, tw, rp - w };
    Sketch::AppendArc(left, t / 2, rp, rg, 180 + phi, 180 - phi, 10);
    left.insert(left.end(), { tw, rp + w, tw, shaftOuter, 0, shaftOuter });
    std::vector<double> right = { t, housingInner, t, od / 2, t - tw, od / 2, t - tw, rp + w };
    Sketch::AppendArc(right, t / 2, rp, rg, phi, -phi, 10);
    right.insert(right.end(), { t - tw, rp - w, t - tw, housingInner });
    double spacing = HatchSpacing(od);
    for (const auto& cut : { left, right }) {
        s.Section(cut, spacing);
        s.Section(Sketch::MirrorY(cut), spacing);
    }
    for (double sign : { 1.0, -1.0 }) {
        s.FillCircle(t / 2, sign * rp, rb, kSteelBlue);
        s.Circle(t / 2, sign * rp, rb);
    }
    s.Line(-2, 0, t + 2, 0, kCentreColor);
    // Face view of the housing washer with the balls behind it.
    double cx = t + std::max(6.0, od * 0.15) + od / 2;
    s.FillRing(cx, 0, housingInner, od / 2, kFaceColor);
    s.Circle(cx, 0, od / 2);
    s.Circle(cx, 0, housingInner);
    s.Circle(cx, 0, rp, kCentreColor);
    int balls = std::clamp(static_cast<int>(2 * kPi * rp / (rb * 2.6)), 8, 16);
    for (int i = 0; i < balls; ++i) {
        double a = 2 * kPi * i / balls;
        s.Circle(cx + rp * std::cos(a), rp * std::sin(a), rb, kHiddenColor);
    }
    s.CentreCross(cx, 0, od / 2);
    return true;
}

bool DrawShaft(Dims& v, Sketch& s)
{
    const auto& ds = v.List("d");
    const auto& ls = v.List("l");
    v.Require(ds.size() == ls.size() && !ds.empty(), "shaft steps: d and l differ in count");
    if (!v.Error().empty())
        return false;
    double total = 0, dmax = 0;
    for (std::size_t i = 0; i < ds.size(); ++i) {
        total += ls[i];
        dmax = std::max(dmax, ds[i]);
    }
    double c = std::max(0.5, ds.front() * 0.04);
    double x = 0;
    for (std::size_t i = 0; i < ds.size(); ++i) {
        double r = ds[i] / 2;
        s.FillRect(x, -r, x + ls[i], r, kMetalColor);
        std::vector<double> step;
        bool first = i == 0, last = i + 1 == ds.size();
        double xa = x, xb = x + ls[i];
        step = { xa + (first ? c : 0), r, xb - (last ? c : 0), r };
        if (last)
            step.insert(step.end(), { xb, r - c, xb, -(r - c) });
        else
            step.insert(step.end(), { xb, r, xb, -r });
        step.insert(step.end(), { xb - (last ? c : 0), -r, xa + (first ? c : 0), -r });
        if (first)
            step.insert(step.end(), { xa, -(r - c), xa, r - c });
        else
            step.insert(step.end(), { xa, -r, xa, r });
        s.Polyline(step, true);
        x += ls[i];
    }
    s.Line(-3, 0, total + 3, 0, kCentreColor);
    // The keyway on one step, and the cut through it below the shaft.
    int key = static_cast<int>(v.Or("keyStep", -1));
    if (key >= 0 && key < static_cast<int>(ds.size())) {
        double kb = v("keyB"), kl = v("keyL");
        double start = 0;
        for (int i = 0; i < key; ++i)
            start += ls[static_cast<std::size_t>(i)];
        double mid = start + ls[static_cast<std::size_t>(key)] / 2, r = ds[static_cast<std::size_t>(key)] / 2;
        v.Require(kl < ls[static_cast<std::size_t>(key)] && kb < r, "keyway does not fit its step");
        std::vector<double> slot;
        Sketch::AppendArc(slot, mid + kl / 2 - kb / 2, 0, kb / 2, -90, 90, 10);
        Sketch::AppendArc(slot, mid - kl / 2 + kb / 2, 0, kb / 2, 90, 270, 10);
        s.Fill(slot, kDarkColor);
        s.Polyline(slot, true);
        double cy = -dmax / 2 - std::max(5.0, r * 0.5) - r, depth = kb * 0.55;
        double yc = std::sqrt(std::max(0.0, r * r - kb * kb / 4));
        double theta = std::atan2(yc, kb / 2) * 180.0 / kPi;
        std::vector<double> cut = { mid + kb / 2, cy + yc, mid + kb / 2, cy + r - depth, mid - kb / 2,
            cy + r - depth, mid - kb / 2, cy + yc };
        Sketch::AppendArc(cut, mid, cy, r, 180 - theta, 360 + theta, 28);
        s.Section(cut, HatchSpacing(2 * r));
        s.CentreCross(mid, cy, r);
    }
    return true;
}

// The basic profile of a metric thread at ten times size: a few pitches of bolt (below) and
// nut (above) thread meeting on the flanks, with crest flats of P/8 and root flats of P/4.
bool DrawThreadProfile(Dims& v, Sketch& s)
{
    double p = v("P") * 10;
    v.Require(p > 0, "impossible pitch");
    double a = 5.0 / 16.0 * (p * kSqrt3 / 2); // half the height of the basic profile
    const int pitches = 5;
    std::vector<double> flank;
    for (int i = 0; i < pitches; ++i) {
        double x = i * p;
        flank.insert(flank.end(), { x, -a, x + p / 4, -a, x + 9 * p / 16, a, x + 11 * p / 16, a });
    }
    double right = pitches * p;
    flank.insert(flank.end(), { right, -a });
    std::vector<double> bolt = flank, nut = flank;
    bolt.insert(bolt.end(), { right, -2.4 * a, 0, -2.4 * a });
    nut.insert(nut.end(), { right, 2.4 * a, 0, 2.4 * a });
    s.Fill(bolt, kMetalColor);
    s.Fill(nut, kSteelBlue);
    s.Polyline(flank, false);
    s.Line(-4, -a / 5, right + 4, -a / 5, kCentreColor); // pitch line: ridge and groove equally wide
    s.Line(-4, a, right + 4, a, kThreadColor);
    s.Line(-4, -a, right + 4, -a, kThreadColor);
    return true;
}

// Tolerance zones of a 25 mm hole H7 with the shafts of a clearance, a transition and an
// interference fit, against the zero line; deviations in micrometres.
bool DrawFitZones(Dims& v, Sketch& s)
{
    double scale = v.Or("scale", 1.0);
    struct Zone {
        double x, upper, lower;
        int color;
        const char* name;
    };
    const Zone zones[] = { { 0, 21, 0, kSteelBlue, "H7" }, { 30, -7, -20, kGreen, "g6" },
        { 55, 15, 2, kOrange, "k6" }, { 80, 35, 22, kMagenta, "p6" } };
    for (const auto& z : zones) {
        double x0 = z.x * scale, x1 = (z.x + 18) * scale;
        s.FillRect(x0, z.lower * scale, x1, z.upper * scale, z.color);
        s.Rect(x0, z.lower * scale, x1, z.upper * scale);
        s.Text(z.name, x0 + 4 * scale, z.upper * scale + 3 * scale, 4 * scale);
    }
    s.Line(-8 * scale, 0, 106 * scale, 0, kCentreColor);
    s.Line(-8 * scale, -30 * scale, -8 * scale, 40 * scale);
    for (int tick = -20; tick <= 30; tick += 10)
        s.Line(-10 * scale, tick * scale, -8 * scale, tick * scale);
    return true;
}

using DrawFunction = std::function<bool(Dims&, Sketch&)>;

const std::vector<std::pair<std::string, DrawFunction>>& Shapes()
{
    static const std::vector<std::pair<std::string, DrawFunction>> shapes = {
        { "hexbolt", DrawHexBolt },
        { "socketscrew", DrawSocketScrew },
        { "counterbore", DrawCounterbore },
        { "hexnut", DrawHexNut },
        { "flatwasher", DrawFlatWasher },
        { "springwasher", DrawSpringWasher },
        { "plateflange", DrawPlateFlange },
        { "hubflange", DrawHubFlange },
        { "blindflange", DrawBlindFlange },
        { "flatkey", DrawFlatKey },
        { "pin", DrawPin },
        { "ballbearing", DrawBallBearing },
        { "thrustbearing", DrawThrustBearing },
        { "shaft", DrawShaft },
        { "threadprofile", DrawThreadProfile },
        { "fitzones", DrawFitZones },
    };
    return shapes;
}

} // namespace

bool DrawPart(
    const std::string& shape, const PartValues& values, DrawingDescription& drawing, std::string& error)
{
    for (const auto& [name, draw] : Shapes()) {
        if (name != shape)
            continue;
        Dims dims(values);
        Sketch sketch;
        bool drawn = draw(dims, sketch);
        if (!drawn || !dims.Error().empty()) {
            error = shape + ": " + (dims.Error().empty() ? "cannot be drawn" : dims.Error());
            return false;
        }
        drawing = sketch.Take();
        if (!values.Label.empty())
            AddLabel(sketch, drawing, values.Label);
        return true;
    }
    error = "unknown shape " + shape;
    return false;
}

const std::vector<std::string>& PartShapes()
{
    static const std::vector<std::string> names = [] {
        std::vector<std::string> out;
        for (const auto& entry : Shapes())
            out.push_back(entry.first);
        return out;
    }();
    return names;
}

} // namespace orv::demo
