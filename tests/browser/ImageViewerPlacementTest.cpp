#include "browser/ImageViewerPlacement.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <climits>

namespace orv {
namespace {

using namespace test;

TEST(ImageViewerPlacementTest, StoredRectangleIsBroughtBackOntoTheScreen)
{
    const int sw = 1920, sh = 1080, c = 30;
    const struct {
        const char* what;
        ViewerRect stored;
        std::optional<ViewerRect> placed;
    } cases[] = {
        { "fits", { 100, 200, 800, 600 }, ViewerRect { 100, 200, 800, 600 } },
        { "no size", { 100, 200, 0, 600 }, std::nullopt },
        { "negative height", { 100, 200, 800, -1 }, std::nullopt },
        { "too wide", { 100, 200, 3000, 600 }, ViewerRect { 100, 200, 960, 600 } },
        { "too high", { 100, 200, 800, 2000 }, ViewerRect { 100, 200, 800, 540 } },
        { "top above the caption", { 100, -50, 800, 600 }, ViewerRect { 100, 30, 800, 600 } },
        { "top below the screen", { 100, 1060, 800, 600 }, ViewerRect { 100, 30, 800, 600 } },
        { "left off to the left", { -790, 200, 800, 600 }, ViewerRect { 0, 200, 800, 600 } },
        { "left partly off, still reachable", { -700, 200, 800, 600 }, ViewerRect { -700, 200, 800, 600 } },
        { "left off to the right", { 1900, 200, 800, 600 }, ViewerRect { 0, 200, 800, 600 } },
        { "extreme values", { INT_MIN, INT_MAX, INT_MAX, INT_MAX }, ViewerRect { 0, 30, 960, 540 } },
    };
    for (const auto& k : cases)
        EXPECT_EQ(PlaceViewer(k.stored, sw, sh, c), k.placed) << k.what;
}

TEST(ImageViewerPlacementTest, RectangleIsWrittenAndReadBackWhole)
{
    TempFolder folder;
    const std::string ini = folder.ProgramAt("ORVBook.ini");
    EXPECT_EQ(ReadViewerRect(ini), (ViewerRect {}));
    ASSERT_TRUE(WriteViewerRect(ini, { -5, 40, 700, 500 }));
    EXPECT_EQ(ReadViewerRect(ini), (ViewerRect { -5, 40, 700, 500 }));
}

TEST(ImageViewerPlacementTest, ModeIsPictureWhenAPictureTypeAppearsAnywhereInThePath)
{
    const std::pair<const char*, ViewerMode> cases[] = {
        { "\\g\\BOLT(M12).slb", ViewerMode::Picture },
        { "\\g\\a.Sld", ViewerMode::Picture },
        { "\\g\\a.jpg", ViewerMode::Picture },
        { "\\g\\a.bmp", ViewerMode::Picture },
        { "\\g\\a.wmf", ViewerMode::Picture },
        { "\\g\\a.GIF", ViewerMode::Picture },
        { "D:\\a.jpg\\b.txt", ViewerMode::Picture },
        { "\\g\\a.png", ViewerMode::Web },
        { "\\g\\a.htm", ViewerMode::Web },
        { "\\g\\ajpg", ViewerMode::Web },
    };
    for (const auto& [path, mode] : cases)
        EXPECT_EQ(ViewerModeForPath(path), mode) << path;
}

} // namespace
} // namespace orv
