#include "app/common/TextHelpers.h"

#include "platform/Encoding.h"
#include "platform/Paths.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace orv {

std::vector<std::string> SplitString(std::string_view text, std::string_view separator)
{
    std::vector<std::string> list;
    if (separator.empty()) {
        list.emplace_back(text);
        return list;
    }
    std::string_view rest = text;
    std::string lastPiece;
    for (std::size_t pos = rest.find(separator); pos != std::string_view::npos && pos > 0;
         pos = rest.find(separator)) {
        lastPiece.assign(rest.substr(0, pos));
        rest = rest.substr(pos + separator.size());
        if (!platform::EqualsNoCase(lastPiece, separator))
            list.push_back(lastPiece);
    }
    if (!platform::EqualsNoCase(lastPiece, separator))
        list.emplace_back(rest);
    return list;
}

void SplitCharacters(std::string_view text, std::vector<std::string>& list)
{
    for (std::size_t pos = 0; pos < text.size();) {
        std::size_t len = platform::Utf8SequenceLength(text, pos);
        if (len == 0) {
            ++pos;
            continue;
        }
        list.emplace_back(text.substr(pos, len));
        pos += len;
    }
}

bool ParseNumber(std::string_view text, double& out)
{
    auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    if (text == "-")
        return false;
    double sign = 1.0;
    if (!text.empty() && text.front() == '-') {
        sign = -1.0;
        text.remove_prefix(1);
    } else if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
    }
    for (char c : text)
        if (!(c >= '0' && c <= '9') && c != '.')
            return false;
    out = std::atof(std::string(text).c_str()) * sign;
    return true;
}

void ReadLines(std::string_view path, std::vector<std::string>& list, LineEncoding encoding)
{
    list.clear();
    std::string native = platform::NativePath(path);
    if (native.empty())
        return;
    std::FILE* file = std::fopen(native.c_str(), "rbe");
    if (!file)
        return;
    constexpr std::size_t kLineBytes = 10238;
    std::string line;
    bool atEnd = false;
    while (!atEnd) {
        line.clear();
        bool ended = false;
        while (line.size() < kLineBytes) {
            int c = std::fgetc(file);
            if (c == EOF) {
                atEnd = true;
                break;
            }
            line += static_cast<char>(c);
            if (c == '\n') {
                ended = true;
                break;
            }
        }
        if (ended) {
            line.pop_back();
            if (!line.empty() && line.back() == '\r')  // text mode reads CR LF as one line end
                line.pop_back();
        }
        line.resize(std::strlen(line.c_str()));  // the line is a C string: a NUL ends it
        if (line.empty())
            continue;
        if (encoding == LineEncoding::Auto && !platform::IsAscii(line) && !platform::LooksLikeUtf8(line))
            line = platform::Gb18030ToUtf8(line);
        list.push_back(line);
    }
    std::fclose(file);
}

bool WriteLines(std::string_view path, const std::vector<std::string>& list, WriteEncoding encoding)
{
    std::string native = platform::NativePath(path);
    if (native.empty())
        return false;
    std::FILE* file = std::fopen(native.c_str(), "wbe");
    if (!file)
        return false;
    bool ok = true;
    for (const std::string& element : list) {
        std::string bytes = encoding == WriteEncoding::Gb18030 ? platform::Utf8ToGb18030(element) : element;
        bytes += '\n';
        ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size() && ok;
    }
    ok = std::fclose(file) == 0 && ok;
    return ok;
}

}  // namespace orv
