#include "browser/PictureWriter.h"

#include <gtest/gtest.h>

#include <map>

namespace orv {
namespace {

struct ExtensionCase {
    const char* path;
    std::optional<PictureFormat> format;
};

class PictureExtensions : public ::testing::TestWithParam<ExtensionCase> { };

TEST_P(PictureExtensions, NameTheFormat)
{
    EXPECT_EQ(PictureFormatOfPath(GetParam().path), GetParam().format) << GetParam().path;
}

INSTANTIATE_TEST_SUITE_P(Cases, PictureExtensions,
    ::testing::Values(ExtensionCase { "a.png", PictureFormat::Png },
        ExtensionCase { "A.PNG", PictureFormat::Png }, ExtensionCase { "p/x.jpg", PictureFormat::Jpeg },
        ExtensionCase { "x.JPEG", PictureFormat::Jpeg }, ExtensionCase { "x.Gif", PictureFormat::Gif },
        ExtensionCase { "x.bmp", PictureFormat::Bmp }, ExtensionCase { "x.y.WMF", PictureFormat::Wmf },
        ExtensionCase { "x.tif", std::nullopt }, ExtensionCase { "png", std::nullopt },
        ExtensionCase { "x.", std::nullopt }, ExtensionCase { "a.png/b", std::nullopt },
        ExtensionCase { "x.jpgx", std::nullopt }));

class PictureMaking : public ::testing::TestWithParam<PictureFormat> {
protected:
    PictureMaking()
    {
        m_list.AddLine(0, 0, 1000, 500, 1);
        m_list.AddLine(0, 500, 1000, 0, 3);
        const SlidePoint square[] = { { 100, 100 }, { 300, 100 }, { 300, 300 }, { 100, 300 } };
        m_list.AddPolygon(square, 4, 5);
        m_texts.push_back({ 10, 10, 20, 2, "说明" });
    }
    std::string Make(const PictureOptions& options = PictureOptions())
    {
        std::string bytes, error;
        EXPECT_TRUE(MakePicture(m_list, m_texts, GetParam(), options, bytes, error)) << error;
        return bytes;
    }
    SlideDisplayList m_list;
    std::vector<WmfText> m_texts;
};

TEST_P(PictureMaking, SameInputGivesTheSameBytes)
{
    const std::string first = Make();
    EXPECT_EQ(Make(), first);
    static const std::map<PictureFormat, std::string> kSignatures
        = { { PictureFormat::Bmp, "BM" }, { PictureFormat::Png, "\x89PNG" }, { PictureFormat::Gif, "GIF89a" },
              { PictureFormat::Jpeg, "\xFF\xD8\xFF" }, { PictureFormat::Wmf, "\xD7\xCD\xC6\x9A" } };
    const std::string& signature = kSignatures.at(GetParam());
    EXPECT_EQ(first.substr(0, signature.size()), signature);
}

INSTANTIATE_TEST_SUITE_P(Formats, PictureMaking,
    ::testing::Values(
        PictureFormat::Bmp, PictureFormat::Gif, PictureFormat::Jpeg, PictureFormat::Png, PictureFormat::Wmf));

class RasterPictureMaking : public PictureMaking { };

TEST_P(RasterPictureMaking, RefusesAnImpossibleSize)
{
    PictureOptions options;
    options.width = 0;
    std::string bytes, error;
    EXPECT_FALSE(MakePicture(m_list, m_texts, GetParam(), options, bytes, error));
    EXPECT_NE(error.find("0 x 300"), std::string::npos) << error;
    EXPECT_TRUE(EncodeRaster(RasterImage(), GetParam()).empty());
}

INSTANTIATE_TEST_SUITE_P(Formats, RasterPictureMaking,
    ::testing::Values(PictureFormat::Bmp, PictureFormat::Gif, PictureFormat::Jpeg, PictureFormat::Png));

std::int16_t Int16At(const std::string& bytes, std::size_t at)
{
    return static_cast<std::int16_t>(
        static_cast<unsigned char>(bytes.at(at)) | (static_cast<unsigned char>(bytes.at(at + 1)) << 8));
}

TEST(PictureMetafile, TakesItsMarginAndInchFromTheRasterFit)
{
    SlideDisplayList list;
    list.AddLine(0, 0, 1000, 500, 1);
    PictureOptions options; // 400 x 300 less 4 on each side: 0.392 pixels a unit
    std::string bytes, error;
    ASSERT_TRUE(MakePicture(list, {}, PictureFormat::Wmf, options, bytes, error)) << error;
    EXPECT_EQ(Int16At(bytes, 6), -11) << "4 pixels are 10.2 units, rounded up";
    EXPECT_EQ(Int16At(bytes, 8), -511);
    EXPECT_EQ(Int16At(bytes, 10), 1011);
    EXPECT_EQ(Int16At(bytes, 12), 11);
    EXPECT_EQ(Int16At(bytes, 14), 245) << "96 pixels are 244.9 units";
}

TEST(PictureEncoding, MetafileIsNoRasterFormat)
{
    EXPECT_TRUE(EncodeRaster(RasterImage(4, 4, 0), PictureFormat::Wmf).empty());
}

} // namespace
} // namespace orv
