#pragma once
// Hand-made slide bytes for tests that need records the writer would never produce.

#include <cstdint>
#include <initializer_list>
#include <string>

namespace orv::test {

// Identification and header of a slide: 31 bytes.
inline std::string SlideHeader()
{
    std::string out("AutoCAD Slide\r\n\x1A", 17);
    out += std::string("\x38\x02\x00\x04\x00\x03\x00\x00\x00\x00\x00\x00\x34\x12", 14);
    return out;
}

inline void PutWords(std::string& out, std::initializer_list<std::uint16_t> words)
{
    for (std::uint16_t w : words) {
        out += static_cast<char>(w & 0xFF);
        out += static_cast<char>(w >> 8);
    }
}

inline void PutBytes(std::string& out, std::initializer_list<int> bytes)
{
    for (int b : bytes)
        out += static_cast<char>(b & 0xFF);
}

inline std::string SlideOf(std::initializer_list<std::uint16_t> words)
{
    std::string out = SlideHeader();
    PutWords(out, words);
    return out;
}

} // namespace orv::test

#include "browser/SlideDisplayList.h"

#include <vector>

namespace orv::test {

// The display list as "line C X1 Y1 X2 Y2" / "polygon C N X1 Y1 ..." texts.
inline std::vector<std::string> Describe(const SlideDisplayList& list)
{
    std::vector<std::string> out;
    std::size_t next = 0;
    for (std::size_t k = 0; k < list.PrimitiveSizes().size(); ++k) {
        unsigned size = list.PrimitiveSizes()[k];
        const SlidePoint* p = list.Points().data() + next;
        next += size;
        std::string text = size == 2 ? "line " : "polygon ";
        text += std::to_string(list.PrimitiveColors()[k]);
        if (size != 2)
            text += " " + std::to_string(size);
        for (unsigned i = 0; i < size; ++i)
            text += " " + std::to_string(p[i].x) + " " + std::to_string(p[i].y);
        out.push_back(text);
    }
    return out;
}

} // namespace orv::test
