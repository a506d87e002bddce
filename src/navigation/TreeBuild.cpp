#include "navigation/TreeBuild.h"

#include "app/ReaderState.h"
#include "app/common/ProfileFile.h"
#include "database/AdoRecordset.h"
#include "navigation/ContentsTree.h"
#include "navigation/DirectoryQueries.h"
#include "navigation/TreeCommands.h"
#include "platform/EventPump.h"

#include <unordered_map>

namespace orv {
namespace {

struct Speciality {
    std::int32_t Id = 0;
    std::string Name, Path;
};

struct DatabaseBuild {
    TreeCounts Counts;
    std::string CacheText;
    // The cache is written only when it holds the whole tree and reads back the same.
    bool CacheSound = false;
    bool Interrupted = false;
};

std::string GalleryPathOf(const ReaderState& state)
{
    if (state.CurrentGallery < 0
        || static_cast<std::size_t>(state.CurrentGallery) >= state.GalleryFiles.size())
        return std::string();
    return state.GalleryFiles[static_cast<std::size_t>(state.CurrentGallery)];
}

int ReadAutoExpand(const ReaderState& state)
{
    const std::string ini = state.IniPath.empty() ? state.AppPath + "\\ORVBook.ini" : state.IniPath;
    int value = 1;
    CProfileFile(ini).ReadInt("System", "AutoExpand", value);
    return value;
}

// The tree is read from the gallery file itself, as it is now; with DriverType 1 a failed
// open is tried once more.
bool Reconnect(ReaderState& state, const std::string& gallery)
{
    if (gallery.empty())
        return state.Database.IsConnected();
    int result = state.Database.ConnectDatabase(gallery, kGalleryPassword);
    if (result != 0 && state.DriverType == 1)
        result = state.Database.ConnectDatabase(gallery, kGalleryPassword);
    state.DatabaseOpen = result == 0;
    return state.DatabaseOpen;
}

std::string ResolvedContent(const CAdoRecordset& rs, const std::string& specPath)
{
    std::string content = rs.GetString("SourceContent");
    if (content.empty()) {
        const std::string page = rs.GetString("DirContent");
        content = page.empty() ? "NULL" : rs.GetString("DirPath") + "\\" + page;
    }
    if (content == "NULL")
        return content;
    return content.front() == '\\' ? specPath + content : specPath + "\\" + content;
}

void AddRecord(DatabaseBuild& build, const TreeCacheRecord& record)
{
    if (!IsWritableTreeCacheRecord(record))
        build.CacheSound = false;
    AppendTreeCacheRecord(build.CacheText, record);
}

DatabaseBuild BuildFromDatabase(
    ReaderState& state, const std::string& gallery, const TreeProgress& progress, std::uint64_t generation)
{
    DatabaseBuild build;
    if (!Reconnect(state, gallery))
        return build;
    std::vector<Speciality> specialities;
    CAdoRecordset rs;
    if (rs.OpenSql("Select SpecID,SpecName,SpecPath from SpecClass Order By ShowOrder", state.Database) != 0)
        return build;
    for (; !rs.IsEOF(); rs.MoveNext())
        specialities.push_back({ rs.GetLong("SpecID"), rs.GetString("SpecName"), rs.GetString("SpecPath") });
    if (specialities.empty())
        return build;

    ContentsTree& tree = state.Tree;
    DirNodeTable& table = tree.Table;
    TreeCounts& counts = build.Counts;
    build.CacheSound = true;
    const bool withSpecialityNodes = specialities.size() > 1;
    // DirID -> its last position in the table: the parent a backwards search would find.
    std::unordered_map<std::uint32_t, int> lastPosition;
    platform::EventPump pump;
    TreeCacheRecord record;
    for (const Speciality& spec : specialities) {
        int specNode = -1;
        if (withSpecialityNodes) {
            specNode = tree.AddNode(-1, spec.Name, 0, 0, 0);
            ++counts.Nodes;
            ++counts.TopLevel;
            AddRecord(build, { -1, spec.Name, 0, 0, -1, "NULL" });
        }
        const std::string sql = "Select DirID,ParDirID,DirName,DirType,DirPath,DirContent,SourceContent from "
                                "DrawingDir where DirVisible >= 0 And SpecID = "
            + std::to_string(spec.Id) + " Order By DirVisible,DirID,ParDirID";
        if (rs.OpenSql(sql, state.Database) != 0) {
            // A cache without this speciality's directories would keep them out for good.
            build.CacheSound = false;
            tree.Expand(specNode);
            continue;
        }
        const int range = rs.GetRecordCount() + 1;
        int position = 0;
        if (progress)
            progress(range, position);
        for (; !rs.IsEOF(); rs.MoveNext()) {
            const std::int32_t dirId = rs.GetLong("DirID");
            const std::int32_t parentId = rs.GetLong("ParDirID");
            record.Text = rs.GetString("DirName");
            if (dirId > 0 && !record.Text.empty()) {
                const std::int32_t type = rs.GetShort("DirType");
                record.DirID = dirId;
                record.Image = 2 * type + 1;
                record.SelectedImage = 2 * type + 2;
                record.ParentPosition = -1;
                record.Content = ResolvedContent(rs, spec.Path);
                int parent = specNode;
                ++counts.Nodes;
                if (parentId == 0) {
                    ++counts.TopLevel;
                } else if (auto it = lastPosition.find(static_cast<std::uint32_t>(parentId));
                           it != lastPosition.end()) {
                    record.ParentPosition = it->second;
                    parent = table.Item[static_cast<std::size_t>(it->second)];
                }
                const int node = tree.AddNode(parent, record.Text, record.Image, record.SelectedImage, dirId);
                AddRecord(build, record);
                lastPosition[static_cast<std::uint32_t>(dirId)] = static_cast<int>(table.Size());
                table.DirID.push_back(static_cast<std::uint32_t>(dirId));
                table.Item.push_back(node);
                table.Content.push_back(record.Content);
            }
            if (progress)
                progress(range, ++position);
            pump.Tick();
            // Events may have started another build, which owns the tree now.
            if (tree.Generation != generation) {
                build.Interrupted = true;
                return build;
            }
        }
        tree.Expand(specNode);
    }
    return build;
}

} // namespace

const char* TreeSourceName(TreeBuildResult::Source source)
{
    switch (source) {
    case TreeBuildResult::Source::Database:
        return "database";
    case TreeBuildResult::Source::Cache:
        return "cache";
    case TreeBuildResult::Source::Empty:
        break;
    }
    return "empty";
}

TreeCounts LoadTreeRecords(ContentsTree& tree, const std::vector<TreeCacheRecord>& records)
{
    TreeCounts counts;
    DirNodeTable& table = tree.Table;
    int specNode = -1;
    for (const TreeCacheRecord& record : records) {
        ++counts.Nodes;
        if (record.DirID < 0) {
            tree.Expand(specNode);
            specNode = tree.AddNode(-1, record.Text, record.Image, record.SelectedImage, 0);
            ++counts.TopLevel;
            continue;
        }
        int parent = -1;
        if (record.ParentPosition < 0)
            parent = specNode;
        else if (static_cast<std::size_t>(record.ParentPosition) < table.Size())
            parent = table.Item[static_cast<std::size_t>(record.ParentPosition)];
        if (parent < 0)
            ++counts.TopLevel;
        const int node = tree.AddNode(parent, record.Text, record.Image, record.SelectedImage, record.DirID);
        table.DirID.push_back(static_cast<std::uint32_t>(record.DirID));
        table.Item.push_back(node);
        table.Content.push_back(record.Content);
    }
    tree.Expand(specNode);
    return counts;
}

void AutoExpandTree(ContentsTree& tree, int autoExpand, int n, int r)
{
    if (autoExpand != 1)
        return;
    if (n > 200) {
        if (r <= 5)
            for (int root : tree.Roots)
                tree.Expand(root);
        return;
    }
    for (int root : tree.Roots) {
        tree.Selected = root;
        ExpandSelectedSubtree(tree);
    }
}

TreeBuildResult BuildTree(ReaderState& state, const TreeProgress& progress)
{
    TreeBuildResult result;
    ContentsTree& tree = state.Tree;
    tree.Clear();
    const std::uint64_t generation = ++tree.Generation;
    TreeCounts counts;
    if (state.DatabaseOpen) {
        const std::string gallery = GalleryPathOf(state);
        std::vector<TreeCacheRecord> records;
        if (ReadTreeCache(state.TreeCachePath, gallery, records) == TreeCacheState::Loaded) {
            result.From = TreeBuildResult::Source::Cache;
            counts = LoadTreeRecords(tree, records);
        } else {
            result.From = TreeBuildResult::Source::Database;
            DatabaseBuild build = BuildFromDatabase(state, gallery, progress, generation);
            if (progress)
                progress(0, 0);
            if (build.Interrupted) {
                result.Interrupted = true;
                return result;
            }
            counts = build.Counts;
            if (build.CacheSound)
                result.CacheWritten = WriteTreeCache(state.TreeCachePath, build.CacheText);
        }
    }
    result.Nodes = counts.Nodes;
    result.TopLevel = counts.TopLevel;

    // The remembered node: the last directory node of the current directory. "No current
    // directory" (0) remembers nothing, not a speciality node.
    int remembered = -1;
    if (state.CurrentDirID != 0)
        for (std::size_t i = 0; i < tree.Table.Size(); ++i)
            if (tree.Table.DirID[i] == static_cast<std::uint32_t>(state.CurrentDirID))
                remembered = tree.Table.Item[i];
    AutoExpandTree(tree, ReadAutoExpand(state), counts.Nodes, counts.TopLevel);

    const int chosen = remembered >= 0 ? remembered : (tree.Roots.empty() ? -1 : tree.Roots.front());
    tree.Selected = -1;
    if (chosen < 0) {
        result.ShowHomePage = true;
        return result;
    }
    tree.Select(chosen);
    result.Caption = UpdateCaption(state);
    return result;
}

} // namespace orv
