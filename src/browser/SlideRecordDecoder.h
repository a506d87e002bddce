#pragma once
// Turns the records of a slide into a display list. Slides come in two record layouts, told
// apart by the first two record words (at offsets 31 and 33 from the slide's start):
//
//   unsigned (the common one): coordinates are unsigned 16-bit, 0xFFFF read as 0;
//     vector           8 bytes  from x, from y, to x, to y (high byte of from x below 0x80)
//     offset vector    5 bytes  0xFB dx0 | dy0 dx1 dy1, signed bytes from the last point
//     end of file      2 bytes  0xFC00
//     solid fill       6 bytes  0xFD00 n 0, then n vertex records 0xFD00 x y and one closing
//                               record of 6 bytes; n below 200
//     common endpoint  3 bytes  0xFE dx | dy
//     new colour       2 bytes  0xFF index
//   signed (used when both words are equal, decoding starts at offset 33): the same kinds with
//     signed 16-bit coordinates and 16-bit wrapping offsets; a fill's count n (at most 200)
//     counts its records including the closing one, whose point is not part of the polygon.
//
// Decoding ends at the end-of-file record, at the first read that comes short (whatever was
// decoded until then stays) or when the display list is full. The last point starts at (0, 0)
// and becomes the from point of each vector.

#include <cstdint>

namespace orv {

class SlideByteReader;
class SlideDisplayList;

// Empties the list and decodes the records of the slide starting at slideOffset.
void DecodeSlideRecords(SlideByteReader& reader, std::uint64_t slideOffset, SlideDisplayList& list);

} // namespace orv
