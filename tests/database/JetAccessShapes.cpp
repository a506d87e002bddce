#include "JetAccessShapes.h"

#include "database/jet/JetTable.h"

#include <algorithm>

namespace orv::test {
namespace {

constexpr std::size_t kPage = 4096;
constexpr std::size_t kColumnEntry = 25;
constexpr unsigned kDeletedFlag = 0x8000;
constexpr unsigned kOverflowFlag = 0x4000;

unsigned U16(const std::string& b, std::size_t at)
{
    return static_cast<unsigned char>(b[at]) | static_cast<unsigned char>(b[at + 1]) << 8;
}

std::uint32_t U32(const std::string& b, std::size_t at)
{
    return U16(b, at) | static_cast<std::uint32_t>(U16(b, at + 2)) << 16;
}

void Put16(std::string& b, std::size_t at, unsigned v)
{
    b[at] = static_cast<char>(v & 0xFF);
    b[at + 1] = static_cast<char>(v >> 8 & 0xFF);
}

void Put32(std::string& b, std::size_t at, std::uint32_t v)
{
    Put16(b, at, v & 0xFFFF);
    Put16(b, at + 2, v >> 16);
}

// Where row r of the page at byte offset at starts and ends (flags removed).
unsigned RowStart(const std::string& b, std::size_t at, unsigned r)
{
    return U16(b, at + 14 + 2 * r) & 0x1FFF;
}

unsigned RowEnd(const std::string& b, std::size_t at, unsigned r)
{
    return r == 0 ? kPage : RowStart(b, at, r - 1);
}

}  // namespace

JetAccessShapes::JetAccessShapes(std::string file) : m_file(std::move(file))
{
    if (std::optional<JetReadFile> read = ReadJetForTest(m_file, m_error))
        m_tables = std::move(read->Tables);
}

bool JetAccessShapes::Fail(std::string reason)
{
    m_error = std::move(reason);
    return false;
}

const JetReadTable* JetAccessShapes::Find(const std::string& table)
{
    auto it = m_tables.find(table);
    if (it == m_tables.end()) {
        Fail("no table " + table);
        return nullptr;
    }
    if (U32(m_file, it->second.DefinitionPage * kPage + 4) != 0) {
        Fail("the definition of " + table + " spans pages");
        return nullptr;
    }
    return &it->second;
}

bool JetAccessShapes::DeleteColumn(const std::string& table, const std::string& column)
{
    const JetReadTable* t = Find(table);
    if (!t)
        return false;
    const std::size_t at = t->DefinitionPage * kPage;
    std::string page = m_file.substr(at, kPage);
    const unsigned columns = U16(page, 0x2D);
    const std::size_t entries = 0x3F + 12 * U32(page, 0x33);
    const std::u16string wanted = Utf8ToUtf16(column);
    std::size_t name = entries + kColumnEntry * columns;
    for (unsigned c = 0; c < columns; ++c) {
        const unsigned length = U16(page, name);
        std::u16string text;
        for (unsigned i = 0; i + 1 < length; i += 2)
            text.push_back(static_cast<char16_t>(U16(page, name + 2 + i)));
        if (text == wanted) {
            // The name lies after the entry, so it goes first.
            page.erase(name, 2 + length);
            page.erase(entries + kColumnEntry * c, kColumnEntry);
            page.resize(kPage, '\0');
            const std::size_t removed = kColumnEntry + 2 + length;
            Put16(page, 0x02, U16(page, 0x02) + removed);
            Put32(page, 0x08, static_cast<std::uint32_t>(U32(page, 0x08) - removed));
            Put16(page, 0x2D, columns - 1);
            m_file.replace(at, kPage, page);
            return true;
        }
        name += 2 + length;
    }
    return Fail("no column " + column + " in " + table);
}

std::optional<std::size_t> JetAccessShapes::MoveRowsToOverflow(const std::string& table,
                                                               const std::function<bool(std::size_t)>& pick)
{
    const JetReadTable* t = Find(table);
    if (!t)
        return std::nullopt;
    if (t->DataPages.size() < 2) {
        Fail(table + " has one data page");
        return std::nullopt;
    }
    const std::uint32_t last = t->DataPages.back();
    const std::size_t lastAt = last * kPage;
    std::size_t index = 0, moved = 0;
    for (std::size_t p = 0; p + 1 < t->DataPages.size(); ++p) {
        const std::size_t at = t->DataPages[p] * kPage;
        const unsigned rows = U16(m_file, at + 12);
        for (unsigned r = 0; r < rows; ++r, ++index) {
            if (!pick(index))
                continue;
            const unsigned start = RowStart(m_file, at, r), length = RowEnd(m_file, at, r) - start;
            const unsigned lastRows = U16(m_file, lastAt + 12);
            const unsigned free = lastRows == 0 ? kPage : RowStart(m_file, lastAt, lastRows - 1);
            if (length < 4 || lastRows >= 255 || free < 14 + 2 * (lastRows + 1) + length) {
                Fail("no room on the last page of " + table + " for row " + std::to_string(index));
                return std::nullopt;
            }
            const unsigned newStart = free - length;
            m_file.replace(lastAt + newStart, length, m_file, at + start, length);
            Put16(m_file, lastAt + 14 + 2 * lastRows, newStart | kDeletedFlag);
            Put16(m_file, lastAt + 12, lastRows + 1);
            Put16(m_file, lastAt + 2, U16(m_file, lastAt + 2) - length - 2);

            std::fill(m_file.begin() + static_cast<std::ptrdiff_t>(at + start),
                      m_file.begin() + static_cast<std::ptrdiff_t>(at + start + length), '\0');
            m_file[at + start] = static_cast<char>(lastRows);
            m_file[at + start + 1] = static_cast<char>(last & 0xFF);
            m_file[at + start + 2] = static_cast<char>(last >> 8 & 0xFF);
            m_file[at + start + 3] = static_cast<char>(last >> 16 & 0xFF);
            Put16(m_file, at + 14 + 2 * r, start | kOverflowFlag);
            ++moved;
        }
    }
    return moved;
}

}  // namespace orv::test
