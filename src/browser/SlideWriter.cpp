#include "browser/SlideWriter.h"

#include "browser/SlideLibrary.h"
#include "platform/Encoding.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace orv {
namespace {

constexpr char kIdentification[] = "AutoCAD Slide\r\n\x1A"; // and its NUL: 17 bytes
constexpr char kLibraryIdentification[] = "AutoCAD Slide Library 1.0\r\n\x1A";

bool FitsByte(int value)
{
    return value >= -128 && value <= 127;
}

void AppendWord(std::string& out, std::uint32_t word)
{
    out += static_cast<char>(word & 0xFF);
    out += static_cast<char>((word >> 8) & 0xFF);
}

void AppendLong(std::string& out, std::uint32_t value)
{
    AppendWord(out, value & 0xFFFF);
    AppendWord(out, value >> 16);
}

} // namespace

CSlideWriter::CSlideWriter(SlideRecordLayout layout)
    : m_layout(layout)
{
}

bool CSlideWriter::Fail(std::string reason)
{
    m_error = std::move(reason);
    return false;
}

std::int32_t CSlideWriter::Wrap(std::int32_t value) const
{
    if (m_layout == SlideRecordLayout::Signed)
        return static_cast<std::int16_t>(static_cast<std::uint16_t>(value & 0xFFFF));
    return value;
}

void CSlideWriter::PutWord(std::uint32_t word)
{
    AppendWord(m_records, word);
}

void CSlideWriter::PutByte(int byte)
{
    m_records += static_cast<char>(byte & 0xFF);
}

void CSlideWriter::Widen(std::int32_t x, std::int32_t y)
{
    m_maxX = std::max(m_maxX, x);
    m_maxY = std::max(m_maxY, y);
}

// A from point's x opens its record, so it must stay below 0x8000 in both layouts; the
// unsigned layout has no negative values and reads 0xFFFF as 0.
bool CSlideWriter::CheckPoint(std::int32_t x, std::int32_t y, bool isFromPoint)
{
    const std::int32_t low = m_layout == SlideRecordLayout::Signed ? -32768 : 0;
    const std::int32_t lowX = isFromPoint ? 0 : low;
    if (x < lowX || x > 32767 || y < low || y > 32767)
        return Fail("coordinate (" + std::to_string(x) + ", " + std::to_string(y) + ") is out of range");
    return true;
}

void CSlideWriter::StartRecords()
{
    if (m_started)
        return;
    m_started = true;
    if (m_color < 0)
        m_color = 7;
    // The unsigned reader takes the opening colour record in its record state; the signed
    // layout is recognised by its doubled first word.
    PutWord(0xFF00u | static_cast<unsigned>(m_color));
    if (m_layout == SlideRecordLayout::Signed)
        PutWord(0xFF00u | static_cast<unsigned>(m_color));
    m_recordState = false;
}

bool CSlideWriter::SetColor(int index)
{
    if (index < 0 || index > 255)
        return Fail("colour index " + std::to_string(index) + " is not 0-255");
    if (!m_started) {
        m_color = index;
        StartRecords();
        return true;
    }
    if (index == m_color)
        return true;
    if (m_layout == SlideRecordLayout::Unsigned && index == 255 && !m_recordState)
        return Fail("colour 255 can only open a slide or follow a solid fill in the unsigned layout");
    PutWord(0xFF00u | static_cast<unsigned>(index));
    m_color = index;
    m_recordState = false;
    return true;
}

bool CSlideWriter::Vector(std::int32_t fromX, std::int32_t fromY, std::int32_t toX, std::int32_t toY)
{
    if (!CheckPoint(fromX, fromY, true) || !CheckPoint(toX, toY, false))
        return false;
    StartRecords();
    PutWord(static_cast<std::uint32_t>(fromX));
    PutWord(static_cast<std::uint32_t>(fromY));
    PutWord(static_cast<std::uint32_t>(toX));
    PutWord(static_cast<std::uint32_t>(toY));
    Widen(fromX, fromY);
    Widen(toX, toY);
    m_lx = fromX;
    m_ly = fromY;
    m_recordState = false;
    return true;
}

bool CSlideWriter::OffsetVector(int dx0, int dy0, int dx1, int dy1)
{
    if (!FitsByte(dx0) || !FitsByte(dy0) || !FitsByte(dx1) || !FitsByte(dy1))
        return Fail("offset out of the range -128..127");
    StartRecords();
    PutByte(dx0);
    PutByte(0xFB);
    PutByte(dy0);
    PutByte(dx1);
    PutByte(dy1);
    Widen(Wrap(m_lx + dx0), Wrap(m_ly + dy0));
    Widen(Wrap(m_lx + dx1), Wrap(m_ly + dy1));
    m_lx = Wrap(m_lx + dx0);
    m_ly = Wrap(m_ly + dy0);
    m_recordState = false;
    return true;
}

bool CSlideWriter::CommonEndpoint(int dx, int dy)
{
    if (!FitsByte(dx) || !FitsByte(dy))
        return Fail("offset out of the range -128..127");
    StartRecords();
    PutByte(dx);
    PutByte(0xFE);
    PutByte(dy);
    m_lx = Wrap(m_lx + dx);
    m_ly = Wrap(m_ly + dy);
    Widen(m_lx, m_ly);
    m_recordState = false;
    return true;
}

