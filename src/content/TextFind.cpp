#include "content/TextFind.h"

namespace orv {

std::optional<TextMatch> FindFirstIn(std::u16string_view text, std::u16string_view find)
{
    if (text.empty() || find.empty())
        return std::nullopt;
    const std::size_t at = text.find(find);
    if (at == std::u16string_view::npos)
        return std::nullopt;
    return TextMatch { at, find.size() };
}

std::optional<TextMatch> FindNextIn(std::u16string_view text, std::u16string_view find, std::size_t selectionEnd)
{
    if (selectionEnd < 1 || find.empty() || selectionEnd > text.size())
        return std::nullopt;
    std::size_t at = text.find(find, selectionEnd);
    if (at == std::u16string_view::npos)
        at = text.find(find);
    if (at == std::u16string_view::npos)
        return std::nullopt;
    return TextMatch { at, find.size() };
}

WindowPlace TextWindowPlace(int screenWidth, int screenHeight)
{
    WindowPlace place;
    place.Width = screenWidth / 2;
    place.Height = screenHeight / 2;
    place.X = screenWidth - place.Width;
    place.Y = screenHeight - place.Height;
    return place;
}

} // namespace orv
