#include "app/ReaderState.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

using Ids = std::vector<std::uint32_t>;

TEST(BrowseHistory, AddInsertsAfterTheCurrentEntryAndKeepsTheLaterOnes)
{
    struct Case {
        Ids before;
        int position;
        Ids after;
        int newPosition;
    };
    const Case cases[] = {
        { {}, -1, { 9 }, 0 }, { { 1, 2, 3 }, 2, { 1, 2, 3, 9 }, 3 }, // at the last entry: appended
        { { 1, 2, 3 }, 0, { 1, 9, 2, 3 }, 1 }, // back in the list: inserted, later entries kept
        { { 1, 2, 3 }, 1, { 1, 2, 9, 3 }, 2 },
        { { 1, 2, 3 }, -1, { 1, 2, 3, 9 }, 3 }, // no position: appended
    };
    for (const Case& c : cases) {
        BrowseHistory history;
        for (std::uint32_t id : c.before)
            history.Add(id, "k" + std::to_string(id));
        history.Position = c.position;
        history.Add(9, "k9");
        EXPECT_EQ(history.DirIds, c.after) << c.position;
        EXPECT_EQ(history.Position, c.newPosition);
        ASSERT_EQ(history.Keys.size(), history.DirIds.size());
        EXPECT_EQ(history.Keys[static_cast<std::size_t>(history.Position)], "k9") << "keys stay parallel";
    }
}

} // namespace
} // namespace orv
