#include "browser/SlideRecordDecoder.h"

#include "browser/SlideByteReader.h"
#include "browser/SlideDisplayList.h"

#include <algorithm>
#include <vector>

namespace orv {
namespace {

constexpr std::uint16_t kEndOfFile = 0xFC00;
constexpr std::uint16_t kSolidFill = 0xFD00;

std::int32_t Signed8(unsigned byte)
{
    return static_cast<std::int8_t>(static_cast<std::uint8_t>(byte));
}

std::int32_t Wrap16(std::int32_t value)
{
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(value & 0xFFFF));
}

// Some writers put -1 in unused coordinates; the unsigned layout reads it as 0.
std::int32_t UnsignedCoordinate(std::uint16_t word)
{
    return word == 0xFFFF ? 0 : word;
}

unsigned High(std::uint16_t word)
{
    return word >> 8;
}

unsigned Low(std::uint16_t word)
{
    return word & 0xFF;
}

bool ReadWords(SlideByteReader& reader, std::uint16_t& a, std::uint16_t& b)
{
    std::uint8_t bytes[4];
    if (!reader.Read(bytes, 4))
        return false;
    a = static_cast<std::uint16_t>(bytes[0] | (bytes[1] << 8));
    b = static_cast<std::uint16_t>(bytes[2] | (bytes[3] << 8));
    return true;
}

class UnsignedDecoder {
public:
    UnsignedDecoder(SlideByteReader& reader, SlideDisplayList& list, std::int32_t color)
        : m_reader(reader)
        , m_list(list)
        , m_color(color)
    {
    }

    void Run()
    {
        bool inRun = false;
        while (!m_list.Full()) {
            if (!(inRun ? StepRun(inRun) : StepRecord(inRun)))
                return;
        }
    }

private:
    bool StepRecord(bool& inRun)
    {
        std::uint16_t h;
        if (!m_reader.ReadWord(h) || h == kEndOfFile)
            return false;
        if (High(h) == 0xFF) {
            m_color = static_cast<std::int32_t>(Low(h));
            inRun = true;
            return true;
        }
        if (h == kSolidFill)
            return SolidFill();
        m_reader.Back(2);
        inRun = true;
        return true;
    }

    bool StepRun(bool& inRun)
    {
        std::uint16_t w1, w2;
        if (!ReadWords(m_reader, w1, w2))
            return false;
        if (w1 == kSolidFill || (High(w1) == 0xFF && Low(w1) != 0xFF)) {
            m_reader.Back(4);
            inRun = false;
            return true;
        }
        if (w1 == kEndOfFile)
            return false;
        if (High(w1) == 0xFB) {
            std::uint8_t dy1;
            if (!m_reader.ReadByte(dy1))
                return false;
            std::int32_t x0 = m_lx + Signed8(Low(w1)), y0 = m_ly + Signed8(Low(w2));
            std::int32_t x1 = m_lx + Signed8(High(w2)), y1 = m_ly + Signed8(dy1);
            if (!m_list.AddLine(x0, y0, x1, y1, m_color))
                return false;
            m_lx = x0;
            m_ly = y0;
            return true;
        }
        if (High(w1) == 0xFE) {
            // The high byte of the second word already belongs to the next record.
            m_reader.Back(1);
            std::int32_t x = m_lx + Signed8(Low(w1)), y = m_ly + Signed8(Low(w2));
            if (!m_list.AddLine(m_lx, m_ly, x, y, m_color))
                return false;
            m_lx = x;
            m_ly = y;
            return true;
        }
        std::int32_t fromX = UnsignedCoordinate(w1), fromY = UnsignedCoordinate(w2);
        m_lx = fromX;
        m_ly = fromY;
        std::uint16_t toX, toY;
        if (!ReadWords(m_reader, toX, toY))
            return false;
        if (High(toX) == 0xFF && Low(toX) != 0xFF) {
            m_reader.Back(4);
            inRun = false;
            return true;
        }
        if (toX == kEndOfFile)
            return false;
        return m_list.AddLine(fromX, fromY, UnsignedCoordinate(toX), UnsignedCoordinate(toY), m_color);
    }

