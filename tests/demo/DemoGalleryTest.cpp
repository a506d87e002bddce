// The two demo galleries read back through the reader's own connection and recordset with the
// statements the reader runs: what they hold, that every directory's page and every drawing's
// preview can be found the way the reader looks for them, and the data sheets.

#include "DemoSupport.h"
#include "app/common/PathHelpers.h"
#include "browser/AcadSlideBitmap.h"
#include "browser/PreviewPath.h"
#include "packages/ZHtmFileLib.h"
#include "platform/Encoding.h"
#include "platform/Files.h"
#include "platform/Paths.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>

namespace orv::test {
namespace {

std::string Upper(std::string text)
{
    for (char& c : text)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return text;
}

bool EndsWithNoCase(const std::string& text, const std::string& tail)
{
    return text.size() >= tail.size() && platform::EqualsNoCase(text.substr(text.size() - tail.size()), tail);
}

std::string Format(const char* pattern, long value)
{
    char buffer[1024];
    std::snprintf(buffer, sizeof buffer, pattern, value);
    return buffer;
}

class DemoGalleryTest : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override
    {
        demo = DemoFolder::Get();
        if (!demo)
            GTEST_SKIP() << "no demo folder (orvdemo failed, reported once)";
        db = &demo->Connection(GetParam());
        root = demo->GalleryRoot(GetParam());
    }
    const DemoFolder* demo = nullptr;
    const CAdoConnection* db = nullptr;
    std::string root;
};

// Whether a content key names something the content view can show; the page text in text.
std::string ShowKey(const std::string& key, std::string& text)
{
    if (EndsWithNoCase(key, ".htz")) {
        std::size_t open = key.find('(');
        if (open == std::string::npos)
            return "package key without a page";
        std::string package = key.substr(0, open) + ".HTZ";
        std::string page = key.substr(open + 1, key.size() - open - 1 - 5) + ".htm";
        CZHtmFileLib lib(package);
        if (!lib.Open(package))
            return "no package " + package;
        text = platform::Gb18030ToUtf8(lib.ReadPageText(page));
        return text.empty() ? "no page " + page + " in " + package : "";
    }
    for (const char* ext : { ".jpg", ".gif", ".wmf", ".png", ".bmp" })
        if (EndsWithNoCase(key, ext))
            return platform::FileExists(key) ? "" : "no picture " + key;
    auto bytes = platform::ReadFileBytes(key);
    if (!bytes)
        return "no page " + key;
    text = platform::Gb18030ToUtf8(*bytes);
    return "";
}

TEST_P(DemoGalleryTest, TreeStatementGivesEveryVisibleDirectoryBelowAnEarlierParent)
{
    int specialities = 0, nodes = 0,
        hidden = CountRows(*db, "Select DirID from DrawingDir where DirVisible < 0");
    for (const Row& spec : Rows(*db, "Select SpecID,SpecName,SpecPath from SpecClass Order By ShowOrder")) {
        ++specialities;
        EXPECT_FALSE(spec.at("SpecName").empty());
        EXPECT_EQ(spec.at("SpecPath").rfind('\\', 0), 0u);
        std::set<std::string> seen;
        for (const Row& dir : Rows(*db,
                 "Select DirID,ParDirID,DirName,DirType,DirPath,DirContent,SourceContent from DrawingDir "
                 "where "
                 "DirVisible >= 0 And SpecID = "
                     + spec.at("SpecID") + " Order By DirVisible,DirID,ParDirID")) {
            ++nodes;
            SCOPED_TRACE(dir.at("DirName"));
            EXPECT_FALSE(dir.at("DirName").empty());
            EXPECT_TRUE(dir.at("ParDirID") == "0" || seen.count(dir.at("ParDirID"))) << "parent comes later";
            int type = std::stoi(dir.at("DirType"));
            EXPECT_TRUE(type >= 0 && type <= 3);
            seen.insert(dir.at("DirID"));
        }
    }
    EXPECT_GE(specialities, 1);
    EXPECT_EQ(nodes + hidden, CountRows(*db, "Select DirID from DrawingDir"));
}

TEST_P(DemoGalleryTest, EveryDirectoryShowsAPageOrAPicture)
{
    for (const Row& dir : Rows(*db, "Select DirID,DirName,ContentMark from DrawingDir")) {
        long id = std::stol(dir.at("DirID"));
        int pages = CountRows(*db, Format("Select DirContent From DrawingDirFiles where DirID = %ld", id));
        for (int page = 0; page < std::max(1, pages); ++page) {
            SCOPED_TRACE(dir.at("DirName") + " page " + std::to_string(page));
            std::string key = ContentKey(*db, root, id, page), text;
            ASSERT_FALSE(key.empty());
            EXPECT_EQ(ShowKey(key, text), "") << key;
            const std::string& mark = dir.at("ContentMark");
            if (!mark.empty() && mark.rfind("add:", 0) != 0) {
                EXPECT_NE(text.find("name=\"" + mark + "\""), std::string::npos) << "anchor " << mark;
            }
        }
    }
}

// Both loaders of the drawing browser, and the preview path the grid takes for each row:
// a library member, a slide or a picture, loaded as the grid loads it.
TEST_P(DemoGalleryTest, EveryDrawingOfEveryDirectoryHasAPreviewThatLoads)
{
    std::set<std::string> listed;
    for (const Row& dir : Rows(*db, "Select DirID from DrawingDir")) {
        long id = std::stol(dir.at("DirID"));
        auto byTree = Rows(*db,
            Format(
                "Select DrawingName,DrawingList.DrawingID as TDrawingID ,Status1,AppClass,FunClass,ShpClass,"
                "QueryKeyword,DrawingCaption, PreviewFile, DrawingPath from DrawingList,DrawingDirList where "
                "DrawingList.DrawingID = DrawingDirList.DrawingID And DrawingDirList.DirID = %ld Order By "
                "DrawingDirList.DrawingOrder",
                id));
        auto byLink = Rows(*db,
            Format("SELECT DrawingList.DrawingName,DrawingList.DrawingID as TDrawingID,DrawingList.Status1,"
                   "DrawingList.AppClass,DrawingList.FunClass,DrawingList.ShpClass,DrawingList.QueryKeyword,"
                   "DrawingList.DrawingCaption, DrawingList.PreviewFile, SpecClass.SpecPath + "
                   "DrawingDir.DirPath AS "
                   "DrawingPath FROM DrawingList, DrawingDir, SpecClass WHERE DrawingList.DirID = "
                   "DrawingDir.DirID AND "
                   "DrawingDir.SpecID = SpecClass.SpecID AND DrawingList.SpecID = SpecClass.SpecID And "
                   "DrawingList.DrawingID>0 And DrawingList.DirID = %ld Order By "
                   "DrawingList.DrawingID,DrawingList.DrawingName",
                id));
        for (const auto* rows : { &byTree, &byLink }) {
            for (const Row& row : *rows) {
                SCOPED_TRACE(row.at("DrawingName") + " " + row.at("PreviewFile"));
                listed.insert(row.at("TDrawingID"));
                EXPECT_FALSE(row.at("DrawingCaption").empty());
                std::string folder = root + row.at("DrawingPath"), preview = Upper(row.at("PreviewFile"));
                std::size_t open = preview.find('('),
                            close = preview.find(')', open == std::string::npos ? 0 : open);
                std::string path;
                if (EndsWithNoCase(preview, "SLD") && open != std::string::npos && open > 0
                    && close != std::string::npos) {
                    std::string library = folder + "\\" + preview.substr(0, open) + ".SLB";
                    ASSERT_TRUE(platform::FileExists(library)) << library;
                    path = library.substr(0, library.size() - 4) + "("
                        + preview.substr(open + 1, close - open - 1) + ").slb";
                } else {
                    path = folder + "\\" + preview;
                    ASSERT_TRUE(platform::FileExists(path)) << path;
                }
                PreviewSource source = ResolvePreviewPath(path);
                if (source.kind == PreviewSource::Kind::Image) {
                    static const std::map<std::string, std::string> magic
                        = { { "JPG", "\xFF\xD8\xFF" }, { "GIF", "GIF8" }, { "PNG", "\x89PNG" },
                              { "BMP", "BM" }, { "WMF", std::string("\xD7\xCD\xC6\x9A", 4) } };
                    EXPECT_TRUE(FileStartsWith(source.path, magic.at(preview.substr(preview.size() - 3))));
                } else {
                    CAcadSlideBitmap slide;
                    EXPECT_EQ(LoadPreviewSlide(slide, source), 1);
                    EXPECT_FALSE(slide.IsEmpty());
                }
            }
        }
    }
    // Every drawing is listed by one of the loaders, bound ones only through the link loader.
    EXPECT_EQ(listed.size(), static_cast<std::size_t>(CountRows(*db, "Select DrawingID from DrawingList")));
}

TEST_P(DemoGalleryTest, EveryDrawingHasADataSheetAndADrawingFile)
{
    for (const Row& d :
        Rows(*db, "Select DrawingID,DrawingName,DrawingFileName,DrawingPath,DriverType from DrawingList")) {
        SCOPED_TRACE(d.at("DrawingName"));
        long id = std::stol(d.at("DrawingID"));
        auto sheet
            = Rows(*db, Format("Select * from DrawingData where DrawingID = %ld Order By FieldOrder", id));
        ASSERT_GE(sheet.size(), 3u);
        for (const Row& field : sheet) {
            EXPECT_FALSE(field.at("FieldCaption").empty());
            EXPECT_FALSE(
                (field.at("FieldDataType") == "1" ? field.at("FieldValue_DBL") : field.at("FieldValue_STR"))
                    .empty());
        }
        const std::string& fileName = d.at("DrawingFileName");
        const std::string header = "999\r\nORVBook demo drawing\r\n0\r\nSECTION";
        const std::size_t open = fileName.find('(');
        if (EndsWithNoCase(fileName, ".dwz") && open != std::string::npos) {
            // PACKAGE(MEMBER).dwz: the member of the drawing package beside the drawings.
            const std::string package = root + d.at("DrawingPath") + "\\" + fileName.substr(0, open) + ".dwz";
            const std::string member = fileName.substr(open + 1, fileName.find(')') - open - 1);
            CZFileLib lib(package);
            ASSERT_TRUE(lib.Open(package)) << package;
            TempFolder temp;
            std::string target = temp.ProgramAt("member.dxf");
            EXPECT_TRUE(lib.ExtractFile(member, target)) << member;
            EXPECT_TRUE(FileStartsWith(target, header)) << member;
            continue;
        }
        std::string file = root + d.at("DrawingPath") + "\\" + fileName;
        EXPECT_TRUE(FileStartsWith(file, header)) << file;
        int driver = std::stoi(d.at("DriverType"));
        EXPECT_TRUE(driver >= 0 && driver <= 4);
        if (driver >= 1) {
            EXPECT_EQ(CountRows(*db, Format("Select * from DimDriverDefine where DrawingID = %ld", id)), 1);
        }
    }
}

// The rows the gallery opening and the search read: the gallery's name (as the order file
// names it), its column captions and its options.
TEST_P(DemoGalleryTest, GalleryRowCaptionsAndOptionsReadBack)
{
    auto gallery = Rows(*db, "Select * from Gallery");
    ASSERT_EQ(gallery.size(), 1u);
    EXPECT_EQ(
        gallery[0].at("GalleryName"), std::string(GetParam()) == "Mech" ? "机械零件图库" : "电气符号图库");
    EXPECT_FALSE(gallery[0].at("GalleryVersion").empty());
    EXPECT_FALSE(gallery[0].at("CreateDate").empty());
    std::set<std::string> titles;
    for (const Row& title : Rows(*db, "Select * from GalleryTitle")) {
        EXPECT_FALSE(title.at("TitleCaption").empty());
        titles.insert(title.at("TitleName"));
    }
    EXPECT_EQ(titles, (std::set<std::string> { "Status1", "AppClass", "FunClass", "ShpClass" }));
    for (const char* option : { "HasTextContents", "HasTextSearch", "HasSrcPreview" }) {
        auto value
            = Rows(*db, std::string("Select ParaValue from GallerySet where ParaName = '") + option + "'");
        ASSERT_EQ(value.size(), 1u) << option;
        EXPECT_EQ(value[0].at("ParaValue"), "1") << option;
    }
}

// Every member of every package and slide library unpacks: pages, companion pictures, slides.
TEST_P(DemoGalleryTest, EveryPackageMemberUnpacks)
{
    TempFolder temp;
    int members = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(platform::NativePath(root))) {
        std::string name = entry.path().filename().string(),
                    program = platform::ProgramPath(entry.path().string());
        if (EndsWithNoCase(name, ".htz") || EndsWithNoCase(name, ".flz") || EndsWithNoCase(name, ".dwz")) {
            CZFileLib lib(program);
            ASSERT_TRUE(lib.Open(program)) << program;
            std::vector<std::string> names;
            lib.GetFileNames(names);
            EXPECT_FALSE(names.empty()) << program;
            for (const auto& member : names) {
                std::string target = temp.ProgramAt("member" + std::to_string(++members));
                EXPECT_TRUE(lib.ExtractFile(member, target)) << program << ": " << member;
                EXPECT_GT(ReadFile(platform::NativePath(target)).size(), 0u) << member;
            }
        } else if (EndsWithNoCase(name, ".slb")) {
            CAcadSlideBitmap slide;
            auto bytes = platform::ReadFileBytes(program);
            ASSERT_TRUE(bytes);
            // Member names stand NUL-padded in the 36-byte directory entries after the header.
            for (std::size_t at = 32; at + 36 <= bytes->size() && (*bytes)[at] != '\0'; at += 36) {
                std::string member = bytes->substr(at, 32);
                member = member.substr(0, member.find('\0'));
                EXPECT_EQ(slide.LoadLibrarySlide(program, member), 1) << program << ": " << member;
                ++members;
            }
        }
    }
    // The symbols gallery has plain pages and single slides only.
    EXPECT_GT(members, std::string(GetParam()) == "Mech" ? 200 : -1);
}

