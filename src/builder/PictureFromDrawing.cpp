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
    options.background
        = SlideRgb((backgroundRgb >> 16) & 0xFF, (backgroundRgb >> 8) & 0xFF, backgroundRgb & 0xFF);
    // As the reader draws slides: a colour that is the background's own (colour 7 and the
    // palette's whites on white) is drawn black, or white on a black background.
    const std::uint32_t background = options.background;
    options.color = [background](int index) {
        const std::uint32_t color = CAcadSlideBitmap::ColorFromIndex(index);
        if (color != background)
            return color;
        return background != SlideRgb(0, 0, 0) ? SlideRgb(0, 0, 0) : SlideRgb(255, 255, 255);
    };
    std::vector<WmfText> texts;
    for (const FittedText& text : drawing.Texts)
        texts.push_back({ text.X, text.Y, text.Height, text.Color, text.Text });
    return MakePicture(drawing.List, texts, *format, options, bytes, error);
}

} // namespace orv
