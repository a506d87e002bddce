// The demo application folder outside its galleries: the files the reader reads at start-up
// and from its toolbar, read back the reader's way, and the demo tool program they start.

#include "DemoSupport.h"
#include "app/common/ProfileFile.h"
#include "app/common/TextHelpers.h"
#include "platform/Encoding.h"
#include "platform/Files.h"
#include "platform/Paths.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdint>
#include <filesystem>
#include <sstream>

namespace orv::test {
namespace {

namespace fs = std::filesystem;

class DemoFolderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        demo = DemoFolder::Get();
        if (!demo)
            GTEST_SKIP() << "no demo folder (orvdemo failed, reported once)";
    }
    const DemoFolder* demo = nullptr;
};

std::uint32_t Le32(const std::string& bytes, std::size_t at)
{
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = (v << 8) | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
    return v;
}

TEST_F(DemoFolderTest, EveryFileIsThereInItsFormat)
{
    struct Expected {
        const char* path;
        std::string magic;
    };
    const std::string elf("\x7f"
                          "ELF",
        4);
    const Expected files[] = {
        { "ORVBook.ini", "[" },
        { "ORVBook.odr", "" },
        { "orvBookAddin.lst", "DemoTools.add" },
        { "DemoTools.add", "[Add]" },
        { "DemoMenu.add", "[Add]" },
        { "ORVMTools\\DemoTools.mnu", "[" },
        { "HomePage\\Index.htm", "<html>" },
        { "HomePage\\mech.png", "\x89PNG" },
        { "HomePage\\elec.png", "\x89PNG" },
        { "Support\\StartUp.bmp", "BM" },
        { "Support\\logo.bmp", "BM" },
        { "Support\\TBBack.bmp", "BM" },
        { "Support\\DemoTool.ico", std::string("\0\0\1\0", 4) },
        { "Support\\DemoMenu.ico", std::string("\0\0\1\0", 4) },
        { "ORVMTools\\DemoTool.exe", elf },
        { "CadRelay.Exe", elf },
        { "CadRelay15.dll", elf },
        { "CadRelay16.dll", elf },
        { "CadRelay21.dll", elf },
        { "ORVMTools\\DemoAddOn.dll", elf },
        { "ORVMTools\\Support\\DemoDriver.exe", elf },
        { "ORVMTools\\SupportProE\\DemoDriver.exe", elf },
        { "ORVBookLib\\Mech.GAL", std::string("\0\1\0\0Standard Jet DB", 19) },
        { "ORVBookLib\\Elec.GAL", std::string("SQLite format 3\0", 16) },
        { "ORVBookLib\\Mech.idx", "" },
        { "ORVBookLib\\Elec.idx", "" },
    };
    for (const auto& file : files) {
        SCOPED_TRACE(file.path);
        ASSERT_TRUE(platform::FileExists(demo->At(file.path)));
        EXPECT_TRUE(FileStartsWith(demo->At(file.path), file.magic));
        if (file.magic == elf) {
            struct stat info { };
            ASSERT_EQ(stat(platform::NativePath(demo->At(file.path)).c_str(), &info), 0);
            EXPECT_TRUE(info.st_mode & S_IXUSR) << "not executable";
        }
    }
}

TEST_F(DemoFolderTest, SupportPicturesHaveTheSizesTheWindowLaysOut)
{
    struct Size {
        const char* path;
        int width, height; // 0: any
    };
    for (const Size& s : { Size { "Support\\logo.bmp", 200, 42 }, Size { "Support\\TBBack.bmp", 0, 42 },
             Size { "Support\\StartUp.bmp", 0, 0 } }) {
        SCOPED_TRACE(s.path);
        auto bytes = platform::ReadFileBytes(demo->At(s.path));
        ASSERT_TRUE(bytes && bytes->size() > 54);
        auto width = static_cast<int>(Le32(*bytes, 18)), height = static_cast<int>(Le32(*bytes, 22));
        EXPECT_GT(width, 0);
        EXPECT_NE(height, 0);
        if (s.width) {
            EXPECT_EQ(width, s.width);
        }
        if (s.height) {
            EXPECT_EQ(std::abs(height), s.height);
        }
    }
}

