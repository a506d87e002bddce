#include "navigation/SearchHistory.h"

#include "app/common/ProfileFile.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace orv {
namespace {

std::vector<std::string> Numbered(int count)
{
    std::vector<std::string> list;
    for (int i = 0; i < count; ++i)
        list.push_back("t" + std::to_string(i));
    return list;
}

TEST(SearchHistoryTest, NewTextGoesFirstOrReplacesTheNewestOfFifty)
{
    struct Case {
        std::vector<std::string> history, keywords;
        std::string text;
        HistoryChange change;
        std::vector<std::string> after;
    };
    std::vector<std::string> fifty = Numbered(50), replaced = fifty;
    replaced[0] = "new";
    std::vector<std::string> added = Numbered(49);
    added.insert(added.begin(), "new");
    const Case cases[] = {
        { {}, {}, "bolt", HistoryChange::Added, { "bolt" } },
        { Numbered(49), {}, "new", HistoryChange::Added, added },
        { fifty, {}, "new", HistoryChange::Replaced, replaced },
        { { "Bolt" }, {}, "BOLT", HistoryChange::Unchanged, { "Bolt" } },
        { { "nut" }, { "M10 Bolt" }, "m10 bolt", HistoryChange::Unchanged, { "nut" } },
        { { "ｂｏｌｔ" }, {}, "bolt", HistoryChange::Added, { "bolt", "ｂｏｌｔ" } },
    };
    for (const Case& c : cases) {
        std::vector<std::string> history = c.history;
        EXPECT_EQ(AddSearchText(history, c.keywords, c.text), c.change) << c.text;
        EXPECT_EQ(history, c.after) << c.text;
    }
}

TEST(SearchHistoryTest, WriteKeepsTheOtherSectionUnknownKeysAndTheFileEncoding)
{
    test::TempFolder folder;
    const std::pair<std::string, std::string> files[] = {
        // GB18030: 螺栓 as two GB2312 characters.
        { "gb.HIS",
            "[Query]\r\nQuery1=\xC2\xDD\xCB\xA8\r\nQuery7=old\r\nOther=x\r\n[BookMark]\r\nBookMark1=5|a|"
            "b\r\n" },
        { "utf8.HIS",
            "\xEF\xBB\xBF[Query]\r\nQuery1=螺栓\r\nQuery7=old\r\nOther=x\r\n[BookMark]\r\nBookMark1=5|a|"
            "b\r\n" },
    };
    for (const auto& [name, bytes] : files) {
        test::WriteFile(folder.NativeAt(name), bytes);
        const std::string path = folder.ProgramAt(name);
        std::vector<std::string> history = ReadSearchHistory(path);
        ASSERT_EQ(history, std::vector<std::string> { "螺栓" }) << name;
        ASSERT_EQ(AddSearchText(history, {}, "垫圈"), HistoryChange::Added);
        ASSERT_TRUE(WriteSearchHistory(path, history));
        EXPECT_EQ(ReadSearchHistory(path), (std::vector<std::string> { "垫圈", "螺栓" })) << name;
        const CProfileFile file(path);
        std::string value;
        EXPECT_EQ(file.ReadString("Query", "Query7", value), 0);
        EXPECT_EQ(value, "old");
        EXPECT_EQ(file.ReadString("Query", "Other", value), 0);
        EXPECT_EQ(file.ReadString("BookMark", "BookMark1", value), 0);
        EXPECT_EQ(value, "5|a|b");
        const std::string written = test::ReadFile(folder.NativeAt(name));
        const bool utf8 = name == "utf8.HIS";
        EXPECT_EQ(written.find("螺栓") != std::string::npos, utf8) << name;
        EXPECT_EQ(written.find("\xC2\xDD\xCB\xA8") != std::string::npos, !utf8) << name;
    }
}

TEST(SearchHistoryTest, ReadOnlyFileFailsAndStaysAsItWas)
{
    // A read-only history file is refused to root as well.
    test::TempFolder folder;
    const std::string bytes = "[Query]\r\nQuery1=nut\r\n";
    test::WriteFile(folder.NativeAt("G.HIS"), bytes);
    ASSERT_EQ(::chmod(folder.NativeAt("G.HIS").c_str(), 0444), 0);
    EXPECT_FALSE(WriteSearchHistory(folder.ProgramAt("G.HIS"), { "bolt", "nut" }));
    ::chmod(folder.NativeAt("G.HIS").c_str(), 0644);
    EXPECT_EQ(test::ReadFile(folder.NativeAt("G.HIS")), bytes);
}

} // namespace
} // namespace orv
