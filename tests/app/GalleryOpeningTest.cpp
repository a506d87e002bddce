#include "navigation/GalleryOpening.h"

#include "AppTestSupport.h"
#include "app/ReaderState.h"
#include "app/StartUp.h"
#include "platform/Hooks.h"

#include <gtest/gtest.h>

#include <cctype>

namespace orv {
namespace {

using test::AppFolder;
using Captions = std::array<std::string, 4>;

class GalleryOpeningTest : public testing::Test {
protected:
    void SetUp() override
    {
        m_previousHook = platform::SetShowMessageHook(
            [this](const std::string& text, const std::string& caption, platform::MessageKind kind) {
                if (caption == "Open_Connection")
                    ++m_connectionMessages;
                else
                    m_warnings.push_back(caption + ": " + text
                        + (kind == platform::MessageKind::Warning ? "" : " (not a warning)"));
                return 1;
            });
    }
    void TearDown() override { platform::SetShowMessageHook(m_previousHook); }

    AppFolder m_app;
    ReaderState m_state;
    std::vector<std::string> m_warnings;
    int m_connectionMessages = 0;
    platform::ShowMessageHook m_previousHook;
};

TEST_F(GalleryOpeningTest, SetsPathsCaptionsAndTheDrawingsFlag)
{
    m_app.AddGallery(
        { "Pipes", "管道", "1", "2026", { { "STATUS1", "标准" }, { "Other", "x" }, { "shpclass", "形状" } } },
        "Lib.GAL");
    m_app.AddGallery({ "empty", "空", "1", "2026", {}, false }, "Lib.GAL");
    m_state.AppPath = m_app.AppPath();
    m_state.LibPath = m_app.AppPath() + "\\Lib.GAL";
    m_state.GalleryFiles = { m_state.LibPath + "\\Pipes.GAL", m_state.LibPath + "\\empty.gal" };
    m_state.History.Add(3, "key");

    OpenGallery(m_state, 0);
    EXPECT_TRUE(m_state.DatabaseOpen);
    EXPECT_EQ(m_state.CurrentGallery, 0);
    // Only the extension changes: the folder "Lib.GAL" stays what it is.
    std::string upperApp = m_app.AppPath();
    for (char& c : upperApp)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    EXPECT_EQ(m_state.TreeCachePath, upperApp + "\\LIB.GAL\\PIPES.Lst");
    EXPECT_EQ(m_state.HistoryIniPath, m_app.AppPath() + "\\Pipes.HIS");
    EXPECT_EQ(m_state.ColumnCaptions, (Captions { "标准", "内容2", "内容3", "形状" }));
    EXPECT_TRUE(m_state.GalleryHasDrawings);
    EXPECT_EQ(m_state.History.Size(), 0u);
    EXPECT_EQ(m_state.History.Position, -1);

    OpenGallery(m_state, 1);
    EXPECT_TRUE(m_state.DatabaseOpen);
    EXPECT_FALSE(m_state.GalleryHasDrawings);
    EXPECT_EQ(m_state.ColumnCaptions, (Captions { "内容1", "内容2", "内容3", "内容4" }));
    EXPECT_EQ(m_state.HistoryIniPath, m_app.AppPath() + "\\empty.HIS");
    EXPECT_TRUE(m_warnings.empty());

    // An index outside the list leaves no gallery open.
    OpenGallery(m_state, 2);
    EXPECT_FALSE(m_state.DatabaseOpen);
    EXPECT_EQ(m_state.TreeCachePath, "");
    EXPECT_EQ(m_state.HistoryIniPath, "");
    EXPECT_FALSE(m_state.GalleryHasDrawings);
}

TEST_F(GalleryOpeningTest, ADatabaseThatDoesNotOpenIsReportedAndKeepsItsHistoryPath)
{
    test::WriteFile(m_app.Native("lib/Broken.gal"), "not a database");
    m_state.AppPath = m_app.AppPath();
    m_state.GalleryFiles = { m_app.AppPath() + "\\lib\\Broken.gal" };
    m_state.DriverType = 1;
    OpenGallery(m_state, 0);
    EXPECT_EQ(m_connectionMessages, 2) << "DriverType 1 tries once more";
    EXPECT_FALSE(m_state.DatabaseOpen);
    EXPECT_EQ(m_warnings, std::vector<std::string> { "打开库: " + m_state.GalleryFiles[0] });
    EXPECT_EQ(m_state.HistoryIniPath, m_app.AppPath() + "\\Broken.HIS");
    EXPECT_EQ(m_state.ColumnCaptions[0], "内容1");
}

} // namespace
} // namespace orv
