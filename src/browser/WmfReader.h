#pragma once
// Reads a Windows metafile (".wmf", a gallery's vector preview) into a display list of drawing
// primitives whose pens, brushes, fonts and colours are already resolved, so that a painter
// only maps them (browser/render/WmfPainter.h). No Qt here.
//
// Layout on disk, little-endian; a word is 16 bits and record sizes count words:
//   Optional placeable header, 22 bytes: key 0x9AC6CDD7 (u32), handle (u16), bounding box
//     left, top, right, bottom (i16, logical units), logical units per inch (u16), reserved
//     (u32), checksum (u16; not checked, many writers get it wrong).
//   METAHEADER, 9 words: type (1 memory, 2 disk), header size in words (9), version, size in
//     words (u32), object-table size (u16), largest record (u32), parameters (0).
//   Records: size (u32, words, the 6-byte head included), function (u16), parameter words.
//     Parameters of coordinates come last-first (LineTo carries y, then x). EOF (0x0000) ends.
//
// Playback keeps a device-context state (window origin and extent, current position, the
// selected pen, brush and font, text colour and alignment, background colour and mode,
// polygon fill mode) with SaveDC/RestoreDC, and an object table in which every create
// record takes the lowest free slot, as Windows does, whether or not it is an object drawn
// with here (palettes, pattern brushes and regions take slots too). Records that are not
// read are skipped by their size.
//
// Coordinates of every primitive are brought into one frame: the window in force at the
// first drawing record. A later SetWindowOrg/SetWindowExt is mapped back into that frame.
// Without any window, the frame is the box of the points drawn; with none of those either,
// the placeable header's box.
//
// Damaged input is read as far as it is sound: a record that runs past the data or has a
// size below 3 words ends the reading, keeping what came before; counts beyond their record,
// object indices outside the table, unmatched RestoreDC and absurd extents are ignored. The
// number of records, primitives, points, bytes of text and saved states are capped.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orv {

struct WmfPointF {
    float x = 0, y = 0;
};

// style: PS_SOLID 0, PS_DASH 1, PS_DOT 2, PS_DASHDOT 3, PS_DASHDOTDOT 4, PS_NULL 5,
// PS_INSIDEFRAME 6 (the low four bits of the record's style).
struct WmfPen {
    int style = 0;
    float width = 0; // frame units; 0 draws one device pixel
    std::uint32_t color = 0; // 0x00BBGGRR
};

// style: BS_SOLID 0, BS_NULL 1, BS_HATCHED 2, BS_PATTERN 3 (any pattern or DIB brush).
// hatch: HS_HORIZONTAL 0, HS_VERTICAL 1, HS_FDIAGONAL 2, HS_BDIAGONAL 3, HS_CROSS 4,
// HS_DIAGCROSS 5.
struct WmfBrush {
    int style = 0;
    std::uint32_t color = 0xFFFFFF;
    int hatch = 0;
};

struct WmfFont {
    float height = 0; // frame units; negative: character height, positive: cell height, 0: default
    int weight = 0; // 0 default, 400 normal, 700 bold
    bool italic = false, underline = false, strikeOut = false;
    int escapement = 0; // tenths of a degree, counter-clockwise
    std::string face; // UTF-8
};

// Everything a primitive is drawn with.
struct WmfStyle {
    WmfPen pen;
    WmfBrush brush;
    WmfFont font;
    std::uint32_t textColor = 0;
    std::uint32_t backColor = 0xFFFFFF;
    bool opaqueBackground = true; // SetBkMode OPAQUE (2); TRANSPARENT (1) is false
    int textAlign = 0; // TA_* bits: 1 update current position, 2 right, 6 centre; 8 bottom, 24 baseline
    bool winding = false; // SetPolyFillMode WINDING (2); ALTERNATE (1) is false
};

enum class WmfShape : std::uint8_t {
    Polyline, // count points, unfilled
    Polygon, // count points, filled and outlined
    PolyPolygon, // count points split into rings of ringSizes[extra .. extra + rings)
    Rectangle, // 2 points: opposite corners
    Ellipse, // 2 points: corners of its box
    Arc, // 4 points: box corners, start radial point, end radial point; counter-clockwise
    Pie,
    Chord,
    Text, // 1 point: the reference point; texts[extra]
};

struct WmfPrimitive {
    WmfShape shape = WmfShape::Polyline;
    std::uint32_t style = 0; // index into styles
    std::uint32_t first = 0; // first point in points
    std::uint32_t count = 0;
    std::uint32_t extra = 0;
    std::uint32_t rings = 0;
};

struct WmfPicture {
    // The frame, in frame units: left, top and a width and height that may be negative (a
    // negative height: y grows upwards). Width and height are never 0 unless there is
    // nothing to draw.
    float left = 0, top = 0, width = 0, height = 0;
    bool placeable = false;
    std::int16_t box[4] = {}; // the placeable header's left, top, right, bottom
    std::uint16_t unitsPerInch = 0; // 0 without a placeable header

    std::vector<WmfPointF> points;
    std::vector<std::uint32_t> ringSizes;
    std::vector<std::string> texts; // UTF-8
    std::vector<WmfStyle> styles;
    std::vector<WmfPrimitive> primitives;

    std::uint32_t records = 0; // records read, EOF not counted
    bool truncated = false; // reading stopped at a damaged record or a cap

    bool Empty() const { return primitives.empty() || width == 0 || height == 0; }
};

struct WmfLimits {
    std::uint32_t maxRecords = 1000000;
    std::uint32_t maxPrimitives = 500000;
    std::uint32_t maxPoints = 2000000;
    std::uint32_t maxTextBytes = 4 * 1024 * 1024; // over all texts
    std::uint32_t maxTextRecordBytes = 4096; // one text record's
    std::uint32_t maxObjects = 16384;
    std::uint32_t maxSavedStates = 256;
};

// The picture, or nothing with the reason when the bytes are not a metafile (too short, or
// a header that is not a METAHEADER).
std::optional<WmfPicture> ReadWmf(std::string_view bytes, std::string& error, const WmfLimits& limits = {});

// Whether the bytes start like a metafile (placeable key, or a METAHEADER of type 1 or 2 and
// 9 words), for telling a WMF from other pictures by content.
bool LooksLikeWmf(std::string_view bytes);

// The picture's natural size in pixels at 96 per inch: the placeable box through its units
// per inch, else the frame's width and height taken as pixels; each side 1 to maxSide, the
// aspect kept when one is cut. 0 x 0 for an empty picture.
void WmfNaturalSize(const WmfPicture& picture, int& width, int& height, int maxSide = 4096);

} // namespace orv
