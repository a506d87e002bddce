#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace orv {
namespace {

using test::RunTool;

std::uint32_t BigEndian32(const std::string& bytes, std::size_t at)
{
    auto b = [&](std::size_t i) {
        return static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + i]));
    };
    return (b(0) << 24) | (b(1) << 16) | (b(2) << 8) | b(3);
}

class OrvtoolSlide : public ::testing::Test {
protected:
    std::string WriteSlide(const std::string& name, const std::string& description, bool isSigned = false)
    {
        test::WriteFile(m_folder.NativeAt(name + ".txt"), description);
        std::vector<std::string> args { "slide", "write", m_folder.NativeAt(name + ".txt"),
            m_folder.NativeAt(name) };
        if (isSigned)
            args.push_back("--signed");
        auto result = RunTool(args);
        EXPECT_EQ(result.status, 0) << result.err;
        return m_folder.NativeAt(name);
    }

    test::TempFolder m_folder;
};

TEST_F(OrvtoolSlide, WriteThenDumpGivesTheDescriptionBack)
{
    const std::string description = "line\t1\t0\t0\t100\t50\n"
                                    "line\t1\t100\t50\t90\t60\n"
                                    "line\t3\t10\t10\t5000\t2000\n"
                                    "polygon\t5\t3\t0\t0\t10\t0\t10\t10\n"
                                    "polygon\t5\t0\n";
    for (bool isSigned : { false, true }) {
        std::string slide = WriteSlide(isSigned ? "s.sld" : "u.sld", description, isSigned);
        auto dump = RunTool({ "slide", "dump", slide });
        EXPECT_EQ(dump.status, 0) << dump.err;
        EXPECT_EQ(dump.out, "result\t1\nbbox\t0\t0\t5000\t2000\n" + description);
    }
}

TEST_F(OrvtoolSlide, DumpOutputIsAValidDescription)
{
    std::string slide = WriteSlide("a.sld", "# a comment\n\ncolor 2\nline 2 0 0 10 10\nline 4 5 5 6 6\n");
    auto dump = RunTool({ "slide", "dump", slide });
    test::WriteFile(m_folder.NativeAt("again.txt"), dump.out);
    ASSERT_EQ(
        RunTool({ "slide", "write", m_folder.NativeAt("again.txt"), m_folder.NativeAt("b.sld") }).status, 0);
    EXPECT_EQ(RunTool({ "slide", "dump", m_folder.NativeAt("b.sld") }).out, dump.out);
}

TEST_F(OrvtoolSlide, WriteRefusesBadDescriptions)
{
    test::WriteFile(m_folder.NativeAt("bad.txt"), "line 1 0 0 10\n");
    auto result = RunTool({ "slide", "write", m_folder.NativeAt("bad.txt"), m_folder.NativeAt("bad.sld") });
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("bad.txt:1:"), std::string::npos) << result.err;
    test::WriteFile(m_folder.NativeAt("far.txt"), "line 1 0 0 10 10\nline 1 0 0 40000 10\n");
    result = RunTool({ "slide", "write", m_folder.NativeAt("far.txt"), m_folder.NativeAt("far.sld") });
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("far.txt:2:"), std::string::npos) << result.err;
    EXPECT_FALSE(RunTool({ "slide", "dump", m_folder.NativeAt("far.sld") }).status == 0)
        << "nothing was written";
}

TEST_F(OrvtoolSlide, LibraryListAndMemberDump)
{
    std::string a = WriteSlide("a.sld", "line 1 0 0 10 10\n");
    std::string b = WriteSlide("b.sld", "line 2 0 0 20 20\n");
    std::string library = m_folder.NativeAt("BOLTS.slb");
    auto made = RunTool({ "slide", "library", library, "M12=" + a, "螺栓=" + b });
    ASSERT_EQ(made.status, 0) << made.err;
    auto list = RunTool({ "slide", "list", library });
    EXPECT_EQ(list.out, "M12\t140\n螺栓\t" + std::to_string(140 + 31 + 2 + 3 + 2) + "\n");
    auto dump = RunTool({ "slide", "dump", library, "m12" });
    EXPECT_EQ(dump.out, "result\t1\nbbox\t0\t0\t10\t10\nline\t1\t0\t0\t10\t10\n");
    auto missing = RunTool({ "slide", "dump", library, "M13" });
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.out, "result\t-1\n");
    EXPECT_EQ(RunTool({ "slide", "dump", m_folder.NativeAt("none.sld") }).out, "result\t0\n");
    EXPECT_EQ(RunTool({ "slide", "library", library, "M12=" + a, "m12=" + b }).status, 1);
    EXPECT_EQ(RunTool({ "slide", "list", a }).status, 1);
}

