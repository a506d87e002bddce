#pragma once
// Writes AutoCAD slides and slide libraries: for the gallery builder, for orvtool and for the
// tests. The record-level calls write exactly the record asked for; AddLine and AddPolygon
// write a display-list primitive in the shortest record that reproduces it (common endpoint,
// offset vector or vector; a line whose from x is negative is written from its other end, as
// no record can open with a negative x). Every slide begins with a colour record, so that the reader's test
// for the signed layout (first two record words equal) never fires by chance; the signed layout
// writes that record twice on purpose. See SlideRecordDecoder.h for the records.

#include "browser/SlideDisplayList.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace orv {

enum class SlideRecordLayout { Unsigned, Signed };

class CSlideWriter {
public:
    static constexpr std::size_t kMaxFillVertices = 199;

    explicit CSlideWriter(SlideRecordLayout layout = SlideRecordLayout::Unsigned);

    // Each returns false, writing nothing, when the record cannot be written in this layout
    // (a coordinate out of range, too many vertices, colour 255 where the unsigned layout
    // reads it as a vector); Error() then says why.
    bool SetColor(int index);
    bool Vector(std::int32_t fromX, std::int32_t fromY, std::int32_t toX, std::int32_t toY);
    bool OffsetVector(int dx0, int dy0, int dx1, int dy1);
    bool CommonEndpoint(int dx, int dy);
    bool SolidFill(const std::vector<SlidePoint>& vertices);

    bool AddLine(int color, std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2);
    bool AddPolygon(int color, const std::vector<SlidePoint>& vertices);
    // Every primitive of a display list in order; false at the first that cannot be written.
    bool AddDisplayList(const SlideDisplayList& list);

    // The whole slide: identification, header, records and the end-of-file record.
    std::string Finish() const;
    const std::string& Error() const { return m_error; }

private:
    bool Fail(std::string reason);
    bool CheckPoint(std::int32_t x, std::int32_t y, bool isFromPoint);
    void StartRecords();
    void PutWord(std::uint32_t word);
    void PutByte(int byte);
    void Widen(std::int32_t x, std::int32_t y);
    std::int32_t Wrap(std::int32_t value) const;

    SlideRecordLayout m_layout;
    std::string m_records;
    std::string m_error;
    int m_color = -1;
    bool m_started = false;
    bool m_recordState = true; // unsigned layout: the reader is between runs of vectors
    std::int32_t m_lx = 0, m_ly = 0;
    std::int32_t m_maxX = 0, m_maxY = 0;
};

// A slide library from named slides (names UTF-8, at most 31 bytes in GB18030, unique without
// regard to case; each slide a complete slide). False, with the reason, when it cannot be made.
bool WriteSlideLibrary(const std::vector<std::pair<std::string, std::string>>& members, std::string& library,
    std::string& error);

} // namespace orv
