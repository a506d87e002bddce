#include "builder/PictureFromDrawing.h"

#include "browser/PictureWriter.h"

namespace orv {

bool PictureFromDrawing(const FittedDrawing& drawing, const std::string& extension, int width, int height,
    std::uint32_t backgroundRgb, std::string& bytes, std::string& error)
{
    std::optional<PictureFormat> format = PictureFormatOfPath("." + extension);
    if (!format) {
        error = "." + extension + " is no picture format";
        return false;
    }
    PictureOptions options;
    options.width = width;
    options.height = height;
    options.background = SlideRgb((backgroundRgb >> 16) & 0xFF, (backgroundRgb >> 8) & 0xFF, backgroundRgb & 0xFF);
    // Colour 7 is "the other colour" in AutoCAD: white on a dark background, black on a light one.
    const bool light = SlideRed(options.background) * 299 + SlideGreen(options.background) * 587
            + SlideBlue(options.background) * 114
        > 128 * 1000;
    options.color = [light](int index) {
        return index == 7 && light ? SlideRgb(0, 0, 0) : CAcadSlideBitmap::ColorFromIndex(index);
    };
    std::vector<WmfText> texts;
    for (const FittedText& text : drawing.Texts)
        texts.push_back({text.X, text.Y, text.Height, text.Color, text.Text});
    return MakePicture(drawing.List, texts, *format, options, bytes, error);
}

} // namespace orv