bool CSlideWriter::SolidFill(const std::vector<SlidePoint>& vertices)
{
    if (vertices.size() > kMaxFillVertices)
        return Fail("a solid fill has at most " + std::to_string(kMaxFillVertices) + " vertices");
    for (const SlidePoint& p : vertices) {
        if (!CheckPoint(p.x, p.y, false))
            return false;
    }
    StartRecords();
    const bool isSigned = m_layout == SlideRecordLayout::Signed;
    // The signed layout counts the closing record with the vertices.
    PutWord(0xFD00);
    PutWord(static_cast<std::uint32_t>(vertices.size() + (isSigned ? 1 : 0)));
    PutWord(0);
    for (const SlidePoint& p : vertices) {
        PutWord(0xFD00);
        PutWord(static_cast<std::uint32_t>(p.x));
        PutWord(static_cast<std::uint32_t>(p.y));
        Widen(p.x, p.y);
    }
    PutWord(0xFD00);
    PutWord(0);
    PutWord(0xFFFF); // the closing record's negative y
    m_recordState = true;
    return true;
}

bool CSlideWriter::AddLine(int color, std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2)
{
    if (!CheckPoint(x1, y1, false) || !CheckPoint(x2, y2, false) || !SetColor(color))
        return false;
    if (x1 == m_lx && y1 == m_ly && FitsByte(x2 - x1) && FitsByte(y2 - y1))
        return CommonEndpoint(x2 - x1, y2 - y1);
    if (FitsByte(x1 - m_lx) && FitsByte(y1 - m_ly) && FitsByte(x2 - m_lx) && FitsByte(y2 - m_ly))
        return OffsetVector(x1 - m_lx, y1 - m_ly, x2 - m_lx, y2 - m_ly);
    // A negative from x cannot open a vector record; the same line from its other end can.
    if (x1 < 0 && x2 >= 0)
        return Vector(x2, y2, x1, y1);
    return Vector(x1, y1, x2, y2);
}

bool CSlideWriter::AddPolygon(int color, const std::vector<SlidePoint>& vertices)
{
    return SetColor(color) && SolidFill(vertices);
}

bool CSlideWriter::AddDisplayList(const SlideDisplayList& list)
{
    const auto& points = list.Points();
    const auto& sizes = list.PrimitiveSizes();
    const auto& colors = list.PrimitiveColors();
    std::size_t next = 0;
    std::vector<SlidePoint> vertices;
    for (std::size_t k = 0; k < sizes.size(); ++k) {
        const SlidePoint* p = points.data() + next;
        next += sizes[k];
        bool ok = sizes[k] == 2 ? AddLine(colors[k], p[0].x, p[0].y, p[1].x, p[1].y)
                                : AddPolygon(colors[k], std::vector<SlidePoint>(p, p + sizes[k]));
        if (!ok)
            return false;
    }
    return true;
}

std::string CSlideWriter::Finish() const
{
    std::string out(kIdentification, sizeof kIdentification); // includes the NUL
    out += static_cast<char>(56); // type indicator
    out += static_cast<char>(2); // level: the current format
    const std::int32_t width = std::max<std::int32_t>(m_maxX, 1), height = std::max<std::int32_t>(m_maxY, 1);
    AppendWord(out, static_cast<std::uint32_t>(width));
    AppendWord(out, static_cast<std::uint32_t>(height));
    AppendLong(out, static_cast<std::uint32_t>(std::lround(10000000.0 * width / height)));
    AppendWord(out, 0); // hardware fill
    AppendWord(out, 0x1234); // test number
    if (m_started) {
        out += m_records;
    } else {
        // An empty slide still opens with its colour record.
        AppendWord(out, 0xFF07);
        if (m_layout == SlideRecordLayout::Signed)
            AppendWord(out, 0xFF07);
    }
    AppendWord(out, 0xFC00);
    return out;
}

bool WriteSlideLibrary(
    const std::vector<std::pair<std::string, std::string>>& members, std::string& library, std::string& error)
{
    std::vector<std::string> names;
    for (const auto& [name, slide] : members) {
        std::string stored = platform::Utf8ToGb18030(name);
        if (stored.empty() || stored.size() >= kSlideLibraryNameSize) {
            error = "member name \"" + name + "\" must have 1 to 31 bytes";
            return false;
        }
        for (const std::string& other : names) {
            if (SlideMemberNameEquals(other, stored)) {
                error = "member name \"" + name + "\" occurs twice";
                return false;
            }
        }
        if (slide.size() < 31 || slide.compare(0, 13, "AutoCAD Slide") != 0) {
            error = "member \"" + name + "\" is not a slide";
            return false;
        }
        names.push_back(std::move(stored));
    }
    // The directory ends with an empty entry, as AutoCAD's own libraries do.
    std::uint64_t offset = kSlideLibraryHeaderSize + (members.size() + 1) * kSlideLibraryEntrySize;
    std::string out(kLibraryIdentification, sizeof kLibraryIdentification - 1);
    out.resize(kSlideLibraryHeaderSize, '\0');
    for (std::size_t i = 0; i < members.size(); ++i) {
        if (offset > std::numeric_limits<std::uint32_t>::max()) {
            error = "the library would pass 4 GB";
            return false;
        }
        std::string entry = names[i];
        entry.resize(kSlideLibraryNameSize, '\0');
        AppendLong(entry, static_cast<std::uint32_t>(offset));
        out += entry;
        offset += members[i].second.size();
    }
    out.append(kSlideLibraryEntrySize, '\0');
    for (const auto& member : members)
        out += member.second;
    library = std::move(out);
    return true;
}

} // namespace orv
