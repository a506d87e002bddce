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

} // namespace orv
