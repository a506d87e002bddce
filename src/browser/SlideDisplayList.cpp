#include "browser/SlideDisplayList.h"

#include <algorithm>

namespace orv {

void SlideDisplayList::Clear()
{
    m_points.clear();
    m_sizes.clear();
    m_colors.clear();
    m_minX = m_minY = m_maxX = m_maxY = 0;
}

void SlideDisplayList::Widen(std::int32_t x, std::int32_t y)
{
    if (m_points.empty()) {
        m_minX = m_maxX = x;
        m_minY = m_maxY = y;
        return;
    }
    m_minX = std::min(m_minX, x);
    m_maxX = std::max(m_maxX, x);
    m_minY = std::min(m_minY, y);
    m_maxY = std::max(m_maxY, y);
}

bool SlideDisplayList::AddLine(
    std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2, std::int32_t color)
{
    if (m_points.size() + 2 > kMaxPoints || m_sizes.size() >= kMaxPoints)
        return false;
    Widen(x1, y1);
    m_points.push_back({ x1, y1, color });
    Widen(x2, y2);
    m_points.push_back({ x2, y2, color });
    m_sizes.push_back(2);
    m_colors.push_back(color);
    return true;
}

bool SlideDisplayList::AddPolygon(const SlidePoint* points, std::size_t count, std::int32_t color)
{
    if (count > kMaxPoints - m_points.size() || m_sizes.size() >= kMaxPoints)
        return false;
    for (std::size_t i = 0; i < count; ++i) {
        Widen(points[i].x, points[i].y);
        m_points.push_back({ points[i].x, points[i].y, color });
    }
    m_sizes.push_back(static_cast<unsigned>(count));
    m_colors.push_back(color);
    return true;
}

} // namespace orv
