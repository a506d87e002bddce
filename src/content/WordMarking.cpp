#include "content/WordMarking.h"

#include "content/DirectoryContent.h"
#include "content/GeneratedPages.h"
#include "platform/Encoding.h"
#include "platform/Files.h"
#include "platform/Paths.h"

#include <vector>

namespace orv {
namespace {

// What a page looks like around each position: where characters start, and the nearest
// angle bracket on either side, so the inside-a-tag test costs nothing per occurrence.
class PageMap {
public:
    // False when the text does not decode as GB18030.
    bool Build(const std::string& text)
    {
        const std::size_t n = text.size();
        m_start.assign(n + 1, 0);
        for (std::size_t pos = 0; pos < n;) {
            const std::size_t len = Gb18030CharLength(text, pos);
            if (len == 0)
                return false;
            m_start[pos] = 1;
            pos += len;
        }
        m_start[n] = 1;
        m_before.assign(n + 1, 0);
        for (std::size_t i = 0; i < n; ++i)
            m_before[i + 1] = text[i] == '<' || text[i] == '>' ? text[i] : m_before[i];
        m_from.assign(n + 1, 0);
        for (std::size_t i = n; i-- > 0;)
            m_from[i] = text[i] == '<' || text[i] == '>' ? text[i] : m_from[i + 1];
        return true;
    }

    bool IsCharStart(std::size_t pos) const { return pos < m_start.size() && m_start[pos] != 0; }

