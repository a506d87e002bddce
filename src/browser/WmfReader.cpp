#include "browser/WmfReader.h"

#include "platform/Encoding.h"

#include <queue>

#include <algorithm>
#include <cmath>
#include <functional>

namespace orv {
namespace {

enum Function : std::uint16_t {
    kEof = 0x0000,
    kSaveDc = 0x001E,
    kCreatePalette = 0x00F7,
    kSetBkMode = 0x0102,
    kSetPolyFillMode = 0x0106,
    kRestoreDc = 0x0127,
    kSelectObject = 0x012D,
    kSetTextAlign = 0x012E,
    kDibCreatePatternBrush = 0x0142,
    kDeleteObject = 0x01F0,
    kCreatePatternBrush = 0x01F9,
    kSetBkColor = 0x0201,
    kSetTextColor = 0x0209,
    kSetWindowOrg = 0x020B,
    kSetWindowExt = 0x020C,
    kLineTo = 0x0213,
    kMoveTo = 0x0214,
    kCreatePenIndirect = 0x02FA,
    kCreateFontIndirect = 0x02FB,
    kCreateBrushIndirect = 0x02FC,
    kPolygon = 0x0324,
    kPolyline = 0x0325,
    kEllipse = 0x0418,
    kRectangle = 0x041B,
    kTextOut = 0x0521,
    kPolyPolygon = 0x0538,
    kCreateRegion = 0x06FF,
    kArc = 0x0817,
    kPie = 0x081A,
    kChord = 0x0830,
    kExtTextOut = 0x0A32,
};

constexpr std::uint32_t kPlaceableKey = 0x9AC6CDD7u;
constexpr std::size_t kPlaceableSize = 22;
constexpr std::size_t kHeaderWords = 9;
constexpr int kBrushPattern = 3;
constexpr int kPenNull = 5;
constexpr std::uint16_t kTransparent = 1, kWinding = 2;
constexpr std::uint16_t kEtoOpaque = 0x0002, kEtoClipped = 0x0004;
constexpr std::size_t kFaceNameBytes = 32;

std::uint16_t U16(std::string_view bytes, std::size_t at)
{
    return static_cast<std::uint16_t>(
        static_cast<unsigned char>(bytes[at]) | (static_cast<unsigned char>(bytes[at + 1]) << 8));
}

std::uint32_t U32(std::string_view bytes, std::size_t at)
{
    return U16(bytes, at) | (static_cast<std::uint32_t>(U16(bytes, at + 2)) << 16);
}

struct Object {
    enum class Kind { Free, Pen, Brush, Font, Other };
    Kind kind = Kind::Free;
    WmfPen pen;
    WmfBrush brush;
    WmfFont font;
};

// The device context as playback changes it; SaveDC keeps a copy of the whole.
struct DcState {
    WmfPen pen;
    WmfBrush brush;
    WmfFont font;
    std::uint32_t textColor = 0, backColor = 0xFFFFFF;
    bool opaque = true, winding = false;
    int textAlign = 0;
    double orgX = 0, orgY = 0, extX = 1, extY = 1;
    bool extSet = false;
    double curX = 0, curY = 0;
};

// One record's parameter words, every read checked against the record.
class Params {
public:
    Params(std::string_view bytes)
        : m_bytes(bytes)
    {
    }
    std::size_t Words() const { return m_bytes.size() / 2; }
    bool Has(std::size_t words) const { return Words() >= words; }
    std::uint16_t U(std::size_t i) const { return i < Words() ? U16(m_bytes, i * 2) : 0; }
    std::int16_t S(std::size_t i) const { return static_cast<std::int16_t>(U(i)); }
    std::uint32_t Color(std::size_t i) const
    {
        return (U(i) | (static_cast<std::uint32_t>(U(i + 1)) << 16)) & 0xFFFFFF;
    }
    std::string_view Bytes(std::size_t byteOffset, std::size_t count) const
    {
        if (byteOffset > m_bytes.size())
            return {};
        return m_bytes.substr(byteOffset, std::min(count, m_bytes.size() - byteOffset));
    }
    std::uint8_t Byte(std::size_t byteOffset) const
    {
        return byteOffset < m_bytes.size() ? static_cast<std::uint8_t>(m_bytes[byteOffset]) : 0;
    }

private:
    std::string_view m_bytes;
};

class Player {
public:
    Player(WmfPicture& picture, const WmfLimits& limits, std::uint32_t tableSize)
        : m_picture(picture)
        , m_limits(limits)
        , m_objects(std::min<std::uint32_t>(std::max<std::uint32_t>(tableSize, 64), limits.maxObjects))
    {
        // Ascending order is already a valid min-heap.
        std::vector<std::uint32_t> all(m_objects.size());
        for (std::uint32_t i = 0; i < all.size(); ++i)
            all[i] = i;
        m_free = FreeSlots(std::greater<std::uint32_t>(), std::move(all));
    }

