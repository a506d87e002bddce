#include "database/jet/JetPageBuilder.h"

#include <algorithm>
#include <cstring>

namespace orv {
namespace {

constexpr std::size_t kPage = 4096;
// Pages covered by one type-0x05 bitmap page: 4092 bytes after its 4-byte header.
constexpr std::uint32_t kPagesPerMapPage = (kPage - 4) * 8;

void PutU16(unsigned char* p, std::size_t value)
{
    p[0] = static_cast<unsigned char>(value);
    p[1] = static_cast<unsigned char>(value >> 8);
}

void PutU32(unsigned char* p, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<unsigned char>(value >> (8 * i));
}

}  // namespace

CJetPageBuilder::CJetPageBuilder(std::uint32_t reservedPages) : m_file(reservedPages * kPage, '\0') {}

std::uint32_t CJetPageBuilder::AllocatePage()
{
    std::uint32_t page = PageCount();
    m_file.append(kPage, '\0');
    return page;
}

unsigned char* CJetPageBuilder::Page(std::uint32_t page)
{
    return reinterpret_cast<unsigned char*>(m_file.data()) + static_cast<std::size_t>(page) * kPage;
}

void CJetPageBuilder::SetPage(std::uint32_t page, std::string_view bytes)
{
    std::memcpy(Page(page), bytes.data(), std::min(bytes.size(), kPage));
}

CJetPageBuilder::OpenPage& CJetPageBuilder::PageFor(std::uint32_t owner)
{
    for (OpenPage& open : m_open) {
        if (open.Owner == owner)
            return open;
    }
    m_open.push_back(OpenPage{});
    m_open.back().Owner = owner;
    return m_open.back();
}

const std::vector<std::uint32_t>& CJetPageBuilder::PagesOf(std::uint32_t owner) const
{
    static const std::vector<std::uint32_t> none;
    for (const OpenPage& open : m_open) {
        if (open.Owner == owner)
            return open.AllPages;
    }
    return none;
}

std::uint32_t CJetPageBuilder::AddRow(std::uint32_t owner, std::string_view row)
{
    if (row.size() > kMaxRowBytes)
        return 0;  // callers size their rows first; 0 is never a data row's address
    OpenPage& open = PageFor(owner);
    bool fits = open.Open && open.Rows < kMaxRowsPerPage &&
                kDataHeaderSize + 2 * (open.Rows + 1) + open.Used + row.size() <= kPage;
    if (!fits) {
        std::uint32_t page = AllocatePage();
        unsigned char* p = Page(page);
        p[0] = 0x01;
        p[1] = 0x01;
        PutU32(p + 4, owner);
        open.Page = page;
        open.Rows = 0;
        open.Used = 0;
        open.Open = true;
        open.AllPages.push_back(page);
    }
    unsigned char* p = Page(open.Page);
    std::size_t start = kPage - open.Used - row.size();
    std::memcpy(p + start, row.data(), row.size());
    PutU16(p + kDataHeaderSize + 2 * open.Rows, start);
    std::size_t rowIndex = open.Rows++;
    open.Used += row.size();
    PutU16(p + 12, open.Rows);
    PutU16(p + 2, kPage - kDataHeaderSize - 2 * open.Rows - open.Used);
    return open.Page << 8 | static_cast<std::uint32_t>(rowIndex);
}

std::string CJetPageBuilder::BuildUsageMap(const std::vector<std::uint32_t>& pages, std::size_t maxInlineBytes)
{
    if (pages.empty())
        return std::string(64, '\0');  // type 0, start page 0, nothing set
    std::uint32_t first = pages.front();
    std::size_t bitmapBytes = (pages.back() - first) / 8 + 1;
    if (bitmapBytes <= maxInlineBytes) {
        std::string map(5 + bitmapBytes, '\0');
        auto* p = reinterpret_cast<unsigned char*>(map.data());
        PutU32(p + 1, first);
        for (std::uint32_t page : pages) {
            std::uint32_t bit = page - first;
            p[5 + bit / 8] |= static_cast<unsigned char>(1u << (bit % 8));
        }
        return map;
    }
    // Reference map: entry i names the bitmap page for pages i * kPagesPerMapPage onward.
    std::uint32_t entries = pages.back() / kPagesPerMapPage + 1;
    std::string map(1 + 4 * static_cast<std::size_t>(entries), '\0');
    map[0] = 0x01;
    std::vector<std::uint32_t> bitmapPages(entries, 0);
    for (std::uint32_t page : pages) {
        std::uint32_t entry = page / kPagesPerMapPage;
        if (bitmapPages[entry] == 0) {
            bitmapPages[entry] = AllocatePage();
            unsigned char* b = Page(bitmapPages[entry]);
            b[0] = 0x05;
            b[1] = 0x01;
        }
        std::uint32_t bit = page % kPagesPerMapPage;
        Page(bitmapPages[entry])[4 + bit / 8] |= static_cast<unsigned char>(1u << (bit % 8));
    }
    for (std::uint32_t i = 0; i < entries; ++i)
        PutU32(reinterpret_cast<unsigned char*>(map.data()) + 1 + 4 * i, bitmapPages[i]);
    return map;
}

}  // namespace orv
