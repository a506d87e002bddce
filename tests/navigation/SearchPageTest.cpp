#include "navigation/SearchPage.h"

#include "app/common/ProfileFile.h"
#include "navigation/FullTextFiles.h"
#include "navigation/TreeBuild.h"
#include "navigation/TreeTestSupport.h"
#include "platform/Hooks.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

using test::MakeDirectory;

// A gallery of four directories whose full text names bolts in 2 and 4.
struct SearchGallery {
    explicit SearchGallery(FullTextFormat format = FullTextFormat::Compressed,
        std::vector<std::pair<std::string, std::string>> settings = {})
    {
        GalleryManifest m;
        m.Name = "S";
        m.GalleryName = "搜索";
        m.Settings = std::move(settings);
        m.FullTextForm = GalleryManifest::FullText::None;
        m.Specialities = { { 1, "甲", "\\A", 1 } };
        m.Directories = { MakeDirectory(1, 0, 1, "机械"), MakeDirectory(2, 1, 1, "M10 Bolt"),
            MakeDirectory(3, 1, 1, "Nut"), MakeDirectory(4, 0, 1, "螺栓 Bolt") };
        gallery = test::BuildSqliteGallery(folder, m);
        std::string error;
        EXPECT_TRUE(WriteFullTextFiles(gallery.substr(0, gallery.size() - 4), "S",
            { { { 2 }, "hex bolt M10" }, { { 3 }, "nut only" }, { { 4 }, "螺栓 bolt" } }, format, error))
            << error;
        test::OpenTestGallery(state, folder, gallery);
        state.HistoryIniPath = state.AppPath + "\\S.HIS";
        BuildTree(state);
    }
    std::vector<std::uint32_t> Ids() const
    {
        std::vector<std::uint32_t> ids;
        for (const SearchRow& row : page.Rows())
            ids.push_back(row.DirID);
        return ids;
    }
    SearchRun Run(const std::string& text, SearchMode mode, SearchScope scope = SearchScope::All)
    {
        return page.StartOrStop(state, text, mode, scope);
    }
    test::TempFolder folder;
    std::string gallery;
    ReaderState state;
    SearchPage page;
};

TEST(SearchPageTest, GallerySettingsChooseTheModesOnShow)
{
    struct Case {
        std::vector<std::pair<std::string, std::string>> settings;
        bool title, fullText;
        SearchMode initial;
        bool preview;
    } cases[] = {
        { {}, true, true, SearchMode::FullText, true },
        { { { "hastextsearch", "0" } }, true, false, SearchMode::Title, true },
        { { { "HasTextSearch", "0" }, { "HasDwgKeyword", "0" } }, false, false, SearchMode::Title, true },
        { { { "HasTextSearch", "00" }, { "HasSrcPreview", "0" } }, true, true, SearchMode::FullText, false },
    };
    for (const Case& c : cases) {
        SearchGallery g(FullTextFormat::Compressed, c.settings);
        const SearchSettings s = ReadSearchSettings(g.state);
        EXPECT_EQ(s.TitleShown, c.title);
        EXPECT_EQ(s.FullTextShown, c.fullText);
        EXPECT_EQ(s.Initial, c.initial);
        EXPECT_EQ(s.HasSrcPreview, c.preview);
    }
}

