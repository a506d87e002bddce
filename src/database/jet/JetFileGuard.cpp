#include "database/jet/JetFileGuard.h"

#include "database/jet/JetHeader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <set>

namespace orv {
namespace {

// Where the two format generations keep a definition's fields.
struct Layout {
    std::size_t NumRows, NumVarCols, NumCols, NumIndexes, NumRealIndexes, UsageMap, FreeMap, ColumnsStart;
    std::size_t RealIndexEntry, ColumnEntry, NameLengthBytes, DataRowCount, DataRowOffsets;
};
constexpr Layout kJet4{16, 43, 45, 47, 51, 55, 59, 63, 12, 25, 2, 12, 14};
constexpr Layout kJet3{12, 23, 25, 27, 31, 35, 39, 43, 8, 18, 1, 8, 10};

constexpr std::uint32_t kMaxColumns = 255;
constexpr std::uint32_t kMaxIndexes = 256;
constexpr std::size_t kMaxDefinitionPages = 64;

std::uint32_t U16(const std::string& b, std::size_t at)
{
    return static_cast<unsigned char>(b[at]) | static_cast<unsigned char>(b[at + 1]) << 8;
}

std::uint32_t U32(const std::string& b, std::size_t at)
{
    return U16(b, at) | U16(b, at + 2) << 16;
}

// Pages after the header of a file with a database key are RC4-encoded with the key XOR the
// page number (little-endian) as key; libmdb decodes them the same way.
void DecodePage(std::uint32_t databaseKey, std::uint32_t page, std::string& bytes)
{
    const std::uint32_t key = databaseKey ^ page;
    const unsigned char k[4] = {static_cast<unsigned char>(key), static_cast<unsigned char>(key >> 8),
                                static_cast<unsigned char>(key >> 16), static_cast<unsigned char>(key >> 24)};
    unsigned char state[256];
    for (int i = 0; i < 256; ++i)
        state[i] = static_cast<unsigned char>(i);
    for (int i = 0, j = 0; i < 256; ++i) {
        j = (j + state[i] + k[i % 4]) & 0xFF;
        std::swap(state[i], state[j]);
    }
    for (std::size_t n = 0, x = 0, y = 0; n < bytes.size(); ++n) {
        x = (x + 1) & 0xFF;
        y = (y + state[x]) & 0xFF;
        std::swap(state[x], state[y]);
        bytes[n] = static_cast<char>(bytes[n] ^ state[(state[x] + state[y]) & 0xFF]);
    }
}

}  // namespace

CJetFileGuard::~CJetFileGuard()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

bool CJetFileGuard::Fail(std::string reason)
{
    m_reason = std::move(reason);
    return false;
}

bool CJetFileGuard::ReadBytes(std::uint64_t offset, std::size_t length, std::string& out)
{
    out.resize(length);
    std::size_t done = 0;
    while (done < length) {
        ssize_t n = ::pread(m_fd, out.data() + done, length - done, static_cast<off_t>(offset + done));
        if (n <= 0)
            return false;
        done += static_cast<std::size_t>(n);
    }
    // Reads start at a page's first byte, so the page's keystream starts with them.
    if (m_databaseKey != 0 && offset >= m_pageSize)
        DecodePage(m_databaseKey, static_cast<std::uint32_t>(offset / m_pageSize), out);
    return true;
}

bool CJetFileGuard::ReadPage(std::uint32_t page, std::string& out)
{
    if (page >= m_pageCount)
        return Fail("page " + std::to_string(page) + " is past the end of the file (" + std::to_string(m_pageCount) +
                    " pages)");
    if (!ReadBytes(static_cast<std::uint64_t>(page) * m_pageSize, m_pageSize, out))
        return Fail("cannot read page " + std::to_string(page));
    return true;
}

bool CJetFileGuard::Open(const std::string& nativePath)
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = ::open(nativePath.c_str(), O_RDONLY | O_CLOEXEC);
    if (m_fd < 0)
        return Fail("cannot open the file");
    struct stat info {};
    if (::fstat(m_fd, &info) != 0 || !S_ISREG(info.st_mode))
        return Fail("not a regular file");
    std::string head, reason;
    m_databaseKey = 0;
    if (!ReadBytes(0, 256, head))
        return Fail("the database file is truncated");
    std::optional<JetHeader> header = ParseJetHeader(head, static_cast<std::uint64_t>(info.st_size), reason);
    if (!header)
        return Fail(reason);
    m_pageSize = header->pageSize;
    m_databaseKey = header->databaseKey;
    m_pageCount = static_cast<std::uint32_t>(std::min<std::uint64_t>(static_cast<std::uint64_t>(info.st_size) / m_pageSize, 0xFFFFFFu));
    if (m_pageCount < 3)
        return Fail("the database file is truncated");
    return true;
}

