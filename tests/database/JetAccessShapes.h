#pragma once
// Turns a file of the Jet 4 writer into the shapes Microsoft Access leaves behind when a
// gallery is edited, which the writer never makes itself. The tables' places are read once
// from the writer's file, so the edits can follow one another; each needs the table's
// definition to fit one page and fails (with the reason in Error()) when the table, the
// column or the room it needs is not there.

#include "JetTestReader.h"

#include <cstddef>
#include <functional>
#include <map>
#include <optional>
#include <string>

namespace orv::test {

class JetAccessShapes {
public:
    explicit JetAccessShapes(std::string file);

    // Deletes a column as Access does until the database is compacted: its entry and name
    // leave the definition and the column count drops, while the variable-column count, the
    // other columns' numbers, variable indexes and fixed offsets, and every row keep its place.
    bool DeleteColumn(const std::string& table, const std::string& column);

    // Moves the rows the predicate picks (by their place in the table, 0-based) to the table's
    // last data page, as Access moves a row that outgrew its page: the row is appended there,
    // flagged 0x8000 so that a scan meets it only through its old place, which keeps its length
    // and holds the new place (row number, then the 3-byte page number), flagged 0x4000. Rows
    // already on the last page stay. Returns how many moved, or nothing.
    std::optional<std::size_t> MoveRowsToOverflow(const std::string& table,
                                                  const std::function<bool(std::size_t)>& pick);

    const std::string& Bytes() const { return m_file; }
    const std::string& Error() const { return m_error; }

private:
    const JetReadTable* Find(const std::string& table);
    bool Fail(std::string reason);

    std::string m_file;
    std::map<std::string, JetReadTable> m_tables;
    std::string m_error;
};

}  // namespace orv::test