    // False when a cap is reached and reading must end.
    bool Play(std::uint16_t function, const Params& p);
    void Finish();

private:
    // Window coordinates to frame coordinates.
    WmfPointF Map(double x, double y) const
    {
        return { static_cast<float>(m_frameOrgX + (x - m_dc.orgX) * ScaleX()),
            static_cast<float>(m_frameOrgY + (y - m_dc.orgY) * ScaleY()) };
    }
    double ScaleX() const { return m_frameExtSet && m_dc.extSet ? m_frameExtX / m_dc.extX : 1.0; }
    double ScaleY() const { return m_frameExtSet && m_dc.extSet ? m_frameExtY / m_dc.extY : 1.0; }

    void Create(Object object);
    void Select(std::uint16_t index);
    bool Begin(WmfShape shape, std::size_t points);
    void AddPoint(double x, double y);
    bool Shape(WmfShape shape, const Params& p, std::size_t pointWords);
    bool Poly(WmfShape shape, const Params& p);
    bool PolyPolygon(const Params& p);
    bool Text(double x, double y, std::string_view bytes);
    bool ExtTextOut(const Params& p);
    void RestoreDc(std::int16_t which);

    WmfPicture& m_picture;
    const WmfLimits& m_limits;
    // The lowest free slot comes first, so a create costs a heap step, not a walk of a table a
    // hostile header made large.
    using FreeSlots
        = std::priority_queue<std::uint32_t, std::vector<std::uint32_t>, std::greater<std::uint32_t>>;
    std::vector<Object> m_objects;
    FreeSlots m_free;
    std::vector<DcState> m_saved;
    DcState m_dc;
    bool m_styleDirty = true;
    bool m_frameFixed = false, m_frameExtSet = false;
    double m_frameOrgX = 0, m_frameOrgY = 0, m_frameExtX = 1, m_frameExtY = 1;
    std::uint64_t m_textBytes = 0;
    bool m_anyPoint = false;
    float m_minX = 0, m_minY = 0, m_maxX = 0, m_maxY = 0;
};

void Player::Create(Object object)
{
    // A full table fails the create, as on Windows: no slot is taken.
    if (m_free.empty())
        return;
    m_objects[m_free.top()] = std::move(object);
    m_free.pop();
}

void Player::Select(std::uint16_t index)
{
    if (index >= m_objects.size())
        return;
    const Object& object = m_objects[index];
    switch (object.kind) {
    case Object::Kind::Pen:
        m_dc.pen = object.pen;
        break;
    case Object::Kind::Brush:
        m_dc.brush = object.brush;
        break;
    case Object::Kind::Font:
        m_dc.font = object.font;
        break;
    default:
        return;
    }
    m_styleDirty = true;
}

bool Player::Begin(WmfShape shape, std::size_t points)
{
    if (m_picture.primitives.size() >= m_limits.maxPrimitives
        || m_picture.points.size() + points > m_limits.maxPoints) {
        m_picture.truncated = true;
        return false;
    }
    if (!m_frameFixed) {
        // The window in force at the first drawing is the frame everything is drawn in.
        m_frameFixed = true;
        m_frameExtSet = m_dc.extSet;
        m_frameOrgX = m_dc.orgX;
        m_frameOrgY = m_dc.orgY;
        m_frameExtX = m_dc.extX;
        m_frameExtY = m_dc.extY;
    }
    if (m_styleDirty || m_picture.styles.empty()) {
        // Widths and heights are in the units of the window they are drawn in.
        WmfStyle style;
        style.pen = m_dc.pen;
        style.pen.width = static_cast<float>(m_dc.pen.width * std::fabs(ScaleX()));
        style.brush = m_dc.brush;
        style.font = m_dc.font;
        style.font.height = static_cast<float>(m_dc.font.height * std::fabs(ScaleY()));
        style.textColor = m_dc.textColor;
        style.backColor = m_dc.backColor;
        style.opaqueBackground = m_dc.opaque;
        style.textAlign = m_dc.textAlign;
        style.winding = m_dc.winding;
        m_picture.styles.push_back(std::move(style));
        m_styleDirty = false;
    }
    WmfPrimitive primitive;
    primitive.shape = shape;
    primitive.style = static_cast<std::uint32_t>(m_picture.styles.size() - 1);
    primitive.first = static_cast<std::uint32_t>(m_picture.points.size());
    primitive.count = static_cast<std::uint32_t>(points);
    m_picture.primitives.push_back(primitive);
    return true;
}

void Player::AddPoint(double x, double y)
{
    WmfPointF point = Map(x, y);
    if (!m_anyPoint) {
        m_minX = m_maxX = point.x;
        m_minY = m_maxY = point.y;
        m_anyPoint = true;
    }
    m_minX = std::min(m_minX, point.x);
    m_maxX = std::max(m_maxX, point.x);
    m_minY = std::min(m_minY, point.y);
    m_maxY = std::max(m_maxY, point.y);
    m_picture.points.push_back(point);
}

// Rectangle, Ellipse, Arc, Pie, Chord: pointWords coordinates stored last-first.
bool Player::Shape(WmfShape shape, const Params& p, std::size_t pointWords)
{
    if (!p.Has(pointWords))
        return true;
    if (!Begin(shape, pointWords / 2))
        return false;
    // Parameters: ..., bottom, right, top, left; read back to front, they are the points in order.
    for (std::size_t i = pointWords; i >= 2; i -= 2)
        AddPoint(p.S(i - 1), p.S(i - 2));
    return true;
}

bool Player::Poly(WmfShape shape, const Params& p)
{
    if (!p.Has(1))
        return true;
    const std::size_t count = std::min<std::size_t>(p.U(0), (p.Words() - 1) / 2);
    if (count == 0)
        return true;
    if (!Begin(shape, count))
        return false;
    for (std::size_t i = 0; i < count; ++i)
        AddPoint(p.S(1 + 2 * i), p.S(2 + 2 * i));
    return true;
}

bool Player::PolyPolygon(const Params& p)
{
    if (!p.Has(1))
        return true;
    const std::size_t rings = p.U(0);
    if (p.Words() < 1 + rings)
        return true;
    std::size_t available = (p.Words() - 1 - rings) / 2, total = 0;
    std::vector<std::uint32_t> sizes;
    for (std::size_t r = 0; r < rings && total < available; ++r) {
        const std::size_t size = std::min<std::size_t>(p.U(1 + r), available - total);
        sizes.push_back(static_cast<std::uint32_t>(size));
        total += size;
    }
    if (total == 0)
        return true;
    if (!Begin(WmfShape::PolyPolygon, total))
        return false;
    WmfPrimitive& primitive = m_picture.primitives.back();
    primitive.extra = static_cast<std::uint32_t>(m_picture.ringSizes.size());
    primitive.rings = static_cast<std::uint32_t>(sizes.size());
    m_picture.ringSizes.insert(m_picture.ringSizes.end(), sizes.begin(), sizes.end());
    const std::size_t base = 1 + rings;
    for (std::size_t i = 0; i < total; ++i)
        AddPoint(p.S(base + 2 * i), p.S(base + 2 * i + 1));
    return true;
}

bool Player::Text(double x, double y, std::string_view bytes)
{
    // TA_UPDATECP: the text starts at the current position. Moving it on needs the text's width,
    // which only the painter knows; following texts start there too.
    if (m_dc.textAlign & 1) {
        x = m_dc.curX;
        y = m_dc.curY;
    }
    bytes = bytes.substr(0, platform::Gb18030PrefixLength(bytes, m_limits.maxTextRecordBytes));
    // Text is often NUL-padded to whole words.
    while (!bytes.empty() && bytes.back() == '\0')
        bytes.remove_suffix(1);
    if (bytes.empty())
        return true;
    if (m_textBytes + bytes.size() > m_limits.maxTextBytes) {
        m_picture.truncated = true;
        return false;
    }
    m_textBytes += bytes.size();
    if (!Begin(WmfShape::Text, 1))
        return false;
    m_picture.primitives.back().extra = static_cast<std::uint32_t>(m_picture.texts.size());
    m_picture.texts.push_back(platform::Gb18030ToUtf8(bytes));
    AddPoint(x, y);
    return true;
}

bool Player::ExtTextOut(const Params& p)
{
    // y, x, count, options, [clip rectangle], text bytes, [character widths].
    if (!p.Has(4))
        return true;
    const std::size_t count = p.U(2);
    const std::size_t textAt = (4 + ((p.U(3) & (kEtoOpaque | kEtoClipped)) ? 4 : 0)) * 2;
    if ((p.U(3) & kEtoOpaque) && p.Has(8)) {
        // The rectangle (left, top, right, bottom, in that order here) is filled with the
        // background colour, without an outline, before the text.
        const DcState kept = m_dc;
        m_dc.pen.style = kPenNull;
        m_dc.brush = WmfBrush { 0, m_dc.backColor, 0 };
        m_styleDirty = true;
        const bool room = Begin(WmfShape::Rectangle, 2);
        if (room) {
            AddPoint(p.S(4), p.S(5));
            AddPoint(p.S(6), p.S(7));
        }
        m_dc = kept;
        m_styleDirty = true;
        if (!room)
            return false;
    }
    return Text(p.S(1), p.S(0), p.Bytes(textAt, count));
}

void Player::RestoreDc(std::int16_t which)
{
    // Negative: that many states back; positive: the n-th state saved.
    std::size_t keep;
    if (which < 0) {
        const std::size_t back = static_cast<std::size_t>(-static_cast<int>(which));
        if (back > m_saved.size())
            return;
        keep = m_saved.size() - back;
    } else {
        if (which == 0 || static_cast<std::size_t>(which) > m_saved.size())
            return;
        keep = static_cast<std::size_t>(which) - 1;
    }
    m_dc = m_saved[keep];
    m_saved.resize(keep);
    m_styleDirty = true;
}

bool Player::Play(std::uint16_t function, const Params& p)
{
    switch (function) {
    case kSaveDc:
        if (m_saved.size() < m_limits.maxSavedStates)
            m_saved.push_back(m_dc);
        return true;
    case kRestoreDc:
        if (p.Has(1))
            RestoreDc(p.S(0));
        return true;
    case kSetWindowOrg:
        if (p.Has(2)) {
            m_dc.orgY = p.S(0);
            m_dc.orgX = p.S(1);
        }
        return true;
    case kSetWindowExt:
        // A zero extent has no mapping; it is ignored, as Windows fails it.
        if (p.Has(2) && p.S(0) != 0 && p.S(1) != 0) {
            m_dc.extY = p.S(0);
            m_dc.extX = p.S(1);
            m_dc.extSet = true;
            m_styleDirty = true;
        }
        return true;
    case kSetTextColor:
        if (p.Has(2))
            m_dc.textColor = p.Color(0);
        break;
    case kSetBkColor:
        if (p.Has(2))
            m_dc.backColor = p.Color(0);
        break;
    case kSetBkMode:
        if (p.Has(1))
            m_dc.opaque = p.U(0) != kTransparent;
        break;
    case kSetTextAlign:
        if (p.Has(1))
            m_dc.textAlign = p.U(0);
        break;
    case kSetPolyFillMode:
        if (p.Has(1))
            m_dc.winding = p.U(0) == kWinding;
        break;
    case kCreatePenIndirect: {
        Object object;
        object.kind = Object::Kind::Pen;
        object.pen.style = p.U(0) & 0x0F;
        object.pen.width = static_cast<float>(std::abs(p.S(1)));
        object.pen.color = p.Color(3);
        Create(std::move(object));
        return true;
    }
    case kCreateBrushIndirect: {
        Object object;
        object.kind = Object::Kind::Brush;
        const int style = p.U(0);
        object.brush.style = style <= 2 ? style : kBrushPattern;
        object.brush.color = p.Color(1);
        object.brush.hatch = std::min<int>(p.U(3), 5);
        Create(std::move(object));
        return true;
    }
    case kDibCreatePatternBrush:
    case kCreatePatternBrush: {
        Object object;
        object.kind = Object::Kind::Brush;
        object.brush.style = kBrushPattern;
        object.brush.color = 0;
        Create(std::move(object));
        return true;
    }
    case kCreateFontIndirect: {
        Object object;
        object.kind = Object::Kind::Font;
        object.font.height = p.S(0);
        object.font.escapement = p.S(2);
        object.font.weight = std::clamp<int>(p.S(4), 0, 1000);
        object.font.italic = p.Byte(10) != 0;
        object.font.underline = p.Byte(11) != 0;
        object.font.strikeOut = p.Byte(12) != 0;
        std::string_view face = p.Bytes(18, kFaceNameBytes);
        face = face.substr(0, face.find('\0'));
        object.font.face = platform::Gb18030ToUtf8(face);
        Create(std::move(object));
        return true;
    }
    case kCreatePalette:
    case kCreateRegion: {
        Object object;
        object.kind = Object::Kind::Other;
        Create(std::move(object));
        return true;
    }
    case kSelectObject:
        if (p.Has(1))
            Select(p.U(0));
        return true;
    case kDeleteObject:
        if (p.Has(1) && p.U(0) < m_objects.size() && m_objects[p.U(0)].kind != Object::Kind::Free) {
            m_objects[p.U(0)] = Object();
            m_free.push(p.U(0));
        }
        return true;
    case kMoveTo:
        if (p.Has(2)) {
            m_dc.curY = p.S(0);
            m_dc.curX = p.S(1);
        }
        return true;
    case kLineTo:
        if (p.Has(2)) {
            if (!Begin(WmfShape::Polyline, 2))
                return false;
            AddPoint(m_dc.curX, m_dc.curY);
            m_dc.curY = p.S(0);
            m_dc.curX = p.S(1);
            AddPoint(m_dc.curX, m_dc.curY);
        }
        return true;
    case kPolyline:
        return Poly(WmfShape::Polyline, p);
    case kPolygon:
        return Poly(WmfShape::Polygon, p);
    case kPolyPolygon:
        return PolyPolygon(p);
    case kRectangle:
        return Shape(WmfShape::Rectangle, p, 4);
    case kEllipse:
        return Shape(WmfShape::Ellipse, p, 4);
    case kArc:
        return Shape(WmfShape::Arc, p, 8);
    case kPie:
        return Shape(WmfShape::Pie, p, 8);
    case kChord:
        return Shape(WmfShape::Chord, p, 8);
    case kTextOut: {
        if (!p.Has(1))
            return true;
        const std::size_t count = p.U(0);
        const std::size_t padded = (count + 1) / 2;
        if (!p.Has(1 + padded + 2))
            return true;
        return Text(p.S(1 + padded + 1), p.S(1 + padded), p.Bytes(2, count));
    }
    case kExtTextOut:
        return ExtTextOut(p);
    default:
        return true;
    }
    m_styleDirty = true;
    return true;
}

void Player::Finish()
{
    WmfPicture& picture = m_picture;
    if (m_frameExtSet) {
        picture.left = static_cast<float>(m_frameOrgX);
        picture.top = static_cast<float>(m_frameOrgY);
        picture.width = static_cast<float>(m_frameExtX);
        picture.height = static_cast<float>(m_frameExtY);
    } else if (picture.placeable && picture.box[2] != picture.box[0] && picture.box[3] != picture.box[1]) {
        picture.left = picture.box[0];
        picture.top = picture.box[1];
        picture.width = static_cast<float>(picture.box[2] - picture.box[0]);
        picture.height = static_cast<float>(picture.box[3] - picture.box[1]);
    } else if (m_anyPoint) {
        // One unit at least each way, so a single line or point still has a frame.
        picture.left = m_minX;
        picture.top = m_minY;
        picture.width = std::max(m_maxX - m_minX, 1.0f);
        picture.height = std::max(m_maxY - m_minY, 1.0f);
    }
}

} // namespace

bool LooksLikeWmf(std::string_view bytes)
{
    if (bytes.size() >= 4 && U32(bytes, 0) == kPlaceableKey)
        return true;
    return bytes.size() >= kHeaderWords * 2 && (U16(bytes, 0) == 1 || U16(bytes, 0) == 2)
        && U16(bytes, 2) == kHeaderWords && (U16(bytes, 4) == 0x0100 || U16(bytes, 4) == 0x0300);
}

std::optional<WmfPicture> ReadWmf(std::string_view bytes, std::string& error, const WmfLimits& limits)
{
    WmfPicture picture;
    std::size_t at = 0;
    if (bytes.size() >= 4 && U32(bytes, 0) == kPlaceableKey) {
        if (bytes.size() < kPlaceableSize) {
            error = "the placeable header is cut short";
            return std::nullopt;
        }
        picture.placeable = true;
        for (int i = 0; i < 4; ++i)
            picture.box[i] = static_cast<std::int16_t>(U16(bytes, 6 + 2 * static_cast<std::size_t>(i)));
        picture.unitsPerInch = U16(bytes, 14);
        at = kPlaceableSize;
    }
    if (bytes.size() - at < kHeaderWords * 2) {
        error = "too short for a metafile header";
        return std::nullopt;
    }
    const std::uint16_t type = U16(bytes, at), headerWords = U16(bytes, at + 2);
    if ((type != 1 && type != 2) || headerWords != kHeaderWords) {
        error = "not a Windows metafile";
        return std::nullopt;
    }
    Player player(picture, limits, U16(bytes, at + 10));
    at += kHeaderWords * 2;
    while (true) {
        if (bytes.size() - at < 6) {
            // A file without its EOF record ends here too.
            picture.truncated = bytes.size() != at;
            break;
        }
        const std::uint32_t words = U32(bytes, at);
        const std::uint16_t function = U16(bytes, at + 4);
        if (function == kEof)
            break;
        if (words < 3 || words > (bytes.size() - at) / 2 || picture.records >= limits.maxRecords) {
            picture.truncated = true;
            break;
        }
        ++picture.records;
        if (!player.Play(function, Params(bytes.substr(at + 6, static_cast<std::size_t>(words) * 2 - 6))))
            break;
        at += static_cast<std::size_t>(words) * 2;
    }
    player.Finish();
    return picture;
}

void WmfNaturalSize(const WmfPicture& picture, int& width, int& height, int maxSide)
{
    width = height = 0;
    if (picture.Empty())
        return;
    double w, h;
    if (picture.placeable && picture.unitsPerInch > 0 && picture.box[2] != picture.box[0]
        && picture.box[3] != picture.box[1]) {
        w = std::abs(picture.box[2] - picture.box[0]) * 96.0 / picture.unitsPerInch;
        h = std::abs(picture.box[3] - picture.box[1]) * 96.0 / picture.unitsPerInch;
    } else {
        w = std::fabs(picture.width);
        h = std::fabs(picture.height);
    }
    maxSide = std::max(maxSide, 1);
    const double cut = std::max(w, h) > maxSide ? maxSide / std::max(w, h) : 1.0;
    width = std::clamp(static_cast<int>(std::lround(w * cut)), 1, maxSide);
    height = std::clamp(static_cast<int>(std::lround(h * cut)), 1, maxSide);
}

} // namespace orv
