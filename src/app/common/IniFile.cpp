#include "app/common/IniFile.h"

#include "platform/Encoding.h"
#include "platform/Paths.h"

namespace orv {
namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeBom = "\xFF\xFE";
constexpr std::string_view kUtf16BeBom = "\xFE\xFF";

std::string_view Trim(std::string_view text)
{
    auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

// The name of a "[section]" line, or nothing.
std::optional<std::string_view> SectionName(std::string_view line)
{
    line = Trim(line);
    if (line.size() < 2 || line.front() != '[')
        return std::nullopt;
    std::size_t close = line.find(']');
    if (close == std::string_view::npos)
        return std::nullopt;
    return Trim(line.substr(1, close - 1));
}

// Splits "key=value"; nothing for a line without "=" or with an empty key, and for comments.
bool SplitKeyValue(std::string_view line, std::string_view& key, std::string_view& value)
{
    std::string_view trimmed = Trim(line);
    if (trimmed.empty() || trimmed.front() == ';' || trimmed.front() == '#' || trimmed.front() == '[')
        return false;
    std::size_t eq = line.find('=');
    if (eq == std::string_view::npos)
        return false;
    key = Trim(line.substr(0, eq));
    value = Trim(line.substr(eq + 1));
    return !key.empty();
}

}  // namespace

IniFile IniFile::Parse(std::string_view bytes)
{
    IniFile ini;
    // Notepad saves "Unicode" files as UTF-16 with a byte-order mark; they are read as text
    // and written back the same way.
    std::string decoded;
    if (bytes.substr(0, kUtf16LeBom.size()) == kUtf16LeBom
        || bytes.substr(0, kUtf16BeBom.size()) == kUtf16BeBom) {
        const bool bigEndian = bytes[0] == kUtf16BeBom[0];
        ini.m_encoding = bigEndian ? Encoding::Utf16Be : Encoding::Utf16Le;
        decoded = platform::Utf16ToUtf8(bytes.substr(2), bigEndian);
        bytes = decoded;
    } else if (bytes.substr(0, kBom.size()) == kBom) {
        ini.m_bom = true;
        ini.m_encoding = Encoding::Utf8;
        bytes.remove_prefix(kBom.size());
    } else if (platform::LooksLikeUtf8(bytes)) {
        ini.m_encoding = Encoding::Utf8;
    }
    // A file without a single LF whose lines end in CR alone (old Mac editors) has lines all
    // the same.
    const char lineEnd
        = bytes.find('\n') == std::string_view::npos && bytes.find('\r') != std::string_view::npos ? '\r'
                                                                                                   : '\n';
    if (lineEnd == '\r')
        ini.m_newline = "\r";
    std::size_t crlf = 0, lf = 0;
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find(lineEnd, start);
        std::string_view line = bytes.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
        if (end != std::string_view::npos && lineEnd == '\n') {
            if (!line.empty() && line.back() == '\r') {
                line.remove_suffix(1);
                ++crlf;
            } else {
                ++lf;
            }
        }
        ini.m_lines.push_back({std::string(line)});
        if (end == std::string_view::npos) {
            ini.m_finalNewline = false;
            break;
        }
        start = end + 1;
    }
    if (lf > crlf)
        ini.m_newline = "\n";
    return ini;
}

std::optional<std::size_t> IniFile::FindKey(std::string_view section, std::string_view key,
                                            std::size_t* sectionEnd, bool* sectionFound) const
{
    bool inSection = false;
    bool found = false;
    std::size_t lastContent = 0;
    for (std::size_t i = 0; i < m_lines.size(); ++i) {
        const std::string& text = m_lines[i].text;
        if (auto name = SectionName(text)) {
            if (found && inSection)
                break;  // the first section of that name ends here
            inSection = platform::EqualsNoCase(*name, Encode(section));
            if (inSection) {
                found = true;
                lastContent = i;
            }
            continue;
        }
        if (!inSection)
            continue;
        if (!Trim(text).empty())
            lastContent = i;
        std::string_view k, v;
        if (SplitKeyValue(text, k, v) && platform::EqualsNoCase(k, Encode(key)))
            return i;
    }
    if (sectionEnd)
        *sectionEnd = lastContent;
    if (sectionFound)
        *sectionFound = found;
    return std::nullopt;
}

