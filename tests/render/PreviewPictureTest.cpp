#include "browser/render/PreviewPicture.h"

#include "browser/AcadSlideBitmap.h"
#include "browser/GifWriter.h"
#include "browser/SlideLibrary.h"
#include "browser/SlideWriter.h"
#include "browser/WmfBytes.h"
#include "support/TestSupport.h"

#include <QBuffer>
#include <QPainter>

#include <gtest/gtest.h>

namespace orv {
namespace {

constexpr QRgb kRed = 0xFFFF0000u, kBlue = 0xFF0000FFu, kGrey = 0xFF808080u;

std::string Encode(const QImage& image, const char* format)
{
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(image.save(&buffer, format)) << format;
    return std::string(data.constData(), static_cast<std::size_t>(data.size()));
}

QImage Solid(QSize size, QRgb color)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(color);
    return image;
}

std::string Slide()
{
    CSlideWriter writer;
    writer.AddLine(1, 0, 0, 100, 100);
    return writer.Finish();
}

std::string Metafile()
{
    test::WmfBuilder b;
    b.Placeable(0, 0, 1440, 720, 1440)
        .WindowExt(1440, 720)
        .Pen(5, 0, 0)
        .Brush(0, 0x0000FF)
        .Select(0)
        .Select(1);
    b.Rectangle(0, 0, 1440, 720);
    return b.Bytes();
}

class PreviewPictures : public ::testing::Test {
protected:
    void Put(const std::string& name, const std::string& bytes)
    {
        test::WriteFile(m_dir.NativeAt(name), bytes);
    }
    std::string At(const std::string& name) const { return m_dir.ProgramAt(name); }
    QImage Paint(const PreviewPicture& picture, QSize client)
    {
        QImage image = Solid(client, kGrey);
        QPainter painter(&image);
        PaintPreviewPicture(painter, image.rect(), picture, Qt::black);
        painter.end();
        return image;
    }

