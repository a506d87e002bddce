#include "JetTestReader.h"

#include "database/jet/JetTable.h"

#include <cstring>
#include <stdexcept>

namespace orv::test {
namespace {

constexpr std::size_t kPage = 4096;

struct Reader {
    const std::string& file;

    const unsigned char* Page(std::uint32_t page) const
    {
        if ((page + 1ull) * kPage > file.size())
            throw std::runtime_error("page " + std::to_string(page) + " past the end");
        return reinterpret_cast<const unsigned char*>(file.data()) + page * kPage;
    }
    static unsigned U16(const unsigned char* p) { return p[0] | p[1] << 8; }
    static std::uint32_t U32(const unsigned char* p)
    {
        return p[0] | p[1] << 8 | p[2] << 16 | static_cast<std::uint32_t>(p[3]) << 24;
    }

    // A row's bytes: its start from the offset table, its end at the previous row's start.
    std::string Row(std::uint32_t pgRow) const
    {
        const unsigned char* p = Page(pgRow >> 8);
        unsigned row = pgRow & 0xFF;
        if (p[0] != 0x01 || row >= U16(p + 12))
            throw std::runtime_error("bad row address");
        unsigned start = U16(p + 14 + 2 * row) & 0x1FFF;
        unsigned end = row == 0 ? kPage : (U16(p + 14 + 2 * (row - 1)) & 0x1FFF);
        if (start > end)
            throw std::runtime_error("rows out of order");
        return std::string(reinterpret_cast<const char*>(p) + start, end - start);
    }

    std::vector<std::uint32_t> MapPages(const std::string& map) const
    {
        std::vector<std::uint32_t> pages;
        const auto* m = reinterpret_cast<const unsigned char*>(map.data());
        if (m[0] == 0) {
            std::uint32_t first = U32(m + 1);
            for (std::size_t bit = 0; bit < (map.size() - 5) * 8; ++bit) {
                if (m[5 + bit / 8] & (1 << (bit % 8)))
                    pages.push_back(first + static_cast<std::uint32_t>(bit));
            }
        } else {
            for (std::size_t e = 0; 1 + 4 * e + 4 <= map.size(); ++e) {
                std::uint32_t bitmapPage = U32(m + 1 + 4 * e);
                if (bitmapPage == 0)
                    continue;
                const unsigned char* b = Page(bitmapPage);
                for (std::uint32_t bit = 0; bit < (kPage - 4) * 8; ++bit) {
                    if (b[4 + bit / 8] & (1 << (bit % 8)))
                        pages.push_back(static_cast<std::uint32_t>(e * (kPage - 4) * 8 + bit));
                }
            }
        }
        return pages;
    }

    static std::string Text(const std::string& bytes)
    {
        std::u16string units;
        if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
            static_cast<unsigned char>(bytes[1]) == 0xFE) {
            for (std::size_t i = 2; i < bytes.size(); ++i)
                units.push_back(static_cast<unsigned char>(bytes[i]));
        } else {
            for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
                units.push_back(static_cast<char16_t>(U16(reinterpret_cast<const unsigned char*>(bytes.data()) + i)));
        }
        return Utf16ToUtf8(units);
    }

    std::string Memo(const std::string& value, JetReadTable& table) const
    {
        const auto* h = reinterpret_cast<const unsigned char*>(value.data());
        std::uint32_t length = U32(h) & 0xFFFFFF;
        int kind = h[3];
        std::string data;
        if (kind == 0x80) {
            data = value.substr(12);
            ++table.MemoKinds[0];
        } else if (kind == 0x40) {
            data = Row(U32(h + 4));
            ++table.MemoKinds[1];
        } else if (kind == 0x00) {
            for (std::uint32_t next = U32(h + 4); next != 0;) {
                std::string piece = Row(next);
                next = U32(reinterpret_cast<const unsigned char*>(piece.data()));
                data += piece.substr(4);
            }
            ++table.MemoKinds[2];
        } else {
            throw std::runtime_error("unknown memo kind");
        }
        if (data.size() != length)
            throw std::runtime_error("memo length differs from its header");
        return Text(data);
    }

