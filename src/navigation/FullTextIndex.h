#pragma once
// The full-text search over a gallery's content (see FullTextFiles.h for the files): which
// records hold a search text. The content is GB18030 bytes; the search runs on those bytes
// with the text encoded to GB18030, so a match starts only where a character starts and
// never inside one. Letter case is folded for the ASCII letters a to z only; a double-byte
// character is never altered.
//
// The scan runs in chunks with memmem; between chunks it pumps the user interface's events
// and reads the running flag it was given, so a cleared flag ends the scan early with the
// hits found so far.

#include "navigation/FullTextFiles.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace orv {

// The length of the GB18030 character at pos; 1 for a byte that starts no valid sequence, so
// a walk over damaged bytes always moves on.
std::size_t Gb18030Step(std::string_view bytes, std::size_t pos);

// The bytes with each ASCII letter a to z that is a character of its own upper-cased; the
// trail bytes of multi-byte characters stay as they are.
std::string FoldGb18030(std::string_view bytes);

// One record of either form: the content range [Begin, End) it searches (already clamped to
// the content, empty when its end lies before its start) and its marker text.
struct FullTextRecordRange {
    std::uint32_t Begin = 0, End = 0;
    std::string Markers;
    // Compressed form: the whole text after the name line's first "," (Markers holds its first
    // group only); the source preview looks a directory up in it.
    std::string NameMarkers;
    bool Searchable = true; // false: its name line has no ",", it is never a hit
};

// A gallery's full-text content read once and kept: the content, its folded copy (made on
// the first search with ASCII letters) and the records.
class FullTextIndex {
public:
    enum class Status {
        Ok,
        Missing, // no index, or no content file
        Damaged, // the compressed content does not decompress to its end
    };

    // Reads the files of the gallery whose database is galleryPath (a program path).
    static std::shared_ptr<const FullTextIndex> Load(std::string_view galleryPath);
    // The same over bytes in memory (tests, benchmarks); compressed content is the zlib stream.
    static std::shared_ptr<const FullTextIndex> FromBytes(
        std::string_view index, std::string_view content, FullTextFormat format);

    Status LoadStatus() const { return m_status; }
    FullTextFormat Format() const { return m_format; }
    const std::vector<FullTextRecordRange>& Records() const { return m_records; }
    std::string_view Content() const { return m_content; }

    struct Result {
        std::vector<std::size_t> Hits; // record indices, ascending, each once
        bool Interrupted = false; // the running flag was cleared; Hits holds those found before
    };
    // The records that hold text (UTF-8). running is read after each chunk.
    Result Find(std::string_view text, const bool& running) const;

    // The source text shown for a directory found by a full-text search (UTF-8): the bytes of
    // the first record of the compressed form whose name line names "[dirId]", up to its first
    // NUL; "" without such a record, for the plain form, or for damaged content.
    std::string SourceText(std::int32_t dirId) const;

private:
    FullTextIndex() = default;
    void Finish();
    std::string_view Searched(bool folded) const;

    Status m_status = Status::Missing;
    FullTextFormat m_format = FullTextFormat::Plain;
    std::string m_content;
    mutable std::string m_folded; // made once, on first need
    mutable bool m_haveFolded = false;
    std::vector<FullTextRecordRange> m_records;
    bool m_ascending = true; // ranges ascend without overlap: hits map by binary search
    bool m_tooFewRecords = false; // the plain form needs two records
};

// The index of the gallery, read again only when one of its files changed since the last
// call; one gallery is kept.
std::shared_ptr<const FullTextIndex> CachedFullTextIndex(std::string_view galleryPath);

} // namespace orv
