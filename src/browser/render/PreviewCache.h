#pragma once
// Loaded previews kept for their next showing: paging back and forth through a grid, or
// coming back to a directory, draws from memory instead of opening slide libraries again.
// An installed gallery's previews do not change while it is read, so entries stay until the
// least recently used ones make room; Clear drops them all (another gallery).

#include "browser/render/PreviewPicture.h"

#include <cstddef>
#include <list>
#include <memory>
#include <string>
#include <unordered_map>

namespace orv {

class CPreviewCache {
public:
    explicit CPreviewCache(std::size_t capacity = 512);

    // The preview of path (LoadPreviewPicture), loaded on its first use.
    std::shared_ptr<const PreviewPicture> Get(const std::string& path);
    void Clear();
    std::size_t Size() const { return m_entries.size(); }

private:
    using Entry = std::pair<std::string, std::shared_ptr<const PreviewPicture>>;
    std::size_t m_capacity;
    std::list<Entry> m_order; // most recently used first
    std::unordered_map<std::string, std::list<Entry>::iterator> m_entries;
};

} // namespace orv
