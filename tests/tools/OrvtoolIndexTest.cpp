#include "platform/Encoding.h"
#include "platform/Paths.h"
#include "support/GalleryFixture.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace orv {
namespace {

using test::MakeDirectory;
using test::RunTool;

struct IndexToolGallery {
    explicit IndexToolGallery(const std::string& indexRows)
    {
        GalleryManifest m;
        m.Name = "Idx";
        m.GalleryName = "索引";
        m.Specialities = { { 1, "机械", "\\M", 1 } };
        m.Directories = { MakeDirectory(1, 0, 1, "A"), MakeDirectory(2, 1, 1, "Bolt"),
            MakeDirectory(3, 0, 1, "Bolt"), MakeDirectory(4, 0, 1, "Tab\there") };
        const std::string program = test::BuildSqliteGallery(folder, m);
        gallery = platform::NativePath(program);
        if (!indexRows.empty())
            test::ExecGallerySql(program,
                "INSERT INTO DrawingDirIndex (IndexName, IndexDirID, IndexOrder) VALUES " + indexRows);
        test::WriteFile(folder.NativeAt("app/ORVBook.ini"), "[System]\r\nAutoExpand=0\r\n");
        his = folder.NativeAt("app/Idx.HIS");
    }
    test::TempFolder folder;
    std::string gallery, his;
};

TEST(OrvtoolIndex, IndexPrintsEntriesAmbiguityAndTheTypedTextsPosition)
{
    IndexToolGallery g("('Bolt', '2', 1), ('bolt', '3', 2), ('Nut', 'word', 3), ('Tab\there', '4.9', 4)");
    const std::string entries
        = "source\tindex\nentry\t0\t2\t1\tBolt\nentry\t1\t3\t1\tbolt\nentry\t2\t4\t0\tTab\\there\n";
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        { { "index", g.gallery }, entries },
        { { "index", g.gallery, "--find", "bo" }, entries + "find\t1\n" },
        { { "index", g.gallery, "--find", "Nut" }, entries + "find\t-1\n" },
    };
    for (const auto& [args, out] : cases) {
        auto r = RunTool(args);
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.out, out) << args.back();
    }
    IndexToolGallery tree("");
    auto r = RunTool({ "index", tree.gallery, "--app-dir", tree.folder.NativeAt("app") });
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out,
        "source\ttree\nentry\t0\t1\t0\tA\nentry\t1\t2\t1\tBolt\nentry\t2\t3\t1\tBolt\n"
        "entry\t3\t4\t0\tTab\\there\n");
}

TEST(OrvtoolIndex, TopicsPrintEveryDirectoryNamedTheTerm)
{
    IndexToolGallery g("");
    const std::pair<std::string, std::string> cases[] = {
        { "Bolt", "topic\t2\tBolt\tA\\\\Bolt\ntopic\t3\tBolt\tBolt\n" },
        { "Tab\there", "topic\t4\tTab\\there\tTab\\there\n" },
        { "it's", "" },
    };
    for (const auto& [term, out] : cases) {
        auto r = RunTool({ "topics", g.gallery, term });
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.out, out) << term;
    }
}

TEST(OrvtoolIndex, BookmarksAddDeleteAndListAsThePageDoes)
{
    IndexToolGallery g("");
    test::WriteFile(
        g.his, platform::Utf8ToGb18030("[Query]\r\nQuery1=螺栓\r\n[BookMark]\r\nBook1=3|Bolt|Bolt\r\n"));
    struct Step {
        std::vector<std::string> args;
        std::string out;
    };
    const Step steps[] = {
        { { "add", g.gallery, "2" },
            "result\tadded\nbookmark\t0\t3\tBolt\tBolt\nbookmark\t1\t2\tBolt\tA\\\\Bolt\n" },
        { { "add", g.gallery, "2" },
            "result\tunchanged\nbookmark\t0\t3\tBolt\tBolt\nbookmark\t1\t2\tBolt\tA\\\\Bolt\n" },
        { { "add", g.gallery, "0" },
            "result\tunchanged\nbookmark\t0\t3\tBolt\tBolt\nbookmark\t1\t2\tBolt\tA\\\\Bolt\n" },
        { { "delete", "5" }, "result\tnone\nbookmark\t0\t3\tBolt\tBolt\nbookmark\t1\t2\tBolt\tA\\\\Bolt\n" },
        { { "delete", "0" }, "result\tdeleted\nbookmark\t0\t2\tBolt\tA\\\\Bolt\n" },
        { { "list" }, "bookmark\t0\t2\tBolt\tA\\\\Bolt\n" },
    };
    for (const Step& step : steps) {
        std::vector<std::string> args { "bookmarks", g.his };
        args.insert(args.end(), step.args.begin(), step.args.end());
        auto r = RunTool(args);
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.out, step.out) << step.args.front() << " " << step.args.back();
    }
    EXPECT_EQ(test::ReadFile(g.his),
        platform::Utf8ToGb18030(
            "[Query]\r\nQuery1=螺栓\r\n[BookMark]\r\nBook1=2|Bolt|A\\Bolt\r\nBook2=\r\nBook3=\r\n"));
}

TEST(OrvtoolIndex, AnUnwritableHistoryFileFailsTheChangeAndStaysAsItWas)
{
    IndexToolGallery g("");
    const std::string text = "[BookMark]\r\nBook1=3|Bolt|Bolt\r\n";
    test::WriteFile(g.his, text);
    ASSERT_EQ(::chmod(g.his.c_str(), 0444), 0);
    for (const std::vector<std::string>& args :
        { std::vector<std::string> { "bookmarks", g.his, "add", g.gallery, "2" },
            std::vector<std::string> { "bookmarks", g.his, "delete", "0" } }) {
        auto r = RunTool(args);
        EXPECT_EQ(r.status, 1) << args[2];
        EXPECT_FALSE(r.err.empty());
        EXPECT_EQ(test::ReadFile(g.his), text);
    }
    ::chmod(g.his.c_str(), 0644);
}

} // namespace
} // namespace orv
