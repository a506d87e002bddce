#pragma once
// The bookmark page's list: bookmarked directories of the open gallery with topic and
// location, the current directory as the current topic, and the page's add, delete, show and
// double-click.
//
// Stored form: section "BookMark" of the gallery's history file (AppPath\Name.HIS). Key
// "Book<n>" for n = 1, 2, ... holds "<DirID>|<topic>|<location>"; the first missing or empty
// "Book<n>" ends the list, so after the last bookmark "Book<k+1>" is written empty. A "|" in
// a topic or location is stored as the full-width "｜" and a line break as a blank, so the
// record reads back as written. A record with more than three fields (the Windows edition
// wrote "|" as it was) is read with everything after the topic as its location; a record
// with fewer fields is skipped. Every change rewrites the file in one atomic replacement that
// keeps its other sections, unknown keys and encoding.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orv {

struct ReaderState;

struct Bookmark {
    std::uint32_t DirID = 0;
    std::string Topic;
    std::string Location;
};

class BookmarkList {
public:
    enum class Change {
        Done, // the list changed and the file holds it
        Unchanged, // nothing to do: no current directory, a duplicate, no row selected
        WriteFailed, // the file could not be written; list and file are as they were
    };

    // Reads the list from the history file (empty for a missing file); row 0, when there is
    // one, is selected and its topic and location become the current ones.
    void Load(const std::string& historyPath);

    const std::vector<Bookmark>& Rows() const { return m_rows; }
    int Selected() const { return m_selected; }
    const std::string& CurrentTopic() const { return m_currentTopic; }
    const std::string& CurrentLocation() const { return m_currentLocation; }

    // CurrentDirID's name and title path become the current topic and location (both empty
    // when it names no directory).
    void UpdateCurrentTopic(const ReaderState& state);

    // Adds CurrentDirID with its own name and title path, looked up now; Unchanged when it is
    // below 1, names no directory or is in the list already.
    Change Add(const ReaderState& state);

    // A click: a row inside the list becomes the selection; false for any other row.
    bool Click(int row);

    // Deletes the selected row; the selection then stays at its index, or moves to the new
    // last row, and that row's topic and location become the current ones.
    Change Delete();

    // "显示" on the selected row and the double-click on a row both open the bookmarked
    // directory as a fresh visit: page 0, no highlight left from a search. The double-click
    // also adds the visit to the browse history. False when there is no such row.
    bool Show(ReaderState& state);
    bool DoubleClick(ReaderState& state, int row);

    // The stored form of one bookmark.
    static std::string FormatRecord(const Bookmark& bookmark);
    // A stored value read back; nothing for a value of fewer than three fields.
    static std::optional<Bookmark> ParseRecord(std::string_view value);

private:
    bool Save(const std::vector<Bookmark>& rows) const;
    void SelectRow(int row);

    std::string m_path;
    std::vector<Bookmark> m_rows;
    int m_selected = -1;
    std::string m_currentTopic, m_currentLocation;
};

} // namespace orv
