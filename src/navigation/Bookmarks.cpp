#include "navigation/Bookmarks.h"

#include "app/ReaderState.h"
#include "app/common/ProfileFile.h"
#include "app/common/TextHelpers.h"
#include "content/ContentPanel.h"
#include "database/AdoRecordset.h"
#include "navigation/DirectoryQueries.h"
#include "navigation/TopicChooser.h"

#include <algorithm>
#include <cstdlib>

namespace orv {
namespace {

constexpr const char* kSection = "BookMark";

std::string BookKey(std::size_t n)
{
    return "Book" + std::to_string(n);
}

// A field must not carry the record's separator or end the line it is stored on.
std::string StoredField(const std::string& text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '|') {
            out += "｜";
        } else if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            out += ' ';
        } else {
            out += c;
        }
    }
    return out;
}

// The name and title path of a directory; false when there is no such directory.
bool LookUpTopic(const ReaderState& state, std::int32_t dirId, std::string& topic, std::string& location)
{
    topic.clear();
    location.clear();
    if (!state.DatabaseOpen)
        return false;
    CAdoRecordset rs;
    if (rs.OpenSql("Select DirName from DrawingDir where DirID = " + std::to_string(dirId), state.Database)
            != 0
        || rs.IsEOF())
        return false;
    topic = rs.GetString("DirName");
    location = DirTitlePath(state.Database, dirId);
    return true;
}

} // namespace

std::string BookmarkList::FormatRecord(const Bookmark& bookmark)
{
    return std::to_string(bookmark.DirID) + "|" + StoredField(bookmark.Topic) + "|"
        + StoredField(bookmark.Location);
}

std::optional<Bookmark> BookmarkList::ParseRecord(std::string_view value)
{
    const std::vector<std::string> fields = SplitString(value, "|");
    if (fields.size() < 3)
        return std::nullopt;
    Bookmark bookmark;
    bookmark.DirID = static_cast<std::uint32_t>(std::atol(fields[0].c_str()));
    bookmark.Topic = fields[1];
    // Three or more fields mean the value starts "<DirID>|<topic>|"; the rest, "|" and all,
    // is the location the Windows edition wrote unescaped.
    const std::size_t start = fields[0].size() + 1 + fields[1].size() + 1;
    bookmark.Location = std::string(value.substr(std::min(start, value.size())));
    return bookmark;
}

void BookmarkList::Load(const std::string& historyPath)
{
    m_path = historyPath;
    m_rows.clear();
    m_selected = -1;
    m_currentTopic.clear();
    m_currentLocation.clear();
    const CProfileFile file(m_path);
    for (std::size_t n = 1; !m_path.empty(); ++n) {
        std::string value;
        if (file.ReadString(kSection, BookKey(n), value) != 0)
            break;
        if (std::optional<Bookmark> bookmark = ParseRecord(value))
            m_rows.push_back(std::move(*bookmark));
    }
    if (!m_rows.empty())
        SelectRow(0);
}

void BookmarkList::SelectRow(int row)
{
    m_selected = row;
    if (row >= 0 && static_cast<std::size_t>(row) < m_rows.size()) {
        m_currentTopic = m_rows[static_cast<std::size_t>(row)].Topic;
        m_currentLocation = m_rows[static_cast<std::size_t>(row)].Location;
    }
}

void BookmarkList::UpdateCurrentTopic(const ReaderState& state)
{
    LookUpTopic(state, state.CurrentDirID, m_currentTopic, m_currentLocation);
}

bool BookmarkList::Save(const std::vector<Bookmark>& rows) const
{
    std::vector<ProfileValue> values;
    values.reserve(rows.size() + 1);
    for (std::size_t i = 0; i < rows.size(); ++i)
        values.push_back({ kSection, BookKey(i + 1), FormatRecord(rows[i]) });
    values.push_back({ kSection, BookKey(rows.size() + 1), std::string() });
    return CProfileFile(m_path).WriteStrings(values) == 0;
}

BookmarkList::Change BookmarkList::Add(const ReaderState& state)
{
    // The topic comes from CurrentDirID now, never from a row or topic shown earlier.
    std::string topic, location;
    if (state.CurrentDirID < 1 || !LookUpTopic(state, state.CurrentDirID, topic, location))
        return Change::Unchanged;
    m_currentTopic = topic;
    m_currentLocation = location;
    const auto dirId = static_cast<std::uint32_t>(state.CurrentDirID);
    if (topic.empty()
        || std::any_of(m_rows.begin(), m_rows.end(), [dirId](const Bookmark& b) { return b.DirID == dirId; }))
        return Change::Unchanged;
    std::vector<Bookmark> rows = m_rows;
    // Kept as stored, so the page shows what the next load reads.
    rows.push_back({ dirId, StoredField(topic), StoredField(location) });
    if (!Save(rows))
        return Change::WriteFailed;
    m_rows = std::move(rows);
    return Change::Done;
}

bool BookmarkList::Click(int row)
{
    if (row < 0 || static_cast<std::size_t>(row) >= m_rows.size())
        return false;
    m_selected = row;
    return true;
}

BookmarkList::Change BookmarkList::Delete()
{
    if (m_selected < 0 || static_cast<std::size_t>(m_selected) >= m_rows.size())
        return Change::Unchanged;
    std::vector<Bookmark> rows = m_rows;
    rows.erase(rows.begin() + m_selected);
    if (!Save(rows))
        return Change::WriteFailed;
    m_rows = std::move(rows);
    m_currentTopic.clear();
    m_currentLocation.clear();
    SelectRow(std::min(m_selected, static_cast<int>(m_rows.size()) - 1));
    return Change::Done;
}

bool BookmarkList::Show(ReaderState& state)
{
    if (m_selected < 0 || static_cast<std::size_t>(m_selected) >= m_rows.size())
        return false;
    state.PendingHighlight.clear();
    state.CurrentPage = 0;
    state.CurrentDirID = static_cast<std::int32_t>(m_rows[static_cast<std::size_t>(m_selected)].DirID);
    TakeCurrentDirectory(state, false);
    return true;
}

bool BookmarkList::DoubleClick(ReaderState& state, int row)
{
    if (!Click(row))
        return false;
    JumpToDirectory(state, static_cast<std::int32_t>(m_rows[static_cast<std::size_t>(row)].DirID));
    return true;
}

} // namespace orv