TEST_F(OrvtoolSlide, ColorPrintsRedGreenBlue)
{
    EXPECT_EQ(RunTool({ "slide", "color", "23" }).out, "204\t127\t102\n");
    EXPECT_EQ(RunTool({ "slide", "color", "300" }).out, "0\t0\t0\n");
    EXPECT_EQ(RunTool({ "slide", "color", "red" }).status, 1);
}

TEST_F(OrvtoolSlide, RenderWritesAPngOfTheAskedSize)
{
#ifndef ORV_HAVE_RENDER
    GTEST_SKIP() << "orvtool was built without the renderer";
#endif
    std::string slide = WriteSlide("a.sld", "line 1 0 0 10 10\n");
    std::string png = m_folder.NativeAt("a.png");
    auto result = RunTool({ "slide", "render", slide, "--out", png, "--size", "120x90", "--background",
        "FFFFFF", "--mono", "--invert", "--margin", "2", "--antialias" });
    ASSERT_EQ(result.status, 0) << result.err;
    std::string bytes = test::ReadFile(png);
    ASSERT_GT(bytes.size(), 24u);
    EXPECT_EQ(bytes.substr(1, 3), "PNG");
    EXPECT_EQ(BigEndian32(bytes, 16), 120u);
    EXPECT_EQ(BigEndian32(bytes, 20), 90u);
    EXPECT_EQ(RunTool({ "slide", "render", slide, "--out", png, "--size", "0x90" }).status, 1);
    EXPECT_EQ(
        RunTool({ "slide", "render", slide, "--out", png, "--size", "9x9", "--background", "red" }).status,
        1);
}

TEST_F(OrvtoolSlide, PictureWritesEachFormatByItsExtension)
{
    std::string slide = WriteSlide("a.sld", "line 7 0 0 100 50\npolygon 1 3 0 0 50 0 0 50\n");
    const std::vector<std::pair<std::string, std::string>> formats
        = { { "a.png", "\x89PNG" }, { "a.JPG", "\xFF\xD8\xFF" }, { "a.jpeg", "\xFF\xD8\xFF" },
              { "a.gif", "GIF89a" }, { "a.bmp", "BM" }, { "a.wmf", "\xD7\xCD\xC6\x9A" } };
    for (const auto& [name, signature] : formats) {
        auto result = RunTool({ "slide", "picture", slide, m_folder.NativeAt(name), "--size", "120x90",
            "--background", "FFFFFF", "--quality", "80", "--line-width", "2" });
        ASSERT_EQ(result.status, 0) << name << ": " << result.err;
        EXPECT_EQ(test::ReadFile(m_folder.NativeAt(name)).substr(0, signature.size()), signature) << name;
    }
    std::string png = test::ReadFile(m_folder.NativeAt("a.png"));
    EXPECT_EQ(BigEndian32(png, 16), 120u);
    EXPECT_EQ(BigEndian32(png, 20), 90u);
}

TEST_F(OrvtoolSlide, PictureOfALibraryMember)
{
    std::string a = WriteSlide("a.sld", "line 1 0 0 10 10\n");
    std::string library = m_folder.NativeAt("BOLTS.slb");
    ASSERT_EQ(RunTool({ "slide", "library", library, "M12=" + a }).status, 0);
    auto result = RunTool({ "slide", "picture", library, "m12", m_folder.NativeAt("m12.gif") });
    ASSERT_EQ(result.status, 0) << result.err;
    std::string gif = test::ReadFile(m_folder.NativeAt("m12.gif"));
    EXPECT_EQ(gif.substr(6, 4), std::string("\x90\x01\x2C\x01", 4)) << "400 x 300 by default";
    EXPECT_EQ(RunTool({ "slide", "picture", library, "M13", m_folder.NativeAt("m13.gif") }).status, 1);
}

