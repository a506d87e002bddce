#pragma once
// The display list a slide decodes into: points in the order they were added, the number of
// points of each primitive (2 a line, any other count a filled polygon), the colour index each
// primitive was added with, and the bounding box of every point added since the last Clear.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace orv {

struct SlidePoint {
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t color = 0;
};

class SlideDisplayList {
public:
    // More points (or primitives) than this end decoding: a slide is a preview, and a hostile file must not
    // make the reader take gigabytes.
    static constexpr std::size_t kMaxPoints = 8u * 1024 * 1024;

    void Clear();

    // Both return false (adding nothing) when the list is full.
    bool AddLine(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2, std::int32_t color);
    bool AddPolygon(const SlidePoint* points, std::size_t count, std::int32_t color);

    bool Full() const { return m_points.size() >= kMaxPoints || m_sizes.size() >= kMaxPoints; }
    bool Empty() const { return m_points.empty(); }
    const std::vector<SlidePoint>& Points() const { return m_points; }
    const std::vector<unsigned>& PrimitiveSizes() const { return m_sizes; }
    const std::vector<std::int32_t>& PrimitiveColors() const { return m_colors; }

    bool HasBox() const { return !m_points.empty(); }
    std::int32_t MinX() const { return m_minX; }
    std::int32_t MinY() const { return m_minY; }
    std::int32_t MaxX() const { return m_maxX; }
    std::int32_t MaxY() const { return m_maxY; }

private:
    void Widen(std::int32_t x, std::int32_t y);

    std::vector<SlidePoint> m_points;
    std::vector<unsigned> m_sizes;
    std::vector<std::int32_t> m_colors;
    std::int32_t m_minX = 0, m_minY = 0, m_maxX = 0, m_maxY = 0;
};

} // namespace orv
