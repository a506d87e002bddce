#include "BuilderTestSupport.h"

#include "browser/AcadSlideBitmap.h"
#include "browser/PreviewPath.h"
#include "builder/GalleryBuilder.h"
#include "builder/SampleGallery.h"
#include "database/AdoConnection.h"
#include "database/AdoRecordset.h"
#include "navigation/FullTextFiles.h"
#include "navigation/KeywordFile.h"
#include "packages/Compression.h"
#include "packages/ZHtmFileLib.h"
#include "platform/Encoding.h"
#include "platform/Paths.h"

#include <gtest/gtest.h>

#include <dirent.h>
#include <sys/stat.h>

#include <map>

namespace orv {
namespace {

// Every file below a native folder, relative path to bytes.
void CollectFiles(const std::string& root, const std::string& relative, std::map<std::string, std::string>& files)
{
    DIR* dir = ::opendir((root + relative).c_str());
    if (!dir)
        return;
    while (dirent* entry = ::readdir(dir)) {
        std::string name = entry->d_name;
        if (name == "." || name == "..")
            continue;
        std::string path = relative + "/" + name;
        struct stat st;
        ::lstat((root + path).c_str(), &st);
        if (S_ISDIR(st.st_mode))
            CollectFiles(root, path, files);
        else
            files[path] = test::ReadFile(root + path);
    }
    ::closedir(dir);
}

std::map<std::string, std::string> FilesBelow(const std::string& root)
{
    std::map<std::string, std::string> files;
    CollectFiles(root, "", files);
    return files;
}

std::vector<std::string> Column(CAdoConnection& db, const std::string& sql, const std::string& column)
{
    CAdoRecordset rs;
    std::vector<std::string> values;
    EXPECT_EQ(rs.OpenSql(sql, db), 0) << sql;
    for (; !rs.IsEOF(); rs.MoveNext())
        values.push_back(rs.GetString(column));
    return values;
}

using Strings = std::vector<std::string>;

class GalleryBuilderTest : public ::testing::TestWithParam<bool> {
protected:
    bool Build(const std::string& out, GalleryBuildOptions options = {})
    {
        options.Sqlite = GetParam();
        report = {};
        error.clear();
        return BuildGalleryFromFile(platform::ProgramPath(manifest), folder.ProgramAt(out), options, report, error);
    }

