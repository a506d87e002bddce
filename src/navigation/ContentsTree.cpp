#include "navigation/ContentsTree.h"

namespace orv {

int ContentsTree::AddNode(int parent, std::string text, int image, int selectedImage, std::int32_t dirId)
{
    const int index = static_cast<int>(Nodes.size());
    TreeNode node;
    node.Text = std::move(text);
    node.Image = image;
    node.SelectedImage = selectedImage;
    node.DirID = dirId;
    node.Parent = IsNode(parent) ? parent : -1;
    Nodes.push_back(std::move(node));
    if (Nodes[index].Parent >= 0)
        Nodes[Nodes[index].Parent].Children.push_back(index);
    else
        Roots.push_back(index);
    return index;
}

void ContentsTree::Expand(int node)
{
    if (HasChildren(node))
        Nodes[node].Expanded = true;
}

void ContentsTree::Collapse(int node)
{
    if (IsNode(node))
        Nodes[node].Expanded = false;
}

void ContentsTree::Select(int node)
{
    if (!IsNode(node))
        return;
    Selected = node;
    // Parents always come before their children, so the walk up ends.
    for (int up = Nodes[node].Parent; IsNode(up); up = Nodes[up].Parent)
        Nodes[up].Expanded = true;
}

std::vector<std::pair<int, int>> ContentsTree::PreOrder() const
{
    // Without recursion: a deep tree must not exhaust the stack.
    std::vector<std::pair<int, int>> order, pending;
    order.reserve(Nodes.size());
    for (auto it = Roots.rbegin(); it != Roots.rend(); ++it)
        pending.emplace_back(*it, 0);
    while (!pending.empty()) {
        const auto [index, depth] = pending.back();
        pending.pop_back();
        order.emplace_back(index, depth);
        const std::vector<int>& children = Nodes[static_cast<std::size_t>(index)].Children;
        for (auto it = children.rbegin(); it != children.rend(); ++it)
            pending.emplace_back(*it, depth + 1);
    }
    return order;
}

} // namespace orv
