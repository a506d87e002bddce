#include "database/jet/Jet4Writer.h"

#include "database/jet/JetHeader.h"
#include "database/jet/JetPageBuilder.h"
#include "database/jet/JetTableEncoder.h"
#include "platform/Files.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>

namespace orv {
namespace {

constexpr std::uint32_t kCatalogPage = 2;
constexpr std::uint32_t kFirstFreePage = 3;
constexpr std::uint32_t kMapOwner = 0;
constexpr std::size_t kMaxNameLength = 64;
constexpr std::size_t kMaxColumns = 255;
// pg_rows keep the page number in 24 bits.
constexpr std::uint32_t kMaxPages = 0xFFFFFF;
constexpr std::size_t kDefinitionContinuation = 8;
constexpr std::size_t kJetPageSize = 4096;
constexpr std::size_t kMaxPasswordLength = 20;  // characters

// Page 0: the version, the code page, a zero database key (so the other pages are stored in
// the clear), the masked password, the sort order and the creation date, with the region
// 0x18-0x97 obfuscated. The password is UCS-2LE, zero-padded to 40 bytes, each byte XORed
// with byte i mod 4 of the little-endian int32 of the whole days of the creation date; "no
// password" is therefore the mask itself, not zeros.
std::string BuildHeaderPage(std::string_view password, double creationDate)
{
    std::string page(kJetPageSize, '\0');
    auto* p = reinterpret_cast<unsigned char*>(page.data());
    p[1] = 0x01;
    std::memcpy(p + 4, "Standard Jet DB", 15);
    p[0x14] = 1;     // Jet 4
    p[0x3C] = 0xE4;  // code page 1252; Jet 4 text is Unicode, so only Jet 3 readers look at it
    p[0x3D] = 0x04;
    std::u16string units = Utf8ToUtf16(password);  // Finish refuses longer ones
    units.resize(std::min(units.size(), kMaxPasswordLength));
    double days = std::trunc(creationDate);
    auto mask = static_cast<std::uint32_t>(
        days >= -2147483648.0 && days <= 2147483647.0 ? static_cast<std::int32_t>(days) : 0);
    for (std::size_t i = 0; i < 40; ++i) {
        unsigned byte = i / 2 < units.size() ? units[i / 2] >> (i % 2 ? 8 : 0) & 0xFF : 0;
        p[0x42 + i] = static_cast<unsigned char>(byte ^ (mask >> (8 * (i % 4)) & 0xFF));
    }
    p[0x6E] = 0x09;  // sort order: General
    p[0x6F] = 0x04;
    std::memcpy(p + 0x72, &creationDate, 8);
    CryptJetHeaderRegion(page, 1);
    return page;
}

std::string FoldAscii(std::string_view text)
{
    std::string out(text);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return out;
}

JetTypeCode CodeOf(JetColumnType type)
{
    switch (type) {
    case JetColumnType::Boolean: return kJetBoolean;
    case JetColumnType::Byte: return kJetByte;
    case JetColumnType::Integer: return kJetInteger;
    case JetColumnType::Long: return kJetLong;
    case JetColumnType::Single: return kJetSingle;
    case JetColumnType::Double: return kJetDouble;
    case JetColumnType::Currency: return kJetCurrency;
    case JetColumnType::DateTime: return kJetDateTime;
    case JetColumnType::Text: return kJetText;
    case JetColumnType::Memo: return kJetMemo;
    }
    return kJetLong;
}

bool ValidName(std::string_view name)
{
    std::size_t length = Utf8ToUtf16(name).size();
    return length > 0 && length <= kMaxNameLength;
}

double CurrentOleDate()
{
    using namespace std::chrono;
    double seconds = duration<double>(system_clock::now().time_since_epoch()).count();
    return 25569.0 + seconds / 86400.0;  // 1970-01-01 is day 25569
}

CJetTableEncoder CatalogEncoder()
{
    return CJetTableEncoder("MSysObjects", {{"Id", kJetLong, 255},
                                            {"ParentId", kJetLong, 255},
                                            {"Name", kJetText, 255},
                                            {"Type", kJetInteger, 255},
                                            {"Flags", kJetLong, 255},
                                            {"LvProp", kJetOle, 255}});
}

}  // namespace

struct CJet4Writer::Table {
    std::string Name;
    CJetTableEncoder Encoder;
    std::vector<std::uint32_t> DefinitionPages;
    std::uint32_t Rows = 0;
};

CJet4Writer::CJet4Writer() : CJet4Writer(Options{}) {}

CJet4Writer::CJet4Writer(Options options)
    : m_options(std::move(options)), m_pages(std::make_unique<CJetPageBuilder>(kFirstFreePage))
{
    if (m_options.CreationDate == 0.0)
        m_options.CreationDate = CurrentOleDate();
    m_options.MaxInlineMapBytes = std::clamp<std::size_t>(m_options.MaxInlineMapBytes, 1, 4000);
}

CJet4Writer::~CJet4Writer() = default;

bool CJet4Writer::Fail(std::string reason)
{
    m_error = std::move(reason);
    return false;
}

std::optional<int> CJet4Writer::AddTable(const JetTableDef& table)
{
    if (m_finished) {
        Fail("the file is already finished");
        return std::nullopt;
    }
    if (!ValidName(table.Name)) {
        Fail("table name \"" + table.Name + "\" is empty or longer than 64 characters");
        return std::nullopt;
    }
    std::string folded = FoldAscii(table.Name);
    if (folded == "msysobjects" ||
        std::any_of(m_tables.begin(), m_tables.end(), [&](const Table& t) { return FoldAscii(t.Name) == folded; })) {
        Fail("table \"" + table.Name + "\" is declared twice");
        return std::nullopt;
    }
    if (table.Columns.empty() || table.Columns.size() > kMaxColumns) {
        Fail("table \"" + table.Name + "\" needs 1 to 255 columns");
        return std::nullopt;
    }
    std::vector<CJetTableEncoder::Column> columns;
    std::vector<std::string> seen;
    for (const JetColumn& column : table.Columns) {
        std::string foldedColumn = FoldAscii(column.Name);
        if (!ValidName(column.Name) || std::find(seen.begin(), seen.end(), foldedColumn) != seen.end()) {
            Fail("column name \"" + column.Name + "\" of table \"" + table.Name +
                 "\" is empty, longer than 64 characters or repeated");
            return std::nullopt;
        }
        if (column.Type == JetColumnType::Text && (column.TextLength < 1 || column.TextLength > 255)) {
            Fail("text column \"" + column.Name + "\" of table \"" + table.Name + "\" must hold 1 to 255 characters");
            return std::nullopt;
        }
        seen.push_back(foldedColumn);
        columns.push_back({column.Name, CodeOf(column.Type), column.TextLength});
    }
    Table entry{table.Name, CJetTableEncoder(table.Name, std::move(columns)), {}, 0};
    std::size_t length = entry.Encoder.Definition(0, 0, 0, false).size();
    std::size_t pages = 1;
    if (length > kJetPageSize)
        pages += (length - kJetPageSize + kJetPageSize - kDefinitionContinuation - 1) /
                 (kJetPageSize - kDefinitionContinuation);
    for (std::size_t i = 0; i < pages; ++i)
        entry.DefinitionPages.push_back(m_pages->AllocatePage());
    m_tables.push_back(std::move(entry));
    return static_cast<int>(m_tables.size() - 1);
}

bool CJet4Writer::AddRow(int table, const JetRow& row)
{
    if (m_finished)
        return Fail("the file is already finished");
    if (table < 0 || static_cast<std::size_t>(table) >= m_tables.size())
        return Fail("no such table");
    if (m_pages->PageCount() >= kMaxPages - 64)
        return Fail("the database is too large for the Jet format");
    Table& t = m_tables[static_cast<std::size_t>(table)];
    std::string bytes;
    if (!t.Encoder.EncodeRow(row, *m_pages, bytes, m_error))
        return false;
    m_pages->AddRow(t.DefinitionPages.front(), bytes);
    ++t.Rows;
    return true;
}

void CJet4Writer::WriteDefinition(const std::vector<std::uint32_t>& pages, const std::string& definition)
{
    std::size_t offset = 0;
    for (std::size_t i = 0; i < pages.size(); ++i) {
        unsigned char* p = m_pages->Page(pages[i]);
        std::size_t start = i == 0 ? 0 : kDefinitionContinuation;
        std::size_t take = std::min(definition.size() - offset, kJetPageSize - start);
        std::memcpy(p + start, definition.data() + offset, take);
        offset += take;
        p[0] = 0x02;
        p[1] = 0x01;
        std::size_t free = kJetPageSize - start - take;
        p[2] = static_cast<unsigned char>(free);
        p[3] = static_cast<unsigned char>(free >> 8);
        std::uint32_t next = i + 1 < pages.size() ? pages[i + 1] : 0;
        for (int b = 0; b < 4; ++b)
            p[4 + b] = static_cast<unsigned char>(next >> (8 * b));
    }
}

std::optional<std::string> CJet4Writer::Finish()
{
    if (m_finished) {
        Fail("the file is already finished");
        return std::nullopt;
    }
    // The header field holds 20 characters; a cut password would not open the file.
    if (Utf8ToUtf16(m_options.Password).size() > kMaxPasswordLength) {
        Fail("the database password is longer than " + std::to_string(kMaxPasswordLength) + " characters");
        return std::nullopt;
    }
    m_finished = true;

    // The catalog: a hidden row for itself, then one row per table naming its definition.
    CJetTableEncoder catalog = CatalogEncoder();
    std::vector<JetRow> catalogRows;
    catalogRows.push_back({JetValue::FromInt(kCatalogPage), JetValue::FromInt(0), JetValue::FromText("MSysObjects"),
                           JetValue::FromInt(1), JetValue::FromInt(-2147483646), JetValue::Null()});
    for (const Table& t : m_tables)
        catalogRows.push_back({JetValue::FromInt(t.DefinitionPages.front()), JetValue::FromInt(0),
                               JetValue::FromText(t.Name), JetValue::FromInt(1), JetValue::FromInt(0),
                               JetValue::Null()});
    std::string bytes;
    for (const JetRow& row : catalogRows) {
        if (!catalog.EncodeRow(row, *m_pages, bytes, m_error))
            return std::nullopt;
        m_pages->AddRow(kCatalogPage, bytes);
    }

    // Usage maps live as rows on pages of their own; the free-space maps are all empty.
    std::string emptyMap = m_pages->BuildUsageMap({}, m_options.MaxInlineMapBytes);
    auto addMaps = [&](std::uint32_t owner, std::uint32_t& owned, std::uint32_t& free) {
        owned = m_pages->AddRow(kMapOwner, m_pages->BuildUsageMap(m_pages->PagesOf(owner), m_options.MaxInlineMapBytes));
        free = m_pages->AddRow(kMapOwner, emptyMap);
    };
    std::uint32_t owned = 0, free = 0;
    addMaps(kCatalogPage, owned, free);
    WriteDefinition({kCatalogPage}, catalog.Definition(static_cast<std::uint32_t>(catalogRows.size()), owned, free, true));
    for (Table& t : m_tables) {
        addMaps(t.DefinitionPages.front(), owned, free);
        WriteDefinition(t.DefinitionPages, t.Encoder.Definition(t.Rows, owned, free, false));
    }

    // Page 1: where Access keeps the global map of free pages; none are free.
    unsigned char* global = m_pages->Page(1);
    global[0] = 0x01;
    global[1] = 0x01;
    std::size_t free1 = kJetPageSize - 14 - 2 - emptyMap.size();
    global[2] = static_cast<unsigned char>(free1);
    global[3] = static_cast<unsigned char>(free1 >> 8);
    global[12] = 1;
    std::size_t start = kJetPageSize - emptyMap.size();
    global[14] = static_cast<unsigned char>(start);
    global[15] = static_cast<unsigned char>(start >> 8);
    std::memcpy(global + start, emptyMap.data(), emptyMap.size());

    m_pages->SetPage(0, BuildHeaderPage(m_options.Password, m_options.CreationDate));
    return m_pages->TakeBytes();
}

bool CJet4Writer::Save(std::string_view programPath)
{
    std::optional<std::string> bytes = Finish();
    if (!bytes)
        return false;
    if (!platform::AtomicWriteFile(programPath, *bytes))
        return Fail("cannot write " + std::string(programPath));
    return true;
}

}  // namespace orv
