#include "navigation/FullTextFiles.h"

#include "app/common/TextHelpers.h"
#include "packages/Compression.h"
#include "platform/Encoding.h"
#include "platform/Files.h"

#include <zlib.h>

#include <algorithm>
#include <cstdlib>
#include <limits>

namespace orv {
namespace {

// The index is small beside the content; a bigger one is not an index.
constexpr std::uint64_t kMaxIndexBytes = 256ull * 1024 * 1024;
constexpr std::uint64_t kMaxOffset = std::numeric_limits<std::uint32_t>::max();

// Lines without their line ends; a last line without a line end counts, the empty piece after
// a final line end does not.
std::vector<std::string> IndexLinesOf(std::string_view bytes)
{
    std::vector<std::string> lines;
    std::string_view rest = bytes;
    while (!rest.empty()) {
        std::size_t end = rest.find('\n');
        std::string_view line = rest.substr(0, end);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        lines.push_back(platform::Gb18030ToUtf8(line));
        if (end == std::string_view::npos)
            break;
        rest.remove_prefix(end + 1);
    }
    return lines;
}

std::vector<std::string> IndexLines(std::string_view indexPath)
{
    std::optional<std::string> bytes = platform::ReadFileBytes(indexPath, kMaxIndexBytes);
    return bytes ? IndexLinesOf(*bytes) : std::vector<std::string>();
}

// atoi: leading blanks, a sign, digits; the int kept as the unsigned value it stands for
// (so "-1" lies beyond every offset). Out-of-range numbers saturate instead of overflowing.
std::uint32_t AtoiOffset(std::string_view text)
{
    std::string copy(text);
    long long value = std::strtoll(copy.c_str(), nullptr, 10);
    value = std::clamp<long long>(
        value, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max());
    return static_cast<std::uint32_t>(static_cast<std::int32_t>(value));
}

std::uint32_t EndOffset(std::string_view line)
{
    double value = 0.0;
    if (!ParseNumber(line, value) || !(value > 0.0))
        return 0;
    return value >= static_cast<double>(kMaxOffset) ? static_cast<std::uint32_t>(kMaxOffset)
                                                    : static_cast<std::uint32_t>(value);
}

std::string WithoutNul(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (char c : text)
        if (c != '\0')
            out += c;
    return out;
}

} // namespace

FullTextPaths FullTextPathsFor(std::string_view galleryPath)
{
    std::string root(galleryPath.substr(0, galleryPath.size() >= 4 ? galleryPath.size() - 4 : 0));
    std::size_t slash = root.rfind('\\');
    std::string name = slash == std::string::npos ? root : root.substr(slash + 1);
    std::string base = root + "\\" + name;
    return { base + ".cnx", base + ".cnc", base + ".cnt" };
}

CompressedRecordList ReadCompressedRecordList(std::string_view indexPath)
{
    return CompressedRecordsFromLines(IndexLines(indexPath));
}

CompressedRecordList ParseCompressedRecordList(std::string_view indexBytes)
{
    return CompressedRecordsFromLines(IndexLinesOf(indexBytes));
}

CompressedRecordList CompressedRecordsFromLines(const std::vector<std::string>& lines)
{
    CompressedRecordList list;
    for (std::size_t i = 0; i + 1 < lines.size(); i += 2) {
        list.Names.push_back(lines[i]);
        list.Ends.push_back(EndOffset(lines[i + 1]));
    }
    return list;
}

std::string FirstMarkerGroup(std::string_view nameLine)
{
    std::size_t comma = nameLine.find(',');
    if (comma == std::string_view::npos || comma == 0)
        return "";
    std::string_view markers = nameLine.substr(comma + 1);
    for (std::size_t i = 0; i + 1 < markers.size(); ++i) {
        if (markers[i] == ']' && markers[i + 1] == '[')
            return std::string(markers.substr(0, i + 1));
    }
    return std::string(markers);
}

PlainRecordList ReadPlainRecordList(std::string_view indexPath)
{
    return PlainRecordsFromLines(IndexLines(indexPath));
}

PlainRecordList ParsePlainRecordList(std::string_view indexBytes)
{
    return PlainRecordsFromLines(IndexLinesOf(indexBytes));
}

PlainRecordList PlainRecordsFromLines(std::vector<std::string> allLines)
{
    PlainRecordList list;
    std::vector<std::string> lines;
    for (std::string& line : allLines)
        if (!line.empty())
            lines.push_back(std::move(line));
    for (std::size_t i = 0; i + 1 < lines.size(); i += 2) {
        std::size_t comma = lines[i].find(',');
        if (comma == std::string::npos || comma == 0)
            continue;
        const std::string& range = lines[i + 1];
        std::size_t split = range.find(',');
        list.Markers.push_back(lines[i].substr(comma + 1));
        list.Starts.push_back(split == std::string::npos ? 0 : AtoiOffset(range.substr(0, split)));
        list.Ends.push_back(
            split == std::string::npos ? 0 : AtoiOffset(std::string_view(range).substr(split + 1)));
    }
    return list;
}

std::string DirMarker(std::int32_t dirId)
{
    return "[" + std::to_string(dirId) + "]";
}

bool BuildFullTextBytes(const std::vector<FullTextRecord>& records, FullTextFormat format, std::string& index,
    std::string& content, std::string& error)
{
    index.clear();
    std::string plain;
    // The compressed form's reader takes only a record's first marker, so a record of
    // several directories is written once for each of them there.
    std::vector<FullTextRecord> expanded;
    if (format == FullTextFormat::Compressed) {
        for (const FullTextRecord& record : records)
            for (std::int32_t id : record.DirIds)
                expanded.push_back({ { id }, record.Text });
    }
    for (const FullTextRecord& record : format == FullTextFormat::Compressed ? expanded : records) {
        if (record.DirIds.empty())
            continue;
        std::string text = platform::Utf8ToGb18030(WithoutNul(record.Text));
        if (text.empty())
            continue;
        text += "\r\n";
        std::string markers;
        for (std::int32_t id : record.DirIds)
            markers += DirMarker(id);
        const std::uint64_t start = plain.size();
        const std::uint64_t end = start + text.size();
        if (end > kMaxOffset) {
            error = "the full text passes 4 GiB";
            return false;
        }
        plain += text;
        index += "D" + std::to_string(record.DirIds.front()) + "," + markers + "\r\n";
        if (format == FullTextFormat::Compressed)
            index += std::to_string(end) + "\r\n";
        else
            index += std::to_string(start) + "," + std::to_string(end - 1) + "\r\n";
    }
    content.clear();
    if (format == FullTextFormat::Plain) {
        content = std::move(plain);
    } else if (DeflateBytes(plain, content) != Z_OK) {
        error = "the full text cannot be compressed";
        return false;
    }
    return true;
}

bool WriteFullTextFiles(std::string_view folder, std::string_view name,
    const std::vector<FullTextRecord>& records, FullTextFormat format, std::string& error)
{
    std::string index, content;
    if (!BuildFullTextBytes(records, format, index, content, error))
        return false;
    std::string base = std::string(folder) + "\\" + std::string(name);
    std::string contentPath = base + (format == FullTextFormat::Compressed ? ".cnc" : ".cnt");
    if (!platform::AtomicWriteFile(base + ".cnx", index)
        || !platform::AtomicWriteFile(contentPath, content)) {
        error = "cannot write " + base + ".cnx";
        return false;
    }
    return true;
}

} // namespace orv
