#pragma once
// One entry to the picture writers: the format named by a file's extension, and the picture
// of a display list in that format, a raster drawing (RasterImage, DisplayListRaster.h, and
// the BMP, GIF, JPEG and PNG encoders) or a Windows metafile (WmfWriter.h).
//
// A raster picture is the list drawn into width x height pixels over the background, as the
// slide drawing fits it; texts are left out, a raster having no fonts. A metafile carries the
// list and the texts as they are. Its margin and units per inch are taken from the same fit,
// so that the metafile shown at 96 dots an inch is the raster's drawing: the margin in slide
// units is the pixel margin divided by the fit's scale (rounded up), and an inch holds 96
// pixels' worth of slide units. A list too small to fit (no primitives, every point the same,
// no room inside the margin) keeps one slide unit a pixel.

#include "browser/AcadSlideBitmap.h"
#include "browser/JpegWriter.h"
#include "browser/RasterImage.h"
#include "browser/WmfWriter.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orv {

enum class PictureFormat { Bmp, Gif, Jpeg, Png, Wmf };

// By the text after the last dot, without regard to ASCII case: "bmp", "gif", "jpg" or
// "jpeg", "png", "wmf". Nothing for any other, or for a name without an extension.
std::optional<PictureFormat> PictureFormatOfPath(std::string_view path);

// A raster format's bytes; empty for Wmf, a null image, or an encoder's failure.
std::string EncodeRaster(
    const RasterImage& image, PictureFormat format, int jpegQuality = kDefaultJpegQuality);

struct PictureOptions {
    int width = 400, height = 300; // pixels
    int margin = 4; // pixels on each side
    int lineWidth = 1; // pixels, raster only
    std::uint32_t background = SlideRgb(255, 255, 255);
    int jpegQuality = kDefaultJpegQuality;
    SlideColorFunction color; // empty: CAcadSlideBitmap::ColorFromIndex
};

// The picture file's bytes in out; false, with the reason, when it cannot be made (a size out
// of RasterImage's limits or the format's, a polygon a metafile cannot hold).
bool MakePicture(const SlideDisplayList& list, const std::vector<WmfText>& texts, PictureFormat format,
    const PictureOptions& options, std::string& out, std::string& error);

} // namespace orv
