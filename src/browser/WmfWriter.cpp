#include "browser/WmfWriter.h"

#include "platform/Encoding.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace orv {
namespace {

enum Function : std::uint16_t {
    kEof = 0x0000,
    kSetBkMode = 0x0102,
    kSetMapMode = 0x0103,
    kSetPolyFillMode = 0x0106,
    kSelectObject = 0x012D,
    kSetTextAlign = 0x012E,
    kDeleteObject = 0x01F0,
    kSetTextColor = 0x0209,
    kSetWindowOrg = 0x020B,
    kSetWindowExt = 0x020C,
    kCreatePenIndirect = 0x02FA,
    kCreateFontIndirect = 0x02FB,
    kCreateBrushIndirect = 0x02FC,
    kPolygon = 0x0324,
    kPolyline = 0x0325,
    kTextOut = 0x0521,
};

constexpr std::uint16_t kAnisotropic = 8, kTransparent = 1, kAlternate = 1, kBaselineLeft = 24;
constexpr std::uint32_t kPlaceableKey = 0x9AC6CDD7u;
constexpr std::size_t kMaxPolylinePoints = 4096;
constexpr std::size_t kMaxPolygonPoints = 32767;
constexpr std::size_t kMaxTextBytes = 32767;
constexpr std::size_t kFaceNameBytes = 32;
constexpr std::uint8_t kGb2312Charset = 134;
constexpr long long kMinCoordinate = -32768, kMaxCoordinate = 32767;

struct LogicalPoint {
    std::int16_t x = 0, y = 0;
    bool operator==(const LogicalPoint& other) const { return x == other.x && y == other.y; }
};

std::uint16_t Word(std::int32_t value)
{
    return static_cast<std::uint16_t>(value & 0xFFFF);
}

// Slide coordinates to logical ones: ((x - originX) * scale, (originY - y) * scale), where
// the origin is (0, 0) and the scale 1 whenever the bounding box fits 16 bits.
class Mapping {
public:
    Mapping(const SlideDisplayList& list, const std::vector<WmfText>& texts, std::int32_t margin)
    {
        bool any = false;
        long long minX = 0, minY = 0, maxX = 0, maxY = 0;
        auto widen = [&](long long x, long long y) {
            minX = any ? std::min(minX, x) : x;
            maxX = any ? std::max(maxX, x) : x;
            minY = any ? std::min(minY, y) : y;
            maxY = any ? std::max(maxY, y) : y;
            any = true;
        };
        if (list.HasBox()) {
            widen(list.MinX(), list.MinY());
            widen(list.MaxX(), list.MaxY());
        }
        for (const WmfText& text : texts) {
            widen(text.x, text.y);
            widen(text.x, static_cast<long long>(text.y) + std::max(text.height, 1));
        }
        const long long m = std::max(margin, 0);
        const long long left = minX - m, right = std::max(maxX + m, left + 1);
        const long long bottom = minY - m, top = std::max(maxY + m, bottom + 1);
        // The window extent is a signed 16-bit number too, so the width and height must fit as
        // well as the corners.
        if (left < kMinCoordinate || right > kMaxCoordinate || -top < kMinCoordinate
            || -bottom > kMaxCoordinate || right - left > kMaxCoordinate || top - bottom > kMaxCoordinate) {
            m_originX = left;
            m_originY = top;
            const long long extent = std::max(right - left, top - bottom);
            if (extent > kMaxCoordinate)
                m_scale = static_cast<double>(kMaxCoordinate) / static_cast<double>(extent);
        }
        const LogicalPoint topLeft = Map(left, top), bottomRight = Map(right, bottom);
        m_box = { topLeft.x, topLeft.y, std::max(bottomRight.x, static_cast<std::int16_t>(topLeft.x + 1)),
            std::max(bottomRight.y, static_cast<std::int16_t>(topLeft.y + 1)) };
    }

    LogicalPoint Map(long long x, long long y) const
    {
        return { Clamp(Scale(x - m_originX)), Clamp(Scale(m_originY - y)) };
    }
    // A length in logical units, at least 1.
    std::int16_t Length(long long length) const { return Clamp(std::max(Scale(length), 1LL)); }
    // Left, top, right, bottom.
    const std::array<std::int16_t, 4>& Box() const { return m_box; }

private:
    long long Scale(long long value) const { return std::llround(static_cast<double>(value) * m_scale); }
    static std::int16_t Clamp(long long value)
    {
        return static_cast<std::int16_t>(std::clamp(value, kMinCoordinate, kMaxCoordinate));
    }

    long long m_originX = 0, m_originY = 0;
    double m_scale = 1.0;
    std::array<std::int16_t, 4> m_box {};
};

// The records with the object table as a player keeps it.
class Metafile {
public:
    void Record(std::uint16_t function, const std::vector<std::uint16_t>& parameters)
    {
        const std::uint32_t size = static_cast<std::uint32_t>(3 + parameters.size());
        m_maxRecord = std::max(m_maxRecord, size);
        m_words.push_back(static_cast<std::uint16_t>(size & 0xFFFF));
        m_words.push_back(static_cast<std::uint16_t>(size >> 16));
        m_words.push_back(function);
        m_words.insert(m_words.end(), parameters.begin(), parameters.end());
    }

