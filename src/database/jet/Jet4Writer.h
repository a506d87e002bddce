#pragma once
// Writes Microsoft Access 2000-2003 (Jet 4) database files: the galleries of the Windows
// edition are such files. Tables are declared first, then rows are added in any order; the
// whole file is built in memory and written at the end.
//
// Page plan: page 0 the header (see JetHeader.h), page 1 an empty global usage map, page 2
// the definition of the catalog MSysObjects (readers look for it there), then each table's
// definition page(s) as the table is declared, data and long-value pages as rows come, and
// at the end the catalog's rows and the pages holding every table's usage maps. Tables have
// no indexes.

#include "database/jet/JetTable.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orv {

class CJetPageBuilder;
class CJetTableEncoder;

class CJet4Writer {
public:
    struct Options {
        std::string Password;        // stored masked in the header; empty: none
        double CreationDate = 0.0;   // OLE date; 0 takes the current time
        std::size_t MaxInlineMapBytes = 4000;  // usage maps needing more bitmap bytes become reference maps
    };

    CJet4Writer();
    explicit CJet4Writer(Options options);
    ~CJet4Writer();
    CJet4Writer(const CJet4Writer&) = delete;
    CJet4Writer& operator=(const CJet4Writer&) = delete;

    // Declares a table; its index for AddRow, or nothing (see LastError) for a bad name or
    // column list: names empty, longer than 64 characters or repeated (without regard to
    // case), no columns or more than 255, a text length outside 1..255.
    std::optional<int> AddTable(const JetTableDef& table);
    // Appends a row (one value per column, in column order). False when a value does not fit
    // its column or the row is too long; the file is unchanged then.
    bool AddRow(int table, const JetRow& row);

    // The complete file; the writer is spent afterwards.
    std::optional<std::string> Finish();
    // Finish and write the file atomically to a program path.
    bool Save(std::string_view programPath);

    const std::string& LastError() const { return m_error; }

private:
    struct Table;
    bool Fail(std::string reason);
    std::uint32_t AllocateDefinition(const CJetTableEncoder& encoder);
    void WriteDefinition(const std::vector<std::uint32_t>& pages, const std::string& definition);

    Options m_options;
    std::unique_ptr<CJetPageBuilder> m_pages;
    std::vector<Table> m_tables;
    std::string m_error;
    bool m_finished = false;
};

}  // namespace orv
