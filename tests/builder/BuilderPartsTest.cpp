#include "builder/DrawingFit.h"
#include "builder/PageText.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace orv {
namespace {

TEST(PageTextTest, KeepsTheReadableTextOnly)
{
    struct Case {
        const char* Html;
        const char* Text;
    };
    const Case cases[] = {
        {"<html><head><title>螺栓</title></head><body><p>六角  头</p><p>M12</p></body></html>",
            "螺栓\r\n六角 头\r\nM12"},
        {"a<script type=x>if (a<b) document.write('<p>x</p>')</script>b<STYLE>p{}</STYLE>c", "abc"},
        {"x<!-- <p>hidden</p> -->y<br>z <b>螺</b>栓", "xy\r\nz 螺栓"},
        {"&lt;M12&gt; &amp;&nbsp;&#20013;&#x6587; &unknown; &", "<M12> & 中文 &unknown; &"},
        {"<td>1</td><td>2</td></tr><tr><td>3", "1 2\r\n3"},
        {"unterminated <b", "unterminated"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PageText(c.Html), c.Text) << c.Html;
}

TEST(DrawingFitTest, FitsTheLongerSideAndFlattensCurves)
{
    DrawingDescription drawing;
    drawing.Items.push_back({DrawingItem::Kind::Line, {-10, -5, 30, 15}, false, 1, "", 0});
    drawing.Items.push_back({DrawingItem::Kind::Circle, {10, 5, 5}, false, 2, "", 0});
    drawing.Items.push_back({DrawingItem::Kind::Arc, {10, 5, 2, 350, 10}, false, 3, "", 0});
    drawing.Items.push_back({DrawingItem::Kind::Fill, {0, 0, 1, 0, 1, 1}, false, 4, "", 0});
    drawing.Items.push_back({DrawingItem::Kind::Text, {-10, -5}, false, 7, "M12", 2.0});
    FittedDrawing fitted = FitDrawing(drawing);

    EXPECT_EQ(fitted.List.MinX(), 0);
    EXPECT_EQ(fitted.List.MinY(), 0);
    EXPECT_EQ(fitted.List.MaxX(), kFittedExtent); // 40 units wide become the whole extent
    EXPECT_EQ(fitted.List.MaxY(), kFittedExtent / 2);
    const std::vector<unsigned>& sizes = fitted.List.PrimitiveSizes();
    const std::vector<std::int32_t>& colors = fitted.List.PrimitiveColors();
    // One line, 72 segments of the circle, an arc of 20 degrees through 0 in 4 segments, one fill.
    EXPECT_EQ(std::count(colors.begin(), colors.end(), 2), 72);
    EXPECT_EQ(std::count(colors.begin(), colors.end(), 3), 4);
    ASSERT_EQ(sizes.back(), 3u);
    EXPECT_EQ(colors.back(), 4);
    ASSERT_EQ(fitted.Texts.size(), 1u);
    EXPECT_EQ(fitted.Texts[0].X, 0);
    EXPECT_EQ(fitted.Texts[0].Height, 200);

    std::string slide, error;
    ASSERT_TRUE(SlideFromDrawing(fitted, slide, error)) << error;
    EXPECT_EQ(slide.rfind("AutoCAD Slide\r\n", 0), 0u);
}

TEST(OrvtoolBuildGallery, ReportsTablesOrTheMistake)
{
    test::TempFolder folder;
    test::WriteFile(folder.NativeAt("m.json"),
        R"({"name": "G", "gallery": {"name": "g"}, "specialities": [{"id": 1}],
            "directories": [{"id": 2, "spec": 1, "parent": 9}]})");
    auto bad = test::RunTool({"build-gallery", folder.NativeAt("m.json"), folder.NativeAt("lib")});
    EXPECT_EQ(bad.status, 1);
    EXPECT_EQ(bad.err, "orvtool: directories[0].parent: no directory 9\n");

    test::WriteFile(folder.NativeAt("m.json"), R"({"name": "G", "gallery": {"name": "g"}})");
    auto good = test::RunTool({"build-gallery", folder.NativeAt("m.json"), folder.NativeAt("lib"), "--format", "sqlite"});
    ASSERT_EQ(good.status, 0) << good.err;
    EXPECT_EQ(good.out.rfind("table\tGallery\t1\ntable\tGalleryTitle\t0\n", 0), 0u) << good.out;
    auto sql = test::RunTool({"sql", folder.NativeAt("lib/G.GAL"), "Select GalleryName from Gallery"});
    EXPECT_EQ(sql.out, "GalleryName\ng\n");
}

} // namespace
} // namespace orv
