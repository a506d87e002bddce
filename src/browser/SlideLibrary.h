#pragma once
// The slide library (".slb") layout:
//
//   offset 0   32 bytes  "AutoCAD Slide Library 1.0\r\n" 0x1A, zero padding
//   offset 32  36 bytes each: member name (GB2312, up to the first NUL, at most 32 bytes),
//                         then the absolute offset of the member's slide (unsigned 32-bit LE)
//   ...        the member slides
//
// Writers end the directory with an entry whose name is empty, but readers must not rely on
// it: an empty name does not end a member search.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orv {

class SlideByteReader;

constexpr std::size_t kSlideLibraryHeaderSize = 32;
constexpr std::size_t kSlideLibraryEntrySize = 36;
constexpr std::size_t kSlideLibraryNameSize = 32;

// Reads the 32-byte header at the reader's start; true when it names a slide library.
bool ReadSlideLibraryHeader(SlideByteReader& reader);

// After the header: scans the directory for the member (its name as stored bytes, GB18030)
// and gives its slide offset. False when the entries run out first.
bool FindSlideLibraryMember(SlideByteReader& reader, std::string_view storedName, std::uint32_t& offset);

// Names compare as Windows did for GB2312 text: ASCII letters without regard to case, the two
// bytes of a double-byte character exactly (a trail byte may look like an ASCII letter).
bool SlideMemberNameEquals(std::string_view a, std::string_view b);

struct SlideLibraryMember {
    std::string name; // UTF-8
    std::uint32_t offset = 0;
};

// The members a library lists, for tools: entries up to the first empty name, the end of the
// file, or the start of the slide data (the lowest member offset), whichever comes first.
// False when the file cannot be opened or is not a slide library.
bool ListSlideLibrary(std::string_view programPath, std::vector<SlideLibraryMember>& members);

} // namespace orv