TEST_F(DemoFolderTest, SettingsOrderAndAddinsReadBackAsTheReaderReadsThem)
{
    CProfileFile ini(demo->At("ORVBook.ini"));
    std::string title;
    EXPECT_EQ(ini.ReadString("Gallery", "AppTitle", title), 0);
    EXPECT_NE(title.find("Orv机电工程师手册"), std::string::npos);
    int autoExpand = -1, currentGallery = -1;
    EXPECT_EQ(ini.ReadInt("System", "AutoExpand", autoExpand), 0);
    EXPECT_EQ(autoExpand, 1);
    EXPECT_EQ(ini.ReadInt("Gallery", "CurrectGallery", currentGallery), 0);
    EXPECT_EQ(currentGallery, 0);
    // GB18030 on disk, as the Windows edition writes it.
    auto raw = platform::ReadFileBytes(demo->At("ORVBook.ini"));
    ASSERT_TRUE(raw);
    EXPECT_NE(raw->find(platform::Utf8ToGb18030("机电工程师手册")), std::string::npos);

    std::vector<std::string> order;
    ReadLines(demo->At("ORVBook.odr"), order);
    EXPECT_EQ(order, (std::vector<std::string> { "机械零件图库", "电气符号图库" }));

    std::vector<std::string> addins;
    ReadLines(demo->At("orvBookAddin.lst"), addins);
    ASSERT_EQ(addins.size(), 2u);
    int withProgram = 0, withMenu = 0;
    for (const auto& addin : addins) {
        SCOPED_TRACE(addin);
        CProfileFile add(demo->At(addin));
        std::string cap, tip, icon, exe, menu;
        EXPECT_EQ(add.ReadString("Add", "Cap", cap), 0);
        EXPECT_EQ(add.ReadString("Add", "Tip", tip), 0);
        EXPECT_EQ(add.ReadString("Add", "ICN", icon), 0);
        EXPECT_TRUE(platform::FileExists(demo->At(icon))) << icon;
        if (add.ReadString("Add", "EXE", exe) == 0) {
            EXPECT_TRUE(platform::FileExists(demo->At(exe))) << exe;
            ++withProgram;
        } else {
            ASSERT_EQ(add.ReadString("Add", "MNU", menu), 0);
            EXPECT_TRUE(platform::FileExists(demo->At(menu))) << menu;
            ++withMenu;
        }
    }
    EXPECT_EQ(withProgram, 1);
    EXPECT_EQ(withMenu, 1);
}

// The tool menu read as the main window reads it: whitespace-separated tokens, each counted
// when it has "[" before "]"; "->" opens a submenu, "<-" closes it, "--" separates.
TEST_F(DemoFolderTest, ToolMenuCommandsAllReachSomething)
{
    auto bytes = platform::ReadFileBytes(demo->At("ORVMTools\\DemoTools.mnu"));
    ASSERT_TRUE(bytes);
    std::istringstream tokens(platform::Gb18030ToUtf8(*bytes));
    int depth = 0, items = 0, separators = 0, galleries = 0, programs = 0;
    for (std::string token; tokens >> token;) {
        std::size_t open = token.find('['), close = token.find(']');
        ASSERT_TRUE(open != std::string::npos && close != std::string::npos && open < close) << token;
        std::string caption = token.substr(open + 1, close - open - 1), command = token.substr(close + 1);
        if (caption.rfind("->", 0) == 0) {
            EXPECT_EQ(depth, 0) << "submenus do not nest";
            ++depth;
            continue;
        }
        if (caption.rfind("<-", 0) == 0)
            --depth;
        if (caption == "--") {
            ++separators;
            continue;
        }
        ++items;
        std::vector<std::string> fields = SplitString(command, ",");
        ASSERT_FALSE(fields.empty()) << token;
        if (platform::EqualsNoCase(fields[0], "OpenGallery")) {
            ASSERT_EQ(fields.size(), 2u) << token;
            EXPECT_TRUE(platform::FileExists(demo->GalleryPath(fields[1]))) << token;
            ++galleries;
        } else {
            EXPECT_TRUE(platform::FileExists(demo->At(fields[0]))) << token;
            ++programs;
        }
    }
    EXPECT_EQ(depth, 0);
    EXPECT_GE(separators, 1);
    EXPECT_EQ(galleries, 2);
    EXPECT_GE(programs, 4);
    EXPECT_EQ(items, galleries + programs);
}

TEST_F(DemoFolderTest, HomePageIsGb2312AndLinksBothGalleries)
{
    auto bytes = platform::ReadFileBytes(demo->At("HomePage\\Index.htm"));
    ASSERT_TRUE(bytes);
    EXPECT_FALSE(platform::LooksLikeUtf8(*bytes));
    std::string page = platform::Gb18030ToUtf8(*bytes);
    EXPECT_NE(page.find("charset=gb2312"), std::string::npos);
    std::vector<std::string> galleries;
    for (const auto& href : Attributes(page, "href")) {
        ASSERT_EQ(href.rfind("app:GL=", 0), 0u) << href;
        std::string name
            = href.substr(7, href.find('/') == std::string::npos ? std::string::npos : href.find('/') - 7);
        EXPECT_TRUE(platform::FileExists(demo->GalleryPath(name))) << href;
        galleries.push_back(name);
    }
    EXPECT_NE(std::find(galleries.begin(), galleries.end(), "Mech"), galleries.end());
    EXPECT_NE(std::find(galleries.begin(), galleries.end(), "Elec"), galleries.end());
    for (const auto& src : Attributes(page, "src")) {
        EXPECT_TRUE(platform::FileExists(demo->At("HomePage\\" + src))) << src;
    }
}

