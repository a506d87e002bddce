#pragma once
// Writes a RasterImage as a baseline JPEG file (JFIF), through libjpeg.
//
//   SOI, APP0 "JFIF" (version 1.01, 96 dots an inch), DQT, SOF0 (8-bit, three components
//   Y Cb Cr, none subsampled), DHT (Huffman tables optimised for the picture), SOS and the
//   scan, EOI.
//
// The chroma is kept at full resolution (4:4:4): previews are thin coloured lines, which the
// usual halving of the chroma would turn into smeared pale ones.

#include "browser/RasterImage.h"

#include <string>

namespace orv {

constexpr int kDefaultJpegQuality = 90;

// The file's bytes at a quality of 1 (smallest) to 100 (best; values outside are brought
// inside); empty for a null image, a side over 65500 pixels, or a libjpeg failure.
std::string EncodeJpeg(const RasterImage& image, int quality = kDefaultJpegQuality);

} // namespace orv
