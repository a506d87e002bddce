#pragma once
// Writes a RasterImage as a Windows bitmap file (".bmp"), 24 bits a pixel, uncompressed.
//
// All numbers little-endian.
//   BITMAPFILEHEADER, 14 bytes: "BM", file size (u32), two reserved u16 (0), offset of the
//     pixels from the start of the file (u32, 54).
//   BITMAPINFOHEADER, 40 bytes: its size (u32, 40), width (i32), height (i32, positive: the
//     rows are stored bottom-up), planes (u16, 1), bits a pixel (u16, 24), compression (u32,
//     0 = BI_RGB), pixel bytes (u32), horizontal and vertical resolution (i32, 3780 pixels a
//     metre = 96 dpi), colours used and colours important (u32, 0: no colour table).
//   Pixels: the bottom row first; each pixel blue, green, red; each row padded with zero bytes
//     to a multiple of 4 bytes.

#include "browser/RasterImage.h"

#include <string>

namespace orv {

// The file's bytes; empty for a null image.
std::string EncodeBmp(const RasterImage& image);

} // namespace orv
