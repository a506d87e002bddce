#include "navigation/TreeBuild.h"

#include "navigation/TreeTestSupport.h"
#include "packages/Compression.h"
#include "platform/Encoding.h"
#include "platform/Hooks.h"
#include "platform/Paths.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

namespace orv {
namespace {

using test::MakeDirectory;
using Source = TreeBuildResult::Source;

const std::string kLongName = [] {
    std::string name;
    for (int i = 0; i < 150; ++i)
        name += "长";
    return name;
}();
const std::string kLongSource = std::string(300, 'x') + ".htm";

// Two specialities; a "|" in a name, a child listed before its parent, a directory without a
// name, a hidden one, a long name and a long content path.
GalleryManifest TwoSpecialities()
{
    GalleryManifest m;
    m.Name = "Parts";
    m.GalleryName = "零件";
    m.Specialities = { { 1, "机械", "\\Mech", 1 }, { 2, "电气", "\\Elec", 2 } };
    auto dir = [&m](ManifestDirectory d) -> ManifestDirectory& {
        return m.Directories.emplace_back(std::move(d));
    };
    ManifestDirectory& bolts = dir(MakeDirectory(1, 0, 1, "螺栓", 0));
    bolts.Path = "\\Bolts";
    bolts.Content = "b.htm";
    dir(MakeDirectory(2, 1, 1, "六角|头", 1)).SourceContent = "\\src\\hex.htm";
    ManifestDirectory& washer = dir(MakeDirectory(3, 4, 1, "垫圈", 2));
    washer.Path = "\\Wash";
    washer.Content = "w.htm";
    dir(MakeDirectory(4, 0, 1, "平垫", 0));
    dir(MakeDirectory(5, 0, 1, std::nullopt, 0));
    dir(MakeDirectory(6, 0, 1, "隐藏", 0, -1));
    dir(MakeDirectory(7, 0, 2, "开关", 3, 1)).SourceContent = "s.htm";
    dir(MakeDirectory(8, 7, 2, kLongName, 0, 2)).SourceContent = kLongSource;
    return m;
}

const std::string kTwoSpecialitiesCache = "-1|机械|0|0|-1|NULL\r\n"
                                          "1|螺栓|1|2|-1|\\Mech\\Bolts\\b.htm\r\n"
                                          "2|六角|头|3|4|0|\\Mech\\src\\hex.htm\r\n"
                                          "3|垫圈|5|6|-1|\\Mech\\Wash\\w.htm\r\n"
                                          "4|平垫|1|2|-1|NULL\r\n"
                                          "-1|电气|0|0|-1|NULL\r\n"
                                          "7|开关|7|8|-1|\\Elec\\s.htm\r\n"
                                          "8|"
    + kLongName + "|1|2|4|\\Elec\\" + kLongSource + "\r\n";

const std::string kTwoSpecialitiesTree = "0 0/0 + 机械\n"
                                         " 1 1/2 + 螺栓\n"
                                         "  2 3/4 - 六角|头\n"
                                         " 3 5/6 - 垫圈\n"
                                         " 4 1/2 - 平垫\n"
                                         "0 0/0 + 电气\n"
                                         " 7 7/8 + 开关\n"
                                         "  8 1/2 - "
    + kLongName
    + "\n"
      "[1 螺栓 \\Mech\\Bolts\\b.htm]\n"
      "[2 六角|头 \\Mech\\src\\hex.htm]\n"
      "[3 垫圈 \\Mech\\Wash\\w.htm]\n"
      "[4 平垫 NULL]\n"
      "[7 开关 \\Elec\\s.htm]\n[8 "
    + kLongName + " \\Elec\\" + kLongSource + "]\n";

struct TreeGallery {
    // Builds the gallery (with rows the builder refuses added by sql) and opens it.
    void Open(const GalleryManifest& manifest, const std::string& sql = std::string(),
        const std::optional<std::string>& autoExpand = std::nullopt)
    {
        gallery = test::BuildSqliteGallery(folder, manifest);
        ASSERT_FALSE(gallery.empty());
        if (!sql.empty())
            test::ExecGallerySql(gallery, sql);
        test::OpenTestGallery(state, folder, gallery, autoExpand);
    }
    std::string CacheNative() const { return platform::NativePath(state.TreeCachePath); }

