#include "app/AppFolderSetup.h"

#include "AppTestSupport.h"
#include "app/ReaderState.h"
#include "app/StartUp.h"
#include "platform/Encoding.h"
#include "platform/Paths.h"

#include <gtest/gtest.h>

#include <optional>

namespace orv {
namespace {

using test::AppFolder;
using test::ReadFile;
using test::WriteFile;

TEST(ChooseAppFolder, OptionThenEnvironmentThenCurrentFolderThenUserFolder)
{
    test::TempFolder dir;
    WriteFile(dir.NativeAt("named/.keep"), "");
    WriteFile(dir.NativeAt("withini/orvbook.INI"), "");
    WriteFile(dir.NativeAt("withlib/orvbooklib/.keep"), "");
    WriteFile(dir.NativeAt("plain/.keep"), "");
    WriteFile(dir.NativeAt("used/orvbook/ORVBook.ini"), "");
    const std::string at = dir.Native() + "/";
    struct Case {
        std::string option, environment, current, dataHome, home;
        std::optional<std::string> path; // relative to dir; nothing: refused
        AppFolderSource source;
        bool firstStart;
    };
    const Case cases[] = {
        { at + "named", at + "withini", at + "withini", at + "data", "", "named", AppFolderSource::Option,
            false },
        // A relative option is taken from the current folder.
        { "../named/", "", at + "withini", at + "data", "", "named", AppFolderSource::Option, false },
        { "", at + "named", at + "withini", at + "data", "", "named", AppFolderSource::Environment, false },
        { "", "", at + "withini", at + "data", "", "withini", AppFolderSource::CurrentFolder, false },
        { "", "", at + "withlib", at + "data", "", "withlib", AppFolderSource::CurrentFolder, false },
        { "", "", at + "plain", at + "data", "", "data\\orvbook", AppFolderSource::UserFolder, true },
        // A relative XDG_DATA_HOME is not used: the home folder's default stands.
        { "", "", at + "plain", "data", at + "home", "home\\.local\\share\\orvbook",
            AppFolderSource::UserFolder, true },
        { "", "", at + "plain", at + "used", "", "used\\orvbook", AppFolderSource::UserFolder, false },
        { at + "missing", "", at + "withini", at + "data", "", std::nullopt, AppFolderSource::Option, false },
        { "", at + "missing", at + "withini", at + "data", "", std::nullopt, AppFolderSource::Option, false },
        { "", "", at + "plain", "", "", std::nullopt, AppFolderSource::Option, false },
    };
    for (const Case& c : cases) {
        const std::string row = c.option + "|" + c.environment + "|" + c.current + "|" + c.dataHome;
        std::string error;
        const std::optional<AppFolderChoice> choice
            = ChooseAppFolder({ c.option, c.environment, c.current, c.dataHome, c.home }, error);
        if (!c.path) {
            EXPECT_FALSE(choice) << row;
            EXPECT_FALSE(error.empty()) << row;
            continue;
        }
        ASSERT_TRUE(choice) << row << ": " << error;
        EXPECT_EQ(choice->Path, dir.ProgramAt(*c.path)) << row;
        EXPECT_EQ(choice->Source, c.source) << row;
        EXPECT_EQ(choice->FirstStart, c.firstStart) << row;
    }
    EXPECT_FALSE(platform::PathExists(dir.ProgramAt("data"))) << "choosing makes nothing";
}

TEST(InstalledDataFolder, IsShareOrvbookBesideTheProgramsFolder)
{
    test::TempFolder dir;
    WriteFile(dir.NativeAt("usr/bin/orvbook"), "");
    EXPECT_EQ(InstalledDataFolder(dir.NativeAt("usr/bin/orvbook")), "");
    WriteFile(dir.NativeAt("usr/share/orvbook/HomePage/Index.htm"), "");
    EXPECT_EQ(InstalledDataFolder(dir.NativeAt("usr/bin/orvbook")), dir.ProgramAt("usr\\share\\orvbook"));
}

// The installed data as the install rules lay it out, with one demo gallery.
std::string MakeInstalledData(AppFolder& app)
{
    WriteFile(app.Native("share/HomePage/Index.htm"), "home");
    WriteFile(app.Native("share/HomePage/mech.png"), "png");
    WriteFile(app.Native("share/Support/logo.bmp"), "logo");
    app.AddGallery({ "Pipes", "管道" }, "share\\demo\\ORVBookLib");
    app.AddGallery({ "Valves", "阀门" }, "share\\demo\\ORVBookLib");
    WriteFile(app.Native("share/demo/ORVBook.odr"), platform::Utf8ToGb18030("阀门\n管道\n"));
    return app.AppPath() + "\\share";
}

TEST(MakeUserFolder, FirstStartDefaultsThenDemoGalleriesNeverReplacingWhatIsThere)
{
    AppFolder app;
    const std::string data = MakeInstalledData(app);
    const std::string fresh = app.Dir().ProgramAt("fresh");
    std::string error;
    ASSERT_TRUE(MakeUserFolder(fresh, data, error)) << error;
    EXPECT_EQ(platform::FindEntries(fresh + "\\ORVBookLib", "*").size(), 0u);
    EXPECT_EQ(ReadFile(app.Dir().NativeAt("fresh/HomePage/Index.htm")), "home");
    EXPECT_EQ(ReadFile(app.Dir().NativeAt("fresh/Support/logo.bmp")), "logo");
    const std::string ini = ReadFile(app.Dir().NativeAt("fresh/ORVBook.ini"));
    EXPECT_NE(
        platform::Gb18030ToUtf8(ini).find("[Gallery]\r\nAppTitle=Orv机电工程师手册\r\n"), std::string::npos)
        << "written in GB18030, as the Windows edition reads it";
    {
        ReaderState state;
        EXPECT_EQ(StartUp(state, fresh), StartUpResult::NoGallery);
        EXPECT_EQ(state.LibPath, fresh + "\\ORVBookLib");
    }
    ASSERT_TRUE(HasDemoGalleries(data));
    ASSERT_TRUE(CopyDemoGalleries(data, fresh, fresh + "\\ORVBookLib", error)) << error;
    {
        ReaderState state;
        ASSERT_EQ(StartUp(state, fresh), StartUpResult::Ready);
        EXPECT_EQ(state.GalleryNames, (std::vector<std::string> { "阀门", "管道" })) << "the demo's order";
    }

    // A folder of the user's, in other letter cases: every file stays, only missing ones come.
    const std::string used = app.Dir().ProgramAt("used");
    WriteFile(app.Dir().NativeAt("used/orvbook.INI"), "[Gallery]\nAppTitle=mine\n");
    WriteFile(app.Dir().NativeAt("used/homepage/index.htm"), "mine");
    WriteFile(app.Dir().NativeAt("used/orvbooklib/pipes.gal"), "mine");
    WriteFile(app.Dir().NativeAt("used/ORVBook.odr"), "mine\n");
    ASSERT_TRUE(MakeUserFolder(used, data, error)) << error;
    ASSERT_TRUE(CopyDemoGalleries(data, used, used + "\\ORVBookLib", error)) << error;
    EXPECT_EQ(ReadFile(app.Dir().NativeAt("used/orvbook.INI")), "[Gallery]\nAppTitle=mine\n");
    EXPECT_EQ(ReadFile(app.Dir().NativeAt("used/homepage/index.htm")), "mine");
    EXPECT_EQ(ReadFile(app.Dir().NativeAt("used/homepage/mech.png")), "png");
    EXPECT_EQ(ReadFile(app.Dir().NativeAt("used/orvbooklib/pipes.gal")), "mine");
    EXPECT_EQ(ReadFile(app.Dir().NativeAt("used/ORVBook.odr")), "mine\n");
    EXPECT_TRUE(platform::FileExists(used + "\\ORVBookLib\\Valves.GAL"));
    std::vector<std::string> top;
    for (const auto& entry : platform::FindEntries(used, "*"))
        top.push_back(entry.name);
    EXPECT_EQ(top,
        (std::vector<std::string> { "ORVBook.odr", "Support", "homepage", "orvbook.INI", "orvbooklib" }));

    EXPECT_FALSE(HasDemoGalleries(fresh));
    EXPECT_FALSE(CopyDemoGalleries(fresh, used, used + "\\ORVBookLib", error));
}

TEST(StartUp, AGalleryFileIsChosenAndOneOutsideTheLibraryListedForThisRunOnly)
{
    AppFolder app;
    app.AddGallery({ "Pipes", "管道" });
    app.AddGallery({ "Valves", "阀门" });
    app.AddGallery({ "Other", "其他" }, "elsewhere");
    WriteFile(app.Native("elsewhere/Note.GAL"), "not a database");
    const std::string ini = "[Gallery]\r\nCurrectGallery=1\r\nActiveDirID=5\r\n";
    struct Case {
        std::string file; // relative to the application folder, "" for none
        int current, count, dirId;
        bool notice;
    };
    const Case cases[] = {
        { "", 1, 2, 5, false },
        // The remembered gallery keeps its directory; the name's letter case does not matter.
        { "orvbooklib\\valves.gal", 1, 2, 5, false },
        { "ORVBookLib\\Pipes.GAL", 0, 2, 0, false },
        { "elsewhere\\Other.GAL", 2, 3, 0, false },
        { "elsewhere\\Note.GAL", 1, 2, 5, true },
        { "elsewhere\\Missing.GAL", 1, 2, 5, true },
    };
    for (const Case& c : cases) {
        WriteFile(app.Native("ORVBook.ini"), ini);
        ReaderState state;
        std::string notice;
        ASSERT_EQ(StartUp(state, app.AppPath(), c.file.empty() ? "" : app.AppPath() + "\\" + c.file, notice),
            StartUpResult::Ready)
            << c.file;
        EXPECT_EQ(state.CurrentGallery, c.current) << c.file;
        EXPECT_EQ(state.GalleryFiles.size(), static_cast<std::size_t>(c.count)) << c.file;
        EXPECT_EQ(state.CurrentDirID, c.dirId) << c.file;
        EXPECT_EQ(notice.empty(), !c.notice) << c.file << ": " << notice;
        // What the next start remembers: never the gallery of this run only.
        state.CurrentDirID = 7;
        ASSERT_TRUE(SaveState(state));
        const std::string saved = ReadFile(app.Native("ORVBook.ini"));
        const bool listed = c.count == 2;
        EXPECT_EQ(saved.find("ActiveDirID=7") != std::string::npos, listed) << c.file << saved;
        EXPECT_EQ(platform::Gb18030ToUtf8(ReadFile(app.Native("ORVBook.odr"))), "管道\n阀门\n") << c.file;
    }
}

} // namespace
} // namespace orv
