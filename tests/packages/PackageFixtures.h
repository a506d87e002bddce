#pragma once
// Builders for file libraries in a test's temporary folder, made with zlib directly so that
// the code under test is checked against the format, not against itself.

#include "platform/Encoding.h"
#include "support/TestSupport.h"

#include <zlib.h>

#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace orv::test {

// One zlib stream of the bytes: level 6, window 15, memory level 8.
inline std::string ZlibStream(std::string_view bytes)
{
    uLongf size = compressBound(static_cast<uLong>(bytes.size()));
    std::string out(size, '\0');
    if (compress2(reinterpret_cast<Bytef*>(out.data()), &size, reinterpret_cast<const Bytef*>(bytes.data()),
            static_cast<uLong>(bytes.size()), 6)
        != Z_OK)
        throw std::runtime_error("compress2 failed");
    out.resize(size);
    return out;
}

struct Member {
    std::string name; // UTF-8; written to the index as GB18030
    std::string blob; // the stored bytes
};

// Index text as the Windows edition writes it: GB18030 names, CR LF lines.
inline std::string IndexText(const std::vector<Member>& members)
{
    std::string index;
    for (const Member& member : members)
        index += platform::Utf8ToGb18030(member.name) + "\r\n" + std::to_string(member.blob.size()) + "\r\n";
    return index;
}

// Writes <relative data path> and its index into the folder.
inline void WriteLibrary(
    const TempFolder& folder, const std::string& dataName, const std::vector<Member>& members)
{
    std::string data;
    for (const Member& member : members)
        data += member.blob;
    WriteFile(folder.NativeAt(dataName), data);
    WriteFile(folder.NativeAt(dataName.substr(0, dataName.size() - 3) + "idx"), IndexText(members));
}

// Members compressed from (name, content) pairs.
inline std::vector<Member> Compressed(const std::vector<std::pair<std::string, std::string>>& files)
{
    std::vector<Member> members;
    for (const auto& [name, content] : files)
        members.push_back({ name, ZlibStream(content) });
    return members;
}

// Text that compresses like a gallery page.
inline std::string PageLikeText(std::size_t bytes, unsigned seed = 1)
{
    static const char* const words[] = { "<p>", "</p>", "<td>", "齿轮", "轴承", "螺栓", "GB/T", "5782", "M12",
        "x", "80", "<img src=\"a.files/p", ".gif\">", "尺寸", "mm", "\r\n" };
    std::string text = "<html><head><meta charset=\"gb2312\"></head><body>\r\n";
    unsigned state = seed;
    while (text.size() < bytes) {
        state = state * 1103515245u + 12345u;
        text += words[(state >> 16) % (sizeof words / sizeof words[0])];
        text += ' ';
    }
    text.resize(bytes);
    return text;
}

} // namespace orv::test
