// Pages come from galleries: the trimming and the link rewriting must handle any bytes. The
// input is "<base>\n<page>".

#include "packages/ZHtmFileLib.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string_view input(reinterpret_cast<const char*>(data), size);
    std::size_t newline = input.find('\n');
    std::string_view base = newline == std::string_view::npos ? std::string_view() : input.substr(0, newline);
    std::string_view page = newline == std::string_view::npos ? input : input.substr(newline + 1);

    std::string trimmed = orv::CZHtmFileLib::TrimPageText(page);
    if (page.compare(0, trimmed.size(), trimmed) != 0)
        std::abort();
    std::string rewritten = orv::CZHtmFileLib::RewriteLinks(trimmed, base);
    // Only the "../_themes/" step can shorten a page (a short parent folder replaces "..").
    if (base.find('\\') == std::string_view::npos && rewritten.size() < trimmed.size())
        std::abort();
    // With an empty base nothing but the separators is inserted.
    std::string plain = orv::CZHtmFileLib::RewriteLinks(trimmed, "");
    if (plain.size() < trimmed.size())
        std::abort();
    return 0;
}
