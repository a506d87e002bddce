#include "navigation/TreeCommands.h"

#include "navigation/ContentsTree.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

// S (speciality) > D1 > D2 > D3, S > D4 > D5, and the top-level directory T > T1.
struct Sample {
    Sample()
    {
        s = tree.AddNode(-1, "S", 0, 0, 0);
        d1 = Dir(s, "D1", 1);
        d2 = Dir(d1, "D2", 2);
        d3 = Dir(d2, "D3", 3);
        d4 = Dir(s, "D4", 4);
        d5 = Dir(d4, "D5", 5);
        t = Dir(-1, "T", 6);
        t1 = Dir(t, "T1", 7);
    }
    int Dir(int parent, const char* text, std::int32_t id)
    {
        const int node = tree.AddNode(parent, text, 1, 2, id);
        tree.Table.DirID.push_back(static_cast<std::uint32_t>(id));
        tree.Table.Item.push_back(node);
        tree.Table.Content.push_back("NULL");
        return node;
    }
    std::string Open() const
    {
        std::string open;
        for (const TreeNode& node : tree.Nodes)
            if (node.Expanded)
                open += node.Text + " ";
        return open;
    }
    void OpenAll()
    {
        for (std::size_t i = 0; i < tree.Nodes.size(); ++i)
            tree.Expand(static_cast<int>(i));
    }
    ContentsTree tree;
    int s, d1, d2, d3, d4, d5, t, t1;
};

TEST(TreeCommandsTest, ExpandCollapseAndRestoreChangeTheOpenNodes)
{
    struct Case {
        int command;
        bool startOpen;
        int Sample::*selected;
        const char* open;
    };
    const Case cases[] = {
        { kTreeExpandCommand, false, &Sample::d1, "D1 D2 " }, // D3 has no children to show
        { kTreeExpandCommand, false, &Sample::s, "S D1 D2 D4 " },
        { kTreeCollapseCommand, true, &Sample::d1, "S D2 D4 T " },
        { kTreeRestoreCommand, true, &Sample::d3, "S D2 " },
        { kTreeRestoreCommand, false, &Sample::d3, "S " },
    };
    for (const Case& c : cases) {
        Sample sample;
        if (c.startOpen)
            sample.OpenAll();
        sample.tree.Selected = sample.*c.selected;
        EXPECT_TRUE(RunTreeCommand(sample.tree, c.command));
        EXPECT_EQ(sample.Open(), c.open) << c.command;
    }
    Sample none;
    EXPECT_FALSE(RunTreeCommand(none.tree, 57677));
    EXPECT_TRUE(RunTreeCommand(none.tree, kTreeExpandCommand)) << "no selection: nothing to open";
    EXPECT_EQ(none.Open(), "");
}

TEST(TreeCommandsTest, SubtreeItemsAndPathTextsFollowTheTree)
{
    Sample sample;
    std::vector<int> items { -1 };
    CollectSubtreeItems(sample.tree, items);
    EXPECT_EQ(items, (std::vector<int> { -1 })) << "no selection";
    sample.tree.Selected = sample.s;
    CollectSubtreeItems(sample.tree, items);
    EXPECT_EQ(items, (std::vector<int> { -1, sample.d1, sample.d2, sample.d3, sample.d4, sample.d5 }));
    EXPECT_EQ(ItemPathText(sample.tree, sample.d3), "S\\D1\\D2\\D3");
    EXPECT_EQ(ItemPathText(sample.tree, sample.t), "T");
    EXPECT_EQ(ItemPathText(sample.tree, -1), "");
}

TEST(TreeCommandsTest, CurrentDirectorySelectsItsFirstNodeAndShowsIt)
{
    Sample sample;
    sample.Dir(sample.t1, "D3 again", 3);
    EXPECT_TRUE(SelectDirNode(sample.tree, 3));
    EXPECT_EQ(sample.tree.Selected, sample.d3);
    EXPECT_EQ(sample.Open(), "S D1 D2 ");
    EXPECT_FALSE(SelectDirNode(sample.tree, 42));
    EXPECT_EQ(sample.tree.Selected, sample.d3);
}

} // namespace
} // namespace orv
