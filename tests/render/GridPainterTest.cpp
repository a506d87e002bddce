#include "browser/render/GridPainter.h"

#include "app/ReaderState.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <climits>

namespace orv {
namespace {

constexpr QRgb kUntouched = 0xFFFF00FFu; // magenta: nothing painted here
constexpr QRgb kPictureMark = 0xFF00FF00u;

// Captions need fonts, and fonts need a GUI application; the off-screen platform is enough.
void EnsureGuiApplication()
{
    if (QGuiApplication::instance())
        return;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "orv_render_tests";
    static char* argv[] = { name, nullptr };
    new QGuiApplication(argc, argv); // lives as long as the process
}

GridPage PageOf(const std::vector<std::string>& captions, int rows, int columns)
{
    DirDrawingList list;
    for (std::size_t i = 0; i < captions.size(); ++i) {
        list.Ids.push_back(static_cast<std::uint32_t>(i + 1));
        list.Names.push_back("N");
        list.Captions.push_back(captions[i]);
        list.PreviewMembers.push_back("P.SLD");
        list.PreviewLibraries.push_back("");
        list.Folders.push_back("\\nowhere");
    }
    GridSettings settings;
    settings.Rows = rows;
    settings.Columns = columns;
    return BuildGridPage(list, settings, 0);
}

// The leftmost and rightmost columns inside rect holding a pixel of colour ink; {INT_MAX, -1}
// when there is none.
std::pair<int, int> InkSpan(const QImage& image, const Rect& r, QRgb ink)
{
    std::pair<int, int> span { INT_MAX, -1 };
    for (int y = r.Y; y < r.Y + r.Height; ++y)
        for (int x = r.X; x < r.X + r.Width; ++x)
            if (image.pixel(x, y) == ink) {
                span.first = std::min(span.first, x);
                span.second = std::max(span.second, x);
            }
    return span;
}

class GridPainting : public ::testing::Test {
protected:
    void SetUp() override { EnsureGuiApplication(); }

    // Paints page into a 400 x 300 image over 2 x 2 cells with drawing selected.
    QImage Paint(const GridPage& page, int selected)
    {
        m_layout = LayoutGridCells(400, 300, 2, 2, 8, 20);
        QImage image(400, 300, QImage::Format_RGB32);
        image.fill(kUntouched);
        m_style.Colours.PictureBackground = 0xFFFFFF;
        m_style.Colours.CaptionBackground = 0xC0C0C0;
        m_style.Colours.CaptionText = 0x000000;
        m_style.Font = QFont("DejaVu Sans", 9);
        QPainter painter(&image);
        PaintGridPage(
            painter, page, m_layout, selected, m_style, [this](QPainter& p, const QRect& rect, int index) {
                m_calls.emplace_back(index, Rect { rect.x(), rect.y(), rect.width(), rect.height() });
                p.fillRect(rect.center().x() - 2, rect.center().y() - 2, 5, 5, QColor(kPictureMark));
                p.fillRect(rect.adjusted(-30, -30, 30, 30).topLeft().x(), rect.y() - 30, 10, 10, Qt::red);
            });
        return image;
    }

    GridLayout m_layout;
    GridPaintStyle m_style;
    std::vector<std::pair<int, Rect>> m_calls;
};

TEST_F(GridPainting, ColourRefsAreReadAsBlueGreenRed)
{
    EXPECT_EQ(ColorFromColorRef(kGridSelectionColour), QColor(0, 0, 128));
    EXPECT_EQ(ColorFromColorRef(0x0000FF), QColor(255, 0, 0));
    EXPECT_EQ(ColorFromColorRef(0x123456), QColor(0x56, 0x34, 0x12));
}

TEST_F(GridPainting, ShownCellsGetTheirBackgroundsPicturesAndSelectionHiddenOnesNothing)
{
    const QImage image = Paint(PageOf({ "A", "B", "C" }, 2, 2), 1);
    const QRgb white = 0xFFFFFFFFu, navy = QColor(0, 0, 128).rgb(), grey = 0xFFC0C0C0u;

    ASSERT_EQ(m_calls.size(), 3u);
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(m_calls[static_cast<std::size_t>(k)].first, k);
        EXPECT_EQ(
            m_calls[static_cast<std::size_t>(k)].second, m_layout.Cells[static_cast<std::size_t>(k)].Picture);
    }
    const struct {
        int cell;
        QRgb picture, caption;
    } cases[] = { { 0, white, grey }, { 1, navy, navy }, { 2, white, grey }, { 3, kUntouched, kUntouched } };
    for (const auto& c : cases) {
        const CellRects& r = m_layout.Cells[static_cast<std::size_t>(c.cell)];
        EXPECT_EQ(image.pixel(r.Picture.X + 1, r.Picture.Y + 1), c.picture) << c.cell;
        EXPECT_EQ(image.pixel(r.Caption.X + 1, r.Caption.Y + 1), c.caption) << c.cell;
        const QRgb centre
            = image.pixel(r.Picture.X + r.Picture.Width / 2, r.Picture.Y + r.Picture.Height / 2);
        EXPECT_EQ(centre == kPictureMark, c.cell < 3) << c.cell;
    }
    // The selected caption is written in white, the others in their text colour; a picture
    // never paints outside its own area.
    EXPECT_GE(InkSpan(image, m_layout.Cells[1].Caption, white).second, 0);
    EXPECT_GE(InkSpan(image, m_layout.Cells[0].Caption, 0xFF000000u).second, 0);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            ASSERT_NE(image.pixel(x, y), 0xFFFF0000u) << x << "," << y;
}

TEST_F(GridPainting, CaptionsAreCentredWhenTheyFitAndLeftAlignedWhenNot)
{
    const std::string longCaption(200, 'W');
    const QImage image = Paint(PageOf({ "Ab", longCaption }, 2, 2), -1);
    const QRgb black = 0xFF000000u;

    const Rect& shortRect = m_layout.Cells[0].Caption;
    const auto [left, right] = InkSpan(image, shortRect, black);
    ASSERT_GE(right, 0) << "no text drawn";
    const int before = left - shortRect.X, after = shortRect.X + shortRect.Width - 1 - right;
    // Side bearings shift the ink a little from the advance the text is centred by.
    EXPECT_LE(std::abs(before - after), 8) << before << " " << after;
    EXPECT_GT(before, shortRect.Width / 4);

    const Rect& longRect = m_layout.Cells[1].Caption;
    const auto span = InkSpan(image, longRect, black);
    ASSERT_GE(span.second, 0) << "no text drawn";
    EXPECT_LE(span.first - longRect.X, 3);

    const QFontMetrics metrics(m_style.Font);
    EXPECT_TRUE(CaptionIsCentred(metrics, "Ab", shortRect.Width));
    EXPECT_FALSE(CaptionIsCentred(metrics, QString::fromStdString(longCaption), longRect.Width));
}

} // namespace
} // namespace orv