TEST(SearchPageTest, ASearchTrimsItsTextKeepsItsRowsAndRemembersTheTextOnce)
{
    SearchGallery g;
    g.page.LoadForGallery(g.state);
    const SearchRun empty = g.Run("   ", SearchMode::Title);
    EXPECT_EQ(empty.What, SearchRun::Kind::Refused);
    EXPECT_EQ(empty.Message.Text, "请选择或输入要搜索的内容。");

    std::vector<std::string> started;
    SearchPageHooks hooks;
    hooks.Started = [&](const std::string& text) {
        started.push_back(text);
        EXPECT_TRUE(g.state.SearchRunning);
    };
    const SearchRun run = g.page.StartOrStop(g.state, "  bolt ", SearchMode::Title, SearchScope::All, hooks);
    EXPECT_EQ(started, std::vector<std::string> { "bolt" });
    EXPECT_FALSE(g.state.SearchRunning);
    EXPECT_EQ(g.Ids(), (std::vector<std::uint32_t> { 2, 4 }));
    EXPECT_EQ(g.page.Rows()[0].Title, "M10 BOLT");
    EXPECT_EQ(run.History, HistoryChange::Added);
    EXPECT_EQ(g.page.LastSearchText(), "bolt");
    EXPECT_EQ(ReadSearchHistory(g.state.HistoryIniPath), std::vector<std::string> { "bolt" });

    // Within the results, in full text: "M10" is only in directory 2's record.
    g.Run("m10", SearchMode::FullText, SearchScope::WithinResults);
    EXPECT_EQ(g.Ids(), std::vector<std::uint32_t> { 2 });
    EXPECT_EQ(g.Run("BOLT", SearchMode::FullText).History, HistoryChange::Unchanged);
    EXPECT_EQ(g.Ids(), (std::vector<std::uint32_t> { 2, 4 }));

    EXPECT_EQ(g.Run("washer", SearchMode::FullText).History, HistoryChange::Unchanged);
    EXPECT_TRUE(g.page.Rows().empty());
    EXPECT_EQ(g.page.LastSearchText(), "");
    EXPECT_EQ(ReadSearchHistory(g.state.HistoryIniPath), (std::vector<std::string> { "m10", "bolt" }));
}

TEST(SearchPageTest, ACallWhileTheSearchRunsStopsItWithTheRowsFoundBefore)
{
    SearchGallery g;
    g.page.LoadForGallery(g.state);
    // A long table, so that the loop pumps events; the pump stands in for the user's stop.
    DirNodeTable& table = g.state.Tree.Table;
    for (int i = 0; i < 3000; ++i) {
        table.DirID.push_back(table.DirID[1]);
        table.Item.push_back(table.Item[1]);
        table.Content.push_back(table.Content[1]);
    }
    SearchRun inner;
    int pumps = 0;
    const platform::PumpEventsHook previous = platform::SetPumpEventsHook([&] {
        if (++pumps == 1)
            inner = g.Run("ignored", SearchMode::Title);
    });
    const SearchRun outer = g.Run("o", SearchMode::Title);
    platform::SetPumpEventsHook(previous);
    EXPECT_EQ(inner.What, SearchRun::Kind::StopRequested);
    EXPECT_TRUE(outer.Interrupted);
    EXPECT_FALSE(g.state.SearchRunning);
    EXPECT_GT(g.page.Rows().size(), 0u);
    EXPECT_LT(g.page.Rows().size(), 3000u);
}

TEST(SearchPageTest, OpeningAResultJumpsWithTheHighlightAndTheSourceText)
{
    struct Case {
        FullTextFormat format;
        bool preview;
        std::string source;
    } cases[] = {
        { FullTextFormat::Compressed, true, "hex bolt M10\r\n" }, { FullTextFormat::Compressed, false, "" },
        { FullTextFormat::Plain, true, "" }, // the plain form names no source text
    };
    for (const Case& c : cases) {
        SearchGallery g(c.format);
        g.page.LoadForGallery(g.state);
        g.Run("hex", SearchMode::FullText);
        ASSERT_EQ(g.Ids(), std::vector<std::uint32_t> { 2 });
        const std::int32_t before = g.state.CurrentDirID;
        const std::size_t visits = g.state.History.Size();
        g.state.SearchRunning = true;
        EXPECT_EQ(g.page.Open(g.state, 0, "hex", c.preview).Message.Text, "请先停止搜索后再打开。");
        EXPECT_EQ(g.state.CurrentDirID, before);
        g.state.SearchRunning = false;
        EXPECT_FALSE(g.page.Open(g.state, 1, "hex", c.preview).Jumped);
        g.state.CurrentPage = 3;
        const SearchOpening opened = g.page.Open(g.state, 0, "hex", c.preview);
        EXPECT_TRUE(opened.Jumped);
        EXPECT_EQ(opened.SourceText, c.source);
        EXPECT_EQ(g.state.CurrentDirID, 2);
        EXPECT_EQ(g.state.CurrentPage, 0);
        EXPECT_EQ(g.state.PendingHighlight, "hex");
        EXPECT_EQ(g.state.History.Size(), visits + 1);
    }
}

} // namespace
} // namespace orv
