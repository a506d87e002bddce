#pragma once
// The text window that the search opens on a found text: where its find steps land and where
// the window first stands. Positions and lengths count the text's own units (the window passes
// UTF-16 code units), so the widget selects exactly what was found.

#include <cstddef>
#include <optional>
#include <string_view>

namespace orv {

struct TextMatch {
    std::size_t Start = 0;
    std::size_t Length = 0;
};

// The first occurrence of find in text (case-sensitive); none when either is empty.
std::optional<TextMatch> FindFirstIn(std::u16string_view text, std::u16string_view find);

// The next occurrence from selectionEnd (the end of what is selected now), wrapping to the
// start when there is none after it. Nothing happens (none) while nothing has been found yet,
// that is, when selectionEnd is below 1.
std::optional<TextMatch> FindNextIn(std::u16string_view text, std::u16string_view find, std::size_t selectionEnd);

struct WindowPlace {
    int X = 0, Y = 0, Width = 0, Height = 0;
};

// The lower-right quarter of a screen of the given size (halves rounded down).
WindowPlace TextWindowPlace(int screenWidth, int screenHeight);

} // namespace orv