TEST_F(OrvtoolSlide, PictureRefusesWhatItCannotWrite)
{
    std::string slide = WriteSlide("a.sld", "line 1 0 0 10 10\n");
    auto tif = RunTool({ "slide", "picture", slide, m_folder.NativeAt("a.tif") });
    EXPECT_EQ(tif.status, 1);
    EXPECT_NE(tif.err.find(".png"), std::string::npos) << tif.err;
    EXPECT_EQ(RunTool({ "slide", "picture", slide, m_folder.NativeAt("a.jpg"), "--quality", "0" }).status, 1);
    EXPECT_EQ(RunTool({ "slide", "picture", slide, m_folder.NativeAt("a.png"), "--size", "10" }).status, 1);
    EXPECT_EQ(
        RunTool({ "slide", "picture", slide, m_folder.NativeAt("a.png"), "--background", "white" }).status,
        1);
    EXPECT_EQ(
        RunTool({ "slide", "picture", m_folder.NativeAt("none.sld"), m_folder.NativeAt("b.png") }).status, 1);
    EXPECT_FALSE(std::filesystem::exists(m_folder.NativeAt("b.png")));
}

TEST_F(OrvtoolSlide, PictureResolveNamesWhatWouldBeLoaded)
{
    WriteSlide("g/Y.sld", "line 1 0 0 10 10\n");
    EXPECT_EQ(RunTool({ "picture", "resolve", m_folder.NativeAt("g/X(Y).sld") }).out,
        "slide\t" + m_folder.NativeAt("g/Y.sld") + "\n");
    EXPECT_EQ(RunTool({ "picture", "resolve", m_folder.NativeAt("g/BOLTS/M12.sld") }).out,
        "library\t" + m_folder.NativeAt("g/BOLTS/BOLTS.slb") + "\tM12\n");
    EXPECT_EQ(RunTool({ "picture", "resolve", m_folder.NativeAt("g/a.jpg") }).out,
        "image\t" + m_folder.NativeAt("g/a.jpg") + "\t" + m_folder.NativeAt("g/a.bmp") + "\n");
}

TEST_F(OrvtoolSlide, PictureRenderTellsTheFormatFromTheContent)
{
#ifndef ORV_HAVE_RENDER
    GTEST_SKIP() << "orvtool was built without the renderer";
#endif
    std::string slide = WriteSlide("a.sld", "line 7 0 0 100 50\npolygon 1 3 0 0 50 0 0 50\n");
    for (const char* name : { "made.png", "made.wmf", "fallback.bmp" })
        ASSERT_EQ(
            RunTool({ "slide", "picture", slide, m_folder.NativeAt(name), "--size", "120x90" }).status, 0);
    std::filesystem::rename(m_folder.NativeAt("made.png"), m_folder.NativeAt("png-named.jpg"));
    test::WriteFile(m_folder.NativeAt("fallback.gif"), "not a picture");
    test::WriteFile(m_folder.NativeAt("broken.jpg"), "not a picture");
    struct Case {
        std::vector<std::string> args;
        std::string out; // the line's start
    };
    const std::vector<Case> cases = {
        { { m_folder.NativeAt("png-named.jpg") }, "picture\tpng\t120\t90\n" },
        { { m_folder.NativeAt("png-named.jpg"), "--size", "50x40" }, "picture\tpng\t50\t40\n" },
        { { m_folder.NativeAt("made.wmf") }, "picture\twmf\t" },
        { { m_folder.NativeAt("FALLBACK.GIF") }, "picture\tfallback-bmp\t120\t90\n" },
        { { slide }, "picture\tslide\t400\t300\n" },
    };
    const std::string png = m_folder.NativeAt("out.png");
    for (const Case& c : cases) {
        std::filesystem::remove(png);
        std::vector<std::string> args { "picture", "render", "--out", png };
        args.insert(args.end(), c.args.begin(), c.args.end());
        auto result = RunTool(args);
        ASSERT_EQ(result.status, 0) << c.args[0] << result.err;
        EXPECT_EQ(result.out.substr(0, c.out.size()), c.out) << c.args[0];
        EXPECT_EQ(test::ReadFile(png).substr(1, 3), "PNG") << c.args[0];
    }
    std::filesystem::remove(png);
    auto broken = RunTool({ "picture", "render", m_folder.NativeAt("broken.jpg"), "--out", png });
    EXPECT_EQ(broken.status, 1);
    EXPECT_NE(broken.err.find("orvtool: "), std::string::npos) << broken.err;
    EXPECT_TRUE(broken.out.empty());
    EXPECT_FALSE(std::filesystem::exists(png));
}

} // namespace
} // namespace orv
