#include "navigation/TreeCache.h"

#include "packages/Compression.h"
#include "platform/Encoding.h"
#include "platform/Files.h"
#include "platform/Paths.h"

#include <sys/stat.h>

#include <climits>

namespace orv {
namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// atol and atoi read a number this way; an overflow is clamped instead of undefined.
std::int32_t LeadingNumber(std::string_view text)
{
    std::size_t pos = 0;
    while (pos < text.size() && IsBlank(text[pos]))
        ++pos;
    bool negative = false;
    if (pos < text.size() && (text[pos] == '-' || text[pos] == '+'))
        negative = text[pos++] == '-';
    long long value = 0;
    for (; pos < text.size() && text[pos] >= '0' && text[pos] <= '9'; ++pos) {
        value = value * 10 + (text[pos] - '0');
        if (value > static_cast<long long>(INT_MAX) + 1)
            value = static_cast<long long>(INT_MAX) + 1;
    }
    if (negative)
        value = -value;
    if (value > INT_MAX)
        return INT_MAX;
    if (value < INT_MIN)
        return INT_MIN;
    return static_cast<std::int32_t>(value);
}

// A line ends at LF; a CR inside a record, even one just before its CR LF, reads back as written.
bool HasLineEnd(std::string_view text)
{
    return text.find('\n') != std::string_view::npos;
}

struct Mtime {
    long long seconds = 0;
    long nanoseconds = 0;
};

bool ModificationTime(const std::string& programPath, Mtime& out)
{
    const std::string native = platform::NativePath(programPath);
    struct stat st;
    if (native.empty() || ::stat(native.c_str(), &st) != 0)
        return false;
    out.seconds = static_cast<long long>(st.st_mtim.tv_sec);
    out.nanoseconds = st.st_mtim.tv_nsec;
    return true;
}

} // namespace

std::string TreeCachePathFor(std::string_view galleryPath)
{
    std::string path(galleryPath);
    for (char& c : path)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    constexpr std::string_view kGal = ".GAL";
    if (path.size() >= kGal.size() && path.compare(path.size() - kGal.size(), kGal.size(), kGal) == 0)
        path.resize(path.size() - kGal.size());
    return path + ".Lst";
}

void AppendTreeCacheRecord(std::string& text, const TreeCacheRecord& record)
{
    text += std::to_string(record.DirID);
    text += '|';
    text += record.Text;
    text += '|';
    text += std::to_string(record.Image);
    text += '|';
    text += std::to_string(record.SelectedImage);
    text += '|';
    text += std::to_string(record.ParentPosition);
    text += '|';
    text += record.Content;
    text += "\r\n";
}

bool IsWritableTreeCacheRecord(const TreeCacheRecord& record)
{
    return !HasLineEnd(record.Text) && !HasLineEnd(record.Content);
}

bool ParseTreeCacheLine(std::string_view line, TreeCacheRecord& record)
{
    // The first separator ends the DirID; the last four separators start the last four fields.
    const std::size_t first = line.find('|');
    if (first == std::string_view::npos)
        return false;
    std::size_t cuts[4];
    std::size_t end = line.size();
    for (int i = 3; i >= 0; --i) {
        const std::size_t cut = end == 0 ? std::string_view::npos : line.rfind('|', end - 1);
        if (cut == std::string_view::npos || cut <= first)
            return false;
        cuts[i] = cut;
        end = cut;
    }
    const std::string_view dirId = line.substr(0, first);
    const std::string_view name = line.substr(first + 1, cuts[0] - first - 1);
    const std::string_view image = line.substr(cuts[0] + 1, cuts[1] - cuts[0] - 1);
    const std::string_view selected = line.substr(cuts[1] + 1, cuts[2] - cuts[1] - 1);
    const std::string_view parent = line.substr(cuts[2] + 1, cuts[3] - cuts[2] - 1);
    if (dirId.empty() || name.empty() || image.empty() || selected.empty() || parent.empty())
        return false;
    record.DirID = LeadingNumber(dirId);
    record.Text.assign(name);
    record.Image = LeadingNumber(image);
    record.SelectedImage = LeadingNumber(selected);
    record.ParentPosition = LeadingNumber(parent);
    record.Content.assign(line.substr(cuts[3] + 1));
    return true;
}

std::vector<TreeCacheRecord> ParseTreeCacheText(std::string_view text)
{
    std::vector<TreeCacheRecord> records;
    TreeCacheRecord record;
    while (!text.empty()) {
        const std::size_t lf = text.find('\n');
        std::string_view line = text.substr(0, lf);
        text = lf == std::string_view::npos ? std::string_view() : text.substr(lf + 1);
        if (lf != std::string_view::npos && !line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (ParseTreeCacheLine(line, record))
            records.push_back(std::move(record));
    }
    return records;
}

bool EncodeTreeCache(std::string_view text, std::string& compressed)
{
    compressed.clear();
    return DeflateBytes(platform::Utf8ToGb18030(text), compressed) == 0;
}

bool DecodeTreeCache(std::string_view compressed, std::vector<TreeCacheRecord>& records)
{
    records.clear();
    std::string text;
    if (InflateBytes(compressed, text, kMaxTreeCacheText) != 0)
        return false;
    records = ParseTreeCacheText(platform::Gb18030ToUtf8(text));
    return true;
}

TreeCacheState ReadTreeCache(
    const std::string& cachePath, const std::string& galleryPath, std::vector<TreeCacheRecord>& records)
{
    records.clear();
    if (cachePath.empty() || !platform::FileExists(cachePath))
        return TreeCacheState::Missing;
    Mtime cacheTime, galleryTime;
    if (!galleryPath.empty() && ModificationTime(cachePath, cacheTime)
        && ModificationTime(galleryPath, galleryTime)
        && (cacheTime.seconds < galleryTime.seconds
            || (cacheTime.seconds == galleryTime.seconds && cacheTime.nanoseconds < galleryTime.nanoseconds)))
        return TreeCacheState::Stale;
    // A deflate stream shrinks text by far less than this, so a larger file is not a cache.
    std::optional<std::string> bytes = platform::ReadFileBytes(cachePath, kMaxTreeCacheText);
    if (!bytes || !DecodeTreeCache(*bytes, records))
        return TreeCacheState::Damaged;
    return TreeCacheState::Loaded;
}

bool WriteTreeCache(const std::string& cachePath, std::string_view text)
{
    std::string compressed;
    return !cachePath.empty() && EncodeTreeCache(text, compressed)
        && platform::AtomicWriteFile(cachePath, compressed);
}

} // namespace orv