INSTANTIATE_TEST_SUITE_P(Galleries, DemoGalleryTest, ::testing::Values("Mech", "Elec"));

// What the mechanical gallery is there to show, each a statement and the least row count.
TEST(DemoMechGallery, HoldsEveryKindOfContentTheReaderHandles)
{
    const DemoFolder* demo = DemoFolder::Get();
    if (!demo)
        GTEST_SKIP();
    const CAdoConnection& db = demo->Connection("Mech");
    struct Expect {
        const char* what;
        const char* sql;
        int least;
    };
    const Expect expected[] = {
        { "specialities", "Select SpecID from SpecClass", 3 },
        { "directories", "Select DirID from DrawingDir", 60 },
        { "drawings", "Select DrawingID from DrawingList", 300 },
        { "driver type 0", "Select DrawingID from DrawingList where DriverType = 0", 1 },
        { "driver type 1", "Select DrawingID from DrawingList where DriverType = 1", 1 },
        { "driver type 2", "Select DrawingID from DrawingList where DriverType = 2", 1 },
        { "driver type 3", "Select DrawingID from DrawingList where DriverType = 3", 1 },
        { "driver type 4", "Select DrawingID from DrawingList where DriverType = 4", 1 },
        { "bound drawings", "Select DrawingID from DrawingList where BoundDrawingID > 0", 1 },
        { "drawings in a package", "Select DrawingID from DrawingList where DrawingFileName Like '%.dwz'",
            1 },
        { "directory actions", "Select DirID from DrawingExecute where DrawingID = 0", 1 },
        { "drawing actions", "Select DirID from DrawingExecute where DrawingID > 0", 1 },
        { "library actions", "Select DirID from DrawingExecute where FunApp Like '%.dll'", 1 },
        { "memberships outside the own directory",
            "Select DrawingDirList.DirID from DrawingDirList, DrawingList where DrawingDirList.DrawingID = "
            "DrawingList.DrawingID And DrawingDirList.DirID <> DrawingList.DirID",
            1 },
        { "column captions", "Select TitleName from GalleryTitle", 4 },
        { "index terms", "Select IndexName from DrawingDirIndex", 30 },
        { "hidden directory", "Select DirID from DrawingDir where DirVisible < 0", 1 },
        { "source content", "Select DirID from DrawingDir where SourceContent <> ''", 1 },
        { "package pages", "Select DirID from DrawingDir where DirContentCompress <> 0", 10 },
        { "anchors", "Select DirID from DrawingDir where ContentMark <> '' And ContentMark Not Like 'add:%'",
            1 },
        { "tool node", "Select DirID from DrawingDir where ContentMark Like 'add:%'", 1 },
        { "picture-only directories",
            "Select DirID from DrawingDir where DirContent Like '%.png' Or DirContent = 'fits.htm'", 2 },
        { "directory actions", "Select DirID from DrawingExecute where DrawingID = 0", 1 },
        { "drawing actions", "Select DirID from DrawingExecute where DrawingID > 0", 1 },
        { "slide-library previews", "Select DrawingID from DrawingList where PreviewFile Like '%(%).sld'",
            100 },
    };
    for (const auto& e : expected) {
        EXPECT_GE(CountRows(db, e.sql), e.least) << e.what;
    }
    for (const char* ext : { "sld", "jpg", "gif", "png", "bmp", "wmf" }) {
        EXPECT_GE(CountRows(db,
                      std::string("Select DrawingID from DrawingList where PreviewFile Like '%.") + ext
                          + "' And PreviewFile Not Like '%(%'"),
            5)
            << ext;
    }
    // A directory with three pages, and three levels of directories.
    EXPECT_EQ(
        CountRows(db, "Select DirID from DrawingDirFiles Group By DirID Having Count(DirContent) = 3"), 1);
    EXPECT_GE(CountRows(db,
                  "Select A.DirID from DrawingDir A, DrawingDir B, DrawingDir C where A.ParDirID = B.DirID "
                  "And B.ParDirID = C.DirID And C.ParDirID = 0"),
        20);
    // Index terms that repeat, next to each other, so the topic chooser opens for them.
    auto terms = Rows(db, "Select * from DrawingDirIndex Order By IndexOrder");
    int repeats = 0;
    for (std::size_t i = 1; i < terms.size(); ++i)
        repeats += platform::EqualsNoCase(terms[i].at("IndexName"), terms[i - 1].at("IndexName")) ? 1 : 0;
    EXPECT_GE(repeats, 3);
    // Actions and tool nodes name programs the folder has.
    for (const Row& action : Rows(db, "Select FunApp,Func,Para from DrawingExecute")) {
        EXPECT_TRUE(platform::FileExists(demo->At(action.at("FunApp")))) << action.at("FunApp");
    }
    // Driver types 2 and 4 start a driver program named by the definition's FunName.
    for (const Row& d : Rows(db,
             "Select DrawingList.DriverType,DimDriverDefine.FunName from DrawingList, "
             "DimDriverDefine where DrawingList.DrawingID = DimDriverDefine.DrawingID And "
             "DrawingList.DriverType In (2, 4)")) {
        std::string folder = d.at("DriverType") == "2" ? "ORVMTools\\SupportProE\\" : "ORVMTools\\Support\\";
        EXPECT_TRUE(platform::FileExists(demo->At(folder + d.at("FunName") + ".exe"))) << d.at("FunName");
    }
    for (const Row& node : Rows(db, "Select ContentMark from DrawingDir where ContentMark Like 'add:%'")) {
        std::string program = node.at("ContentMark").substr(4);
        program = program.substr(0, program.find(','));
        EXPECT_TRUE(platform::FileExists(demo->At(Upper(program)))) << program;
    }
}

