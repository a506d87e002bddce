// The tree cache lies beside the gallery, where a copy or a crash of another program may have
// left anything. Any bytes, taken as the inflated text (first byte even) or as the compressed
// file (first byte odd), must read into a sound tree: every node's parent and children in
// range and agreeing, DirNodeTable in step with the nodes, and the tree commands and walks in
// bounds. What is read must also write out and read back as the same records.

#include "navigation/ContentsTree.h"
#include "navigation/TreeBuild.h"
#include "navigation/TreeCache.h"
#include "navigation/TreeCommands.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

bool Same(const orv::TreeCacheRecord& a, const orv::TreeCacheRecord& b)
{
    return a.DirID == b.DirID && a.Text == b.Text && a.Image == b.Image && a.SelectedImage == b.SelectedImage
        && a.ParentPosition == b.ParentPosition && a.Content == b.Content;
}

void CheckTree(const orv::ContentsTree& tree, const orv::TreeCounts& counts, std::size_t directories)
{
    Check(counts.Nodes == static_cast<int>(tree.Nodes.size()));
    Check(tree.Table.Size() == directories && tree.Table.Item.size() == directories
        && tree.Table.Content.size() == directories);
    for (int item : tree.Table.Item)
        Check(tree.IsNode(item));
    std::size_t roots = 0;
    for (std::size_t i = 0; i < tree.Nodes.size(); ++i) {
        const orv::TreeNode& node = tree.Nodes[i];
        if (node.Parent < 0) {
            ++roots;
        } else {
            Check(node.Parent < static_cast<int>(i));
        }
        for (int child : node.Children)
            Check(tree.IsNode(child)
                && tree.Nodes[static_cast<std::size_t>(child)].Parent == static_cast<int>(i));
        Check(!node.Expanded || !node.Children.empty());
    }
    Check(roots == tree.Roots.size() && counts.TopLevel == static_cast<int>(roots));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const std::string_view input(reinterpret_cast<const char*>(data) + 1, size - 1);
    std::vector<orv::TreeCacheRecord> records;
    if (data[0] & 1) {
        if (!orv::DecodeTreeCache(input, records)) {
            Check(records.empty());
            return 0;
        }
    } else {
        records = orv::ParseTreeCacheText(input);
    }

    std::size_t directories = 0;
    for (const orv::TreeCacheRecord& record : records) {
        Check(!record.Text.empty() && orv::IsWritableTreeCacheRecord(record));
        directories += record.DirID >= 0 ? 1 : 0;
    }
    std::string text;
    for (const orv::TreeCacheRecord& record : records)
        orv::AppendTreeCacheRecord(text, record);
    const std::vector<orv::TreeCacheRecord> again = orv::ParseTreeCacheText(text);
    Check(again.size() == records.size());
    for (std::size_t i = 0; i < records.size(); ++i)
        Check(Same(again[i], records[i]));

    orv::ContentsTree tree;
    const orv::TreeCounts counts = orv::LoadTreeRecords(tree, records);
    CheckTree(tree, counts, directories);

    orv::AutoExpandTree(tree, 1, counts.Nodes, counts.TopLevel);
    if (!tree.Nodes.empty()) {
        tree.Select(static_cast<int>(size % tree.Nodes.size()));
        std::vector<int> items;
        orv::CollectSubtreeItems(tree, items);
        for (int item : items)
            Check(tree.IsNode(item));
        orv::ItemPathText(tree, tree.Selected);
        for (int command : { orv::kTreeExpandCommand, orv::kTreeCollapseCommand, orv::kTreeRestoreCommand })
            orv::RunTreeCommand(tree, command);
        if (!records.empty())
            orv::SelectDirNode(tree, records.front().DirID);
    }
    CheckTree(tree, counts, directories);
    return 0;
}