    test::TempFolder m_dir;
};

TEST_F(PreviewPictures, PathEndingDecidesSlideOrImage)
{
    std::string library, error;
    ASSERT_TRUE(WriteSlideLibrary({ { "M12", Slide() } }, library, error)) << error;
    Put("a.sld", Slide());
    Put("BOLTS.slb", library);
    Put("pic.png", Encode(Solid(QSize(4, 4), kRed), "PNG"));
    struct Case {
        std::string path;
        PreviewPicture::Mode mode;
        int result, slideResult;
    };
    const std::vector<Case> cases = {
        { At("a.sld"), PreviewPicture::Mode::Slide, 1, 1 },
        { At("A.SLD"), PreviewPicture::Mode::Slide, 1, 1 },
        { At("BOLTS(m12).slb"), PreviewPicture::Mode::Slide, 1, 1 },
        { At("BOLTS(M99).slb"), PreviewPicture::Mode::Slide, 1, -1 },
        { At("missing.sld"), PreviewPicture::Mode::Slide, 1, 0 },
        { At("PIC.PNG"), PreviewPicture::Mode::Image, 1, 0 },
        { At("missing.png"), PreviewPicture::Mode::Image, 0, 0 },
    };
    for (const Case& c : cases) {
        const PreviewPicture picture = LoadPreviewPicture(c.path);
        EXPECT_EQ(picture.mode, c.mode) << c.path;
        EXPECT_EQ(picture.result, c.result) << c.path;
        EXPECT_EQ(picture.slideResult, c.slideResult) << c.path;
    }
}

TEST_F(PreviewPictures, FormatComesFromTheContentNotTheName)
{
    const QImage red = Solid(QSize(6, 3), kRed);
    struct Case {
        std::string name, bytes, format;
    };
    const std::vector<Case> cases = {
        { "png-named.jpg", Encode(red, "PNG"), "png" },
        { "jpeg-named.gif", Encode(red, "JPEG"), "jpeg" },
        { "gif-named.png", EncodeGif(RasterImage(6, 3, SlideRgb(255, 0, 0))), "gif" },
        { "bmp-named.jpg", Encode(red, "BMP"), "bmp" },
        { "wmf-named.jpg", Metafile(), "wmf" },
    };
    for (const Case& c : cases) {
        Put(c.name, c.bytes);
        const PreviewPicture picture = LoadPreviewPicture(At(c.name));
        EXPECT_EQ(picture.result, 1) << c.name;
        EXPECT_EQ(picture.format, c.format) << c.name;
        EXPECT_EQ(picture.NaturalSize(), c.format == "wmf" ? QSize(96, 48) : QSize(6, 3)) << c.name;
    }
}

TEST_F(PreviewPictures, BrokenPictureFallsBackToTheBmpBesideIt)
{
    Put("broken.jpg", "not a picture");
    Put("broken.bmp", Encode(Solid(QSize(2, 2), kBlue), "BMP"));
    Put("nodot", "not a picture");
    Put("nodot.bmp", Encode(Solid(QSize(2, 2), kBlue), "BMP"));
    Put("png.jpg", "not a picture");
    Put("png.bmp", Encode(Solid(QSize(2, 2), kBlue), "PNG"));
    struct Case {
        std::string name;
        int result;
        std::string format;
    };
    const std::vector<Case> cases = {
        { "broken.jpg", 1, "fallback-bmp" }, { "nodot", 1, "fallback-bmp" },
        { "png.jpg", 0, "" }, // the fallback is read as a BMP only
    };
    for (const Case& c : cases) {
        const PreviewPicture picture = LoadPreviewPicture(At(c.name));
        EXPECT_EQ(picture.result, c.result) << c.name;
        EXPECT_EQ(picture.format, c.format) << c.name;
    }
}

TEST_F(PreviewPictures, PaintingFollowsTheControlsRules)
{
    Put("small.png", Encode(Solid(QSize(10, 10), kRed), "PNG"));
    Put("large.png", Encode(Solid(QSize(400, 400), kRed), "PNG"));
    Put("x.jpg", "broken");
    Put("x.bmp", Encode(Solid(QSize(2, 2), kBlue), "BMP"));
    Put("a.sld", Slide());

    // A smaller picture keeps its size at the top-left corner.
    QImage image = Paint(LoadPreviewPicture(At("small.png")), QSize(50, 50));
    EXPECT_EQ(image.pixel(9, 9), kRed);
    EXPECT_EQ(image.pixel(10, 10), kGrey);
    // A larger one is squeezed into the client area.
    image = Paint(LoadPreviewPicture(At("large.png")), QSize(50, 50));
    EXPECT_EQ(image.pixel(49, 49), kRed);
    // The fallback bitmap covers the whole client area.
    image = Paint(LoadPreviewPicture(At("x.jpg")), QSize(50, 30));
    EXPECT_EQ(image.pixel(0, 0), kBlue);
    EXPECT_EQ(image.pixel(49, 29), kBlue);
    // A slide fills the client area with the background.
    image = Paint(LoadPreviewPicture(At("a.sld")), QSize(50, 50));
    EXPECT_EQ(image.pixel(1, 1), 0xFF000000u);
    // Nothing loaded: nothing painted.
    image = Paint(LoadPreviewPicture(At("missing.sld")), QSize(20, 20));
    EXPECT_EQ(image.pixel(10, 10), kGrey);
}

TEST_F(PreviewPictures, MetafileRendersToPngAtItsNaturalSize)
{
    Put("m.wmf", Metafile());
    Put("fake.wmf", Encode(Solid(QSize(2, 2), kBlue), "PNG"));
    std::string png;
    ASSERT_TRUE(RenderMetafilePng(At("M.WMF"), png));
    QImage image;
    ASSERT_TRUE(image.loadFromData(QByteArray(png.data(), static_cast<qsizetype>(png.size())), "PNG"));
    EXPECT_EQ(image.size(), QSize(96, 48));
    EXPECT_EQ(image.pixel(48, 24), kRed);
    EXPECT_FALSE(RenderMetafilePng(At("fake.wmf"), png));
    EXPECT_FALSE(RenderMetafilePng(At("none.wmf"), png));
}

} // namespace
} // namespace orv
