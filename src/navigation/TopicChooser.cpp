#include "navigation/TopicChooser.h"

#include "app/ReaderState.h"
#include "content/ContentPanel.h"
#include "database/AdoRecordset.h"
#include "database/SqlText.h"
#include "navigation/DirectoryQueries.h"

namespace orv {

std::vector<TopicRow> FindTopics(const ReaderState& state, const std::string& term)
{
    std::vector<TopicRow> rows;
    if (!state.DatabaseOpen || term.empty())
        return rows;
    CAdoRecordset rs;
    if (rs.OpenSql("Select DirID,DirName from DrawingDir where DirName = " + SqlQuote(term), state.Database)
        != 0)
        return rows;
    for (; !rs.IsEOF(); rs.MoveNext()) {
        TopicRow row;
        row.DirID = rs.GetLong("DirID");
        row.Name = rs.GetString("DirName");
        if (row.DirID > 0 && !row.Name.empty())
            rows.push_back(std::move(row));
    }
    for (TopicRow& row : rows)
        row.Location = DirTitlePath(state.Database, row.DirID);
    return rows;
}

void TopicChooser::Load(const ReaderState& state, const std::string& term)
{
    m_rows = FindTopics(state, term);
    m_chosen = m_rows.empty() ? 0 : m_rows.front().DirID;
}

void TopicChooser::Click(int row)
{
    if (row >= 0 && static_cast<std::size_t>(row) < m_rows.size())
        m_chosen = m_rows[static_cast<std::size_t>(row)].DirID;
}

std::optional<std::int32_t> TopicChooser::DoubleClick(int row)
{
    if (row < 0 || static_cast<std::size_t>(row) >= m_rows.size())
        return std::nullopt;
    Click(row);
    return m_chosen;
}

std::optional<std::int32_t> TopicChooser::Accept() const
{
    if (m_rows.empty())
        return std::nullopt;
    return m_chosen;
}

void JumpToDirectory(ReaderState& state, std::int32_t dirId)
{
    state.PendingHighlight.clear();
    state.CurrentPage = 0;
    state.CurrentDirID = dirId;
    TakeCurrentDirectory(state, true);
}

} // namespace orv
