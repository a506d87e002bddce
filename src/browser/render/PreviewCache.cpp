#include "browser/render/PreviewCache.h"

namespace orv {
namespace {

// Paths name files without regard to ASCII case, as the gallery's own paths do.
std::string Key(const std::string& path)
{
    std::string key = path;
    for (char& c : key)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return key;
}

} // namespace

CPreviewCache::CPreviewCache(std::size_t capacity)
    : m_capacity(capacity == 0 ? 1 : capacity)
{
}

std::shared_ptr<const PreviewPicture> CPreviewCache::Get(const std::string& path)
{
    const std::string key = Key(path);
    if (const auto found = m_entries.find(key); found != m_entries.end()) {
        m_order.splice(m_order.begin(), m_order, found->second);
        return found->second->second;
    }
    auto picture = std::make_shared<const PreviewPicture>(LoadPreviewPicture(path));
    m_order.emplace_front(key, picture);
    m_entries[key] = m_order.begin();
    while (m_entries.size() > m_capacity) {
        m_entries.erase(m_order.back().first);
        m_order.pop_back();
    }
    return picture;
}

void CPreviewCache::Clear()
{
    m_entries.clear();
    m_order.clear();
}

} // namespace orv