    // Entered after the 0xFD00 that opens a fill; false ends decoding.
    bool SolidFill()
    {
        std::uint16_t count, unused;
        if (!ReadWords(m_reader, count, unused) || count >= 200)
            return false;
        m_vertices.clear();
        for (unsigned i = 0; i < count; ++i) {
            std::uint16_t marker;
            if (!m_reader.ReadWord(marker))
                return false;
            if (marker != kSolidFill) {
                // A malformed fill: keep the vertices read so far and let the stray word
                // begin the next record.
                m_reader.Back(2);
                return m_list.AddPolygon(m_vertices.data(), m_vertices.size(), m_color);
            }
            std::uint16_t x, y;
            if (!ReadWords(m_reader, x, y))
                return false;
            m_vertices.push_back({ x, y, m_color });
        }
        if (!m_list.AddPolygon(m_vertices.data(), m_vertices.size(), m_color))
            return false;
        return m_reader.Skip(6);
    }

    SlideByteReader& m_reader;
    SlideDisplayList& m_list;
    std::int32_t m_color;
    std::int32_t m_lx = 0, m_ly = 0;
    std::vector<SlidePoint> m_vertices;
};

void DecodeSigned(SlideByteReader& reader, SlideDisplayList& list, std::int32_t color)
{
    std::int32_t lx = 0, ly = 0;
    std::vector<SlidePoint> vertices;
    std::uint16_t w;
    while (!list.Full() && reader.ReadWord(w)) {
        unsigned kind = High(w);
        if (kind == 0xFC)
            return;
        if (kind <= 0x7F) {
            reader.Back(2);
            std::uint16_t fx, fy, tx, ty;
            if (!ReadWords(reader, fx, fy) || !ReadWords(reader, tx, ty))
                return;
            if (!list.AddLine(Wrap16(fx), Wrap16(fy), Wrap16(tx), Wrap16(ty), color))
                return;
            lx = Wrap16(fx);
            ly = Wrap16(fy);
        } else if (kind == 0xFD) {
            std::uint16_t count, unused;
            if (!ReadWords(reader, count, unused) || count > 200)
                return;
            vertices.clear();
            for (unsigned i = 0; i < count; ++i) {
                std::uint16_t marker, x, y;
                if (!reader.ReadWord(marker) || !ReadWords(reader, x, y))
                    break;
                vertices.push_back({ Wrap16(x), Wrap16(y), color });
            }
            // The last of the n records closes the fill; a fill of no records has no polygon
            // points at all.
            std::size_t used = count == 0 ? 0 : std::min<std::size_t>(vertices.size(), count - 1u);
            if (!list.AddPolygon(vertices.data(), used, color))
                return;
        } else if (kind == 0xFF) {
            color = static_cast<std::int32_t>(Low(w));
        } else if (kind == 0xFE) {
            std::uint8_t dy;
            if (!reader.ReadByte(dy))
                return;
            std::int32_t x = Wrap16(lx + Signed8(Low(w))), y = Wrap16(ly + Signed8(dy));
            if (!list.AddLine(lx, ly, x, y, color))
                return;
            lx = x;
            ly = y;
        } else if (kind == 0xFB) {
            std::uint8_t bytes[3];
            if (!reader.Read(bytes, 3))
                return;
            std::int32_t x0 = Wrap16(lx + Signed8(Low(w))), y0 = Wrap16(ly + Signed8(bytes[0]));
            std::int32_t x1 = Wrap16(lx + Signed8(bytes[1])), y1 = Wrap16(ly + Signed8(bytes[2]));
            if (!list.AddLine(x0, y0, x1, y1, color))
                return;
            lx = x0;
            ly = y0;
        }
        // 0x80-0xFA: not a record start; the word is skipped.
    }
}

} // namespace

void DecodeSlideRecords(SlideByteReader& reader, std::uint64_t slideOffset, SlideDisplayList& list)
{
    list.Clear();
    std::uint16_t w31, w33;
    if (!reader.Seek(slideOffset + 31) || !reader.ReadWord(w31))
        return;
    bool haveW33 = reader.ReadWord(w33);
    std::int32_t color = static_cast<std::int32_t>(Low(w31));
    if (haveW33 && w31 == w33) {
        reader.Seek(slideOffset + 33);
        DecodeSigned(reader, list, color);
        return;
    }
    reader.Seek(slideOffset + 31);
    UnsignedDecoder(reader, list, color).Run();
}

} // namespace orv
