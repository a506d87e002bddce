// Pages come from galleries and words from the user: marking must handle any bytes, leave a
// page it cannot read as GB18030 unchanged, and only ever add its own markup. The input is
// "<words>\n<page>".

#include "content/WordMarking.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

bool Decodes(const std::string& text)
{
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t len = orv::Gb18030CharLength(text, pos);
        if (len == 0)
            return false;
        pos += len;
    }
    return true;
}

std::string Without(std::string text, std::string_view what)
{
    for (std::size_t at; (at = text.find(what)) != std::string::npos;)
        text.erase(at, what.size());
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t newline = input.find('\n');
    const std::string words(
        newline == std::string_view::npos ? std::string_view() : input.substr(0, newline));
    const std::string page(newline == std::string_view::npos ? input : input.substr(newline + 1));

    const std::string marked = orv::MarkWords(page, words);
    if (!Decodes(page) && marked != page)
        std::abort();
    if (marked.size() < page.size())
        std::abort();
    // Taking the markup out again gives the page back (unless the page held such markup).
    if (page.find("span") == std::string::npos && page.find("orv_find") == std::string::npos) {
        std::string bare = Without(marked, orv::kFindAnchor);
        bare = Without(bare, orv::kHighlightOpen);
        bare = Without(bare, orv::kHighlightClose);
        if (bare != page)
            std::abort();
    }
    return 0;
}
