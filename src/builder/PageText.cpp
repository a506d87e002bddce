#include "builder/PageText.h"

#include "platform/Paths.h"

#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace orv {
namespace {

bool StartsWithNoCase(std::string_view text, std::size_t pos, std::string_view prefix)
{
    return text.size() - pos >= prefix.size() && platform::EqualsNoCase(text.substr(pos, prefix.size()), prefix);
}

void AppendUtf8(std::string& out, std::uint32_t code)
{
    if (code == 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        code = 0xFFFD;
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// Decodes the reference at html[pos] ("&amp;", "&#20013;", "&#x4E2D;") into out; the length
// it took, or 0 when it is no reference we know (the "&" then stays as it is).
std::size_t DecodeReference(std::string_view html, std::size_t pos, std::string& out)
{
    std::size_t end = html.find(';', pos);
    if (end == std::string_view::npos || end - pos > 10)
        return 0;
    std::string name(html.substr(pos + 1, end - pos - 1));
    static const struct {
        const char* Name;
        std::uint32_t Code;
    } kNamed[] = {{"amp", '&'}, {"lt", '<'}, {"gt", '>'}, {"quot", '"'}, {"apos", '\''}, {"nbsp", ' '},
        {"copy", 0xA9}, {"reg", 0xAE}, {"deg", 0xB0}, {"plusmn", 0xB1}, {"times", 0xD7}, {"middot", 0xB7},
        {"phi", 0x3C6}, {"Phi", 0x3A6}, {"mdash", 0x2014}, {"ndash", 0x2013}};
    if (!name.empty() && name[0] == '#') {
        const bool hex = name.size() > 1 && (name[1] == 'x' || name[1] == 'X');
        const std::string digits = name.substr(hex ? 2 : 1);
        if (digits.empty() || digits.size() > 7)
            return 0;
        char* stop = nullptr;
        unsigned long code = std::strtoul(digits.c_str(), &stop, hex ? 16 : 10);
        if (*stop != '\0')
            return 0;
        AppendUtf8(out, static_cast<std::uint32_t>(code));
        return end - pos + 1;
    }
    for (const auto& entry : kNamed) {
        if (name == entry.Name) {
            AppendUtf8(out, entry.Code);
            return end - pos + 1;
        }
    }
    return 0;
}

// Tags after which the text goes on on a new line.
bool IsBlockTag(std::string_view tag)
{
    static const char* const kBlocks[] = {"p", "br", "div", "tr", "li", "h1", "h2", "h3", "h4", "h5", "h6",
        "table", "ul", "ol", "dl", "dt", "dd", "hr", "title", "pre", "blockquote", "caption"};
    for (const char* block : kBlocks)
        if (platform::EqualsNoCase(tag, block))
            return true;
    return false;
}

// Tags that stand between words without a line break.
bool IsCellTag(std::string_view tag)
{
    for (const char* cell : {"td", "th", "img", "input", "option", "select", "textarea", "button"})
        if (platform::EqualsNoCase(tag, cell))
            return true;
    return false;
}

} // namespace

std::string PageText(std::string_view html)
{
    std::string raw; // text with '\n' at block ends, white space not yet folded
    std::size_t pos = 0;
    while (pos < html.size()) {
        char c = html[pos];
        if (c == '<') {
            if (StartsWithNoCase(html, pos, "<!--")) {
                std::size_t end = html.find("-->", pos + 4);
                pos = end == std::string_view::npos ? html.size() : end + 3;
                continue;
            }
            std::size_t end = html.find('>', pos);
            if (end == std::string_view::npos)
                break;
            std::size_t nameStart = pos + 1 + (pos + 1 < html.size() && html[pos + 1] == '/' ? 1 : 0);
            std::size_t nameEnd = nameStart;
            while (nameEnd < end && (std::isalnum(static_cast<unsigned char>(html[nameEnd])) != 0))
                ++nameEnd;
            std::string_view tag = html.substr(nameStart, nameEnd - nameStart);
            const bool closing = html[pos + 1] == '/';
            pos = end + 1;
            if (!closing && (platform::EqualsNoCase(tag, "script") || platform::EqualsNoCase(tag, "style"))) {
                // Their content is no text; skip to the matching end tag.
                std::string endTag = "</" + std::string(tag);
                std::size_t close = pos;
                while (close < html.size() && !StartsWithNoCase(html, close, endTag))
                    ++close;
                std::size_t closeEnd = html.find('>', close);
                pos = closeEnd == std::string_view::npos ? html.size() : closeEnd + 1;
                continue;
            }
            // Inline tags join their text as a browser shows it ("<b>螺</b>栓" reads 螺栓).
            if (IsBlockTag(tag))
                raw += '\n';
            else if (IsCellTag(tag))
                raw += ' ';
            continue;
        }
        if (c == '&') {
            if (std::size_t used = DecodeReference(html, pos, raw)) {
                pos += used;
                continue;
            }
        }
        raw += c;
        ++pos;
    }

    // Fold: runs of blanks become one blank, lines are trimmed, empty lines go.
    std::string text, line;
    auto endLine = [&] {
        while (!line.empty() && line.back() == ' ')
            line.pop_back();
        if (!line.empty()) {
            if (!text.empty())
                text += "\r\n";
            text += line;
        }
        line.clear();
    };
    for (char c : raw) {
        if (c == '\n') {
            endLine();
        } else if (c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v') {
            if (!line.empty() && line.back() != ' ')
                line += ' ';
        } else {
            line += c;
        }
    }
    endLine();
    return text;
}

} // namespace orv
