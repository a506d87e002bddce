#include "browser/PngWriter.h"

#include <zlib.h>

#include <array>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace orv {
namespace {

void Put32(std::string& out, std::uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out += static_cast<char>((value >> shift) & 0xFF);
}

void PutChunk(std::string& out, const char (&type)[5], const std::string& data)
{
    Put32(out, static_cast<std::uint32_t>(data.size()));
    const std::size_t start = out.size();
    out.append(type, 4);
    out += data;
    uLong crc = crc32(0L, Z_NULL, 0);
    crc = crc32(crc, reinterpret_cast<const Bytef*>(out.data() + start), static_cast<uInt>(4 + data.size()));
    Put32(out, static_cast<std::uint32_t>(crc));
}

int Paeth(int left, int up, int upLeft)
{
    const int estimate = left + up - upLeft;
    const int toLeft = std::abs(estimate - left), toUp = std::abs(estimate - up),
              toUpLeft = std::abs(estimate - upLeft);
    if (toLeft <= toUp && toLeft <= toUpLeft)
        return left;
    return toUp <= toUpLeft ? up : upLeft;
}

// Appends the row filtered by each of the five filters' rules and keeps the cheapest.
void FilterRow(const std::uint8_t* row, const std::uint8_t* above, std::size_t bytes, std::string& out,
    std::array<std::vector<std::uint8_t>, 5>& trial)
{
    constexpr std::size_t kPixel = 3;
    std::size_t best = 0;
    unsigned long long bestCost = ~0ULL;
    for (std::size_t filter = 0; filter < trial.size(); ++filter) {
        std::vector<std::uint8_t>& t = trial[filter];
        t.resize(bytes);
        unsigned long long cost = 0;
        for (std::size_t i = 0; i < bytes; ++i) {
            const int left = i >= kPixel ? row[i - kPixel] : 0;
            const int up = above ? above[i] : 0;
            const int upLeft = above && i >= kPixel ? above[i - kPixel] : 0;
            int predicted = 0;
            switch (filter) {
            case 1:
                predicted = left;
                break;
            case 2:
                predicted = up;
                break;
            case 3:
                predicted = (left + up) / 2;
                break;
            case 4:
                predicted = Paeth(left, up, upLeft);
                break;
            default:
                break;
            }
            t[i] = static_cast<std::uint8_t>(row[i] - predicted);
            cost += static_cast<unsigned>(std::abs(static_cast<int>(static_cast<std::int8_t>(t[i]))));
        }
        if (cost < bestCost) {
            bestCost = cost;
            best = filter;
        }
    }
    out += static_cast<char>(best);
    out.append(reinterpret_cast<const char*>(trial[best].data()), bytes);
}

} // namespace

std::string EncodePng(const RasterImage& image)
{
    if (image.IsNull())
        return std::string();
    const std::size_t rowBytes = static_cast<std::size_t>(image.Width()) * 3;
    std::string filtered;
    filtered.reserve((rowBytes + 1) * image.Height());
    std::array<std::vector<std::uint8_t>, 5> trial;
    for (int y = 0; y < image.Height(); ++y)
        FilterRow(image.Row(y), y > 0 ? image.Row(y - 1) : nullptr, rowBytes, filtered, trial);

    uLongf packedSize = compressBound(static_cast<uLong>(filtered.size()));
    std::string packed(packedSize, '\0');
    if (compress2(reinterpret_cast<Bytef*>(packed.data()), &packedSize,
            reinterpret_cast<const Bytef*>(filtered.data()), static_cast<uLong>(filtered.size()),
            Z_BEST_COMPRESSION)
        != Z_OK)
        return std::string();
    packed.resize(packedSize);

    std::string header;
    Put32(header, static_cast<std::uint32_t>(image.Width()));
    Put32(header, static_cast<std::uint32_t>(image.Height()));
    header += std::string("\x08\x02\x00\x00\x00", 5);

    std::string out("\x89PNG\r\n\x1A\n", 8);
    PutChunk(out, "IHDR", header);
    PutChunk(out, "IDAT", packed);
    PutChunk(out, "IEND", std::string());
    return out;
}

} // namespace orv
