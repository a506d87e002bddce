#include "navigation/FullTextIndex.h"

#include "packages/Compression.h"
#include "platform/Encoding.h"
#include "platform/Files.h"
#include "platform/Hooks.h"
#include "platform/Paths.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstring>
#include <mutex>
#include <optional>

namespace orv {
namespace {

// Bytes scanned between two event pumps: small enough for a responsive window, large enough
// that the pump costs nothing beside the scan.
constexpr std::size_t kChunkBytes = 1u << 20;
constexpr std::uint64_t kMaxContentBytes = 2ull * 1024 * 1024 * 1024;

bool IsAsciiLetter(unsigned char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// A byte below 0x30 is never part of a multi-byte GB18030 character, so a character starts
// right after it; that bounds the walk back from a match.
bool IsCharStart(std::string_view s, std::size_t p, std::size_t floor, std::size_t& sync)
{
    std::size_t from = sync >= floor && sync <= p ? sync : floor;
    std::size_t start = from;
    for (std::size_t q = p; q > from; --q) {
        if (static_cast<unsigned char>(s[q - 1]) < 0x30) {
            start = q;
            break;
        }
    }
    std::size_t i = start, last = start;
    while (i < p) {
        last = i;
        i += Gb18030Step(s, i);
    }
    sync = i == p ? p : last;
    return i == p;
}

const char* FindBytes(std::string_view hay, std::size_t from, std::size_t to, std::string_view needle)
{
    if (to <= from || to - from < needle.size())
        return nullptr;
    return static_cast<const char*>(::memmem(hay.data() + from, to - from, needle.data(), needle.size()));
}

std::string BytesUpToNul(std::string bytes)
{
    std::size_t nul = bytes.find('\0');
    if (nul != std::string::npos)
        bytes.resize(nul);
    return bytes;
}

} // namespace

std::size_t Gb18030Step(std::string_view s, std::size_t pos)
{
    const auto at = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
    const unsigned char lead = at(pos);
    if (lead < 0x81 || lead == 0xFF || pos + 1 >= s.size())
        return 1;
    const unsigned char second = at(pos + 1);
    if (second >= 0x30 && second <= 0x39) {
        if (pos + 3 < s.size() && at(pos + 2) >= 0x81 && at(pos + 2) <= 0xFE && at(pos + 3) >= 0x30
            && at(pos + 3) <= 0x39)
            return 4;
        return 1;
    }
    return second >= 0x40 && second <= 0xFE && second != 0x7F ? 2 : 1;
}

std::string FoldGb18030(std::string_view bytes)
{
    std::string out(bytes);
    for (std::size_t i = 0; i < out.size();) {
        const unsigned char c = static_cast<unsigned char>(out[i]);
        if (c < 0x80) {
            if (c >= 'a' && c <= 'z')
                out[i] = static_cast<char>(c - 'a' + 'A');
            ++i;
        } else {
            i += Gb18030Step(out, i);
        }
    }
    return out;
}

std::shared_ptr<const FullTextIndex> FullTextIndex::FromBytes(
    std::string_view index, std::string_view content, FullTextFormat format)
{
    std::shared_ptr<FullTextIndex> result(new FullTextIndex());
    result->m_format = format;
    if (format == FullTextFormat::Compressed) {
        const int inflated = InflateBytes(content, result->m_content, kMaxContentBytes);
        result->m_status = inflated == 0 ? Status::Ok : Status::Damaged;
        CompressedRecordList list = ParseCompressedRecordList(index);
        std::uint64_t begin = 0;
        for (std::size_t i = 0; i < list.Names.size(); ++i) {
            FullTextRecordRange record;
            const std::uint64_t size = result->m_content.size();
            const std::uint64_t end = list.Ends[i];
            record.Begin = static_cast<std::uint32_t>(std::min(begin, size));
            record.End = std::max(record.Begin, static_cast<std::uint32_t>(std::min(end, size)));
            // The record's text is read up to its first NUL.
            const void* nul
                = std::memchr(result->m_content.data() + record.Begin, '\0', record.End - record.Begin);
            if (nul)
                record.End
                    = static_cast<std::uint32_t>(static_cast<const char*>(nul) - result->m_content.data());
            const std::size_t comma = list.Names[i].find(',');
            record.Searchable = comma != std::string::npos && comma > 0;
            record.Markers = FirstMarkerGroup(list.Names[i]);
            if (record.Searchable)
                record.NameMarkers = list.Names[i].substr(comma + 1);
            result->m_records.push_back(std::move(record));
            begin = end;
        }
    } else {
        result->m_content = BytesUpToNul(std::string(content));
        result->m_status = Status::Ok;
        PlainRecordList list = ParsePlainRecordList(index);
        const std::uint64_t size = result->m_content.size();
        for (std::size_t i = 0; i < list.Markers.size(); ++i) {
            FullTextRecordRange record;
            record.Begin = static_cast<std::uint32_t>(std::min<std::uint64_t>(list.Starts[i], size));
            // Inclusive end; one that lies before the start leaves the record empty.
            const std::uint64_t end = std::min<std::uint64_t>(std::uint64_t(list.Ends[i]) + 1, size);
            record.End = static_cast<std::uint32_t>(std::max<std::uint64_t>(end, record.Begin));
            if (list.Ends[i] < list.Starts[i])
                record.End = record.Begin;
            record.Markers = list.Markers[i];
            result->m_records.push_back(std::move(record));
        }
        result->m_tooFewRecords = result->m_records.size() < 2;
    }
    result->Finish();
    return result;
}

void FullTextIndex::Finish()
{
    std::uint32_t lastEnd = 0;
    m_ascending = true;
    for (const FullTextRecordRange& record : m_records) {
        if (record.Begin == record.End)
            continue;
        if (record.Begin < lastEnd) {
            m_ascending = false;
            break;
        }
        lastEnd = record.End;
    }
}

std::shared_ptr<const FullTextIndex> FullTextIndex::Load(std::string_view galleryPath)
{
    const FullTextPaths paths = FullTextPathsFor(galleryPath);
    std::shared_ptr<FullTextIndex> missing(new FullTextIndex());
    std::optional<std::string> index = platform::ReadFileBytes(paths.Index, 256ull * 1024 * 1024);
    if (!index)
        return missing;
    if (std::optional<std::string> compressed = platform::ReadFileBytes(paths.Compressed, kMaxContentBytes))
        return FromBytes(*index, *compressed, FullTextFormat::Compressed);
    if (std::optional<std::string> plain = platform::ReadFileBytes(paths.Plain, kMaxContentBytes))
        return FromBytes(*index, *plain, FullTextFormat::Plain);
    return missing;
}

std::string_view FullTextIndex::Searched(bool folded) const
{
    if (!folded)
        return m_content;
    if (!m_haveFolded) {
        m_folded = FoldGb18030(m_content);
        m_haveFolded = true;
    }
    return m_folded;
}

namespace {

// Every match of needle in hay from the start, chunk by chunk: onMatch(p) returns where to
// search on (past p). Between chunks the window gets its events and running is tested; false
// when it stopped the scan before the end.
template <typename OnMatch>
bool ScanInChunks(std::string_view hay, std::string_view needle, const bool& running, OnMatch onMatch)
{
    const std::size_t size = hay.size();
    std::size_t pos = 0;
    while (pos < size) {
        const std::size_t chunkEnd = std::min(pos + kChunkBytes, size);
        while (pos < chunkEnd) {
            const char* found = FindBytes(hay, pos, std::min(chunkEnd + needle.size() - 1, size), needle);
            if (!found)
                break;
            pos = onMatch(static_cast<std::size_t>(found - hay.data()));
        }
        pos = std::max(pos, chunkEnd);
        platform::PumpEvents();
        if (!running)
            return pos >= size;
    }
    return true;
}

} // namespace

FullTextIndex::Result FullTextIndex::Find(std::string_view text, const bool& running) const
{
    Result result;
    if (m_status != Status::Ok || m_tooFewRecords || text.empty())
        return result;
    std::string needle = platform::Utf8ToGb18030(text);
    bool letters = false;
    for (std::size_t i = 0; i < needle.size(); i += Gb18030Step(needle, i))
        letters = letters || IsAsciiLetter(static_cast<unsigned char>(needle[i]));
    if (letters)
        needle = FoldGb18030(needle);
    const std::string_view hay = Searched(letters);
    const bool whole = m_format == FullTextFormat::Compressed; // a record's text ends at its end
    std::size_t sync = 0;

    if (m_ascending) {
        // Non-empty records by their starts, for the binary search from a match to its record.
        std::vector<std::size_t> order;
        std::vector<std::uint32_t> begins;
        for (std::size_t r = 0; r < m_records.size(); ++r) {
            if (m_records[r].Begin < m_records[r].End) {
                order.push_back(r);
                begins.push_back(m_records[r].Begin);
            }
        }
        result.Interrupted = !ScanInChunks(hay, needle, running, [&](std::size_t p) {
            auto it = std::upper_bound(begins.begin(), begins.end(), static_cast<std::uint32_t>(p));
            if (it == begins.begin())
                return p + 1;
            const std::size_t r = order[static_cast<std::size_t>(it - begins.begin()) - 1];
            const FullTextRecordRange& record = m_records[r];
            if (p >= record.End || (whole && p + needle.size() > record.End) || !record.Searchable)
                return p + 1;
            if (!IsCharStart(hay, p, whole ? record.Begin : 0, sync))
                return p + 1;
            result.Hits.push_back(r);
            // One hit is enough for a record: search on from its end.
            return std::max<std::size_t>(record.End, p + 1);
        });
        return result;
    }

    // Overlapping or unsorted ranges: every match once, then each record looks up its first.
    std::vector<std::uint32_t> matches;
    result.Interrupted = !ScanInChunks(hay, needle, running, [&](std::size_t p) {
        if (IsCharStart(hay, p, 0, sync))
            matches.push_back(static_cast<std::uint32_t>(p));
        return p + 1;
    });
    for (std::size_t r = 0; r < m_records.size(); ++r) {
        const FullTextRecordRange& record = m_records[r];
        if (!record.Searchable || record.Begin >= record.End)
            continue;
        auto it = std::lower_bound(matches.begin(), matches.end(), record.Begin);
        if (it != matches.end() && *it < record.End && (!whole || *it + needle.size() <= record.End))
            result.Hits.push_back(r);
    }
    return result;
}

std::string FullTextIndex::SourceText(std::int32_t dirId) const
{
    if (m_status != Status::Ok || m_format != FullTextFormat::Compressed)
        return "";
    const std::string marker = DirMarker(dirId);
    for (const FullTextRecordRange& record : m_records) {
        if (record.NameMarkers.find(marker) != std::string::npos)
            return platform::Gb18030ToUtf8(
                std::string_view(m_content).substr(record.Begin, record.End - record.Begin));
    }
    return "";
}

std::shared_ptr<const FullTextIndex> CachedFullTextIndex(std::string_view galleryPath)
{
    static std::mutex mutex;
    static std::string cachedPath, cachedStamp;
    static std::shared_ptr<const FullTextIndex> cached;
    const FullTextPaths paths = FullTextPathsFor(galleryPath);
    std::string stamp;
    for (const std::string* path : { &paths.Index, &paths.Compressed, &paths.Plain }) {
        struct stat info { };
        if (::stat(platform::NativePath(*path).c_str(), &info) == 0)
            stamp += std::to_string(info.st_size) + ":" + std::to_string(info.st_mtim.tv_sec) + "."
                + std::to_string(info.st_mtim.tv_nsec);
        stamp += ";";
    }
    std::lock_guard<std::mutex> lock(mutex);
    if (!cached || cachedPath != galleryPath || cachedStamp != stamp) {
        cached = FullTextIndex::Load(galleryPath);
        cachedPath = std::string(galleryPath);
        cachedStamp = stamp;
    }
    return cached;
}

} // namespace orv
