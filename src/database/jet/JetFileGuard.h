#pragma once
// Structural checks of a Jet 3 or Jet 4 file before libmdb reads it. libmdb copes with much
// damage, but not with all of it: a table definition claiming tens of thousands of columns
// or a huge index count makes it work for minutes or read outside its column list, and a
// usage map naming pages that are not the table's makes it print a warning for each and fall
// back to reading the file page by page. The importer asks the guard about the catalog and
// about each table before libmdb opens them.
//
// Checked: the header (as ParseJetHeader checks it); for a table,
// its definition chain (pages inside the file, each a definition page, no loops), its
// counts (columns 1..255, variable columns at most 255, indexes at most 256), that the
// column entries and names lie inside the definition, that each column has a known type
// and lies inside the row (fixed offset and size, or variable index), that both usage-map
// addresses name existing rows, and that every page the owned-pages map names is a data
// page of this table.
//
// Left alone, because Access writes them and libmdb reads them: tables with deleted columns
// (gaps in the column numbers and fixed offsets, a variable-column count above the column
// count, rows longer than the listed columns need), rows moved to another page when they
// grew (a 4-byte pointer in the old place, the row flagged elsewhere), long values over
// several pages, rows that kept their old length when a shorter value replaced a longer
// one, indexes, and both kinds of usage map. Rows are not looked at: libmdb bounds each row
// and each value against its page itself.

#include <cstdint>
#include <string>

namespace orv {

class CJetFileGuard {
public:
    CJetFileGuard() = default;
    ~CJetFileGuard();
    CJetFileGuard(const CJetFileGuard&) = delete;
    CJetFileGuard& operator=(const CJetFileGuard&) = delete;

    // Opens the file (a native path) and checks its header.
    bool Open(const std::string& nativePath);
    // Checks the table whose definition starts at the page; the catalog's is page 2.
    bool CheckTable(std::uint32_t firstDefinitionPage);
    bool CheckCatalog() { return CheckTable(2); }

    bool IsJet3() const { return m_pageSize == 2048; }
    std::uint32_t PageCount() const { return m_pageCount; }
    // Why the last check failed, for the "Open_Connection" message.
    const std::string& Reason() const { return m_reason; }

private:
    bool Fail(std::string reason);
    bool ReadPage(std::uint32_t page, std::string& out);
    bool ReadBytes(std::uint64_t offset, std::size_t length, std::string& out);
    bool FindRow(std::uint32_t pgRow, std::string& row, const char* what);
    bool CheckMapPages(std::uint32_t firstPage, const std::string& map);

    int m_fd = -1;
    std::uint32_t m_pageSize = 4096;
    std::uint32_t m_pageCount = 0;
    std::uint32_t m_databaseKey = 0;  // non-zero: pages after the header are RC4-encoded
    std::string m_reason;
};

}  // namespace orv