    test::TempFolder folder;
    std::string gallery;
    ReaderState state;
};

TEST(TreeBuildTest, DatabaseBuildWritesTheCacheByteForByte)
{
    TreeGallery g;
    g.Open(TwoSpecialities(),
        "INSERT INTO DrawingDir (DirID, ParDirID, SpecID, DirName, DirVisible) VALUES "
        "(0, 0, 1, '零', 9), (-3, 0, 1, '负', 10)");
    const TreeBuildResult result = BuildTree(g.state);
    EXPECT_EQ(result.From, Source::Database);
    EXPECT_TRUE(result.CacheWritten);
    EXPECT_EQ(result.Nodes, 8);
    EXPECT_EQ(test::TreeDump(g.state.Tree), kTwoSpecialitiesTree);

    const std::string bytes = test::ReadFile(g.folder.NativeAt("lib/PARTS.Lst"));
    std::string text, expected;
    ASSERT_EQ(InflateBytes(bytes, text, 1 << 20), 0);
    EXPECT_EQ(platform::Gb18030ToUtf8(text), kTwoSpecialitiesCache);
    EXPECT_EQ(text, platform::Utf8ToGb18030(kTwoSpecialitiesCache)) << "GB18030 on disk";
    ASSERT_EQ(DeflateBytes(text, expected), 0);
    EXPECT_EQ(bytes, expected) << "one zlib stream at level 6";
}

TEST(TreeBuildTest, CacheGivesTheTreeTheDatabaseGave)
{
    TreeGallery g;
    g.Open(TwoSpecialities());
    const TreeBuildResult fromDatabase = BuildTree(g.state);
    const std::string databaseTree = test::TreeDump(g.state.Tree);
    const TreeBuildResult fromCache = BuildTree(g.state);
    EXPECT_EQ(fromCache.From, Source::Cache);
    EXPECT_FALSE(fromCache.CacheWritten);
    EXPECT_EQ(test::TreeDump(g.state.Tree), databaseTree);
    EXPECT_EQ(fromCache.Nodes, fromDatabase.Nodes);
    // The database counts directories with ParDirID 0, the cache nodes without a parent node.
    EXPECT_EQ(fromDatabase.TopLevel, 5);
    EXPECT_EQ(fromCache.TopLevel, 2);
}

TEST(TreeBuildTest, OneSpecialityHasNoSpecialityNodeOrRecord)
{
    TreeGallery g;
    GalleryManifest m;
    m.Name = "One";
    m.GalleryName = "一";
    m.Specialities = { { 1, "唯一", "\\S", 1 } };
    m.Directories = { MakeDirectory(1, 0, 1, "甲"), MakeDirectory(2, 1, 1, "乙") };
    g.Open(m,
        "INSERT INTO DrawingDir (DirID, ParDirID, SpecID, DirName, DirType, DirVisible) "
        "VALUES (3, 99, 1, '孤', 0, 3)");
    const TreeBuildResult fromDatabase = BuildTree(g.state);
    const std::string tree = "1 1/2 + 甲\n"
                             " 2 1/2 - 乙\n"
                             "3 1/2 - 孤\n"
                             "[1 甲 NULL]\n[2 乙 NULL]\n[3 孤 NULL]\n";
    EXPECT_EQ(test::TreeDump(g.state.Tree), tree);
    std::string text;
    ASSERT_EQ(InflateBytes(test::ReadFile(g.CacheNative()), text, 1 << 20), 0);
    EXPECT_EQ(text, "1|\xbc\xd7|1|2|-1|NULL\r\n2|\xd2\xd2|1|2|0|NULL\r\n3|\xb9\xc2|1|2|-1|NULL\r\n");
    EXPECT_EQ(fromDatabase.TopLevel, 1);
    const TreeBuildResult fromCache = BuildTree(g.state);
    EXPECT_EQ(fromCache.From, Source::Cache);
    EXPECT_EQ(test::TreeDump(g.state.Tree), tree);
    EXPECT_EQ(fromCache.TopLevel, 2);
}

TEST(TreeBuildTest, EmptySpecialityNameIsWrittenButSkippedWhenRead)
{
    TreeGallery g;
    GalleryManifest m;
    m.Name = "Blank";
    m.GalleryName = "空";
    m.Specialities = { { 1, "", "\\A", 1 }, { 2, "乙", "\\B", 2 } };
    m.Directories = { MakeDirectory(1, 0, 1, "甲"), MakeDirectory(2, 0, 2, "丙") };
    g.Open(m);
    BuildTree(g.state);
    std::string text;
    ASSERT_EQ(InflateBytes(test::ReadFile(g.CacheNative()), text, 1 << 20), 0);
    EXPECT_EQ(text.rfind("-1||0|0|-1|NULL\r\n", 0), 0u);
    EXPECT_EQ(BuildTree(g.state).From, Source::Cache);
    EXPECT_EQ(test::TreeDump(g.state.Tree),
        "1 1/2 - 甲\n"
        "0 0/0 + 乙\n"
        " 2 1/2 - 丙\n"
        "[1 甲 NULL]\n[2 丙 NULL]\n");
}

// A cache that is older than the database or does not inflate to its end is not shown: the
// tree comes from the database again and the cache is written anew.
TEST(TreeBuildTest, StaleAndDamagedCachesAreRebuiltFromTheDatabase)
{
    struct Case {
        const char* name;
        std::function<void(TreeGallery&)> spoil;
    };
    const Case cases[] = {
        { "older than the database",
            [](TreeGallery& t) {
                t.state.Database.CloseConnection();
                test::ExecGallerySql(t.gallery, "UPDATE DrawingDir SET DirName = '新名' WHERE DirID = 4");
                std::filesystem::last_write_time(t.CacheNative(),
                    std::filesystem::last_write_time(platform::NativePath(t.gallery))
                        - std::chrono::seconds(10));
            } },
        { "cut short",
            [](TreeGallery& t) {
                const std::string bytes = test::ReadFile(t.CacheNative());
                test::WriteFile(t.CacheNative(), bytes.substr(0, bytes.size() / 2));
            } },
        { "trailer damaged",
            [](TreeGallery& t) {
                std::string bytes = test::ReadFile(t.CacheNative());
                bytes.back() = static_cast<char>(bytes.back() ^ 0x55);
                test::WriteFile(t.CacheNative(), bytes);
            } },
        { "not zlib", [](TreeGallery& t) { test::WriteFile(t.CacheNative(), "1|甲|1|2|-1|NULL\r\n"); } },
        { "empty", [](TreeGallery& t) { test::WriteFile(t.CacheNative(), ""); } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TreeGallery t;
        t.Open(TwoSpecialities());
        ASSERT_TRUE(BuildTree(t.state).CacheWritten);
        c.spoil(t);
        const TreeBuildResult result = BuildTree(t.state);
        EXPECT_EQ(result.From, Source::Database);
        EXPECT_TRUE(result.CacheWritten);
        std::string expected = kTwoSpecialitiesTree;
        if (std::string(c.name) == "older than the database")
            for (std::size_t at = expected.find("平垫"); at != std::string::npos; at = expected.find("平垫"))
                expected.replace(at, std::string("平垫").size(), "新名");
        EXPECT_EQ(test::TreeDump(t.state.Tree), expected);
        EXPECT_EQ(BuildTree(t.state).From, Source::Cache);
        EXPECT_EQ(test::TreeDump(t.state.Tree), expected);
    }
}

// Without a cache that reads back the same the tree still shows, from the database every time.
TEST(TreeBuildTest, CacheThatCannotBeWrittenIsNoError)
{
    struct Case {
        const char* name;
        std::function<void(TreeGallery&)> setUp;
    };
    const Case cases[] = {
        { "cache path is a folder",
            [](TreeGallery& t) { std::filesystem::create_directory(t.CacheNative()); } },
        { "cache folder missing",
            [](TreeGallery& t) { t.state.TreeCachePath = t.folder.ProgramAt("gone\\PARTS.Lst"); } },
        { "a name with a line end",
            [](TreeGallery& t) {
                t.state.Database.CloseConnection();
                test::ExecGallerySql(t.gallery,
                    "UPDATE DrawingDir SET DirName = '甲' || char(13, 10) || '乙' "
                    "WHERE DirID = 4");
                ASSERT_EQ(t.state.Database.ConnectDatabase(t.gallery, kGalleryPassword), 0);
            } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TreeGallery t;
        t.Open(TwoSpecialities());
        c.setUp(t);
        for (int build = 0; build < 2; ++build) {
            const TreeBuildResult result = BuildTree(t.state);
            EXPECT_EQ(result.From, Source::Database);
            EXPECT_FALSE(result.CacheWritten);
            EXPECT_EQ(result.Nodes, 8);
        }
        EXPECT_FALSE(platform::FileExists(t.state.TreeCachePath));
    }
}

// Which nodes the build leaves open, from the database and again from the cache.
TEST(TreeBuildTest, AutoExpandOpensBySizeAndSetting)
{
    enum class Open { SpecialitiesOnly, TopLevel, All };
    struct Case {
        std::optional<std::string> setting;
        int directories, topLevel; // 0 directories: the two-speciality gallery
        Open expected;
    };
    const Case cases[] = {
        { "0", 0, 0, Open::SpecialitiesOnly },
        { std::nullopt, 150, 3, Open::All },
        { "1", 201, 6, Open::SpecialitiesOnly },
        { std::nullopt, 201, 5, Open::TopLevel },
        { "2", 150, 3, Open::SpecialitiesOnly },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.setting.value_or("missing") + ", " + std::to_string(c.directories) + " directories");
        GalleryManifest m = TwoSpecialities();
        if (c.directories > 0) {
            m.Specialities.resize(1);
            m.Directories.clear();
            // Chains below each top-level directory, so "all" and "one level" differ.
            for (int id = 1; id <= c.directories; ++id)
                m.Directories.push_back(MakeDirectory(id, id <= c.topLevel ? 0 : id - c.topLevel, 1, "目录"));
        }
        TreeGallery t;
        t.Open(m, std::string(), c.setting);
        for (int build = 0; build < 2; ++build) {
            BuildTree(t.state);
            const ContentsTree& tree = t.state.Tree;
            for (std::size_t i = 0; i < tree.Nodes.size(); ++i) {
                const TreeNode& node = tree.Nodes[i];
                bool open = node.DirID == 0 || (c.expected == Open::TopLevel && node.Parent < 0)
                    || c.expected == Open::All;
                ASSERT_EQ(node.Expanded, open && !node.Children.empty())
                    << "node " << node.DirID << " build " << build;
            }
        }
    }
}

// The current directory's last node is selected (its ancestors open to show it) and becomes
// the caption; without one the first top-level node is.
TEST(TreeBuildTest, BuildSelectsTheRememberedNode)
{
    struct Case {
        std::int32_t current;
        std::int32_t selectedDirId;
        const char* selectedParentText; // "" at the top
        std::string caption;
    };
    const Case cases[] = {
        { 8, 8, "开关", "开关\\" + kLongName },
        { 4, 4, "电气", "平垫" }, // the second node of DirID 4 (see below)
        { 0, 0, "", "" },
        { 999, 0, "", "" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.current);
        TreeGallery t;
        t.Open(TwoSpecialities(),
            "INSERT INTO DrawingDir (DirID, ParDirID, SpecID, DirName, DirType, DirVisible) "
            "VALUES (4, 0, 2, '平垫', 0, 9)",
            "0");
        t.state.CurrentDirID = c.current;
        const TreeBuildResult result = BuildTree(t.state);
        const ContentsTree& tree = t.state.Tree;
        ASSERT_TRUE(tree.IsNode(tree.Selected));
        const TreeNode& selected = tree.Nodes[static_cast<std::size_t>(tree.Selected)];
        EXPECT_EQ(selected.DirID, c.selectedDirId);
        EXPECT_EQ(selected.Parent < 0 ? "" : tree.Nodes[static_cast<std::size_t>(selected.Parent)].Text,
            c.selectedParentText);
        for (int up = selected.Parent; up >= 0; up = tree.Nodes[static_cast<std::size_t>(up)].Parent)
            EXPECT_TRUE(tree.Nodes[static_cast<std::size_t>(up)].Expanded);
        EXPECT_EQ(t.state.CurrentDirID, c.selectedDirId);
        EXPECT_EQ(result.Caption, c.caption);
        EXPECT_FALSE(result.ShowHomePage);
    }
}

TEST(TreeBuildTest, EmptyTreeAsksForTheHomePage)
{
    TreeGallery g;
    GalleryManifest m;
    m.Name = "Bare";
    m.GalleryName = "空";
    g.Open(m);
    TreeBuildResult result = BuildTree(g.state);
    EXPECT_EQ(result.From, Source::Database);
    EXPECT_TRUE(result.ShowHomePage);
    EXPECT_FALSE(result.Caption);
    EXPECT_FALSE(platform::FileExists(g.state.TreeCachePath)) << "no speciality: no cache";

    g.state.DatabaseOpen = false;
    result = BuildTree(g.state);
    EXPECT_EQ(result.From, Source::Empty);
    EXPECT_TRUE(result.ShowHomePage);
    EXPECT_TRUE(g.state.Tree.Nodes.empty());
}

// With DriverType 1 a failed open of the database is tried once more.
TEST(TreeBuildTest, DriverTypeOneRetriesTheDatabaseOpen)
{
    for (int driverType : { 0, 1 }) {
        SCOPED_TRACE(driverType);
        TreeGallery t;
        t.Open(TwoSpecialities());
        t.state.DriverType = driverType;
        const std::string native = platform::NativePath(t.gallery);
        std::filesystem::rename(native, native + ".away");
        // The first failure's message puts the database back, so only a second try finds it.
        auto previous = platform::SetShowMessageHook(
            [&](const std::string&, const std::string&, platform::MessageKind) {
                std::filesystem::rename(native + ".away", native);
                return 1;
            });
        const TreeBuildResult result = BuildTree(t.state);
        platform::SetShowMessageHook(previous);
        EXPECT_EQ(t.state.DatabaseOpen, driverType == 1);
        EXPECT_EQ(result.Nodes, driverType == 1 ? 8 : 0);
    }
}

// Events dispatched during the build may start another build; the first one then leaves the
// tree to it and writes nothing.
TEST(TreeBuildTest, BuildStartedWhileEventsArePumpedWins)
{
    TreeGallery g;
    g.Open(TwoSpecialities());
    int nested = 0;
    TreeBuildResult inner;
    auto previous = platform::SetPumpEventsHook([&] {
        if (nested++ == 0)
            inner = BuildTree(g.state);
    });
    const TreeBuildResult outer = BuildTree(g.state);
    platform::SetPumpEventsHook(previous);
    EXPECT_TRUE(outer.Interrupted);
    EXPECT_FALSE(inner.Interrupted);
    EXPECT_TRUE(inner.CacheWritten);
    EXPECT_EQ(test::TreeDump(g.state.Tree), kTwoSpecialitiesTree);
}

TEST(TreeBuildTest, ProgressCountsEachSpecialitysRowsThenEnds)
{
    TreeGallery g;
    g.Open(TwoSpecialities());
    std::vector<std::pair<int, int>> calls;
    BuildTree(g.state, [&calls](int range, int position) { calls.emplace_back(range, position); });
    // 机械 lists five visible rows (one without a name), 电气 two.
    std::vector<std::pair<int, int>> expected { { 6, 0 }, { 6, 1 }, { 6, 2 }, { 6, 3 }, { 6, 4 }, { 6, 5 },
        { 3, 0 }, { 3, 1 }, { 3, 2 }, { 0, 0 } };
    EXPECT_EQ(calls, expected);
    calls.clear();
    BuildTree(g.state, [&calls](int range, int position) { calls.emplace_back(range, position); });
    EXPECT_TRUE(calls.empty()) << "the cache is read without a progress bar";
}

} // namespace
} // namespace orv
