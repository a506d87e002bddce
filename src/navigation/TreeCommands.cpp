#include "navigation/TreeCommands.h"

#include "navigation/ContentsTree.h"

#include <algorithm>

namespace orv {
namespace {

// Pre-order without recursion: a deep tree must not exhaust the stack.
void AppendDescendants(const ContentsTree& tree, int node, std::vector<int>& list)
{
    std::vector<int> pending(tree.Nodes[node].Children.rbegin(), tree.Nodes[node].Children.rend());
    while (!pending.empty()) {
        const int next = pending.back();
        pending.pop_back();
        list.push_back(next);
        const std::vector<int>& children = tree.Nodes[next].Children;
        pending.insert(pending.end(), children.rbegin(), children.rend());
    }
}

} // namespace

void ExpandSelectedSubtree(ContentsTree& tree)
{
    if (!tree.IsNode(tree.Selected))
        return;
    std::vector<int> descendants;
    AppendDescendants(tree, tree.Selected, descendants);
    for (int node : descendants)
        tree.Expand(node);
    tree.Expand(tree.Selected);
}

void CollapseSelected(ContentsTree& tree)
{
    tree.Collapse(tree.Selected);
}

void RestoreTree(ContentsTree& tree)
{
    for (int root : tree.Roots) {
        if (tree.Nodes[root].Image != 0) {
            tree.Collapse(root);
            continue;
        }
        for (int child : tree.Nodes[root].Children)
            if (tree.HasChildren(child))
                tree.Collapse(child);
        tree.Expand(root);
    }
}

bool RunTreeCommand(ContentsTree& tree, int commandId)
{
    switch (commandId) {
    case kTreeExpandCommand:
        ExpandSelectedSubtree(tree);
        return true;
    case kTreeCollapseCommand:
        CollapseSelected(tree);
        return true;
    case kTreeRestoreCommand:
        RestoreTree(tree);
        return true;
    default:
        return false;
    }
}

bool SelectDirNode(ContentsTree& tree, std::int32_t dirId)
{
    const auto& ids = tree.Table.DirID;
    const auto it = std::find(ids.begin(), ids.end(), static_cast<std::uint32_t>(dirId));
    if (it == ids.end())
        return false;
    tree.Select(tree.Table.Item[static_cast<std::size_t>(it - ids.begin())]);
    return true;
}

void CollectSubtreeItems(const ContentsTree& tree, std::vector<int>& list)
{
    if (tree.IsNode(tree.Selected))
        AppendDescendants(tree, tree.Selected, list);
}

std::string ItemPathText(const ContentsTree& tree, int node)
{
    std::vector<const std::string*> texts;
    for (int up = node; tree.IsNode(up); up = tree.Nodes[up].Parent)
        texts.push_back(&tree.Nodes[up].Text);
    std::string path;
    for (auto it = texts.rbegin(); it != texts.rend(); ++it) {
        if (it != texts.rbegin())
            path += '\\';
        path += **it;
    }
    return path;
}

} // namespace orv
