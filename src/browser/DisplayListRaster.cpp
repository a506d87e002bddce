#include "browser/DisplayListRaster.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>
#include <vector>

namespace orv {
namespace {

constexpr long long kOne = 1LL << 16; // 16.16 fixed point

long long FloorDiv(long long a, long long b)
{
    long long q = a / b;
    return (a % b != 0 && ((a < 0) != (b < 0))) ? q - 1 : q;
}

void Plot(RasterImage& image, long long x, long long y, std::uint32_t color, int width)
{
    if (width <= 1) {
        if (x >= 0 && y >= 0 && x < image.Width() && y < image.Height())
            image.SetPixel(static_cast<int>(x), static_cast<int>(y), color);
        return;
    }
    const long long left = x - (width - 1) / 2, top = y - (width - 1) / 2;
    const long long w = image.Width(), h = image.Height();
    const int x0 = static_cast<int>(std::clamp(left, 0LL, w)),
              x1 = static_cast<int>(std::clamp(left + width, 0LL, w));
    for (long long row = std::max(top, 0LL); row < std::min(top + width, h); ++row)
        image.FillSpan(static_cast<int>(row), x0, x1, color);
}

struct Edge {
    int top, bottom; // rows top <= r < bottom have their centre line cross the edge
    double x0, y0, slope; // upper end and dx/dy
};

} // namespace

void DrawRasterLine(RasterImage& image, RasterPoint from, RasterPoint to, std::uint32_t color, int width)
{
    if (from.x == to.x && from.y == to.y) {
        Plot(image, from.x, from.y, color, width);
        return;
    }
    const long long dx = static_cast<long long>(to.x) - from.x, dy = static_cast<long long>(to.y) - from.y;
    const bool xMajor = std::llabs(dx) >= std::llabs(dy);
    // Walk the major axis upwards whichever way the line was given, so a line and its reverse
    // cover the same pixels.
    long long major = xMajor ? from.x : from.y, minor = xMajor ? from.y : from.x;
    long long length = xMajor ? dx : dy, rise = xMajor ? dy : dx;
    if (length < 0) {
        major += length;
        minor += rise;
        length = -length;
        rise = -rise;
    }
    const long long step = rise * kOne / length;
    const long long limit = xMajor ? image.Width() : image.Height();
    const long long first = std::max(major, -static_cast<long long>(width)),
                    last = std::min(major + length, limit + width);
    long long at = minor * kOne + (step > 0 ? step / 2 : 0) + (first - major) * step;
    for (long long m = first; m < last; ++m, at += step) {
        const long long n = FloorDiv(at, kOne);
        if (xMajor)
            Plot(image, m, n, color, width);
        else
            Plot(image, n, m, color, width);
    }
}

void FillRasterPolygon(RasterImage& image, const RasterPoint* points, std::size_t count, std::uint32_t color)
{
    std::vector<Edge> edges;
    for (std::size_t i = 0; i < count; ++i) {
        RasterPoint a = points[i], b = points[(i + 1) % count];
        if (a.y == b.y)
            continue; // a level edge crosses no row's centre line
        if (a.y > b.y)
            std::swap(a, b);
        edges.push_back({ a.y, b.y, static_cast<double>(a.x), static_cast<double>(a.y),
            (static_cast<double>(b.x) - a.x) / (static_cast<double>(b.y) - a.y) });
    }
    if (edges.empty())
        return;
    std::sort(edges.begin(), edges.end(), [](const Edge& l, const Edge& r) { return l.top < r.top; });
    int bottom = edges.front().bottom;
    for (const Edge& e : edges)
        bottom = std::max(bottom, e.bottom);
    std::vector<const Edge*> active;
    std::vector<long long> starts;
    std::size_t next = 0;
    for (int row = std::max(edges.front().top, 0); row < std::min(bottom, image.Height()); ++row) {
        while (next < edges.size() && edges[next].top <= row)
            active.push_back(&edges[next++]);
        active.erase(
            std::remove_if(active.begin(), active.end(), [row](const Edge* e) { return e->bottom <= row; }),
            active.end());
        starts.clear();
        for (const Edge* e : active) {
            // The first pixel whose centre lies at or right of where the edge crosses the row's centre.
            const double x = e->x0 + (row + 0.5 - e->y0) * e->slope;
            starts.push_back(static_cast<long long>(std::ceil(x - 0.5)));
        }
        std::sort(starts.begin(), starts.end());
        for (std::size_t i = 0; i + 1 < starts.size(); i += 2) {
            const long long x0 = std::max(starts[i], 0LL),
                            x1 = std::min(starts[i + 1], static_cast<long long>(image.Width()));
            if (x0 < x1)
                image.FillSpan(row, static_cast<int>(x0), static_cast<int>(x1), color);
        }
    }
}

void DrawRasterPolygon(
    RasterImage& image, const RasterPoint* points, std::size_t count, std::uint32_t color, int width)
{
    FillRasterPolygon(image, points, count, color);
    // Each edge leaves out its upper end, so a vertex at a peak would be missing without this.
    for (std::size_t i = 0; i < count; ++i) {
        DrawRasterLine(image, points[i], points[(i + 1) % count], color, width);
        Plot(image, points[i].x, points[i].y, color, width);
    }
}

SlideLayout DrawDisplayList(
    RasterImage& image, const SlideDisplayList& list, const RasterDrawOptions& options)
{
    SlideLayout layout = FitDisplayList(list, { 0, 0, image.Width(), image.Height() }, options.margin);
    if (!layout.drawable || image.IsNull())
        return layout;
    const int width = std::max(options.lineWidth, 1);
    const auto& points = list.Points();
    const auto& sizes = list.PrimitiveSizes();
    const auto& colors = list.PrimitiveColors();
    std::vector<RasterPoint> device;
    std::size_t next = 0;
    for (std::size_t k = 0; k < sizes.size(); ++k) {
        const SlidePoint* p = points.data() + next;
        const unsigned size = sizes[k];
        next += size;
        if (size == 0)
            continue;
        const std::uint32_t color
            = options.color ? options.color(colors[k]) : CAcadSlideBitmap::ColorFromIndex(colors[k]);
        device.resize(size);
        for (unsigned i = 0; i < size; ++i)
            device[i] = { layout.area.left + layout.MapX(p[i].x), layout.area.top + layout.MapY(p[i].y) };
        if (size == 2)
            DrawRasterLine(image, device[0], device[1], color, width);
        else
            DrawRasterPolygon(image, device.data(), size, color, width);
    }
    return layout;
}

} // namespace orv