    // Emits the creating record and returns the index the object takes.
    int Create(std::uint16_t function, const std::vector<std::uint16_t>& parameters)
    {
        Record(function, parameters);
        auto free = std::find(m_used.begin(), m_used.end(), false);
        const int index = static_cast<int>(free - m_used.begin());
        if (free == m_used.end())
            m_used.push_back(true);
        else
            *free = true;
        m_tableSize = std::max(m_tableSize, m_used.size());
        return index;
    }
    void Select(int index) { Record(kSelectObject, { static_cast<std::uint16_t>(index) }); }
    void Delete(int index)
    {
        Record(kDeleteObject, { static_cast<std::uint16_t>(index) });
        m_used[static_cast<std::size_t>(index)] = false;
    }

    std::string Finish(const std::array<std::int16_t, 4>& box, int unitsPerInch)
    {
        Record(kEof, {});
        std::string out;
        auto put16 = [&out](std::uint16_t w) {
            out += static_cast<char>(w & 0xFF);
            out += static_cast<char>(w >> 8);
        };
        std::uint16_t placeable[11] = { static_cast<std::uint16_t>(kPlaceableKey & 0xFFFF),
            static_cast<std::uint16_t>(kPlaceableKey >> 16), 0, Word(box[0]), Word(box[1]), Word(box[2]),
            Word(box[3]), static_cast<std::uint16_t>(std::clamp(unitsPerInch, 1, 0xFFFF)), 0, 0, 0 };
        for (int i = 0; i < 10; ++i)
            placeable[10] ^= placeable[i];
        for (std::uint16_t w : placeable)
            put16(w);
        const std::uint32_t total = static_cast<std::uint32_t>(9 + m_words.size());
        const std::uint16_t header[9] = { 1, 9, 0x0300, static_cast<std::uint16_t>(total & 0xFFFF),
            static_cast<std::uint16_t>(total >> 16), static_cast<std::uint16_t>(m_tableSize),
            static_cast<std::uint16_t>(m_maxRecord & 0xFFFF), static_cast<std::uint16_t>(m_maxRecord >> 16),
            0 };
        for (std::uint16_t w : header)
            put16(w);
        for (std::uint16_t w : m_words)
            put16(w);
        return out;
    }

private:
    std::vector<std::uint16_t> m_words;
    std::vector<bool> m_used;
    std::size_t m_tableSize = 0;
    std::uint32_t m_maxRecord = 0;
};

// One selected object of a kind (pen, brush, font) and what it was made for.
struct Selected {
    int index = -1;
    long long key = -1;
};

class Writer {
public:
    Writer(Metafile& file, const Mapping& mapping, const SlideColorFunction& color)
        : m_file(file)
        , m_mapping(mapping)
        , m_color(color)
    {
    }

    std::uint32_t ColorOf(int index) const
    {
        return (m_color ? m_color(index) : CAcadSlideBitmap::ColorFromIndex(index)) & 0xFFFFFFu;
    }

    void UsePen(std::uint32_t color)
    {
        Use(m_pen, color, kCreatePenIndirect, { 0, 0, 0, Word(color & 0xFFFF), Word(color >> 16) });
    }
    void UseBrush(std::uint32_t color)
    {
        Use(m_brush, color, kCreateBrushIndirect, { 0, Word(color & 0xFFFF), Word(color >> 16), 0 });
    }
    void UseFont(std::int16_t height)
    {
        std::vector<std::uint16_t> font = { Word(-height), 0, 0, 0, 400, 0, Word(kGb2312Charset << 8), 0, 0 };
        std::string face = platform::Utf8ToGb18030("宋体");
        face.resize(kFaceNameBytes, '\0');
        AppendBytes(font, face);
        Use(m_font, height, kCreateFontIndirect, font);
    }

    void Line(const SlidePoint& from, const SlidePoint& to, std::uint32_t color)
    {
        const LogicalPoint a = m_mapping.Map(from.x, from.y), b = m_mapping.Map(to.x, to.y);
        if (!m_polyline.empty() && color == m_polylineColor && m_polyline.back() == a
            && m_polyline.size() < kMaxPolylinePoints) {
            m_polyline.push_back(b);
            return;
        }
        Flush();
        m_polyline = { a, b };
        m_polylineColor = color;
    }

    void Polygon(const std::vector<LogicalPoint>& points, std::uint32_t color)
    {
        Flush();
        UsePen(color);
        UseBrush(color);
        m_file.Record(kPolygon, Points(points));
    }

