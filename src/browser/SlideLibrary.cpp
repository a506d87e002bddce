#include "browser/SlideLibrary.h"

#include "browser/SlideByteReader.h"
#include "platform/Encoding.h"

#include <algorithm>
#include <cstring>

namespace orv {
namespace {

constexpr char kLibraryMagic[] = "AutoCAD Slide Library";

unsigned char FoldAscii(unsigned char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<unsigned char>(c - 'a' + 'A') : c;
}

std::string_view EntryName(const std::uint8_t* entry)
{
    const char* text = reinterpret_cast<const char*>(entry);
    const void* nul = std::memchr(text, 0, kSlideLibraryNameSize);
    std::size_t length
        = nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - text) : kSlideLibraryNameSize;
    return std::string_view(text, length);
}

std::uint32_t EntryOffset(const std::uint8_t* entry)
{
    const std::uint8_t* p = entry + kSlideLibraryNameSize;
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8)
        | (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

} // namespace

bool ReadSlideLibraryHeader(SlideByteReader& reader)
{
    std::uint8_t header[kSlideLibraryHeaderSize];
    if (!reader.Seek(0) || !reader.Read(header, sizeof header))
        return false;
    const std::size_t length = sizeof kLibraryMagic - 1;
    for (std::size_t i = 0; i < length; ++i) {
        if (FoldAscii(header[i]) != FoldAscii(static_cast<unsigned char>(kLibraryMagic[i])))
            return false;
    }
    return true;
}

bool SlideMemberNameEquals(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto ca = static_cast<unsigned char>(a[i]), cb = static_cast<unsigned char>(b[i]);
        if (ca >= 0x81 && i + 1 < a.size()) {
            if (ca != cb || a[i + 1] != b[i + 1])
                return false;
            ++i;
            continue;
        }
        if (FoldAscii(ca) != FoldAscii(cb))
            return false;
    }
    return true;
}

bool FindSlideLibraryMember(SlideByteReader& reader, std::string_view storedName, std::uint32_t& offset)
{
    std::uint8_t entry[kSlideLibraryEntrySize];
    // Bounded by the file: every step consumes 36 bytes or ends the scan.
    while (reader.Read(entry, sizeof entry)) {
        if (SlideMemberNameEquals(EntryName(entry), storedName)) {
            offset = EntryOffset(entry);
            return true;
        }
    }
    return false;
}

bool ListSlideLibrary(std::string_view programPath, std::vector<SlideLibraryMember>& members)
{
    members.clear();
    auto reader = SlideByteReader::OpenFile(programPath);
    if (!reader || !ReadSlideLibraryHeader(*reader))
        return false;
    std::uint64_t dataStart = reader->Size();
    std::uint8_t entry[kSlideLibraryEntrySize];
    while (reader->Position() + kSlideLibraryEntrySize <= dataStart && reader->Read(entry, sizeof entry)) {
        std::string_view name = EntryName(entry);
        if (name.empty())
            break;
        std::uint32_t offset = EntryOffset(entry);
        if (offset >= reader->Position())
            dataStart = std::min<std::uint64_t>(dataStart, offset);
        members.push_back({ platform::Gb18030ToUtf8(name), offset });
    }
    return true;
}

} // namespace orv