    test::TempFolder folder;
    test::ScopedEnv cache {"XDG_CACHE_HOME", folder.NativeAt("cache")};
    std::string manifest = test::WriteSmallManifest(folder);
    GalleryBuildReport report;
    std::string error;
};

TEST_P(GalleryBuilderTest, EveryTableReadsBackThroughTheReadersStatements)
{
    ASSERT_TRUE(Build("lib")) << error;
    EXPECT_EQ(report.GalleryPath, folder.ProgramAt("lib\\Mech.GAL"));
    CAdoConnection db;
    ASSERT_EQ(db.ConnectDatabase(report.GalleryPath, kGalleryPassword), 0) << db.LastError();

    EXPECT_EQ(Column(db, "Select * from Gallery", "GalleryName"), Strings {"机械图库"});
    EXPECT_EQ(Column(db, "Select * from GalleryTitle", "TitleCaption"), (Strings {"标准", "应用"}));
    EXPECT_EQ(Column(db, "Select * from GallerySet where ParaName = 'HasSrcPreview'", "ParaValue"), Strings {"0"});
    EXPECT_EQ(Column(db, "Select SpecID,SpecName,SpecPath from SpecClass Order By ShowOrder", "SpecPath"),
        (Strings {"\\Drive", "\\Fasten"}));
    // The tree leaves hidden directories out; an empty content stays empty, not NULL.
    EXPECT_EQ(Column(db,
                  "Select DirID,ParDirID,DirName,DirType,DirPath,DirContent,SourceContent from DrawingDir where "
                  "DirVisible >= 0 And SpecID = 2 Order By DirVisible,DirID,ParDirID",
                  "DirName"),
        Strings {"工具"});
    // libmdb reads an empty Access text as NULL, so only the SQLite form keeps the difference.
    if (GetParam())
        EXPECT_EQ(Column(db, "Select DirID from DrawingDir where DirContent = '' And DirPath Is Null", "DirID"),
            Strings {"4"});
    // A missing SourceContent is NULL, so the joined content is empty.
    const std::string content = "SELECT (SpecClass.SpecPath + '\\' + DrawingDir.SourceContent) As TContent,"
                                "(SpecClass.SpecPath + DrawingDir.DirPath) AS TPath FROM DrawingDir, SpecClass "
                                "WHERE DrawingDir.SpecID = SpecClass.SpecID And DrawingDir.DirID = ";
    EXPECT_EQ(Column(db, content + "1", "TContent"), Strings {""});
    EXPECT_EQ(Column(db, content + "3", "TContent"), Strings {"\\Drive\\Shafts\\p1.htm"});
    EXPECT_EQ(Column(db, "Select DirContent From DrawingDirFiles where DirID = 3 Order By ContentOrder", "DirContent"),
        (Strings {"p1.htm", "p2.htm", "P3.HTM"}));
    EXPECT_EQ(Column(db, "Select * from DrawingDirIndex Order By IndexOrder", "IndexDirID"),
        (Strings {"1", "2", "12.7"}));
    EXPECT_EQ(Column(db, "Select ContentMark from DrawingDir where DirID = 4", "ContentMark"),
        Strings {"add:ORVMTools\\Calc.exe,<root>\\data"});

    // Drawings: bound ones leave the thumbnail list; folders default to the directory's.
    EXPECT_EQ(Column(db,
                  "SELECT DrawingList.DrawingID as TDrawingID, SpecClass.SpecPath + DrawingDir.DirPath AS DrawingPath "
                  "FROM DrawingList, DrawingDir, SpecClass WHERE DrawingList.DirID = DrawingDir.DirID AND "
                  "DrawingDir.SpecID = SpecClass.SpecID AND DrawingList.SpecID = SpecClass.SpecID And "
                  "DrawingList.BoundDrawingID=0 And DrawingList.DrawingID>0 And DrawingList.DirID = 2",
                  "TDrawingID"),
        Strings {"10"});
    EXPECT_EQ(Column(db, "Select DrawingPath from DrawingList Order By DrawingID", "DrawingPath"),
        (Strings {"\\Fasten\\Bolts", "\\Else", ""}));
    EXPECT_EQ(Column(db, "Select DrawingID from DrawingList where DrawingPath Is Null", "DrawingID"), Strings {"12"});
    EXPECT_EQ(Column(db, "Select SpecID from DrawingList Order By DrawingID", "SpecID"), (Strings {"1", "2", "2"}));
    CAdoRecordset data;
    ASSERT_EQ(data.OpenSql("Select * from DrawingData where DrawingID = 10 Order By FieldOrder", db), 0);
    ASSERT_EQ(data.GetRecordCount(), 2);
    EXPECT_EQ(data.GetShort("FieldDataType"), 1);
    EXPECT_EQ(data.GetDouble("FieldValue_DBL"), 12.0);
    data.MoveNext();
    EXPECT_EQ(data.GetShort("FieldDataType"), 0);
    EXPECT_EQ(data.GetString("FieldValue_STR"), "Q235");
    EXPECT_EQ(Column(db, "Select * from DimDriverDefine where DrawingID = 10", "DimDriverName"), Strings {"Drv"});
    EXPECT_EQ(Column(db, "Select DrawingID from DrawingList where DrawingID In (Select DrawingID from "
                         "DrawingDirList where DirID = 3)",
                  "DrawingID"),
        Strings {"10"});
    EXPECT_EQ(Column(db, "Select FunApp,Func,Para from DrawingExecute where DirID = 1 And DrawingID = 0", "Func"),
        Strings {"-x"});
}

TEST_P(GalleryBuilderTest, ContentFilesReadBackThroughTheReaders)
{
    ASSERT_TRUE(Build("lib")) << error;
    const std::string root = folder.ProgramAt("lib\\Mech");
    // "Fasten/bolts" and "Fasten\Bolts" are one folder, as the reader resolves them.
    EXPECT_EQ(platform::FindEntries(root + "\\Fasten", "*").size(), 1u);

    const std::string page = test::ReadFile(platform::NativePath(root + "\\Fasten\\Bolts\\bolts.htm"));
    EXPECT_NE(page.find(platform::Utf8ToGb18030("六角头")), std::string::npos) << "UTF-8 sources become GB18030";

    CZHtmFileLib package(root + "\\Fasten\\Bolts\\HEX.htz");
    ASSERT_TRUE(package.Open(root + "\\Fasten\\Bolts\\HEX.htz"));
    EXPECT_NE(package.ReadPageText("A1.htm").find("name=\"sizes\""), std::string::npos);
    std::string companions;
    EXPECT_TRUE(CZHtmFileLib::ExtractCompanionFiles(
        root + "\\Fasten\\Bolts\\HEX.htz", "A1.htm", folder.ProgramAt("temp"), companions));
    EXPECT_EQ(companions, "A1.files");
    EXPECT_EQ(test::ReadFile(folder.NativeAt("temp/A1.files/m12.txt")), "companion");

    CAcadSlideBitmap slide;
    EXPECT_EQ(slide.LoadLibrarySlide(root + "\\Fasten\\Bolts\\BOLTS.slb", "m12"), 1);
    EXPECT_EQ(slide.LoadSlide(root + "\\Drive\\Shafts\\shaft.sld"), 1);

    EXPECT_EQ(ReadKeywordFile(KeywordFilePathFor(report.GalleryPath)), (Strings {"螺栓", "轴"}));

    // Pictures in the format their extension names, at the size asked for.
    const std::pair<const char*, std::string> pictures[] = {{"a.jpg", "\xFF\xD8\xFF"}, {"a.gif", "GIF89a"},
        {"a.bmp", "BM"}, {"a.png", "\x89PNG"}, {"a.wmf", "\xD7\xCD\xC6\x9A"}};
    for (const auto& [name, magic] : pictures) {
        const std::string bytes = test::ReadFile(folder.NativeAt(std::string("lib/Mech/Pictures/") + name));
        EXPECT_EQ(bytes.substr(0, magic.size()), magic) << name;
    }
    const std::string png = test::ReadFile(folder.NativeAt("lib/Mech/Pictures/a.png"));
    ASSERT_GT(png.size(), 24u);
    EXPECT_EQ(png.substr(16, 8), std::string("\0\0\0\x64\0\0\0\x32", 8)) << "100 x 50";
    const std::string wmf = test::ReadFile(folder.NativeAt("lib/Mech/Pictures/a.wmf"));
    EXPECT_NE(wmf.find(platform::Utf8ToGb18030("螺栓 M12")), std::string::npos) << "texts stay in metafiles";

    // One full-text record per directory with pages: page text only, each page once.
    FullTextPaths paths = FullTextPathsFor(report.GalleryPath);
    CompressedRecordList list = ReadCompressedRecordList(paths.Index);
    std::vector<std::string> markers;
    for (const std::string& name : list.Names)
        markers.push_back(FirstMarkerGroup(name));
    ASSERT_EQ(markers, (Strings {"[1]", "[2]", "[3]"}));
    std::string text;
    ASSERT_EQ(InflateBytes(test::ReadFile(platform::NativePath(paths.Compressed)), text, 1 << 20), 0);
    ASSERT_EQ(list.Ends.back(), text.size());
    text = platform::Gb18030ToUtf8(text);
    EXPECT_EQ(text, "螺栓\r\n螺栓\r\n六角头 螺栓\r\nM12 & M16\r\n第一页 轴承\r\n第二页\r\n第三页\r\n");

    GalleryBuildOptions plain;
    plain.PlainFullText = true;
    ASSERT_TRUE(Build("plain", plain)) << error;
    EXPECT_TRUE(platform::FileExists(folder.ProgramAt("plain\\Mech\\Mech.cnt")));
    EXPECT_FALSE(platform::FileExists(folder.ProgramAt("plain\\Mech\\Mech.cnc")));
    EXPECT_EQ(ReadPlainRecordList(folder.ProgramAt("plain\\Mech\\Mech.cnx")).Markers, (Strings {"[1]", "[2]", "[3]"}));
}

TEST_P(GalleryBuilderTest, SameManifestGivesTheSameBytes)
{
    ASSERT_TRUE(Build("one")) << error;
    ASSERT_TRUE(Build("two")) << error;
    std::map<std::string, std::string> one = FilesBelow(folder.NativeAt("one"));
    EXPECT_GT(one.size(), 10u);
    EXPECT_EQ(one, FilesBelow(folder.NativeAt("two")));
}

TEST_P(GalleryBuilderTest, FailedBuildLeavesTheFolderAsItWasAndASuccessfulOneReplacesTheGallery)
{
    test::WriteFile(folder.NativeAt("lib/Other.GAL"), "another gallery");
    test::WriteFile(folder.NativeAt("lib/MECH.Lst"), "stale tree cache");
    test::WriteFile(folder.NativeAt("lib/mech.gal"), "old gallery in another case");
    test::WriteFile(folder.NativeAt("lib/Mech/stale.htm"), "old page");
    const std::map<std::string, std::string> before = FilesBelow(folder.NativeAt("lib"));

    ::unlink(folder.NativeAt("src/pages/bolts.htm").c_str());
    EXPECT_FALSE(Build("lib"));
    EXPECT_EQ(error.rfind("files[0].source: cannot read ", 0), 0u) << error;
    EXPECT_EQ(FilesBelow(folder.NativeAt("lib")), before);
    EXPECT_EQ(platform::FindEntries(folder.Program(), ".lib.build-*").size(), 0u) << "no staging folder is left";

    test::WriteSmallManifest(folder);
    ASSERT_TRUE(Build("lib")) << error;
    std::map<std::string, std::string> after = FilesBelow(folder.NativeAt("lib"));
    EXPECT_EQ(after.count("/Other.GAL"), 1u);
    EXPECT_EQ(after.count("/Mech.GAL"), 1u);
    EXPECT_EQ(after.count("/Mech.idx"), 1u);
    for (const char* gone : {"/MECH.Lst", "/mech.gal", "/Mech/stale.htm"})
        EXPECT_EQ(after.count(gone), 0u) << gone;
    EXPECT_EQ(platform::FindEntries(folder.Program(), ".lib.build-*").size(), 0u);
}

// The benchmark gallery, small: every directory's page, every preview and a full-text
// record per directory are there where the reader looks.
TEST(SampleGalleryTest, ContentIsWhereTheRowsPointTo)
{
    test::TempFolder folder;
    test::ScopedEnv cache {"XDG_CACHE_HOME", folder.NativeAt("cache")};
    GalleryBuildReport report;
    std::string error;
    ASSERT_TRUE(BuildGallery(SampleGalleryManifest({120, 400}, true), folder.ProgramAt("lib"), {}, report, error))
        << error;
    CAdoConnection db;
    ASSERT_EQ(db.ConnectDatabase(report.GalleryPath, kGalleryPassword), 0) << db.LastError();
    const std::string root = folder.ProgramAt("lib\\Sample");
    CAdoRecordset rs;
    ASSERT_EQ(rs.OpenSql("SELECT (SpecClass.SpecPath + '\\' + DrawingDir.SourceContent) As TContent,"
                         "(SpecClass.SpecPath + DrawingDir.DirPath) AS TPath, DrawingDir.DirContent,"
                         "DrawingDir.DirContentCompress FROM DrawingDir, SpecClass WHERE DrawingDir.SpecID = "
                         "SpecClass.SpecID",
                  db),
        0);
    ASSERT_EQ(rs.GetRecordCount(), 120);
    for (; !rs.IsEOF(); rs.MoveNext()) {
        const std::string content = rs.GetString("DirContent");
        if (!rs.GetString("TContent").empty()) {
            EXPECT_TRUE(platform::FileExists(root + rs.GetString("TContent"))) << rs.GetString("TContent");
        } else if (rs.GetShort("DirContentCompress") != 0) {
            const std::size_t open = content.find('(');
            CZHtmFileLib package(root + rs.GetString("TPath") + "\\" + content.substr(0, open) + ".htz");
            ASSERT_TRUE(package.Open(root + rs.GetString("TPath") + "\\" + content.substr(0, open) + ".htz"));
            EXPECT_FALSE(package.ReadPageText(content.substr(open + 1, content.size() - open - 2) + ".htm").empty());
        } else {
            EXPECT_TRUE(platform::FileExists(root + rs.GetString("TPath") + "\\" + content)) << content;
        }
    }
    ASSERT_EQ(rs.OpenSql("Select PreviewFile, DrawingPath from DrawingList", db), 0);
    ASSERT_EQ(rs.GetRecordCount(), 400);
    for (; !rs.IsEOF(); rs.MoveNext()) {
        CAcadSlideBitmap slide;
        PreviewSource source = ResolvePreviewPath(root + rs.GetString("DrawingPath") + "\\" + rs.GetString("PreviewFile"));
        EXPECT_EQ(LoadPreviewSlide(slide, source), 1) << rs.GetString("PreviewFile");
    }
    EXPECT_EQ(ReadCompressedRecordList(FullTextPathsFor(report.GalleryPath).Index).Names.size(), 120u);
    EXPECT_GT(ReadKeywordFile(KeywordFilePathFor(report.GalleryPath)).size(), 20u);
}

INSTANTIATE_TEST_SUITE_P(BothForms, GalleryBuilderTest, ::testing::Values(false, true),
    [](const ::testing::TestParamInfo<bool>& info) { return info.param ? "Sqlite" : "Access"; });

} // namespace
} // namespace orv