    void Text(const WmfText& text)
    {
        std::string bytes = platform::Utf8ToGb18030(text.text);
        bytes.resize(platform::Gb18030PrefixLength(bytes, kMaxTextBytes));
        if (bytes.empty())
            return;
        Flush();
        UseFont(m_mapping.Length(std::max(text.height, 1)));
        const std::uint32_t color = ColorOf(text.color);
        if (color != m_textColor) {
            m_file.Record(kSetTextColor, { Word(color & 0xFFFF), Word(color >> 16) });
            m_textColor = color;
        }
        const LogicalPoint at = m_mapping.Map(text.x, text.y);
        std::vector<std::uint16_t> parameters = { static_cast<std::uint16_t>(bytes.size()) };
        AppendBytes(parameters, bytes);
        parameters.push_back(Word(at.y));
        parameters.push_back(Word(at.x));
        m_file.Record(kTextOut, parameters);
    }

    void Flush()
    {
        if (m_polyline.empty())
            return;
        UsePen(m_polylineColor);
        m_file.Record(kPolyline, Points(m_polyline));
        m_polyline.clear();
    }

    void DeleteAll()
    {
        Flush();
        for (Selected* s : { &m_pen, &m_brush, &m_font })
            if (s->index >= 0)
                m_file.Delete(s->index);
    }

private:
    void Use(Selected& selected, long long key, std::uint16_t function,
        const std::vector<std::uint16_t>& parameters)
    {
        if (selected.index >= 0 && selected.key == key)
            return;
        const int index = m_file.Create(function, parameters);
        m_file.Select(index);
        // Deleted only once no longer selected: a player may refuse to delete a selected object.
        if (selected.index >= 0)
            m_file.Delete(selected.index);
        selected = { index, key };
    }

    static void AppendBytes(std::vector<std::uint16_t>& words, const std::string& bytes)
    {
        for (std::size_t i = 0; i < bytes.size(); i += 2) {
            const unsigned low = static_cast<unsigned char>(bytes[i]);
            const unsigned high = i + 1 < bytes.size() ? static_cast<unsigned char>(bytes[i + 1]) : 0;
            words.push_back(static_cast<std::uint16_t>(low | (high << 8)));
        }
    }

    static std::vector<std::uint16_t> Points(const std::vector<LogicalPoint>& points)
    {
        std::vector<std::uint16_t> words = { static_cast<std::uint16_t>(points.size()) };
        for (const LogicalPoint& p : points) {
            words.push_back(Word(p.x));
            words.push_back(Word(p.y));
        }
        return words;
    }

    Metafile& m_file;
    const Mapping& m_mapping;
    const SlideColorFunction& m_color;
    Selected m_pen, m_brush, m_font;
    std::uint32_t m_textColor = std::numeric_limits<std::uint32_t>::max();
    std::vector<LogicalPoint> m_polyline;
    std::uint32_t m_polylineColor = 0;
};

} // namespace

bool WriteWmf(const SlideDisplayList& list, const std::vector<WmfText>& texts, const WmfOptions& options,
    std::string& out, std::string& error)
{
    const auto& sizes = list.PrimitiveSizes();
    for (unsigned size : sizes)
        if (size > kMaxPolygonPoints) {
            error = "a polygon of " + std::to_string(size) + " points is more than a metafile can hold ("
                + std::to_string(kMaxPolygonPoints) + ")";
            return false;
        }
    const Mapping mapping(list, texts, options.margin);
    const auto& box = mapping.Box();
    Metafile file;
    file.Record(kSetMapMode, { kAnisotropic });
    file.Record(kSetWindowOrg, { Word(box[1]), Word(box[0]) });
    file.Record(kSetWindowExt, { Word(box[3] - box[1]), Word(box[2] - box[0]) });
    file.Record(kSetBkMode, { kTransparent, 0 });
    file.Record(kSetPolyFillMode, { kAlternate, 0 });
    if (!texts.empty())
        file.Record(kSetTextAlign, { kBaselineLeft, 0 });

    Writer writer(file, mapping, options.color);
    if (options.fillBackground) {
        const std::vector<LogicalPoint> corners
            = { { box[0], box[1] }, { box[2], box[1] }, { box[2], box[3] }, { box[0], box[3] } };
        writer.Polygon(corners, options.background & 0xFFFFFFu);
    }
    const auto& points = list.Points();
    const auto& colors = list.PrimitiveColors();
    std::vector<LogicalPoint> polygon;
    std::size_t next = 0;
    for (std::size_t k = 0; k < sizes.size(); ++k) {
        const SlidePoint* p = points.data() + next;
        next += sizes[k];
        if (sizes[k] == 2) {
            writer.Line(p[0], p[1], writer.ColorOf(colors[k]));
            continue;
        }
        if (sizes[k] < 2)
            continue; // GDI draws no polygon of fewer than two points
        polygon.clear();
        for (unsigned i = 0; i < sizes[k]; ++i)
            polygon.push_back(mapping.Map(p[i].x, p[i].y));
        writer.Polygon(polygon, writer.ColorOf(colors[k]));
    }
    for (const WmfText& text : texts)
        writer.Text(text);
    writer.DeleteAll();
    out = file.Finish(box, options.unitsPerInch);
    return true;
}

} // namespace orv
