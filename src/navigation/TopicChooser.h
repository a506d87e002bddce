#pragma once
// The topic chooser of the index page: for an index term that has a neighbour with the same
// text, every directory whose name is the term, with its location, for the user to pick
// one; and the jump that an index entry, a chosen topic or a bookmark's double-click makes.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace orv {

struct ReaderState;

struct TopicRow {
    std::int32_t DirID = 0;
    std::string Name; // column "主题"
    std::string Location; // column "位置": the directory's title path
};

// The directories named exactly the term (DirID > 0, non-empty name), in database order;
// nothing without an open gallery or for an empty term. The term reaches the statement
// quoted, so a "'" in it is matched as text.
std::vector<TopicRow> FindTopics(const ReaderState& state, const std::string& term);

class TopicChooser {
public:
    // Fills the rows; the first row, when there is one, is selected.
    void Load(const ReaderState& state, const std::string& term);

    const std::vector<TopicRow>& Rows() const { return m_rows; }
    std::int32_t ChosenDirID() const { return m_chosen; }

    // A click on a row chooses it; rows outside the list are ignored.
    void Click(int row);
    // A double-click on a row chooses and accepts it: the DirID to jump to, or nothing when
    // the row is outside the list.
    std::optional<std::int32_t> DoubleClick(int row);
    // "确认": the chosen DirID; nothing when the list is empty, which counts as a cancel
    // (there is no directory 0 to jump to).
    std::optional<std::int32_t> Accept() const;

private:
    std::vector<TopicRow> m_rows;
    std::int32_t m_chosen = 0;
};

// The jump to a directory: the pending highlight cleared, CurrentPage 0, CurrentDirID set,
// its content key current and the visit added to the browse history. The caller then shows
// the directory's drawings and selects it in the tree.
void JumpToDirectory(ReaderState& state, std::int32_t dirId);

} // namespace orv