// Each name the reader starts the demo tool under records what it got in <name>.log.
TEST_F(DemoFolderTest, DemoToolRecordsItsArgumentsUnderEachName)
{
    struct Run {
        const char* program;
        const char* log;
    };
    for (const Run& run : { Run { "ORVMTools\\DemoTool.exe", "ORVMTools\\DemoTool.log" },
             Run { "ORVMTools\\SupportProE\\DemoDriver.exe", "ORVMTools\\SupportProE\\DemoDriver.log" } }) {
        SCOPED_TRACE(run.program);
        ToolResult result
            = RunProgram({ platform::NativePath(demo->At(run.program)), "--no-window", "第一个", "b c" });
        EXPECT_EQ(result.status, 0) << result.err;
        auto log = platform::ReadFileBytes(demo->At(run.log));
        ASSERT_TRUE(log);
        EXPECT_NE(log->find("args=第一个|b c"), std::string::npos) << *log;
    }
}

// The demo relay records the call it got, GB18030 decoded, with the hand-off section, beside
// the hand-off file.
TEST_F(DemoFolderTest, DemoRelayRecordsTheInsertionBesideTheHandoffFile)
{
    ScopedEnv noWindow("ORV_CADRELAY_NO_WINDOW", "1");
    WriteFile(platform::NativePath(demo->At("ORVMtools\\userdef\\userdata\\ORVBookCAD.ini")),
        platform::Utf8ToGb18030("[Other]\nKeep=1\n[ORVBookInsert]\nDrawingCaption=测试图形\nStatus1=GB\n"));
    const std::string call
        = "(ORV_BeginInsertOrvBookDrawing \"ORV_BeginInsertOrvBookBlkDrawing\" \"机械\" \"/x\" "
          "\"a.dxf\")\n";
    ToolResult result
        = RunProgram({ platform::NativePath(demo->At("CadRelay.Exe")), platform::Utf8ToGb18030(call) });
    EXPECT_EQ(result.status, 0) << result.err;
    auto log = platform::ReadFileBytes(demo->At("ORVMTools\\userdef\\userdata\\CadRelay.log"));
    ASSERT_TRUE(log);
    EXPECT_NE(log->find("\targ=(ORV_BeginInsertOrvBookDrawing \"ORV_BeginInsertOrvBookBlkDrawing\" \"机械\" "
                        "\"/x\" \"a.dxf\")%0A\thandoff=DrawingCaption=测试图形%0AStatus1=GB\n"),
        std::string::npos)
        << *log;
}

// The Access gallery is read through its SQLite copy in the cache; an insertion still names
// the gallery and its folder after the file the user opened, and a packaged drawing by its
// member.
TEST_F(DemoFolderTest, InsertionNamesTheOpenedGalleryFileNotItsCacheCopy)
{
    const std::string mech = platform::NativePath(demo->At("ORVBookLib\\Mech.GAL"));
    const std::vector<Row> first = Rows(demo->Connection("Mech"),
        "Select DrawingID,DrawingFileName from DrawingList where DrawingFileName = "
        "'GB5783_dwg(M6X12.dxf).dwz'");
    ASSERT_EQ(first.size(), 1u);
    ToolResult result
        = RunTool({ "insert", mech, first[0].at("DrawingID"), "--app-dir", demo->Native(), "--dry-run" });
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_NE(result.out.find("\"ORV_BeginInsertOrvBookBlkDrawing\" \"Mech\" \"" + demo->Native()
                  + "/ORVBookLib/Mech/Fasten/Bolts/GB5783\" \"M6X12.dxf\")%0A\nresult\t1\n"),
        std::string::npos)
        << result.out;
}

// Same sources, same bytes: a second build gives the same folder file for file.
TEST_F(DemoFolderTest, SecondBuildGivesTheSameBytes)
{
    TempFolder other;
    std::string again = other.NativeAt("again");
    ToolResult result = RunProgram({ ORVDEMO_PATH, ORV_DEMO_SOURCE, again, "--quiet" });
    ASSERT_EQ(result.status, 0) << result.err;
    std::vector<std::string> differing;
    int compared = 0;
    for (const auto& entry : fs::recursive_directory_iterator(again)) {
        if (!entry.is_regular_file())
            continue;
        std::string relative = fs::relative(entry.path(), again).string();
        ++compared;
        if (ReadFile(entry.path().string()) != ReadFile(demo->Native() + "/" + relative))
            differing.push_back(relative);
    }
    EXPECT_GT(compared, 500);
    EXPECT_TRUE(differing.empty()) << differing.size() << " differ, first " << differing.front();
}

} // namespace
} // namespace orv::test
