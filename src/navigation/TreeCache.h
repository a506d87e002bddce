#pragma once
// The tree cache of a gallery: the contents tree stored beside the gallery database, so a
// later opening reads no table. Its path is the database path upper-cased with its ".GAL"
// replaced by ".Lst" (D:\LIB\Pipes.gal gives D:\LIB\PIPES.Lst).
//
// On disk the file is one zlib stream (RFC 1950, deflate level 6, as CompressFile writes it)
// with no header of its own. Inflated, it is GB18030 text, one record a line, each line ended
// by CR LF, each record six fields written as "%d|%s|%d|%d|%d|%s":
//
//   DirID | text | image | selected image | parent position | content
//
//   DirID            decimal; -1 for a speciality record ("-1|name|0|0|-1|NULL")
//   text             DirName (SpecName for a speciality record), written as it is
//   parent position  -1: directly below the current speciality node (the top of the tree when
//                    there is none); else the position of the parent in DirNodeTable, that is
//                    the count of directory records before the parent's record
//   content          the resolved content path, or "NULL"
//
// Records come in build order: a speciality record, then that speciality's directories, then
// the next speciality. With one speciality there are no speciality records. A "|" in a name is
// not escaped: the reader takes the first field as the DirID and the last four as image,
// selected image, parent position and content, and joins whatever lies between back into the
// name.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orv {

struct TreeCacheRecord {
    std::int32_t DirID = 0; // negative: a speciality record
    std::string Text; // UTF-8
    int Image = 0;
    int SelectedImage = 0;
    int ParentPosition = -1;
    std::string Content; // UTF-8; "NULL" for none
};

// A cache grows past this only when it is not ours; it is then rebuilt like a damaged one.
constexpr std::uint64_t kMaxTreeCacheText = 256ull * 1024 * 1024;

// The cache path of a gallery database path: upper-cased (ASCII letters), its last ".GAL"
// replaced by ".Lst". A path that does not end with ".GAL" gets ".Lst" appended, so the
// cache never names the database itself.
std::string TreeCachePathFor(std::string_view galleryPath);

// Appends the record's line, CR LF included, as UTF-8 text.
void AppendTreeCacheRecord(std::string& text, const TreeCacheRecord& record);

// Whether the record reads back as written: its text and content hold no line feed.
bool IsWritableTreeCacheRecord(const TreeCacheRecord& record);

// One line without its line end. False for a line that is no record: fewer than six fields,
// or an empty DirID, name, image, selected image or parent position. Numbers read as atol
// and atoi read them (leading blanks, a sign, digits; anything else stops the number),
// clamped to the 32-bit range.
bool ParseTreeCacheLine(std::string_view line, TreeCacheRecord& record);

// Every record of the inflated text (UTF-8) in order; a line that is no record is skipped.
// Lines end at LF; one CR before it belongs to the line end.
std::vector<TreeCacheRecord> ParseTreeCacheText(std::string_view text);

// The compressed file's bytes for the records' text (UTF-8), encoded as GB18030.
bool EncodeTreeCache(std::string_view text, std::string& compressed);

// The records of a compressed cache in memory. False when the stream does not inflate to its
// end (damaged or cut short) or inflates past kMaxTreeCacheText; records is then empty.
bool DecodeTreeCache(std::string_view compressed, std::vector<TreeCacheRecord>& records);

enum class TreeCacheState {
    Missing, // no cache file
    Stale, // older than the gallery database: the database changed since it was written
    Damaged, // unreadable, or it does not inflate to its end
    Loaded,
};

// Reads the cache of the gallery database galleryPath (program paths; galleryPath may be
// "" when unknown, and then the cache is never stale). Records are set only when Loaded.
TreeCacheState ReadTreeCache(
    const std::string& cachePath, const std::string& galleryPath, std::vector<TreeCacheRecord>& records);

// Replaces the cache in one step: a crash leaves the old file or the new one, never half.
// False when it cannot be written (a read-only gallery folder); the caller goes on without.
bool WriteTreeCache(const std::string& cachePath, std::string_view text);

} // namespace orv
