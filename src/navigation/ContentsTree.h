#pragma once
// The contents tree of the open gallery as the core keeps it: its nodes (specialities and
// directories) with their texts, images, DirIDs, parents and expanded state, the node the
// build selected, and DirNodeTable, the three parallel columns that list the directory nodes
// in insertion order (speciality nodes are not in it). The tree widget mirrors this model;
// the search, the index and the page stepping read it, so they run without a widget.

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace orv {

struct TreeNode {
    std::string Text;
    int Image = 0; // image list index: 0 speciality, 2 x DirType + 1 directory
    int SelectedImage = 0;
    std::int32_t DirID = 0; // 0 for a speciality node
    int Parent = -1; // node index, -1 at the top of the tree
    std::vector<int> Children; // node indices, in insertion order
    bool Expanded = false; // only ever set on a node that has children, as a tree control does
};

// DirNodeTable: position i of each column belongs to the same directory node.
struct DirNodeTable {
    std::vector<std::uint32_t> DirID;
    std::vector<int> Item; // node index into ContentsTree::Nodes
    std::vector<std::string> Content; // resolved content path, or "NULL"

    std::size_t Size() const { return DirID.size(); }
    void Clear()
    {
        DirID.clear();
        Item.clear();
        Content.clear();
    }
};

struct ContentsTree {
    std::vector<TreeNode> Nodes;
    std::vector<int> Roots; // top-level node indices, in insertion order
    DirNodeTable Table;
    int Selected = -1; // node index of the selected node, -1 for none
    // Counts the builds begun: a build that pumps events finds out by it that another build
    // started meanwhile and gives up.
    std::uint64_t Generation = 0;

    void Clear()
    {
        Nodes.clear();
        Roots.clear();
        Table.Clear();
        Selected = -1;
    }

    // Inserts a node last under parent (-1: at the top of the tree) and returns its index.
    // A parent outside the tree puts the node at the top.
    int AddNode(int parent, std::string text, int image, int selectedImage, std::int32_t dirId);

    bool IsNode(int node) const { return node >= 0 && static_cast<std::size_t>(node) < Nodes.size(); }
    bool HasChildren(int node) const { return IsNode(node) && !Nodes[node].Children.empty(); }
    // Opens a node that has children; a node without children stays as it is.
    void Expand(int node);
    void Collapse(int node);
    // Selects the node and opens every ancestor, as a tree control does to show the selection.
    void Select(int node);
    // Every node with its depth (0 for a top-level node), each before its children.
    std::vector<std::pair<int, int>> PreOrder() const;
};

} // namespace orv
