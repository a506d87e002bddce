#include "app/GalleryInfo.h"

#include "AppTestSupport.h"
#include "app/ReaderState.h"
#include "app/StartUp.h"
#include "app/common/ProfileFile.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

using test::AppFolder;

class GalleryInfoTest : public testing::Test {
protected:
    void SetUp() override
    {
        m_app.AddGallery({ "Pipes", "管道", "2.0", "2025-05-01" });
        m_app.AddGallery({ "Valves", "阀门" }, "other");
        m_app.AddGallery({ "Gears", "齿轮" }, "");
        ASSERT_EQ(StartUp(m_state, m_app.AppPath()), StartUpResult::Ready);
    }

    std::string GalleryPathSetting() const
    {
        std::string value;
        CProfileFile(m_state.IniPath).ReadString("Gallery", "GalleryPath", value);
        return value;
    }

    AppFolder m_app;
    ReaderState m_state;
};

TEST_F(GalleryInfoTest, ListsTheGalleriesOfAWorkDirectory)
{
    std::vector<GalleryRow> rows = ListGalleryInfo(m_state, m_state.LibPath);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].Name, "管道");
    EXPECT_EQ(rows[0].Version, "2.0");
    EXPECT_EQ(rows[0].Date, "2025-05-01");
    EXPECT_EQ(WorkDirDisplay(m_state, m_state.LibPath), m_state.LibPath);
    EXPECT_EQ(WorkDirDisplay(m_state, m_app.AppPath()), "<当前工作目录>");
}

TEST_F(GalleryInfoTest, ChosenFolderIsStoredAtOnceButUsedOnlyOnConfirmation)
{
    const std::string other = m_app.AppPath() + "\\other";
    EXPECT_EQ(ChooseWorkDir(m_state, other + "\\"), other);
    EXPECT_EQ(GalleryPathSetting(), other);
    EXPECT_EQ(m_state.LibPath, m_app.AppPath() + "\\ORVBookLib") << "cancelled: this run keeps its folder";

    ReaderState next;
    ASSERT_EQ(StartUp(next, m_app.AppPath()), StartUpResult::Ready);
    EXPECT_EQ(next.GalleryNames, std::vector<std::string> { "阀门" }) << "the next start uses it";
}

TEST_F(GalleryInfoTest, ConfirmingAnotherFolderReloadsTheGalleries)
{
    m_state.CurrentDirID = 33;
    EXPECT_FALSE(ConfirmWorkDir(m_state, m_app.AppPath() + "\\orvbooklib"));
    EXPECT_EQ(m_state.CurrentDirID, 33) << "the same folder changes nothing";

    // The application folder itself: stored as an empty GalleryPath.
    EXPECT_TRUE(ConfirmWorkDir(m_state, "<当前工作目录>"));
    EXPECT_EQ(m_state.LibPath, m_app.AppPath());
    EXPECT_EQ(GalleryPathSetting(), "");
    EXPECT_EQ(m_state.GalleryNames, std::vector<std::string> { "齿轮" });
    EXPECT_EQ(m_state.CurrentGallery, 0);
    EXPECT_EQ(m_state.CurrentDirID, 0);

    // A folder without galleries leaves no gallery current, not an index past the list.
    m_state.CurrentGallery = 0;
    EXPECT_TRUE(ConfirmWorkDir(m_state, m_app.AppPath() + "\\empty"));
    EXPECT_TRUE(m_state.GalleryNames.empty());
    EXPECT_EQ(m_state.CurrentGallery, -1);
    EXPECT_EQ(GalleryPathSetting(), m_app.AppPath() + "\\empty");
}

} // namespace
} // namespace orv
