#include "builder/PictureFromDrawing.h"

namespace orv {

bool PictureFromDrawing(const FittedDrawing&, const std::string& extension, int, int, std::uint32_t, std::string&,
    std::string& error)
{
    error = "." + extension + " pictures cannot be written yet";
    return false;
}

} // namespace orv
