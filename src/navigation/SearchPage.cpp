#include "navigation/SearchPage.h"

#include "app/ReaderState.h"
#include "database/AdoRecordset.h"
#include "navigation/KeywordFile.h"
#include "navigation/TopicChooser.h"
#include "platform/Paths.h"

namespace orv {

SearchSettings ReadSearchSettings(const ReaderState& state)
{
    SearchSettings settings;
    if (!state.DatabaseOpen)
        return settings;
    CAdoRecordset rs;
    if (rs.OpenSql("Select * from GallerySet", state.Database) != 0 || rs.IsEOF())
        return settings;
    bool fullText = true, keywords = true;
    for (; !rs.IsEOF(); rs.MoveNext()) {
        const std::string name = rs.GetString("ParaName");
        const bool off = rs.GetString("ParaValue") == "0";
        if (platform::EqualsNoCase(name, "HasTextSearch") && off)
            fullText = false;
        else if (platform::EqualsNoCase(name, "HasDwgKeyword") && off)
            keywords = false;
        else if (platform::EqualsNoCase(name, "HasSrcPreview") && off)
            settings.HasSrcPreview = false;
    }
    if (fullText)
        return settings; // full text chosen; the keyword mode is never offered
    settings.Initial = SearchMode::Title;
    settings.FullTextShown = false;
    // With neither mode beside the titles there is nothing to choose between.
    settings.TitleShown = keywords;
    return settings;
}

void SearchPage::LoadForGallery(const ReaderState& state)
{
    m_rows.clear();
    m_lastText.clear();
    m_sourceIndex.reset();
    m_history.clear();
    m_keywords.clear();
    if (state.CurrentGallery < 0
        || static_cast<std::size_t>(state.CurrentGallery) >= state.GalleryFiles.size())
        return;
    m_keywords = ReadKeywordFile(
        KeywordFilePathFor(state.GalleryFiles[static_cast<std::size_t>(state.CurrentGallery)]));
    if (!state.HistoryIniPath.empty())
        m_history = ReadSearchHistory(state.HistoryIniPath);
}

std::vector<std::string> SearchPage::ComboEntries() const
{
    std::vector<std::string> entries = m_history;
    entries.insert(entries.end(), m_keywords.begin(), m_keywords.end());
    return entries;
}

SearchRun SearchPage::StartOrStop(ReaderState& state, const std::string& comboText, SearchMode mode,
    SearchScope scope, const SearchPageHooks& hooks)
{
    SearchRun run;
    if (state.SearchRunning) {
        state.SearchRunning = false;
        run.What = SearchRun::Kind::StopRequested;
        return run;
    }
    if (!state.DatabaseOpen || state.CurrentGallery < 0
        || static_cast<std::size_t>(state.CurrentGallery) >= state.GalleryFiles.size())
        return run;
    run.Text = TrimSearchText(comboText);
    if (run.Text.empty()) {
        run.What = SearchRun::Kind::Refused;
        run.Message = { kEmptySearchMessage, kSearchCaption };
        return run;
    }
    run.What = SearchRun::Kind::Finished;
    state.SearchRunning = true;
    m_sourceIndex.reset();
    if (hooks.Started)
        hooks.Started(run.Text);

    // The search reads its own copy of the tree and of the previous rows: the events it pumps
    // may change neither under it.
    const SearchTreeCopy tree = SearchTreeCopy::From(state.Tree);
    const std::vector<SearchRow> previous = std::move(m_rows);
    m_rows.clear();
    SearchOutcome outcome;
    if (mode == SearchMode::Title) {
        outcome
            = SearchTitles(tree, run.Text, scope, previous, state.SearchRunning, hooks.Added, hooks.Progress);
    } else {
        std::shared_ptr<const FullTextIndex> index
            = CachedFullTextIndex(state.GalleryFiles[static_cast<std::size_t>(state.CurrentGallery)]);
        outcome = SearchFullText(
            tree, *index, run.Text, scope, previous, state.SearchRunning, hooks.Added, hooks.Progress);
        if (outcome.ContentDamaged)
            run.Message = { kDamagedContentMessage, kSearchCaption };
        else if (index->Format() == FullTextFormat::Compressed)
            m_sourceIndex = std::move(index);
    }
    state.SearchRunning = false;
    run.Interrupted = outcome.Interrupted;
    m_rows = std::move(outcome.Rows);
    m_lastText = m_rows.empty() ? std::string() : run.Text;
    if (!m_rows.empty()) {
        run.History = AddSearchText(m_history, m_keywords, run.Text);
        if (run.History != HistoryChange::Unchanged)
            run.HistoryWritten = WriteSearchHistory(state.HistoryIniPath, m_history);
    }
    return run;
}

SearchOpening SearchPage::Open(
    ReaderState& state, int row, const std::string& comboText, bool hasSrcPreview) const
{
    SearchOpening opening;
    if (state.SearchRunning) {
        opening.Message = { kOpenWhileSearchingMessage, kOpenCaption };
        return opening;
    }
    if (row < 0 || static_cast<std::size_t>(row) >= m_rows.size())
        return opening;
    const auto dirId = static_cast<std::int32_t>(m_rows[static_cast<std::size_t>(row)].DirID);
    JumpToDirectory(state, dirId);
    state.PendingHighlight = comboText;
    opening.Jumped = true;
    if (hasSrcPreview && m_sourceIndex)
        opening.SourceText = m_sourceIndex->SourceText(dirId);
    return opening;
}

} // namespace orv
