#pragma once
// A small Jet 4 reader for the writer's tests, written from the format's reading rules
// (rows decoded from their end, lengths from neighbouring offsets, the catalog at page 2),
// not from the writer's own arithmetic. It trusts its input.

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace orv::test {

struct JetReadColumn {
    std::string Name;
    int Type = 0;
    int Number = 0;
    int VarIndex = 0;
    int FixedOffset = 0;
    int Length = 0;
    bool Fixed = false;
};

// A value as text: numbers in decimal, dates as OLE day numbers, booleans 0/1; nothing
// for NULL.
using JetReadRow = std::vector<std::optional<std::string>>;

struct JetReadTable {
    std::uint32_t DefinitionPage = 0;
    std::uint32_t RowCount = 0;  // as the definition says
    std::vector<JetReadColumn> Columns;
    std::vector<JetReadRow> Rows;
    std::vector<std::uint32_t> DataPages;  // from the owned-pages map
    int MemoKinds[3] = {0, 0, 0};  // counts of inline, single-row and chained memos seen
};

struct JetReadFile {
    std::map<std::string, JetReadTable> Tables;  // user tables by name
    std::vector<std::string> SystemTables;
};

// Reads the file's bytes; nothing when something is not where it should be (the reason
// in error).
std::optional<JetReadFile> ReadJetForTest(const std::string& bytes, std::string& error);

}  // namespace orv::test