std::string IniFile::Encode(std::string_view utf8) const
{
    // UTF-16 files are held as UTF-8 lines between reading and writing.
    return m_encoding == Encoding::Gb18030 ? platform::Utf8ToGb18030(utf8) : std::string(utf8);
}

std::optional<std::string> IniFile::RawValue(std::string_view section, std::string_view key) const
{
    auto index = FindKey(section, key, nullptr, nullptr);
    if (!index)
        return std::nullopt;
    std::string_view k, v;
    SplitKeyValue(m_lines[*index].text, k, v);
    // The Windows edition received values as C strings: a NUL ends one.
    std::size_t nul = v.find('\0');
    if (nul != std::string_view::npos)
        v = Trim(v.substr(0, nul));
    if (v.size() >= 2 && v.front() == '"' && v.back() == '"')
        v = v.substr(1, v.size() - 2);
    return std::string(v);
}

std::optional<std::string> IniFile::Value(std::string_view section, std::string_view key, std::size_t maxBytes) const
{
    auto raw = RawValue(section, key);
    if (!raw)
        return std::nullopt;
    if (m_encoding == Encoding::Utf8) {
        raw->resize(platform::Utf8PrefixLength(*raw, maxBytes));
        return platform::IsValidUtf8(*raw) ? *raw : platform::Gb18030ToUtf8(*raw);
    }
    if (m_encoding != Encoding::Gb18030) {
        // The Windows edition read UTF-16 files through the same buffer in its code page.
        std::string encoded = platform::Utf8ToGb18030(*raw);
        std::size_t fits = platform::Gb18030PrefixLength(encoded, maxBytes);
        return fits == encoded.size() ? *raw : platform::Gb18030ToUtf8(encoded.substr(0, fits));
    }
    raw->resize(platform::Gb18030PrefixLength(*raw, maxBytes));
    return platform::Gb18030ToUtf8(*raw);
}

void IniFile::SetValue(std::string_view section, std::string_view key, std::string_view value)
{
    std::string clean(value);
    for (char& c : clean)
        if (c == '\r' || c == '\n')
            c = ' ';
    std::string line = Encode(key) + "=" + Encode(clean);

    std::size_t sectionEnd = 0;
    bool sectionFound = false;
    if (auto index = FindKey(section, key, &sectionEnd, &sectionFound)) {
        m_lines[*index].text = line;
        return;
    }
    if (sectionFound) {
        m_lines.insert(m_lines.begin() + static_cast<std::ptrdiff_t>(sectionEnd + 1), Line{line});
        return;
    }
    if (!m_lines.empty() && !Trim(m_lines.back().text).empty())
        m_lines.push_back(Line{std::string()});
    m_lines.push_back(Line{"[" + Encode(section) + "]"});
    m_lines.push_back(Line{line});
    m_finalNewline = true;
}

std::string IniFile::Serialize() const
{
    std::string out;
    if (m_bom)
        out.append(kBom);
    for (std::size_t i = 0; i < m_lines.size(); ++i) {
        out += m_lines[i].text;
        if (i + 1 < m_lines.size() || m_finalNewline)
            out += m_newline;
    }
    if (m_encoding == Encoding::Utf16Le || m_encoding == Encoding::Utf16Be) {
        const bool bigEndian = m_encoding == Encoding::Utf16Be;
        return std::string(bigEndian ? kUtf16BeBom : kUtf16LeBom) + platform::Utf8ToUtf16(out, bigEndian);
    }
    return out;
}

}  // namespace orv
