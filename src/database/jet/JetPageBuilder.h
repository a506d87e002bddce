#pragma once
// The page image of a Jet 4 file while it is being written: 4096-byte pages, data pages
// that rows are packed into, and the usage maps that tell readers which data pages belong
// to a table.
//
// A data page is "01 01", its free space (u16), its owner (u32: the owning table's first
// definition page, or "LVAL" for long-value pages, 0 for map holders), 4 zero bytes, the
// row count n (u16) and n row offsets (u16). Rows are packed backward from the end of the
// page, row 0 ending at the last byte, each later row ending where the previous one starts,
// since readers take a row's length from its neighbour's offset. A row is addressed by a
// pg_row, page << 8 | row, so a page holds at most 255 rows.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orv {

class CJetPageBuilder {
public:
    static constexpr std::uint32_t kLvalOwner = 0x4C41564C;  // "LVAL"
    static constexpr std::size_t kMaxRowsPerPage = 255;
    static constexpr std::size_t kDataHeaderSize = 14;
    // The longest row one data page can hold.
    static constexpr std::size_t kMaxRowBytes = 4096 - kDataHeaderSize - 2;

    // Pages 0 .. reservedPages-1 exist from the start, zero-filled.
    explicit CJetPageBuilder(std::uint32_t reservedPages);

    std::uint32_t PageCount() const { return static_cast<std::uint32_t>(m_file.size() / 4096); }
    std::uint32_t AllocatePage();
    // The bytes of a page (valid until the next allocation).
    unsigned char* Page(std::uint32_t page);
    void SetPage(std::uint32_t page, std::string_view bytes);

    // Appends the row to the owner's open data page, starting a new page when it does not fit
    // (rows of one owner never share a page with another owner's). Returns its pg_row, or 0
    // for a row longer than kMaxRowBytes.
    std::uint32_t AddRow(std::uint32_t owner, std::string_view row);
    // The data pages started for the owner, in ascending order.
    const std::vector<std::uint32_t>& PagesOf(std::uint32_t owner) const;

    // A usage map row listing the pages (ascending): an inline bitmap (type 0) when its span
    // needs at most maxInlineBytes bitmap bytes, else a reference map (type 1) whose bitmap
    // pages (type 0x05) are allocated here.
    std::string BuildUsageMap(const std::vector<std::uint32_t>& pages, std::size_t maxInlineBytes);

    std::string TakeBytes() { return std::move(m_file); }

private:
    struct OpenPage {
        std::uint32_t Owner = 0;
        std::uint32_t Page = 0;
        std::size_t Rows = 0;
        std::size_t Used = 0;  // bytes of row data
        std::vector<std::uint32_t> AllPages;
        bool Open = false;
    };
    OpenPage& PageFor(std::uint32_t owner);
    std::string m_file;
    std::vector<OpenPage> m_open;
};

}  // namespace orv
