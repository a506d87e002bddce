#include "navigation/KeywordFile.h"

#include "app/common/TextHelpers.h"
#include "platform/Encoding.h"
#include "platform/Files.h"

namespace orv {

std::string KeywordFilePathFor(std::string_view galleryPath)
{
    return std::string(galleryPath.substr(0, galleryPath.size() >= 4 ? galleryPath.size() - 4 : 0)) + ".idx";
}

std::vector<std::string> ReadKeywordFile(std::string_view path)
{
    std::vector<std::string> keywords;
    ReadLines(path, keywords);
    return keywords;
}

bool IsWritableKeyword(std::string_view keyword)
{
    if (keyword.empty() || keyword.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos)
        return false;
    return platform::Utf8ToGb18030(keyword).size() <= kMaxKeywordBytes;
}

bool BuildKeywordFileBytes(const std::vector<std::string>& keywords, std::string& bytes)
{
    bytes.clear();
    for (const std::string& keyword : keywords) {
        if (!IsWritableKeyword(keyword))
            return false;
        bytes += platform::Utf8ToGb18030(keyword) + "\r\n";
    }
    return true;
}

bool WriteKeywordFile(std::string_view path, const std::vector<std::string>& keywords)
{
    std::string bytes;
    return BuildKeywordFileBytes(keywords, bytes) && platform::AtomicWriteFile(path, bytes);
}

} // namespace orv
