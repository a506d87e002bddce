#pragma once
// Writes a RasterImage as a PNG file: 8-bit RGB, not interlaced, one IDAT chunk.
//
// All numbers big-endian.
//   Signature, 8 bytes: 0x89 "PNG" CR LF 0x1A LF.
//   Chunks: length of the data (u32), type (4 letters), data, CRC-32 of type and data (u32).
//   IHDR, 13 bytes: width (u32), height (u32), bit depth (8), colour type (2 = RGB),
//     compression (0), filter method (0), interlace (0).
//   IDAT: a zlib stream of the rows top to bottom, each a filter type byte (0 none, 1 sub,
//     2 up, 3 average, 4 Paeth) and the row's width * 3 bytes R, G, B so filtered. The filter
//     of each row is the one whose output bytes, read as signed, have the least sum of
//     magnitudes (the usual heuristic; it decides nothing but the file's size).
//   IEND, empty.

#include "browser/RasterImage.h"

#include <string>

namespace orv {

// The file's bytes; empty for a null image.
std::string EncodePng(const RasterImage& image);

} // namespace orv
