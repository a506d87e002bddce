#pragma once
// A fitted drawing written as a picture file of the kind its extension names: a raster
// picture (jpg, jpeg, gif, png, bmp) of the given size on the given background, or a
// Windows metafile (wmf) that keeps the drawing's texts.

#include "builder/DrawingFit.h"

#include <cstdint>
#include <string>

namespace orv {

bool PictureFromDrawing(const FittedDrawing& drawing, const std::string& extension, int width, int height,
    std::uint32_t backgroundRgb, std::string& bytes, std::string& error);

} // namespace orv