    // A "<" nearer before s than any ">" means inside; else a ">" nearer after e than any "<".
    bool InsideTag(std::size_t s, std::size_t e) const
    {
        if (m_before[s] == '<')
            return true;
        return m_from[e] == '>';
    }

private:
    std::vector<char> m_start, m_before, m_from;
};

bool HasUnclosedTag(const std::string& text)
{
    const std::size_t open = text.rfind('<');
    return open != std::string::npos && text.find('>', open) == std::string::npos;
}

std::vector<std::string> SplitGb18030Characters(const std::string& words)
{
    std::vector<std::string> chars;
    for (std::size_t pos = 0; pos < words.size();) {
        std::size_t len = Gb18030CharLength(words, pos);
        if (len == 0)
            len = 1; // a stray byte stands for itself; it can only match at a character start
        chars.push_back(words.substr(pos, len));
        pos += len;
    }
    return chars;
}

bool MatchesAt(const std::string& text, const PageMap& map, std::size_t pos, const std::string& what)
{
    return map.IsCharStart(pos) && text.compare(pos, what.size(), what) == 0
        && map.IsCharStart(pos + what.size());
}

bool MarkWholeWords(const std::string& text, const PageMap& map, std::size_t start, const std::string& words,
    std::string& out)
{
    bool first = true;
    std::size_t copied = 0;
    for (std::size_t pos = start, p; (p = text.find(words, pos)) != std::string::npos;) {
        if (!MatchesAt(text, map, p, words)) {
            pos = p + 1;
            continue;
        }
        const std::size_t end = p + words.size();
        pos = end;
        if (map.InsideTag(p, end))
            continue;
        out.append(text, copied, p - copied);
        if (first)
            out += kFindAnchor;
        out += kHighlightOpen + words + kHighlightClose;
        copied = end;
        first = false;
    }
    if (first)
        return false;
    out.append(text, copied, std::string::npos);
    return true;
}

// The end of the run of the characters from p on, whole tags allowed between them; npos
// when they do not all follow.
std::size_t FollowCharacters(
    const std::string& text, const PageMap& map, std::size_t p, const std::vector<std::string>& chars)
{
    std::size_t q = p + chars[0].size();
    for (std::size_t i = 1; i < chars.size(); ++i) {
        while (q < text.size() && text[q] == '<') {
            const std::size_t close = text.find('>', q);
            if (close == std::string::npos)
                return std::string::npos;
            q = close + 1;
        }
        if (!MatchesAt(text, map, q, chars[i]))
            return std::string::npos;
        q += chars[i].size();
    }
    return q;
}

// Every stretch of text between the tags of [p, q) wrapped, the tags kept as they are.
void WrapStretches(const std::string& text, std::size_t p, std::size_t q, std::string& out)
{
    for (std::size_t i = p; i < q;) {
        if (text[i] == '<') {
            const std::size_t close = text.find('>', i);
            const std::size_t end = close == std::string::npos || close >= q ? q : close + 1;
            out.append(text, i, end - i);
            i = end;
            continue;
        }
        std::size_t next = text.find('<', i);
        if (next == std::string::npos || next > q)
            next = q;
        out += kHighlightOpen;
        out.append(text, i, next - i);
        out += kHighlightClose;
        i = next;
    }
}

bool MarkSplitWords(const std::string& text, const PageMap& map, std::size_t start, const std::string& words,
    std::string& out)
{
    const std::vector<std::string> chars = SplitGb18030Characters(words);
    bool first = true;
    std::size_t copied = 0;
    for (std::size_t pos = start, p; (p = text.find(chars[0], pos)) != std::string::npos;) {
        if (!MatchesAt(text, map, p, chars[0])) {
            pos = p + 1;
            continue;
        }
        const std::size_t firstEnd = p + chars[0].size();
        pos = firstEnd;
        if (map.InsideTag(p, firstEnd))
            continue;
        const std::size_t end = FollowCharacters(text, map, p, chars);
        if (end == std::string::npos)
            continue;
        out.append(text, copied, p - copied);
        if (first)
            out += kFindAnchor;
        WrapStretches(text, p, end, out);
        copied = pos = end;
        first = false;
    }
    if (first)
        return false;
    out.append(text, copied, std::string::npos);
    return true;
}

} // namespace

std::size_t Gb18030CharLength(std::string_view text, std::size_t pos)
{
    auto at = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    if (pos >= text.size())
        return 0;
    const unsigned char lead = at(pos);
    if (lead < 0x80)
        return 1;
    if (lead == 0x80 || lead == 0xFF || pos + 1 >= text.size())
        return 0;
    const unsigned char second = at(pos + 1);
    if ((second >= 0x40 && second <= 0x7E) || (second >= 0x80 && second <= 0xFE))
        return 2;
    if (second >= 0x30 && second <= 0x39 && pos + 3 < text.size()) {
        const unsigned char third = at(pos + 2), fourth = at(pos + 3);
        if (third >= 0x81 && third <= 0xFE && fourth >= 0x30 && fourth <= 0x39)
            return 4;
    }
    return 0;
}

std::string MarkWords(const std::string& text, const std::string& words)
{
    if (text.empty() || words.empty())
        return text;
    const std::size_t start = text.find("<body");
    if (start == std::string::npos)
        return text;
    const std::size_t bodyEnd = text.find("</body>");
    if (bodyEnd == std::string::npos || bodyEnd < start)
        return text;
    // A page we cannot read character by character, or whose tags we cannot tell from its
    // text, is shown as it is rather than marked wrongly.
    if (HasUnclosedTag(text))
        return text;
    PageMap map;
    if (!map.Build(text))
        return text;
    std::string out;
    if (MarkWholeWords(text, map, start, words, out))
        return out;
    out.clear();
    if (MarkSplitWords(text, map, start, words, out))
        return out;
    return text;
}

bool HighlightWords(const std::string& path, const std::string& words, const std::string& tempFolder)
{
    // Only a page in the temporary folder is ever rewritten: the gallery's own files stay.
    if (tempFolder.empty() || path.size() <= tempFolder.size() + 1
        || !platform::EqualsNoCase(std::string_view(path).substr(0, tempFolder.size()), tempFolder)
        || path[tempFolder.size()] != '\\')
        return false;
    const std::string name = path.substr(tempFolder.size() + 1);
    if (!IsSingleName(name))
        return false;
    std::optional<std::string> bytes = platform::ReadFileBytes(path);
    if (!bytes)
        return false;
    std::string text = std::move(*bytes);
    if (const std::size_t nul = text.find('\0'); nul != std::string::npos)
        text.resize(nul);
    if (text.empty())
        return false;
    const std::string marked = MarkWords(text, platform::Utf8ToGb18030(words));
    if (marked == text)
        return false;
    return WriteTempFile(tempFolder, name, marked);
}

} // namespace orv
