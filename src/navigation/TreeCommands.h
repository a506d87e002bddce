#pragma once
// What the contents tree does with its model beside the build: the three tree commands of its
// popup menu, the selection of the current directory, and the walks the search uses. All of
// them work on ContentsTree alone, so they run without the widget, which mirrors the result.

#include <cstdint>
#include <string>
#include <vector>

namespace orv {

struct ContentsTree;

// Command ids of the tree's popup menu.
constexpr int kTreeExpandCommand = 57674; // 展开目录
constexpr int kTreeCollapseCommand = 57675; // 收缩目录
constexpr int kTreeRestoreCommand = 57676; // 恢复目录

// Expand: the selected node and every descendant that has children are opened.
void ExpandSelectedSubtree(ContentsTree& tree);
// Collapse: the selected node alone is closed; its descendants keep their state.
void CollapseSelected(ContentsTree& tree);
// Restore: a top-level directory node (image other than 0) is closed; a top-level speciality
// node (image 0) is opened and each of its children that has children is closed.
void RestoreTree(ContentsTree& tree);
// Runs one of the three commands; false for any other id.
bool RunTreeCommand(ContentsTree& tree, int commandId);

// Selects the first node in DirNodeTable order whose DirID is dirId (and opens its ancestors
// so it shows); false, and the selection unchanged, when there is none.
bool SelectDirNode(ContentsTree& tree, std::int32_t dirId);

// Appends the descendants of the selected node, depth first in pre-order (a child, then its
// own descendants, then the next child); nothing when no node is selected.
void CollectSubtreeItems(const ContentsTree& tree, std::vector<int>& list);

// The texts from the top-level ancestor down to the node, joined with "\".
std::string ItemPathText(const ContentsTree& tree, int node);

} // namespace orv
