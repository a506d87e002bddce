#include "browser/BmpWriter.h"

#include <cstdint>

namespace orv {
namespace {

constexpr std::uint32_t kHeadersSize = 14 + 40;
constexpr std::uint32_t kPixelsPerMetre = 3780;

void Put16(std::string& out, std::uint32_t value)
{
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>((value >> 8) & 0xFF);
}

void Put32(std::string& out, std::uint32_t value)
{
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

} // namespace

std::string EncodeBmp(const RasterImage& image)
{
    if (image.IsNull())
        return std::string();
    const std::uint32_t width = static_cast<std::uint32_t>(image.Width());
    const std::uint32_t height = static_cast<std::uint32_t>(image.Height());
    const std::uint32_t stride = (width * 3 + 3) & ~3u;
    const std::uint32_t pixelBytes = stride * height;
    std::string out;
    out.reserve(kHeadersSize + pixelBytes);
    out += "BM";
    Put32(out, kHeadersSize + pixelBytes);
    Put32(out, 0);
    Put32(out, kHeadersSize);
    Put32(out, 40);
    Put32(out, width);
    Put32(out, height);
    Put16(out, 1);
    Put16(out, 24);
    Put32(out, 0);
    Put32(out, pixelBytes);
    Put32(out, kPixelsPerMetre);
    Put32(out, kPixelsPerMetre);
    Put32(out, 0);
    Put32(out, 0);
    for (int y = image.Height() - 1; y >= 0; --y) {
        const std::uint8_t* p = image.Row(y);
        for (std::uint32_t x = 0; x < width; ++x, p += 3) {
            out += static_cast<char>(p[2]);
            out += static_cast<char>(p[1]);
            out += static_cast<char>(p[0]);
        }
        out.append(stride - width * 3, '\0');
    }
    return out;
}

} // namespace orv