// A data sheet carries the numbers of the drawing it belongs to.
TEST(DemoMechGallery, DataSheetOfABoltCarriesItsDimensions)
{
    const DemoFolder* demo = DemoFolder::Get();
    if (!demo)
        GTEST_SKIP();
    const CAdoConnection& db = demo->Connection("Mech");
    auto bolt = Rows(db,
        "Select DrawingID,DrawingCaption,Status1,DriverType from DrawingList where DrawingName = "
        "'M12X60' And DrawingPath = '\\Fasten\\Bolts\\GB5782'");
    ASSERT_EQ(bolt.size(), 1u);
    EXPECT_EQ(bolt[0].at("DrawingCaption"), "六角头螺栓 M12×60");
    EXPECT_EQ(bolt[0].at("Status1"), "GB/T 5782-2016");
    std::map<std::string, std::string> sheet;
    for (const Row& field : Rows(db,
             "Select * from DrawingData where DrawingID = " + bolt[0].at("DrawingID")
                 + " Order By FieldOrder"))
        sheet[field.at("FieldCaption")] = field.at("FieldDataType") + ":"
            + (field.at("FieldDataType") == "1" ? field.at("FieldValue_DBL") : field.at("FieldValue_STR"));
    EXPECT_EQ(sheet["螺纹规格 d"], "0:M12");
    EXPECT_EQ(sheet["公称长度 l"], "1:60");
    EXPECT_EQ(sheet["螺距 P"], "1:1.75");
    EXPECT_EQ(sheet["对边宽度 s"], "1:18");
    auto driver = Rows(db, "Select * from DimDriverDefine where DrawingID = " + bolt[0].at("DrawingID"));
    ASSERT_EQ(driver.size(), 1u);
    EXPECT_EQ(driver[0].at("DimDriverName"), "M12X60");
    EXPECT_TRUE(platform::FileExists(
        demo->GalleryRoot("Mech") + "\\Fasten\\Bolts\\GB5782\\" + driver[0].at("DefinePath")));
}

} // namespace
} // namespace orv::test
