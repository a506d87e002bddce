#pragma once
// The search page without the page: the gallery's search settings, the search texts its combo
// offers (the history, then the keyword file), the start and stop of a search with the
// program's running flag, the rows kept for a search within the results, the history update
// after a search that found rows, and the opening of a result with its source text.

#include "app/MainCommands.h"
#include "navigation/DirectorySearch.h"
#include "navigation/SearchHistory.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace orv {

struct ReaderState;

inline constexpr const char* kSearchCaption = "搜索";
inline constexpr const char* kEmptySearchMessage = "请选择或输入要搜索的内容。";
inline constexpr const char* kOpenCaption = "打开";
inline constexpr const char* kOpenWhileSearchingMessage = "请先停止搜索后再打开。";
inline constexpr const char* kDamagedContentMessage = "图集的全文内容文件已损坏，无法完成全文搜索。";

// Which modes the gallery offers (its GallerySet rows "HasTextSearch", "HasDwgKeyword" and
// "HasSrcPreview"), read once when the page is made.
struct SearchSettings {
    bool TitleShown = true, FullTextShown = true; // the mode choices on show
    SearchMode Initial = SearchMode::FullText;
    bool HasSrcPreview = true;
};
SearchSettings ReadSearchSettings(const ReaderState& state);

// What the page shows while a search runs.
struct SearchPageHooks {
    // The search starts with this (trimmed) text: write it back, clear the list and the
    // count, show the progress bar and the stop caption.
    std::function<void(const std::string& text)> Started;
    SearchRowAdded Added;
    SearchProgress Progress;
};

struct SearchRun {
    enum class Kind {
        None, // no gallery is open
        StopRequested, // a running search was asked to stop; it ends at its next step
        Refused, // nothing searched: Message says why
        Finished, // the search ran (to its end, or until stopped: Interrupted)
    };
    Kind What = Kind::None;
    UserMessage Message; // Refused; Finished with damaged content
    std::string Text; // the trimmed search text
    bool Interrupted = false;
    HistoryChange History = HistoryChange::Unchanged;
    bool HistoryWritten = true; // false: the history file could not be rewritten
};

// A result opened by a double-click.
struct SearchOpening {
    bool Jumped = false; // CurrentDirID is the result's: show it
    UserMessage Message; // refused while a search runs
    std::string SourceText; // the directory's source text (UTF-8), "" for none
};

class SearchPage {
public:
    // Empties the results and reads the gallery's keyword file and search history.
    void LoadForGallery(const ReaderState& state);

    // The combo's entries: the history, newest first, then the keywords.
    std::vector<std::string> ComboEntries() const;
    const std::vector<SearchRow>& Rows() const { return m_rows; }
    const std::vector<std::string>& History() const { return m_history; }
    const std::string& LastSearchText() const { return m_lastText; }

    // The button and Enter: stops the running search, or runs one with the combo's text.
    // The search pumps events; a second call meanwhile is the stop request.
    SearchRun StartOrStop(ReaderState& state, const std::string& comboText, SearchMode mode,
        SearchScope scope, const SearchPageHooks& hooks = SearchPageHooks());

    // Double-click on a result row: the directory becomes current as a new visit, the combo's
    // text the highlight for its page; the source text comes with it when the gallery allows
    // previews and the last full-text search read compressed content.
    SearchOpening Open(ReaderState& state, int row, const std::string& comboText, bool hasSrcPreview) const;

private:
    std::vector<SearchRow> m_rows;
    std::vector<std::string> m_history, m_keywords;
    std::string m_lastText;
    // The full-text index of the last full-text search, kept for the source preview.
    std::shared_ptr<const FullTextIndex> m_sourceIndex;
};

} // namespace orv
