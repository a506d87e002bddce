#include "navigation/DirectoryQueries.h"

#include "app/ReaderState.h"
#include "database/AdoRecordset.h"
#include "navigation/TreeCommands.h"

#include <cstdio>
#include <unordered_set>

namespace orv {
namespace {

std::string Statement(const char* head, std::int32_t id)
{
    return head + std::to_string(id);
}

} // namespace

std::string DirTitlePath(const CAdoConnection& db, std::int32_t dirId)
{
    std::string path;
    std::unordered_set<std::int32_t> onPath;
    CAdoRecordset rs;
    for (std::int32_t id = dirId; onPath.insert(id).second;) {
        if (rs.OpenSql(Statement("Select DirName,ParDirID From DrawingDir where DirID = ", id), db) != 0
            || rs.IsEOF())
            break;
        const std::string name = rs.GetString("DirName");
        id = rs.GetLong("ParDirID");
        path = path.empty() ? name : name + "\\" + path;
        if (id == 0)
            break;
    }
    return path;
}

void CollectChildDirs(const CAdoConnection& db, std::int32_t dirId, std::vector<std::int32_t>& list)
{
    std::unordered_set<std::int32_t> seen { dirId };
    CAdoRecordset rs;
    // Pending directories, the next one last: each is listed, then its children are queried
    // and put in front of its later siblings, which is the order recursion would give.
    std::vector<std::int32_t> pending { dirId };
    bool start = true;
    while (!pending.empty()) {
        const std::int32_t id = pending.back();
        pending.pop_back();
        if (!start) {
            if (!seen.insert(id).second)
                continue;
            list.push_back(id);
        }
        start = false;
        if (rs.OpenSql(Statement("Select DirID from DrawingDir where ParDirID = ", id), db) != 0)
            continue;
        std::vector<std::int32_t> children;
        for (; !rs.IsEOF(); rs.MoveNext())
            if (const std::int32_t child = rs.GetLong("DirID"); child != 0)
                children.push_back(child);
        pending.insert(pending.end(), children.rbegin(), children.rend());
    }
}

int DirPageCount(const CAdoConnection& db, std::int32_t dirId)
{
    CAdoRecordset rs;
    // Read as a 32-bit count: a 16-bit read would drop counts past 32767.
    if (rs.OpenSql(
            Statement("Select Count(DirContent) as TValue From DrawingDirFiles where DirID = ", dirId), db)
            != 0
        || rs.IsEOF())
        return 0;
    return rs.GetLong("TValue");
}

std::string PagedCaption(const std::string& titlePath, std::int32_t page, int pageCount)
{
    if (pageCount <= 1)
        return titlePath;
    char pages[64];
    std::snprintf(pages, sizeof pages, " (第%d页/共%d页)", page + 1, pageCount);
    return titlePath + pages;
}

std::optional<std::string> UpdateCaption(ReaderState& state)
{
    if (!state.ContentViewReady)
        return std::nullopt;
    if (state.Tree.IsNode(state.Tree.Selected))
        state.CurrentDirID = state.Tree.Nodes[state.Tree.Selected].DirID;
    return PagedCaption(DirTitlePath(state.Database, state.CurrentDirID), state.CurrentPage,
        DirPageCount(state.Database, state.CurrentDirID));
}

std::int32_t NextPage(ReaderState& state)
{
    if (!state.DatabaseOpen)
        return 0;
    const int count = DirPageCount(state.Database, state.CurrentDirID);
    if (count > 0 && state.CurrentPage < count - 1) {
        ++state.CurrentPage;
        return state.CurrentDirID;
    }
    std::int32_t next = 0;
    CAdoRecordset rs;
    if (rs.OpenSql("Select DirID from DrawingDir Order By DirVisible", state.Database) == 0) {
        bool found = false;
        for (; !rs.IsEOF(); rs.MoveNext()) {
            const std::int32_t id = rs.GetLong("DirID");
            if (found) {
                next = id;
                break;
            }
            found = id == state.CurrentDirID;
        }
    }
    state.CurrentPage = 0;
    return next;
}

std::int32_t PrevPage(ReaderState& state)
{
    if (!state.DatabaseOpen)
        return 0;
    if (state.CurrentPage > 0 && DirPageCount(state.Database, state.CurrentDirID) > 0) {
        --state.CurrentPage;
        return state.CurrentDirID;
    }
    std::int32_t previous = 0;
    CAdoRecordset rs;
    if (rs.OpenSql("Select DirID from DrawingDir Order By DirVisible", state.Database) == 0) {
        bool found = false;
        for (std::int32_t before = 0; !rs.IsEOF(); rs.MoveNext()) {
            const std::int32_t id = rs.GetLong("DirID");
            if (id == state.CurrentDirID) {
                found = true;
                previous = before;
                break;
            }
            before = id;
        }
        // A directory that is not listed has no neighbour.
        if (!found)
            previous = 0;
    }
    if (previous != 0) {
        const int count = DirPageCount(state.Database, previous);
        state.CurrentPage = count > 0 ? count - 1 : 0;
    }
    return previous;
}

bool SelectCurrentDir(ReaderState& state)
{
    return SelectDirNode(state.Tree, state.CurrentDirID);
}

TreeSelectionEffect SelectTreeNode(ReaderState& state, int node)
{
    TreeSelectionEffect effect;
    if (!state.ContentViewReady)
        return effect;
    effect.Handled = true;
    state.Tree.Select(node);
    state.PendingHighlight.clear();
    state.CurrentPage = 0;
    effect.Caption = UpdateCaption(state);
    CAdoRecordset rs;
    if (rs.OpenSql(Statement("Select ContentMark from DrawingDir where DirID = ", state.CurrentDirID),
            state.Database)
            == 0
        && !rs.IsEOF()) {
        const std::string mark = rs.GetString("ContentMark");
        if (IsToolNodeMark(mark))
            effect.Tool = ToolNodeCall(state.AppPath, mark);
    }
    return effect;
}

} // namespace orv
