#include "app/StartUp.h"

#include "AppTestSupport.h"
#include "app/ReaderState.h"
#include "app/common/PathHelpers.h"
#include "platform/Paths.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>

namespace orv {
namespace {

using test::AppFolder;
using test::ReadFile;
using test::WriteFile;

// Runs with the current folder changed, then changes it back.
class ScopedCurrentFolder {
public:
    explicit ScopedCurrentFolder(const std::string& native)
    {
        char buffer[PATH_MAX];
        m_previous = ::getcwd(buffer, sizeof buffer) ? buffer : "/";
        EXPECT_EQ(::chdir(native.c_str()), 0);
    }
    ~ScopedCurrentFolder() { (void)::chdir(m_previous.c_str()); }

private:
    std::string m_previous;
};

TEST(ResolveAppPath, OptionThenEnvironmentThenCurrentFolderThenUserFolder)
{
    AppFolder app;
    const test::TempFolder& dir = app.Dir();
    WriteFile(dir.NativeAt("home/.keep"), "");
    WriteFile(dir.NativeAt("withini/orvbook.INI"), "");
    WriteFile(dir.NativeAt("withlib/ORVBookLib/.keep"), "");
    WriteFile(dir.NativeAt("plain/.keep"), "");
    test::ScopedEnv data("XDG_DATA_HOME", dir.NativeAt("data"));
    ::unsetenv("ORVBOOK_HOME");
    std::string error;

    {
        ScopedCurrentFolder cwd(dir.NativeAt("withini"));
        EXPECT_EQ(ResolveAppPath(dir.NativeAt("home/"), error), dir.ProgramAt("home"));
        EXPECT_EQ(ResolveAppPath("../plain", error), dir.ProgramAt("plain"));
        EXPECT_EQ(ResolveAppPath("", error), dir.ProgramAt("withini")); // the ini is found in any case
        test::ScopedEnv home("ORVBOOK_HOME", dir.NativeAt("home"));
        EXPECT_EQ(ResolveAppPath("", error), dir.ProgramAt("home"));
    }
    {
        ScopedCurrentFolder cwd(dir.NativeAt("withlib"));
        EXPECT_EQ(ResolveAppPath("", error), dir.ProgramAt("withlib"));
    }
    {
        ScopedCurrentFolder cwd(dir.NativeAt("plain"));
        EXPECT_EQ(ResolveAppPath("", error), dir.ProgramAt("data\\orvbook"));
        EXPECT_TRUE(platform::FolderExists(dir.ProgramAt("data\\orvbook")));
    }
    EXPECT_FALSE(ResolveAppPath(dir.NativeAt("missing"), error));
    EXPECT_NE(error.find("missing"), std::string::npos) << error;
}

TEST(LoadSettings, ReadsTitleDriverTypeAndGalleryPath)
{
    AppFolder app;
    struct Case {
        std::string ini, libPath, title;
        int driverType;
    };
    const std::string appPath = app.AppPath();
    const Case cases[] = {
        { "", appPath + "\\ORVBookLib", "Orv机电工程师手册", 0 },
        { "[Gallery]\nGalleryPath=\nAppTitle=\n[System]\nDriverType=2\n", appPath + "\\ORVBookLib",
            "Orv机电工程师手册", 0 },
        // Upper-cased before the replacement: the inserted AppPath keeps its case.
        { "[Gallery]\nGalleryPath=<AppPath>\\lib\\\nAppTitle=手册\n[System]\nDriverType=1\n",
            appPath + "\\LIB", "手册", 1 },
        { "[Gallery]\nGalleryPath=\\srv\\Gal\n", "\\SRV\\GAL", "Orv机电工程师手册", 0 },
        { "[Gallery]\nGalleryPath=shared\\lib\n", appPath + "\\SHARED\\LIB", "Orv机电工程师手册", 0 },
    };
    for (const Case& c : cases) {
        WriteFile(app.Native("ORVBook.ini"), c.ini);
        ReaderState state;
        LoadSettings(state, appPath + "\\");
        EXPECT_EQ(state.AppPath, appPath);
        EXPECT_EQ(state.IniPath, appPath + "\\ORVBook.ini");
        EXPECT_EQ(state.LibPath, c.libPath) << c.ini;
        EXPECT_EQ(state.AppTitle, c.title) << c.ini;
        EXPECT_EQ(state.DriverType, c.driverType) << c.ini;
        EXPECT_EQ(state.Database.DriverType, c.driverType) << c.ini;
    }
}

TEST(RestoreState, AppliesTheStoredValuesWithinTheirLimits)
{
    AppFolder app;
    struct Case {
        std::string ini;
        int galleries;
        int current, dirId, splitW;
    };
    const Case cases[] = {
        { "CurrectGallery=3\nActiveDirID=12.9\nSplitW=5\n", 3, 0, 12, 200 },
        { "CurrectGallery=3\nActiveDirID=-7.5\nSplitW=6\n", 4, 3, -7, 6 },
        { "CurrectGallery=3\nActiveDirID=abc\n", 1, 0, 0, 200 },
        { "CurrectGallery=-1\nActiveDirID=99999999999\nSplitW=250.7\n", 2, 0, INT_MAX, 250 },
        { "", 2, 0, 0, 200 },
    };
    for (const Case& c : cases) {
        WriteFile(app.Native("ORVBook.ini"), "[Gallery]\n" + c.ini);
        ReaderState state;
        LoadSettings(state, app.AppPath());
        state.GalleryNames.assign(static_cast<std::size_t>(c.galleries), "g");
        state.GalleryFiles.assign(static_cast<std::size_t>(c.galleries), "g.gal");
        RestoreState(state);
        EXPECT_EQ(state.CurrentGallery, c.current) << c.ini << c.galleries;
        EXPECT_EQ(state.CurrentDirID, c.dirId) << c.ini;
        EXPECT_EQ(state.SplitW, c.splitW) << c.ini;
    }
}

TEST(CollectAddins, ListedFilesThatExistElseEveryAddFile)
{
    AppFolder app;
    WriteFile(app.Native("b.add"), "[Add]\n");
    WriteFile(app.Native("A.ADD"), "[Add]\n");
    WriteFile(app.Native("tools/c.add"), "[Add]\n");
    // Without a list: the ".add" files of the folder itself, in byte order.
    EXPECT_EQ(CollectAddins(app.AppPath()), (std::vector<std::string> { "A.ADD", "b.add" }));

    // A list ending with a line end, with CR LF lines, a missing file and a repeated name.
    WriteFile(app.Native("orvBookAddin.lst"), "tools\\c.add\r\nmissing.add\n\nb.add\nb.add\n");
    EXPECT_EQ(CollectAddins(app.AppPath()), (std::vector<std::string> { "tools\\c.add", "b.add", "b.add" }));
}

TEST(StartUp, WithoutGalleriesStopsBeforeRestoring)
{
    AppFolder app;
    WriteFile(app.Native("ORVBook.ini"), "[Gallery]\nSplitW=300\n");
    ReaderState state;
    EXPECT_EQ(StartUp(state, app.AppPath()), StartUpResult::NoGallery);
    EXPECT_EQ(state.CurrentGallery, -1);
    EXPECT_EQ(state.SplitW, 200);
    EXPECT_FALSE(platform::PathExists(app.AppPath() + "\\ORVBook.odr"));

    app.AddGallery({ "Pipes", "管道" });
    EXPECT_EQ(StartUp(state, app.AppPath()), StartUpResult::Ready);
    EXPECT_EQ(state.CurrentGallery, 0);
    EXPECT_EQ(state.SplitW, 300);
}

TEST(ShutDown, DeletesTheTemporaryFolderAndWritesTheStateInOneReplacement)
{
    AppFolder app;
    const std::string before
        = "; settings\r\n[Gallery]\r\nAppTitle=手册\r\nSplitW=9\r\n[Preview]\r\nRow=3\r\n";
    WriteFile(app.Native("ORVBook.ini"), before);
    ReaderState state;
    LoadSettings(state, app.AppPath());
    state.CurrentGallery = 2;
    state.CurrentDirID = -12;
    state.SplitW = 240;
    state.TabIndex = 1;
    WriteFile(platform::NativePath(GetTempFolder()) + "/page/a.htm", "x");

    ASSERT_TRUE(ShutDown(state));
    EXPECT_FALSE(platform::PathExists(GetTempFolder() + "\\page")) << "the temporary folder is emptied";
    EXPECT_EQ(ReadFile(app.Native("ORVBook.ini")),
        "; settings\r\n[Gallery]\r\nAppTitle=手册\r\nSplitW=240\r\nCurrectGallery=2\r\nActiveDirID=-12\r\n"
        "TabIndex=1\r\n[Preview]\r\nRow=3\r\n");

    // A settings file that may not be written (read-only, even for root) is left whole, and
    // the failure is reported.
    ::chmod(app.Native("ORVBook.ini").c_str(), 0444);
    state.SplitW = 100;
    EXPECT_FALSE(SaveState(state));
    ::chmod(app.Native("ORVBook.ini").c_str(), 0644);
    EXPECT_NE(ReadFile(app.Native("ORVBook.ini")).find("SplitW=240"), std::string::npos);
}

} // namespace
} // namespace orv
