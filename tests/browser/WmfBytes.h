#pragma once
// Hand-made Windows metafile bytes for the metafile player's tests: any record, in any order,
// including those the writer never produces and damaged ones.

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace orv::test {

class WmfBuilder {
public:
    using Point = std::pair<int, int>;

    WmfBuilder& Placeable(int left, int top, int right, int bottom, int unitsPerInch)
    {
        m_placeable.clear();
        Put(m_placeable,
            { 0xCDD7, 0x9AC6, 0, W(left), W(top), W(right), W(bottom), W(unitsPerInch), 0, 0, 0 });
        return *this;
    }
    // A record of the parameter words as given (coordinates last-first, as on disk).
    WmfBuilder& Record(std::uint16_t function, const std::vector<int>& params)
    {
        const std::uint32_t words = static_cast<std::uint32_t>(3 + params.size());
        Put(m_records, { W(words & 0xFFFF), W(words >> 16), function });
        for (int p : params)
            Put(m_records, { W(p) });
        return *this;
    }
    // A record whose parameters are bytes, padded to whole words.
    WmfBuilder& RecordBytes(std::uint16_t function, const std::vector<int>& before, const std::string& bytes,
        const std::vector<int>& after)
    {
        std::vector<int> params = before;
        for (std::size_t i = 0; i < bytes.size(); i += 2) {
            const int lo = static_cast<unsigned char>(bytes[i]);
            const int hi = i + 1 < bytes.size() ? static_cast<unsigned char>(bytes[i + 1]) : 0;
            params.push_back(lo | (hi << 8));
        }
        params.insert(params.end(), after.begin(), after.end());
        return Record(function, params);
    }
    WmfBuilder& Raw(const std::string& bytes)
    {
        m_records += bytes;
        return *this;
    }

    WmfBuilder& WindowOrg(int x, int y) { return Record(0x020B, { y, x }); }
    WmfBuilder& WindowExt(int w, int h) { return Record(0x020C, { h, w }); }
    WmfBuilder& Pen(int style, int width, std::uint32_t color)
    {
        return Record(0x02FA, { style, width, 0, Lo(color), Hi(color) });
    }
    WmfBuilder& Brush(int style, std::uint32_t color, int hatch = 0)
    {
        return Record(0x02FC, { style, Lo(color), Hi(color), hatch });
    }
    WmfBuilder& Font(int height, int weight, bool italic, int escapement, const std::string& face)
    {
        std::string tail;
        tail += static_cast<char>(italic ? 1 : 0);
        tail += std::string(7, '\0'); // underline, strike-out, charset, precisions, quality, pitch
        tail += face;
        tail.resize(8 + 32, '\0');
        return RecordBytes(0x02FB, { height, 0, escapement, 0, weight }, tail, {});
    }
    WmfBuilder& Select(int index) { return Record(0x012D, { index }); }
    WmfBuilder& Delete(int index) { return Record(0x01F0, { index }); }
    WmfBuilder& MoveTo(int x, int y) { return Record(0x0214, { y, x }); }
    WmfBuilder& LineTo(int x, int y) { return Record(0x0213, { y, x }); }
    WmfBuilder& Rectangle(int l, int t, int r, int b) { return Record(0x041B, { b, r, t, l }); }
    WmfBuilder& Ellipse(int l, int t, int r, int b) { return Record(0x0418, { b, r, t, l }); }
    WmfBuilder& Arc(int l, int t, int r, int b, int xs, int ys, int xe, int ye)
    {
        return Record(0x0817, { ye, xe, ys, xs, b, r, t, l });
    }
    WmfBuilder& Poly(std::uint16_t function, const std::vector<Point>& points)
    {
        std::vector<int> params { static_cast<int>(points.size()) };
        for (auto [x, y] : points) {
            params.push_back(x);
            params.push_back(y);
        }
        return Record(function, params);
    }
    WmfBuilder& Polyline(const std::vector<Point>& points) { return Poly(0x0325, points); }
    WmfBuilder& Polygon(const std::vector<Point>& points) { return Poly(0x0324, points); }
    WmfBuilder& PolyPolygon(const std::vector<std::vector<Point>>& rings)
    {
        std::vector<int> params { static_cast<int>(rings.size()) };
        for (const auto& ring : rings)
            params.push_back(static_cast<int>(ring.size()));
        for (const auto& ring : rings)
            for (auto [x, y] : ring) {
                params.push_back(x);
                params.push_back(y);
            }
        return Record(0x0538, params);
    }
    WmfBuilder& TextOut(int x, int y, const std::string& bytes)
    {
        return RecordBytes(0x0521, { static_cast<int>(bytes.size()) }, bytes, { y, x });
    }
    WmfBuilder& ExtTextOut(int x, int y, int options, const std::string& bytes)
    {
        std::vector<int> before { y, x, static_cast<int>(bytes.size()), options };
        if (options & 6)
            before.insert(before.end(), { -2, -3, 40, 50 }); // left, top, right, bottom
        return RecordBytes(0x0A32, before, bytes, {});
    }
    WmfBuilder& TextColor(std::uint32_t c) { return Record(0x0209, { Lo(c), Hi(c) }); }
    WmfBuilder& BkColor(std::uint32_t c) { return Record(0x0201, { Lo(c), Hi(c) }); }
    WmfBuilder& BkMode(int mode) { return Record(0x0102, { mode, 0 }); }
    WmfBuilder& TextAlign(int align) { return Record(0x012E, { align, 0 }); }
    WmfBuilder& FillMode(int mode) { return Record(0x0106, { mode, 0 }); }
    WmfBuilder& SaveDc() { return Record(0x001E, {}); }
    WmfBuilder& RestoreDc(int which) { return Record(0x0127, { which }); }

    // The whole file: placeable header (when set), METAHEADER, records, and EOF when asked.
    std::string Bytes(int objects = 16, bool eof = true) const
    {
        std::string records = m_records;
        if (eof)
            Put(records, { 3, 0, 0 });
        std::string out = m_placeable;
        const std::uint32_t size = static_cast<std::uint32_t>(9 + records.size() / 2);
        Put(out, { 1, 9, 0x0300, W(size & 0xFFFF), W(size >> 16), W(objects), 0, 0, 0 });
        return out + records;
    }

private:
    static std::uint16_t W(std::uint32_t v) { return static_cast<std::uint16_t>(v & 0xFFFF); }
    static std::uint16_t W(int v) { return static_cast<std::uint16_t>(v & 0xFFFF); }
    static int Lo(std::uint32_t c) { return static_cast<int>(c & 0xFFFF); }
    static int Hi(std::uint32_t c) { return static_cast<int>(c >> 16); }
    static void Put(std::string& out, std::initializer_list<std::uint16_t> words)
    {
        for (std::uint16_t w : words) {
            out += static_cast<char>(w & 0xFF);
            out += static_cast<char>(w >> 8);
        }
    }

    std::string m_placeable;
    std::string m_records;
};

} // namespace orv::test
