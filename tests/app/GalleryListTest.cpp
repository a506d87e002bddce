#include "app/GalleryList.h"

#include "AppTestSupport.h"
#include "app/ReaderState.h"
#include "app/StartUp.h"
#include "platform/Encoding.h"
#include "platform/Hooks.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace orv {
namespace {

using Names = std::vector<std::string>;
using test::AppFolder;
using test::ReadFile;
using test::WriteFile;

TEST(OrderGalleries, NamedFirstInFileOrderThenTheOthersAppended)
{
    struct Case {
        Names lines, found, order, appended;
    };
    const Case cases[] = {
        { { "B", "A" }, { "A", "B", "C" }, { "B", "A", "C" }, { "C" } },
        // Letter case does not matter; a line naming nothing is ignored; a name that is there
        // twice is placed once per line.
        { { "c", "nothing", "a" }, { "A", "B", "C" }, { "C", "A", "B" }, { "B" } },
        { { "A", "A" }, { "A", "B", "A" }, { "A", "A", "B" }, { "B" } },
        { {}, { "A", "B" }, { "A", "B" }, { "A", "B" } },
        // An unnamed gallery is listed but not written: its empty line would be skipped when
        // read, and the name appended again at every start.
        { { "B" }, { "", "B" }, { "B", "" }, {} },
        // A line break in a name would split it over two lines that never match.
        { { "X Y" }, { "Z", "X\nY" }, { "X\nY", "Z" }, { "Z" } },
    };
    for (const Case& c : cases) {
        Names names = c.found, files;
        for (const std::string& name : c.found)
            files.push_back("\\lib\\" + name + ".GAL");
        Names appended = OrderGalleries(c.lines, names, files);
        EXPECT_EQ(names, c.order);
        EXPECT_EQ(appended, c.appended);
        for (std::size_t i = 0; i < names.size(); ++i)
            EXPECT_EQ(files[i], "\\lib\\" + names[i] + ".GAL") << "names and files stay parallel";
    }
}

class GalleryListTest : public testing::Test {
protected:
    void SetUp() override
    {
        // Discovery order is the byte order of the file names; the extension's case does not
        // matter.
        m_app.AddGallery({ "A1", "Alpha" });
        m_app.AddGallery({ "B2", "管道" });
        m_app.AddGallery({ "c3", "Gamma" });
        std::rename(m_app.Native("ORVBookLib/c3.GAL").c_str(), m_app.Native("ORVBookLib/c3.gal").c_str());
        WriteFile(m_app.Native("ORVBookLib/broken.gal"), "not a database");
        WriteFile(m_app.Native("ORVBookLib/notes.txt"), "x");
        m_previousHook = platform::SetShowMessageHook(
            [this](const std::string& text, const std::string& caption, platform::MessageKind) {
                m_messages.push_back(caption + ": " + text);
                return 1;
            });
        LoadSettings(m_state, m_app.AppPath());
    }
    void TearDown() override { platform::SetShowMessageHook(m_previousHook); }

    std::string OrderFile() const { return ReadFile(m_app.Native("ORVBook.odr")); }

    AppFolder m_app;
    ReaderState m_state;
    Names m_messages;
    platform::ShowMessageHook m_previousHook;
};

TEST_F(GalleryListTest, DiscoversGalleriesAndCreatesTheOrderFile)
{
    ASSERT_TRUE(LoadGalleryList(m_state));
    EXPECT_EQ(m_state.GalleryNames, (Names { "Alpha", "管道", "Gamma" }));
    ASSERT_EQ(m_state.GalleryFiles.size(), 3u);
    EXPECT_EQ(m_state.GalleryFiles[2], m_app.AppPath() + "\\ORVBookLib\\c3.gal");
    EXPECT_EQ(m_messages.size(), 1u) << "the broken database is reported once and skipped";
    EXPECT_EQ(OrderFile(), "Alpha\n" + platform::Utf8ToGb18030("管道") + "\nGamma\n");
}

TEST_F(GalleryListTest, OrderFileRulesAndOnlyAppendsWhatIsNew)
{
    // GB18030 lines, one in other letter case, and no line end after the last line.
    const std::string before = platform::Utf8ToGb18030("管道") + "\r\ngamma";
    WriteFile(m_app.Native("ORVBook.odr"), before);
    ASSERT_TRUE(LoadGalleryList(m_state));
    EXPECT_EQ(m_state.GalleryNames, (Names { "管道", "Gamma", "Alpha" }));
    EXPECT_EQ(m_state.GalleryFiles[2], m_app.AppPath() + "\\ORVBookLib\\A1.GAL");
    EXPECT_EQ(OrderFile(), before + "\nAlpha\n");

    // The next start finds every gallery named: the file stays as it is.
    ReaderState again;
    LoadSettings(again, m_app.AppPath());
    ASSERT_TRUE(LoadGalleryList(again));
    EXPECT_EQ(again.GalleryNames, m_state.GalleryNames);
    EXPECT_EQ(OrderFile(), before + "\nAlpha\n");
}

TEST_F(GalleryListTest, SelectGalleryByFile)
{
    ASSERT_TRUE(LoadGalleryList(m_state));
    m_state.CurrentGallery = 0;
    int switches = 0;
    auto gallerySwitch = [&switches] { ++switches; };

    EXPECT_EQ(SelectGalleryByFile(m_state, "b2", gallerySwitch), 0);
    EXPECT_EQ(m_state.CurrentGallery, 1);
    EXPECT_EQ(switches, 1);
    EXPECT_EQ(SelectGalleryByFile(m_state, "B2", gallerySwitch), -1) << "already current";
    EXPECT_EQ(SelectGalleryByFile(m_state, "b", gallerySwitch), -1) << "the whole file name counts";
    EXPECT_EQ(switches, 1);
    // Without a main window the gallery changes all the same and the result is -1.
    EXPECT_EQ(SelectGalleryByFile(m_state, "C3", nullptr), -1);
    EXPECT_EQ(m_state.CurrentGallery, 2);
}

} // namespace
} // namespace orv
