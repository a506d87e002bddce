#pragma once
// A small pen for building drawing descriptions (the manifest's DrawingDescription) in
// millimetres, y up: the demo's part drawings and symbols are written with it. Filled circles
// and rings become polygons here, because a fill is always a polygon.

#include "builder/GalleryManifest.h"

#include <string>
#include <vector>

namespace orv::demo {

// AutoCAD colour indices the demo drawings use. The greys (8, 9, 250-255) are left alone:
// slide readers show them as white, which turns black on a light background.
enum DemoColor {
    kRed = 1,
    kYellow = 2,
    kGreen = 3,
    kCyan = 4,
    kBlue = 5,
    kMagenta = 6,
    kOutline = 7, // black on a light background, white on a dark one
    kOrange = 30,
    kBrown = 32,
    kPaleYellow = 51,
    kPaleBlue = 141,
    kSteelBlue = 150,
    kLightBlue = 151,
    kDarkBlue = 154,
};

constexpr int kCentreColor = kRed;
constexpr int kThreadColor = kGreen;
constexpr int kHiddenColor = kCyan;
constexpr int kMetalColor = kPaleBlue; // surfaces seen from outside
constexpr int kFaceColor = kLightBlue; // end faces and rings
constexpr int kDarkColor = kDarkBlue; // sockets, slots, thin background lines
constexpr int kSectionColor = kPaleYellow; // cut faces
constexpr int kHatchColor = kBrown; // section lines
constexpr int kTextColor = kBlue;

// The box around every item but texts (circles and arcs with their whole circle); all zero
// for a drawing without such items.
struct DrawingBox {
    double MinX = 0.0, MinY = 0.0, MaxX = 0.0, MaxY = 0.0;
};
DrawingBox BoxOf(const DrawingDescription& drawing);

class Sketch {
public:
    void Line(double x1, double y1, double x2, double y2, int color = kOutline);
    void Polyline(std::vector<double> points, bool closed, int color = kOutline);
    void Rect(double x0, double y0, double x1, double y1, int color = kOutline);
    void Fill(std::vector<double> points, int color);
    void FillRect(double x0, double y0, double x1, double y1, int color);
    void Circle(double cx, double cy, double r, int color = kOutline);
    // Degrees, counter-clockwise from start to end.
    void Arc(double cx, double cy, double r, double start, double end, int color = kOutline);
    void FillCircle(double cx, double cy, double r, int color);
    // The ring between two radii as a band of four-sided pieces (a polygon cannot hold a hole),
    // from one angle to another (degrees, counter-clockwise).
    void FillRing(
        double cx, double cy, double inner, double outer, int color, double start = 0.0, double end = 360.0);
    // Section lines across a simple polygon: parallel lines at the angle, spacing apart, cut
    // where they cross the outline (odd-even).
    void Hatch(const std::vector<double>& polygon, double spacing, int color, double angle = 45.0);
    // A filled, hatched and outlined cut face.
    void Section(const std::vector<double>& polygon, double spacing, int fillColor = kSectionColor);
    // Regular hexagon with the given width across flats; rotation 0 puts corners at the top
    // and bottom. Filled first when fillColor is not 0.
    void Hexagon(double cx, double cy, double acrossFlats, double rotation, int color, int fillColor = 0);
    // Horizontal and vertical centre lines through a point, overhang beyond the radius.
    void CentreCross(double cx, double cy, double r);
    void Text(const std::string& text, double x, double y, double height, int color = kTextColor);

    // Vertices of a regular polygon, for fills and outlines.
    static std::vector<double> RegularPolygon(double cx, double cy, double r, int sides, double startDegrees);
    // Points of an arc from one angle to the other (either direction), both ends included,
    // appended to a polygon under construction.
    static void AppendArc(
        std::vector<double>& points, double cx, double cy, double r, double start, double end, int segments);
    // The polygon mirrored in the x axis (y negated), for the lower half of a section.
    static std::vector<double> MirrorY(const std::vector<double>& polygon);

    DrawingDescription Take();

private:
    void Add(DrawingItem::Kind kind, std::vector<double> coords, int color, bool closed = false);

    DrawingDescription m_drawing;
};

} // namespace orv::demo
