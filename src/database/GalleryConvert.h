#pragma once
// Copies a gallery database between the two forms the reader opens: an Access (Jet 4) file,
// as the Windows edition reads it, and an SQLite file. Every table is copied, the gallery
// tables and any others, with its columns and values.
//
// Types: from Access, each column keeps its Access type (Decimal becomes Double); the SQLite form keeps them as the reader's copy does (integers, reals,
// text compared without regard to case, memo text, dates as ISO text). From SQLite to
// Access, integer columns become Long (Integer for the gallery's 16-bit columns, Double
// when a value does not fit 32 bits), reals Double, case-insensitive text Text (Memo when a
// value is longer than 255 characters), other text Memo, or DateTime when every value is an
// ISO date; declared types such as BOOLEAN, TINYINT, SMALLINT, DATETIME or MEMO are kept.
// Binary columns cannot be written to Access and stop the conversion.

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace orv {

enum class GalleryFormat { Access, Sqlite };

struct GalleryConvertOptions {
    GalleryFormat Format = GalleryFormat::Access;
    // Opens an Access input that carries a password, and is written into an Access output
    // ("" for none).
    std::string Password;
};

struct GalleryConvertResult {
    bool Ok = false;
    std::string Error;
    std::vector<std::pair<std::string, std::int64_t>> Tables;  // name and rows copied, in order
};

// Whether the file at the program path is an Access gallery (false: SQLite or unknown).
bool IsAccessGallery(std::string_view programPath);

// Writes the gallery at inPath to outPath (program paths) in the chosen format. The output
// appears only once it is complete; an existing file there is replaced then.
GalleryConvertResult ConvertGallery(std::string_view inPath, std::string_view outPath,
                                    const GalleryConvertOptions& options);

}  // namespace orv
