#pragma once
// The full-text files a gallery carries beside its contents, for G\Name.GAL:
//
//   G\Name\Name.cnx  the index: record lines in pairs, GB18030 text, CR LF line ends
//   G\Name\Name.cnc  the content as one zlib stream (the compressed form), or
//   G\Name\Name.cnt  the content as it is (the plain form; read up to its first NUL byte)
//
// A record is a stretch of the content (GB18030 bytes) and the directories it belongs to,
// named by markers "[DirID]" written one after the other ("[12][40]"). Its name line is a
// label, a "," and the marker text; the label is not used.
//
// Compressed form: every line of the index counts, empty ones too, in pairs: the name line,
// then the record's end offset in the decompressed content (optional sign, digits and ".";
// anything else counts as 0). Record i covers the bytes from the end of record i-1 (0 for the
// first) up to its own end, excluded. Only the first marker group is used: the marker text up
// to and including the first "]" that is followed by "[".
//
// Plain form: only the non-empty lines count, in pairs: the name line, then "START,END", two
// decimal byte offsets read as atoi reads them (both 0 without a ","); the record covers the
// bytes from START to END, both included. A pair whose name line has no "," at position 1 or
// later is skipped.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orv {

struct FullTextPaths {
    std::string Index, Compressed, Plain;
};

// The three paths for a gallery database path (its last four characters are the extension).
FullTextPaths FullTextPathsFor(std::string_view galleryPath);

// The record list of the compressed form: the whole name lines and the end offsets, in file
// order. A missing file gives empty lists.
struct CompressedRecordList {
    std::vector<std::string> Names;
    std::vector<std::uint32_t> Ends;
};
CompressedRecordList ReadCompressedRecordList(std::string_view indexPath);
// The same from the index's bytes.
CompressedRecordList ParseCompressedRecordList(std::string_view indexBytes);
CompressedRecordList CompressedRecordsFromLines(const std::vector<std::string>& lines);
// The text after the name line's first "," cut after its first marker group; "" when the
// line has no "," at position 1 or later.
std::string FirstMarkerGroup(std::string_view nameLine);

// The record list of the plain form: the marker text of each kept pair and its byte range.
struct PlainRecordList {
    std::vector<std::string> Markers;
    std::vector<std::uint32_t> Starts, Ends;
};
PlainRecordList ReadPlainRecordList(std::string_view indexPath);
PlainRecordList ParsePlainRecordList(std::string_view indexBytes);
PlainRecordList PlainRecordsFromLines(std::vector<std::string> lines);

// The marker of one directory: "[12]".
std::string DirMarker(std::int32_t dirId);

// One record to write: its directories and its text (UTF-8; NUL characters are dropped, as
// the plain content ends at its first NUL).
struct FullTextRecord {
    std::vector<std::int32_t> DirIds;
    std::string Text;
};

enum class FullTextFormat { Compressed, Plain };

// Writes Name.cnx with Name.cnc or Name.cnt into folder (a program path) for the gallery
// name. Each record's text is followed by CR LF, so no match runs from one record into the
// next. Records without text or without directories are left out; in the compressed form a
// record of several directories is written once per directory, as only the first marker is
// read there. False with the reason.
bool WriteFullTextFiles(std::string_view folder, std::string_view name,
    const std::vector<FullTextRecord>& records, FullTextFormat format, std::string& error);

// The same in memory: the index's bytes and the content's (compressed or plain) bytes.
bool BuildFullTextBytes(const std::vector<FullTextRecord>& records, FullTextFormat format, std::string& index,
    std::string& content, std::string& error);

} // namespace orv
