// orvtool search: the search page's title and full-text searches without the page, on the
// contents tree the reader builds, and the history update the page makes after a search
// that found rows.

#include "Command.h"
#include "FieldEscape.h"
#include "app/ReaderState.h"
#include "navigation/DirectorySearch.h"
#include "navigation/KeywordFile.h"
#include "navigation/SearchHistory.h"
#include "navigation/TreeBuild.h"
#include "navigation/TreeCommands.h"

#include <iostream>
#include <sstream>

namespace orv::tool {
namespace {

struct SearchArgs {
    std::string gallery, text, mode = "fulltext", scope = "all", history, appDir;
};

// "under:12" or "within:3,4,5" into the scope and its DirIDs; false for anything else.
bool ParseScope(const std::string& text, SearchScope& scope, std::vector<std::int32_t>& ids)
{
    if (text == "all") {
        scope = SearchScope::All;
        return true;
    }
    std::string list;
    if (text.rfind("under:", 0) == 0) {
        scope = SearchScope::Selected;
        list = text.substr(6);
    } else if (text.rfind("within:", 0) == 0) {
        scope = SearchScope::WithinResults;
        list = text.substr(7);
    } else {
        return false;
    }
    std::stringstream in(list);
    std::string item;
    while (std::getline(in, item, ',')) {
        try {
            std::size_t used = 0;
            const long value = std::stol(item, &used);
            if (used != item.size())
                return false;
            ids.push_back(static_cast<std::int32_t>(value));
        } catch (const std::exception&) {
            return false;
        }
    }
    return !ids.empty() && (scope == SearchScope::WithinResults || ids.size() == 1);
}

// The rows a previous search left for "within": each DirID as its first tree row shows it.
std::vector<SearchRow> PreviousRows(const SearchTreeCopy& tree, const std::vector<std::int32_t>& ids)
{
    std::vector<SearchRow> rows;
    for (std::int32_t id : ids) {
        for (std::size_t i = 0; i < tree.TableDirIDs.size(); ++i) {
            if (static_cast<std::int32_t>(tree.TableDirIDs[i]) != id)
                continue;
            const int node = tree.TableItems[i];
            if (node < 0 || static_cast<std::size_t>(node) >= tree.Nodes.size())
                break;
            rows.push_back({ tree.TableDirIDs[i], tree.Nodes[static_cast<std::size_t>(node)].Text,
                tree.Location(node) });
            break;
        }
    }
    return rows;
}

int Search(const SearchArgs& args)
{
    SearchScope scope = SearchScope::All;
    std::vector<std::int32_t> ids;
    if (!ParseScope(args.scope, scope, ids)) {
        Fail("--scope must be all, under:DIRID or within:DIRID,...");
        return 1;
    }
    const std::string text = TrimSearchText(args.text);
    if (text.empty()) {
        Fail("请选择或输入要搜索的内容。");
        return 1;
    }
    ReaderState state;
    if (!OpenToolGallery(state, args.gallery, args.appDir))
        return 1;
    {
        QuietMessages quiet;
        BuildTree(state);
    }
    if (scope == SearchScope::Selected && !SelectDirNode(state.Tree, ids.front()))
        state.Tree.Selected = -1;
    const SearchTreeCopy tree = SearchTreeCopy::From(state.Tree);
    const std::vector<SearchRow> previous = PreviousRows(tree, ids);
    const bool running = true;
    SearchOutcome outcome;
    if (args.mode == "title") {
        outcome = SearchTitles(tree, text, scope, previous, running);
    } else {
        const std::string& galleryPath = state.GalleryFiles[static_cast<std::size_t>(state.CurrentGallery)];
        const std::shared_ptr<const FullTextIndex> index = FullTextIndex::Load(galleryPath);
        outcome = SearchFullText(tree, *index, text, scope, previous, running);
        if (outcome.ContentDamaged) {
            Fail("the gallery's compressed full-text content is damaged; nothing was searched");
            return 1;
        }
    }
    for (const SearchRow& row : outcome.Rows)
        std::cout << "row\t" << row.DirID << '\t' << EscapeField(row.Title) << '\t'
                  << EscapeField(row.Location) << '\n';
    std::cout << "count\t" << outcome.Rows.size() << '\n';
    if (!args.history.empty()) {
        HistoryChange change = HistoryChange::Unchanged;
        if (!outcome.Rows.empty()) {
            const std::string hisPath = AbsoluteProgramPath(args.history);
            std::vector<std::string> history = ReadSearchHistory(hisPath);
            const std::string& galleryPath
                = state.GalleryFiles[static_cast<std::size_t>(state.CurrentGallery)];
            const std::vector<std::string> keywords = ReadKeywordFile(KeywordFilePathFor(galleryPath));
            change = AddSearchText(history, keywords, text);
            if (change != HistoryChange::Unchanged && !WriteSearchHistory(hisPath, history)) {
                Fail("cannot write " + args.history);
                return 1;
            }
        }
        std::cout << "history\t" << HistoryChangeName(change) << '\n';
    }
    return 0;
}

void Register(CLI::App& app)
{
    auto args = std::make_shared<SearchArgs>();
    auto* search = app.add_subcommand("search", "Find a gallery's directories by title or by full text");
    search->add_option("GALLERY", args->gallery, "The gallery database (.GAL)")->required();
    search->add_option("TEXT", args->text, "The search text")->required();
    search->add_option("--mode", args->mode, "title or fulltext (default)")
        ->check(CLI::IsMember({ "title", "fulltext" }));
    search->add_option("--scope", args->scope, "all (default), under:DIRID or within:DIRID,...");
    search->add_option("--history", args->history, "History file (.HIS) to update as the search page does");
    search->add_option("--app-dir", args->appDir, "Application folder whose ORVBook.ini is read");
    SetAction(search, [args] { return Search(*args); });
}

const CommandRegistrar registrar("search", Register);

} // namespace
} // namespace orv::tool