bool CJetFileGuard::FindRow(std::uint32_t pgRow, std::string& row, const char* what)
{
    const Layout& f = IsJet3() ? kJet3 : kJet4;
    std::uint32_t page = pgRow >> 8, index = pgRow & 0xFF;
    std::string data;
    if (!ReadPage(page, data))
        return Fail(std::string(what) + ": " + m_reason);
    if (data[0] != 0x01)
        return Fail(std::string(what) + " is not on a data page");
    std::uint32_t rows = U16(data, f.DataRowCount);
    if (index >= rows || f.DataRowOffsets + 2 * rows > m_pageSize)
        return Fail(std::string(what) + " names a missing row");
    std::uint32_t start = U16(data, f.DataRowOffsets + 2 * index) & 0x1FFF;
    std::uint32_t end = index == 0 ? m_pageSize : U16(data, f.DataRowOffsets + 2 * (index - 1)) & 0x1FFF;
    if (start < f.DataRowOffsets + 2 * rows || start >= end || end > m_pageSize)
        return Fail(std::string(what) + " has a bad row offset");
    row = data.substr(start, end - start);
    return true;
}

bool CJetFileGuard::CheckMapPages(std::uint32_t firstPage, const std::string& map)
{
    const Layout& f = IsJet3() ? kJet3 : kJet4;
    std::set<std::uint32_t> pages;
    // A damaged map of bitmap pages can name millions of pages: only those the file holds are
    // gathered; the first one past the end is remembered and reported after them.
    std::uint64_t pastTheEnd = 0;
    auto addBits = [&](const std::string& bitmap, std::size_t from, std::uint64_t base) {
        for (std::size_t i = from; i < bitmap.size(); ++i) {
            auto byte = static_cast<unsigned char>(bitmap[i]);
            for (int bit = 0; byte != 0 && bit < 8; ++bit) {
                if (!(byte >> bit & 1))
                    continue;
                const std::uint64_t page = base + (i - from) * 8 + bit;
                if (page < m_pageCount)
                    pages.insert(static_cast<std::uint32_t>(page));
                else if (pastTheEnd == 0 || page < pastTheEnd)
                    pastTheEnd = page;
            }
        }
    };
    if (map.empty())
        return Fail("the usage map is empty");
    if (map[0] == 0x00) {
        if (map.size() < 5)
            return Fail("the usage map is cut short");
        addBits(map, 5, U32(map, 1));
    } else if (map[0] == 0x01) {
        const std::uint64_t perPage = static_cast<std::uint64_t>(m_pageSize - 4) * 8;
        for (std::size_t i = 0; 1 + 4 * i + 4 <= map.size(); ++i) {
            std::uint32_t bitmapPage = U32(map, 1 + 4 * i);
            if (bitmapPage == 0)
                continue;
            std::string bitmap;
            if (!ReadPage(bitmapPage, bitmap))
                return Fail("usage map: " + m_reason);
            if (bitmap[0] != 0x05)
                return Fail("the usage map names page " + std::to_string(bitmapPage) + ", which is not a map page");
            addBits(bitmap, 4, i * perPage);
        }
    } else {
        return Fail("unknown usage map type " + std::to_string(static_cast<unsigned char>(map[0])));
    }
    std::string header;
    for (std::uint32_t page : pages) {
        if (page >= m_pageCount)
            return Fail("the usage map names page " + std::to_string(page) + ", past the end of the file");
        if (!ReadBytes(static_cast<std::uint64_t>(page) * m_pageSize, f.DataRowOffsets, header))
            return Fail("cannot read page " + std::to_string(page));
        if (header[0] != 0x01 || U32(header, 4) != firstPage)
            return Fail("the usage map names page " + std::to_string(page) + ", which belongs to something else");
        if (f.DataRowOffsets + 2 * U16(header, f.DataRowCount) > m_pageSize)
            return Fail("data page " + std::to_string(page) + " claims too many rows");
    }
    if (pastTheEnd != 0)
        return Fail("the usage map names page " + std::to_string(pastTheEnd) + ", past the end of the file");
    return true;
}