    JetReadTable Table(std::uint32_t firstPage) const
    {
        std::string def;
        for (std::uint32_t page = firstPage; page != 0;) {
            const unsigned char* p = Page(page);
            if (p[0] != 0x02)
                throw std::runtime_error("not a table definition page");
            def.append(reinterpret_cast<const char*>(p) + (def.empty() ? 0 : 8), def.empty() ? kPage : kPage - 8);
            page = U32(p + 4);
        }
        const auto* d = reinterpret_cast<const unsigned char*>(def.data());
        JetReadTable table;
        table.DefinitionPage = firstPage;
        table.RowCount = U32(d + 0x10);
        unsigned columns = U16(d + 0x2D), varColumns = U16(d + 0x2B);
        std::size_t pos = 0x3F + 12 * U32(d + 0x33);
        for (unsigned i = 0; i < columns; ++i, pos += 25) {
            JetReadColumn c;
            c.Type = d[pos];
            c.Number = d[pos + 5];
            c.VarIndex = static_cast<int>(U16(d + pos + 7));
            c.Fixed = d[pos + 15] & 1;
            c.FixedOffset = static_cast<int>(U16(d + pos + 21));
            c.Length = static_cast<int>(U16(d + pos + 23));
            table.Columns.push_back(c);
        }
        for (JetReadColumn& c : table.Columns) {
            unsigned length = U16(d + pos);
            c.Name = Text(def.substr(pos + 2, length));
            pos += 2 + length;
        }
        table.DataPages = MapPages(Row(U32(d + 0x37)));
        for (std::uint32_t page : table.DataPages) {
            const unsigned char* p = Page(page);
            if (p[0] != 0x01 || U32(p + 4) != firstPage)
                throw std::runtime_error("map names a page of another owner");
            for (unsigned r = 0; r < U16(p + 12); ++r)
                table.Rows.push_back(DecodeRow(Row(page << 8 | r), table, varColumns));
        }
        return table;
    }

    // End-relative row decoding: null mask last, then the variable count, the offsets of
    // the variable columns (first column nearest the count) and the end of the data.
    JetReadRow DecodeRow(const std::string& rowBytes, JetReadTable& table, unsigned varColumns) const
    {
        const auto* r = reinterpret_cast<const unsigned char*>(rowBytes.data());
        std::size_t size = rowBytes.size();
        std::size_t columns = table.Columns.size();
        if (U16(r) != columns)
            throw std::runtime_error("row column count differs");
        std::size_t maskBytes = (columns + 7) / 8;
        const unsigned char* mask = r + size - maskBytes;
        std::vector<unsigned> offsets;
        unsigned dataEnd = 0;
        if (varColumns > 0) {
            unsigned n = U16(r + size - maskBytes - 2);
            if (n != varColumns)
                throw std::runtime_error("row variable count differs");
            for (unsigned j = 0; j < n; ++j)
                offsets.push_back(U16(r + size - maskBytes - 4 - 2 * j));
            dataEnd = U16(r + size - maskBytes - 4 - 2 * n);
        }
        JetReadRow row(columns);
        for (const JetReadColumn& c : table.Columns) {
            bool bit = mask[c.Number / 8] & (1 << (c.Number % 8));
            std::optional<std::string>& out = row[static_cast<std::size_t>(c.Number)];
            if (c.Type == 0x01) {
                out = bit ? "1" : "0";
                continue;
            }
            if (!bit)
                continue;
            if (c.Fixed) {
                const unsigned char* v = r + 2 + c.FixedOffset;
                switch (c.Type) {
                case 0x02: out = std::to_string(v[0]); break;
                case 0x03: out = std::to_string(static_cast<std::int16_t>(U16(v))); break;
                case 0x04: out = std::to_string(static_cast<std::int32_t>(U32(v))); break;
                case 0x05: {
                    std::int64_t count;
                    std::memcpy(&count, v, 8);
                    char buffer[40];
                    std::snprintf(buffer, sizeof buffer, "%.4f", static_cast<double>(count) / 10000.0);
                    out = buffer;
                    break;
                }
                case 0x06: {
                    float single;
                    std::memcpy(&single, v, 4);
                    char buffer[40];
                    std::snprintf(buffer, sizeof buffer, "%.9g", single);
                    out = buffer;
                    break;
                }
                default: {
                    double value;
                    std::memcpy(&value, v, 8);
                    char buffer[40];
                    std::snprintf(buffer, sizeof buffer, "%.17g", value);
                    out = buffer;
                }
                }
                continue;
            }
            unsigned start = offsets[static_cast<std::size_t>(c.VarIndex)];
            unsigned end = static_cast<std::size_t>(c.VarIndex) + 1 < offsets.size()
                               ? offsets[static_cast<std::size_t>(c.VarIndex) + 1]
                               : dataEnd;
            std::string value = rowBytes.substr(start, end - start);
            out = c.Type == 0x0C ? Memo(value, table) : Text(value);
        }
        return row;
    }
};

}  // namespace

std::optional<JetReadFile> ReadJetForTest(const std::string& bytes, std::string& error)
{
    try {
        Reader reader{bytes};
        if (bytes.size() % kPage != 0 || bytes.size() < 3 * kPage)
            throw std::runtime_error("file length is not a whole number of pages");
        JetReadTable catalog = reader.Table(2);
        JetReadFile file;
        for (const JetReadRow& row : catalog.Rows) {
            std::uint32_t id = static_cast<std::uint32_t>(std::stoll(*row[0])) & 0xFFFFFF;
            std::string name = *row[2];
            long flags = std::stol(*row[4]);
            if (flags & 0x80000002L || flags < 0) {
                file.SystemTables.push_back(name);
                continue;
            }
            file.Tables[name] = reader.Table(id);
        }
        return file;
    } catch (const std::exception& e) {
        error = e.what();
        return std::nullopt;
    }
}

}  // namespace orv::test
