#include "navigation/Bookmarks.h"

#include "app/common/ProfileFile.h"
#include "navigation/TreeTestSupport.h"
#include "platform/Encoding.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace orv {
namespace {

using test::MakeDirectory;

struct BookmarkGallery {
    BookmarkGallery()
    {
        GalleryManifest m;
        m.Name = "B";
        m.GalleryName = "书签";
        m.Specialities = { { 1, "甲", "\\A", 1 } };
        m.Directories = { MakeDirectory(1, 0, 1, "机械"), MakeDirectory(2, 1, 1, "螺栓"),
            MakeDirectory(3, 1, 1, "A|B"), MakeDirectory(4, 0, 1, "Pipes") };
        gallery = test::BuildSqliteGallery(folder, m);
        test::OpenTestGallery(state, folder, gallery);
        state.HistoryIniPath = state.AppPath + "\\B.HIS";
        native = folder.NativeAt("app/B.HIS");
    }
    void Write(const std::string& bytes) { test::WriteFile(native, bytes); }
    std::string Key(int n) const
    {
        std::string value;
        CProfileFile(state.HistoryIniPath).ReadString("BookMark", "Book" + std::to_string(n), value);
        return value;
    }
    test::TempFolder folder;
    std::string gallery, native;
    ReaderState state;
};

std::vector<std::string> Rows(const BookmarkList& list)
{
    std::vector<std::string> out;
    for (const Bookmark& b : list.Rows())
        out.push_back(std::to_string(b.DirID) + "|" + b.Topic + "|" + b.Location);
    return out;
}

TEST(BookmarksTest, LoadSkipsShortRecordsReadsExtraFieldsIntoTheLocationAndStopsAtAnEmptyKey)
{
    BookmarkGallery g;
    g.Write("[BookMark]\r\nBook1=2|螺栓|机械\\螺栓\r\nBook2=bad record\r\nBook3=12|Pipes|A\\B|C\r\n"
            "Book4=5|x\r\nBook5=4|Pipes|\r\nBook6=\r\nBook7=9|stale|old\r\n");
    BookmarkList list;
    list.Load(g.state.HistoryIniPath);
    EXPECT_EQ(Rows(list), (std::vector<std::string> { "2|螺栓|机械\\螺栓", "12|Pipes|A\\B|C", "4|Pipes|" }));
    EXPECT_EQ(list.Selected(), 0);
    EXPECT_EQ(list.CurrentTopic(), "螺栓");
    EXPECT_EQ(list.CurrentLocation(), "机械\\螺栓");

    list.Load(g.state.AppPath + "\\missing.HIS");
    EXPECT_TRUE(list.Rows().empty());
    EXPECT_EQ(list.Selected(), -1);
    EXPECT_TRUE(list.CurrentTopic().empty());
}

TEST(BookmarksTest, AddTakesTheCurrentDirectoryItselfAndRefusesNoneAndDuplicates)
{
    BookmarkGallery g;
    g.Write("[BookMark]\r\nBook1=4|Pipes|Pipes\r\nBook2=\r\nBook3=\r\nBook4=9|stale|old\r\n");
    BookmarkList list;
    list.Load(g.state.HistoryIniPath);
    g.state.CurrentDirID = 4;
    list.UpdateCurrentTopic(g.state);
    EXPECT_EQ(list.CurrentTopic(), "Pipes");
    // The current directory changed after the topic was shown: the bookmark is of the new one.
    g.state.CurrentDirID = 2;
    EXPECT_EQ(list.Add(g.state), BookmarkList::Change::Done);
    EXPECT_EQ(list.CurrentTopic(), "螺栓");

    const std::pair<std::int32_t, BookmarkList::Change> refused[] = {
        { 2, BookmarkList::Change::Unchanged }, // already bookmarked
        { 4, BookmarkList::Change::Unchanged },
        { 0, BookmarkList::Change::Unchanged }, // no current directory
        { 77, BookmarkList::Change::Unchanged }, // no such directory
    };
    for (const auto& [dirId, change] : refused) {
        g.state.CurrentDirID = dirId;
        EXPECT_EQ(list.Add(g.state), change) << dirId;
    }
    const std::vector<std::string> expected { "4|Pipes|Pipes", "2|螺栓|机械\\螺栓" };
    EXPECT_EQ(Rows(list), expected);
    EXPECT_EQ(g.Key(2), "2|螺栓|机械\\螺栓");
    EXPECT_EQ(g.Key(3), "");
    EXPECT_EQ(g.Key(4), "9|stale|old"); // keys past the end stay, unread
    BookmarkList reloaded;
    reloaded.Load(g.state.HistoryIniPath);
    EXPECT_EQ(Rows(reloaded), expected);
}

TEST(BookmarksTest, DeleteKeepsTheSelectionInTheListAndWritesTheEndKey)
{
    BookmarkGallery g;
    g.Write("[BookMark]\r\nBook1=1|机械|机械\r\nBook2=2|螺栓|机械\\螺栓\r\nBook3=4|Pipes|Pipes\r\n");
    BookmarkList list;
    list.Load(g.state.HistoryIniPath);
    EXPECT_FALSE(list.Click(3));
    ASSERT_TRUE(list.Click(2));
    EXPECT_EQ(list.Delete(), BookmarkList::Change::Done);
    EXPECT_EQ(list.Selected(), 1);
    EXPECT_EQ(list.CurrentTopic(), "螺栓");
    EXPECT_EQ(g.Key(3), "");
    ASSERT_EQ(list.Delete(), BookmarkList::Change::Done);
    ASSERT_EQ(list.Delete(), BookmarkList::Change::Done);
    EXPECT_TRUE(list.Rows().empty());
    EXPECT_EQ(list.Selected(), -1);
    EXPECT_TRUE(list.CurrentTopic().empty());
    EXPECT_EQ(g.Key(1), "");
    EXPECT_EQ(list.Delete(), BookmarkList::Change::Unchanged);
}

// A "|" in a topic once split the record into four fields, so it vanished on the next load.
TEST(BookmarksTest, SeparatorsAndLineBreaksInTopicsSurviveTheNextLoad)
{
    BookmarkGallery g;
    g.Write("");
    BookmarkList list;
    list.Load(g.state.HistoryIniPath);
    g.state.CurrentDirID = 3;
    ASSERT_EQ(list.Add(g.state), BookmarkList::Change::Done);
    EXPECT_EQ(g.Key(1), "3|A｜B|机械\\A｜B");
    EXPECT_EQ(BookmarkList::FormatRecord({ 7, "a\r\nb\nc", "x|y" }), "7|a b c|x｜y");
    BookmarkList reloaded;
    reloaded.Load(g.state.HistoryIniPath);
    EXPECT_EQ(Rows(reloaded), Rows(list));
    EXPECT_EQ(Rows(reloaded), (std::vector<std::string> { "3|A｜B|机械\\A｜B" }));
}

TEST(BookmarksTest, ARewriteKeepsTheOtherSectionUnknownKeysAndTheFilesEncoding)
{
    struct Case {
        const char* name;
        bool utf8;
    };
    for (const Case c : { Case { "gb18030", false }, Case { "utf-8", true } }) {
        BookmarkGallery g;
        const std::string text
            = "[Query]\r\nQuery1=螺栓规格\r\nQuery2=垫圈\r\nOwn=留着\r\n[BookMark]\r\nBook1=4|Pipes|Pipes\r\n"
              "Note=mine\r\n";
        g.Write(c.utf8 ? text : platform::Utf8ToGb18030(text));
        BookmarkList list;
        list.Load(g.state.HistoryIniPath);
        g.state.CurrentDirID = 2;
        ASSERT_EQ(list.Add(g.state), BookmarkList::Change::Done) << c.name;
        const std::string bytes = test::ReadFile(g.native);
        const std::string expected
            = "[Query]\r\nQuery1=螺栓规格\r\nQuery2=垫圈\r\nOwn=留着\r\n[BookMark]\r\n"
              "Book1=4|Pipes|Pipes\r\nNote=mine\r\nBook2=2|螺栓|机械\\螺栓\r\nBook3=\r\n";
        EXPECT_EQ(bytes, c.utf8 ? expected : platform::Utf8ToGb18030(expected)) << c.name;
    }
}

TEST(BookmarksTest, AnUnwritableFileLeavesListAndFileAsTheyWere)
{
    BookmarkGallery g;
    const std::string text = "[BookMark]\r\nBook1=4|Pipes|Pipes\r\nBook2=2|螺栓|机械\\螺栓\r\n";
    g.Write(text);
    ASSERT_EQ(::chmod(g.native.c_str(), 0444), 0);
    BookmarkList list;
    list.Load(g.state.HistoryIniPath);
    g.state.CurrentDirID = 1;
    EXPECT_EQ(list.Add(g.state), BookmarkList::Change::WriteFailed);
    ASSERT_TRUE(list.Click(0));
    EXPECT_EQ(list.Delete(), BookmarkList::Change::WriteFailed);
    EXPECT_EQ(Rows(list), (std::vector<std::string> { "4|Pipes|Pipes", "2|螺栓|机械\\螺栓" }));
    EXPECT_EQ(test::ReadFile(g.native), text);
    ::chmod(g.native.c_str(), 0644);
}

TEST(BookmarksTest, ShowAndDoubleClickOpenTheBookmarkFresh)
{
    BookmarkGallery g;
    g.Write("[BookMark]\r\nBook1=4|Pipes|Pipes\r\nBook2=2|螺栓|机械\\螺栓\r\n");
    BookmarkList list;
    list.Load(g.state.HistoryIniPath);
    struct Case {
        bool doubleClick;
        int row;
        std::int32_t dirId;
        std::size_t visitsAdded;
    };
    for (const Case c : { Case { false, 1, 2, 0 }, Case { true, 0, 4, 1 } }) {
        g.state.CurrentDirID = 1;
        g.state.CurrentPage = 2;
        g.state.PendingHighlight = "螺栓";
        const std::size_t visits = g.state.History.Size();
        if (c.doubleClick) {
            ASSERT_TRUE(list.DoubleClick(g.state, c.row));
        } else {
            ASSERT_TRUE(list.Click(c.row));
            ASSERT_TRUE(list.Show(g.state));
        }
        EXPECT_EQ(g.state.CurrentDirID, c.dirId);
        EXPECT_EQ(g.state.CurrentPage, 0);
        EXPECT_TRUE(g.state.PendingHighlight.empty());
        EXPECT_EQ(g.state.History.Size(), visits + c.visitsAdded);
    }
    EXPECT_FALSE(list.DoubleClick(g.state, 2));
}

} // namespace
} // namespace orv
