#pragma once
// An ini file held as its lines, so that a rewritten key leaves comments, blank lines,
// unknown lines and the order of everything else as they were.
//
// Syntax: "[section]" lines open sections; "key=value" lines inside them; anything else is
// kept and ignored. Sections and keys are matched without regard to ASCII case, the first
// occurrence wins, names and values are trimmed of blanks, and a value enclosed in a pair of
// double quotes loses them; a NUL ends a value. Files are GB18030 unless they are UTF-16 (a
// byte-order mark) or UTF-8 (a BOM, or text that platform::LooksLikeUtf8); they are written
// back in the encoding they were read in. Lines end in LF or CR LF, or in CR alone in a file
// without any LF, and keep their line ends when written back.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orv {

class IniFile {
public:
    enum class Encoding { Gb18030, Utf8, Utf16Le, Utf16Be };

    // Parses file bytes; never fails (binary data yields lines that match nothing).
    static IniFile Parse(std::string_view bytes);

    // The raw bytes of the value as stored (before decoding), or nothing when the key or
    // section is missing.
    std::optional<std::string> RawValue(std::string_view section, std::string_view key) const;
    // The value as UTF-8, its stored bytes first cut to maxBytes at a character boundary.
    std::optional<std::string> Value(std::string_view section, std::string_view key,
                                     std::size_t maxBytes = std::string::npos) const;

    // Sets the value (UTF-8), adding the section and key where they are missing. Line
    // breaks in the value become blanks so that a value cannot add lines of its own.
    void SetValue(std::string_view section, std::string_view key, std::string_view value);

    std::string Serialize() const;
    Encoding GetEncoding() const { return m_encoding; }

private:
    struct Line {
        std::string text;  // bytes as on disk, without the line end
    };
    std::optional<std::size_t> FindKey(std::string_view section, std::string_view key,
                                       std::size_t* sectionEnd, bool* sectionFound) const;
    std::string Encode(std::string_view utf8) const;

    std::vector<Line> m_lines;
    Encoding m_encoding = Encoding::Gb18030;
    bool m_bom = false;
    std::string m_newline = "\r\n";
    bool m_finalNewline = true;
};

}  // namespace orv
