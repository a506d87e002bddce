#pragma once
// Writes a RasterImage as a GIF file: one image, a global colour table, LZW-packed indices.
//
// All numbers little-endian.
//   Header, 6 bytes: "GIF89a".
//   Logical screen descriptor, 7 bytes: width (u16), height (u16), flags (0x80 global colour
//     table present, 0x70 colour resolution 8 bits, table size 2^(n+1) in the low 3 bits),
//     background colour index (0), pixel aspect ratio (0).
//   Global colour table: 2^(n+1) entries of red, green, blue; entries past the palette black.
//   Image descriptor, 10 bytes: 0x2C, left (0), top (0), width, height, flags (0: no local
//     table, not interlaced).
//   Image data: the LZW minimum code size m (the table's bits, at least 2), then the code
//     stream in sub-blocks (a length byte 1-255 and that many bytes) ended by an empty one.
//     Codes are packed least significant bit first. Code 2^m clears the dictionary, 2^m + 1
//     ends the data; the stream opens with a clear. Codes start m + 1 bits wide and grow by a
//     bit once the next dictionary entry to be made needs it (up to 12 bits); when all 4096
//     entries are taken, a clear code restarts the dictionary at m + 1 bits.
//   Trailer: 0x3B.
//
// Preview pictures hold few colours and keep them exactly. A picture of more than 256 colours
// is reduced: colours are grouped by their leading bits (7, 6, 5, 4 or 3 bits of each of red,
// green and blue, the most that leaves at most 256 groups; 3-3-2 bits at last) and each group
// drawn in the mean of its pixels.

#include "browser/RasterImage.h"

#include <cstdint>
#include <string>
#include <vector>

namespace orv {

struct PaletteImage {
    std::vector<std::uint32_t> palette; // at most 256 colours, 0x00BBGGRR, in order of first use
    std::vector<std::uint8_t> indices; // a palette index per pixel, rows top to bottom
};

// The picture as palette indices (see above); empty for a null image.
PaletteImage ReduceToPalette(const RasterImage& image);

// The file's bytes; empty for a null image or one wider or higher than 65535 pixels.
std::string EncodeGif(const RasterImage& image);

} // namespace orv