bool CJetFileGuard::CheckTable(std::uint32_t firstDefinitionPage)
{
    if (m_fd < 0)
        return Fail("no file is open");
    const Layout& f = IsJet3() ? kJet3 : kJet4;
    const std::string where = "table definition at page " + std::to_string(firstDefinitionPage);

    if (firstDefinitionPage == 0)
        return Fail(where + ": page 0 is the file header");
    // The definition: the first page whole, each continuation page from its offset 8.
    std::string definition, page;
    std::set<std::uint32_t> seen;
    for (std::uint32_t next = firstDefinitionPage; next != 0;) {
        if (!seen.insert(next).second || seen.size() > kMaxDefinitionPages)
            return Fail(where + ": its pages form a loop");
        if (!ReadPage(next, page))
            return Fail(where + ": " + m_reason);
        if (page[0] != 0x02)
            return Fail(where + ": page " + std::to_string(next) + " is not a table definition");
        definition.append(page, definition.empty() ? 0 : 8, std::string::npos);
        next = U32(page, 4);
    }
    std::uint32_t columns = U16(definition, f.NumCols), varColumns = U16(definition, f.NumVarCols);
    std::uint32_t indexes = U32(definition, f.NumIndexes), realIndexes = U32(definition, f.NumRealIndexes);
    // A deleted column keeps its slot in every row until the database is compacted, and the
    // variable-column count keeps counting it: a table of variable columns with one deleted
    // lists fewer columns than it counts variable ones. libmdb sizes nothing by that count (each
    // row carries its own), so it only has to stay within what a table can ever have held.
    if (columns == 0 || columns > kMaxColumns || varColumns > kMaxColumns)
        return Fail(where + ": impossible column counts (" + std::to_string(columns) + ", " +
                    std::to_string(varColumns) + " variable)");
    if (indexes > kMaxIndexes || realIndexes > kMaxIndexes)
        return Fail(where + ": impossible index counts");
    std::size_t pos = f.ColumnsStart + realIndexes * f.RealIndexEntry;
    if (pos + columns * f.ColumnEntry > definition.size())
        return Fail(where + ": the column entries run past its end");
    const bool jet3 = IsJet3();
    for (std::uint32_t c = 0; c < columns; ++c, pos += f.ColumnEntry) {
        auto type = static_cast<unsigned char>(definition[pos]);
        bool fixed = static_cast<unsigned char>(definition[pos + (jet3 ? 13 : 15)]) & 0x01;
        std::uint32_t varIndex = U16(definition, pos + (jet3 ? 3 : 7));
        std::uint32_t fixedOffset = U16(definition, pos + (jet3 ? 14 : 21));
        std::uint32_t size = U16(definition, pos + (jet3 ? 16 : 23));
        if (type == 0 || type > 0x12)
            return Fail(where + ": column " + std::to_string(c) + " has the unknown type " + std::to_string(type));
        if (fixed ? fixedOffset + size > m_pageSize : varIndex >= varColumns)
            return Fail(where + ": column " + std::to_string(c) + " lies outside the row");
    }
    for (std::uint32_t c = 0; c < columns; ++c) {
        if (pos + f.NameLengthBytes > definition.size())
            return Fail(where + ": the column names run past its end");
        std::size_t length = f.NameLengthBytes == 1 ? static_cast<unsigned char>(definition[pos]) : U16(definition, pos);
        pos += f.NameLengthBytes + length;
    }
    if (pos > definition.size())
        return Fail(where + ": the column names run past its end");

    std::string map, freeMap;
    if (!FindRow(U32(definition, f.UsageMap), map, "the owned-pages map") ||
        !FindRow(U32(definition, f.FreeMap), freeMap, "the free-space map"))
        return Fail(where + ": " + m_reason);
    if (!CheckMapPages(firstDefinitionPage, map))
        return Fail(where + ": " + m_reason);
    return true;
}

}  // namespace orv
