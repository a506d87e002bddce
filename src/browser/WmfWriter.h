#pragma once
// Writes a slide display list and text labels as a placeable Windows metafile (".wmf"), the
// vector form of a gallery's preview pictures. Texts are GB2312, as the Windows edition's
// pictures are.
//
// All numbers little-endian; a word is 16 bits, and record sizes count words.
//   Placeable header, 22 bytes: key 0x9AC6CDD7 (u32), handle (u16, 0), bounding box left,
//     top, right, bottom (i16, logical units), logical units per inch (u16), reserved (u32,
//     0), checksum (u16: the XOR of the ten words before it).
//   METAHEADER, 9 words: type (1), header size in words (9), version (0x0300), size of the
//     metafile from here in words (u32), size of the object table (u16: the most objects
//     alive at one time), largest record in words (u32), parameters (0).
//   Records: size (u32), function (u16), parameter words. Written in this order:
//     SETMAPMODE 0x0103 (8, MM_ANISOTROPIC), SETWINDOWORG 0x020B (y, x) and SETWINDOWEXT
//       0x020C (height, width) of the bounding box, SETBKMODE 0x0102 (1, TRANSPARENT),
//       SETPOLYFILLMODE 0x0106 (1, ALTERNATE: odd-even, as the slide drawing fills), and
//       SETTEXTALIGN 0x012E (24, TA_BASELINE | TA_LEFT) when there are texts; the last
//       three carry a reserved zero word after their value.
//     The background, when asked for: a POLYGON of the bounding box in its colour.
//     The primitives in list order. Lines: POLYLINE 0x0325 (point count, then x, y of each
//       point); a line of the same colour that starts where the previous one ended joins its
//       polyline (up to 4096 points). Polygons of 2 points or more: POLYGON 0x0324 (same
//       layout), filled with a solid brush and outlined with a pen of their colour.
//     The texts: TEXTOUT 0x0521 (byte count, the GB18030 bytes padded to whole words, y, x),
//       after SETTEXTCOLOR 0x0209 (COLORREF) and a font of the text's height.
//     Objects: CREATEPENINDIRECT 0x02FA (style 0 solid, width 0 = one device pixel and a
//       zero word, COLORREF), CREATEBRUSHINDIRECT 0x02FC (style 0 solid, COLORREF, hatch 0),
//       CREATEFONTINDIRECT 0x02FB (height: minus the character height, width, escapement,
//       orientation 0, weight 400, italic, underline, strike-out 0, charset 134 GB2312,
//       output precision, clip precision, quality, pitch and family 0, face name "宋体" in
//       GB2312, NUL-padded to 32 bytes), SELECTOBJECT 0x012D (index), DELETEOBJECT 0x01F0
//       (index). A created object takes the lowest free index of the object table. When the
//       colour or height changes, the new object is created and selected before the old one
//       is deleted, so the table holds at most a pen, a brush, a font and the one coming in.
//       Every object is deleted before the end.
//     EOF 0x0000: 3 words.
//   COLORREF: u32 0x00BBGGRR.
//
// Logical coordinates are slide coordinates with y negated, so that the picture stands
// upright: slide point (x, y) is logical (x, -y). The bounding box is the display list's box
// joined with each text's baseline point and top (y + height), widened by the margin on each
// side and made at least one unit wide and high. When its corners, width or height do not fit
// signed 16-bit numbers, the coordinates are moved so that its top left corner is (0, 0) and,
// where it is wider or higher than 32767 units, scaled down to fit.

#include "browser/AcadSlideBitmap.h"

#include <cstdint>
#include <string>
#include <vector>

namespace orv {

struct WmfText {
    std::int32_t x = 0, y = 0; // slide coordinates of the left end of the baseline
    std::int32_t height = 0; // character height in slide units; below one unit counts as one
    int color = 7; // AutoCAD colour index
    std::string text; // UTF-8; cut to 32767 bytes of GB18030
};

struct WmfOptions {
    std::int32_t margin = 0; // slide units on each side of the drawing; below 0 counts as 0
    int unitsPerInch = 96; // the placeable header's, brought into 1-65535
    bool fillBackground = false;
    std::uint32_t background = SlideRgb(255, 255, 255);
    SlideColorFunction color; // empty: CAcadSlideBitmap::ColorFromIndex; texts use it too
};

// The metafile's bytes in out. False, with the reason, when the list holds a polygon of more
// than 32767 points, which a metafile record cannot carry.
bool WriteWmf(const SlideDisplayList& list, const std::vector<WmfText>& texts, const WmfOptions& options,
    std::string& out, std::string& error);

} // namespace orv
