#include "browser/PictureWriter.h"

#include "browser/BmpWriter.h"
#include "browser/DisplayListRaster.h"
#include "browser/GifWriter.h"
#include "browser/JpegWriter.h"
#include "browser/PngWriter.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace orv {
namespace {

bool SameLetters(std::string_view text, std::string_view lower)
{
    return text.size() == lower.size()
        && std::equal(text.begin(), text.end(), lower.begin(), [](char a, char b) {
               return (a >= 'A' && a <= 'Z' ? static_cast<char>(a - 'A' + 'a') : a) == b;
           });
}

} // namespace

std::optional<PictureFormat> PictureFormatOfPath(std::string_view path)
{
    const std::size_t dot = path.find_last_of('.');
    if (dot == std::string_view::npos)
        return std::nullopt;
    const std::string_view extension = path.substr(dot + 1);
    if (SameLetters(extension, "bmp"))
        return PictureFormat::Bmp;
    if (SameLetters(extension, "gif"))
        return PictureFormat::Gif;
    if (SameLetters(extension, "jpg") || SameLetters(extension, "jpeg"))
        return PictureFormat::Jpeg;
    if (SameLetters(extension, "png"))
        return PictureFormat::Png;
    if (SameLetters(extension, "wmf"))
        return PictureFormat::Wmf;
    return std::nullopt;
}

std::string EncodeRaster(const RasterImage& image, PictureFormat format, int jpegQuality)
{
    switch (format) {
    case PictureFormat::Bmp:
        return EncodeBmp(image);
    case PictureFormat::Gif:
        return EncodeGif(image);
    case PictureFormat::Jpeg:
        return EncodeJpeg(image, jpegQuality);
    case PictureFormat::Png:
        return EncodePng(image);
    case PictureFormat::Wmf:
        break;
    }
    return std::string();
}

bool MakePicture(const SlideDisplayList& list, const std::vector<WmfText>& texts, PictureFormat format,
    const PictureOptions& options, std::string& out, std::string& error)
{
    if (format == PictureFormat::Wmf) {
        WmfOptions wmf;
        wmf.fillBackground = true;
        wmf.background = options.background;
        wmf.color = options.color;
        wmf.margin = std::max(options.margin, 0);
        const SlideLayout layout = FitDisplayList(
            list, { 0, 0, std::max(options.width, 0), std::max(options.height, 0) }, options.margin);
        if (layout.drawable && layout.scale > 0) {
            wmf.margin = static_cast<std::int32_t>(
                std::min(std::ceil(wmf.margin / layout.scale), double { INT_MAX }));
            wmf.unitsPerInch = static_cast<int>(std::clamp(std::lround(96 / layout.scale), 1L, 65535L));
        }
        return WriteWmf(list, texts, wmf, out, error);
    }
    RasterImage image(options.width, options.height, options.background);
    if (image.IsNull()) {
        error = "a picture of " + std::to_string(options.width) + " x " + std::to_string(options.height)
            + " pixels cannot be made";
        return false;
    }
    RasterDrawOptions draw;
    draw.margin = options.margin;
    draw.lineWidth = options.lineWidth;
    draw.color = options.color;
    DrawDisplayList(image, list, draw);
    out = EncodeRaster(image, format, options.jpegQuality);
    if (out.empty()) {
        error = "the picture is too large for this format";
        return false;
    }
    return true;
}

} // namespace orv
