#include "browser/AcadSlideBitmap.h"

#include "browser/SlideByteReader.h"
#include "browser/SlideLibrary.h"
#include "browser/SlideRecordDecoder.h"
#include "platform/Encoding.h"

#include <climits>
#include <cstring>

namespace orv {
namespace {

constexpr std::size_t kIdentificationSize = 17;

// The identification is taken as NUL-terminated text, as the 17 bytes end in 0x1A 0x00.
bool IsSlideIdentification(const std::uint8_t (&bytes)[kIdentificationSize])
{
    const char* text = reinterpret_cast<const char*>(bytes);
    const void* nul = std::memchr(text, 0, kIdentificationSize);
    std::string_view view(
        text, nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - text) : kIdentificationSize);
    return view.find("AutoCAD Slide") != std::string_view::npos;
}

} // namespace

int CAcadSlideBitmap::LoadFrom(SlideByteReader& reader, std::uint64_t slideOffset)
{
    std::uint8_t identification[kIdentificationSize];
    if (!reader.Seek(slideOffset) || !reader.Read(identification, sizeof identification))
        return -1;
    if (!IsSlideIdentification(identification))
        return -1;
    std::array<std::uint8_t, kHeaderSize> header;
    if (!reader.Read(header.data(), header.size()))
        return -1;
    m_header = header;
    m_slideOffset = static_cast<std::uint32_t>(slideOffset);
    DecodeSlideRecords(reader, slideOffset, m_list);
    return 1;
}

int CAcadSlideBitmap::LoadMember(SlideByteReader& reader, std::string_view storedName)
{
    if (!ReadSlideLibraryHeader(reader))
        return -1;
    std::uint32_t offset = 0;
    if (!FindSlideLibraryMember(reader, storedName, offset))
        return -1;
    return LoadFrom(reader, offset);
}

int CAcadSlideBitmap::LoadSlide(std::string_view path)
{
    if (path.empty())
        return 0;
    auto reader = SlideByteReader::OpenFile(path);
    if (!reader)
        return 0;
    int result = LoadFrom(*reader, 0);
    if (result == 1)
        m_sourcePath = std::string(path);
    return result;
}

int CAcadSlideBitmap::LoadLibrarySlide(std::string_view libraryPath, std::string_view memberName)
{
    if (libraryPath.empty() || memberName.empty())
        return 0;
    // Library directories hold GB2312 names; the limit applies to those bytes.
    std::string stored = platform::Utf8ToGb18030(memberName);
    if (stored.size() > kMaxMemberNameBytes)
        return 0;
    auto reader = SlideByteReader::OpenFile(libraryPath);
    if (!reader)
        return 0;
    int result = LoadMember(*reader, stored);
    if (result == 1)
        m_sourcePath = std::string(libraryPath);
    return result;
}

int CAcadSlideBitmap::LoadSlideData(std::string_view bytes)
{
    SlideByteReader reader(bytes);
    return LoadFrom(reader, 0);
}

int CAcadSlideBitmap::LoadLibrarySlideData(std::string_view bytes, std::string_view memberName)
{
    if (memberName.empty())
        return 0;
    std::string stored = platform::Utf8ToGb18030(memberName);
    if (stored.size() > kMaxMemberNameBytes)
        return 0;
    SlideByteReader reader(bytes);
    return LoadMember(reader, stored);
}

SlideLayout FitDisplayList(const SlideDisplayList& list, const SlideRect& rect, int margin)
{
    SlideLayout layout;
    if (list.Empty() || list.PrimitiveSizes().empty())
        return layout;
    // In 64 bits: a margin from the command line may be anything an int holds.
    const long long left = static_cast<long long>(rect.left) + margin,
                    top = static_cast<long long>(rect.top) + margin,
                    right = static_cast<long long>(rect.right) - margin,
                    bottom = static_cast<long long>(rect.bottom) - margin;
    if (right <= left || bottom <= top || left < INT_MIN || top < INT_MIN || right > INT_MAX
        || bottom > INT_MAX)
        return layout; // no room inside the margin: the background alone shows
    SlideRect r { static_cast<int>(left), static_cast<int>(top), static_cast<int>(right),
        static_cast<int>(bottom) };
    const double w = static_cast<double>(right - left), h = static_cast<double>(bottom - top);
    if (w > INT_MAX || h > INT_MAX)
        return layout;
    const double dx = static_cast<double>(list.MaxX()) - list.MinX();
    const double dy = static_cast<double>(list.MaxY()) - list.MinY();
    double scale = 0.0;
    if (dx == 0 && dy == 0) {
        // Every point is the same: no scale fits, so the drawing is one point at the centre.
        r.left += r.Width() / 2;
        r.top += r.Height() / 2;
        r.right = r.left;
        r.bottom = r.top;
    } else if (dx == 0 || (dy != 0 && w / dx > h / dy)) {
        scale = h / dy;
        int band = static_cast<int>((w - scale * dx) / 2);
        r.left += band;
        r.right -= band;
    } else {
        scale = w / dx;
        int band = static_cast<int>((h - scale * dy) / 2);
        r.top += band;
        r.bottom -= band;
    }
    layout.drawable = true;
    layout.area = r;
    layout.scale = scale;
    layout.minX = list.MinX();
    layout.minY = list.MinY();
    return layout;
}

SlideLayout CAcadSlideBitmap::FitToRectangle(const SlideRect& rect)
{
    SlideLayout layout = FitDisplayList(m_list, rect, m_margin);
    m_target = layout.drawable ? layout.area : rect;
    if (layout.drawable)
        m_scale = layout.scale;
    return layout;
}

} // namespace orv
