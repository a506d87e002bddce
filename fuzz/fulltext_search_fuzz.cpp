// Full-text indexes and contents come with galleries: any index bytes over any content, in
// both forms, give records inside the content, and a scan for any text ends with hits that
// ascend, each once.

#include "navigation/FullTextIndex.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // Three parts split at the first two NUL-free separators "\x01": index, content, text.
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t first = input.find('\x01');
    if (first == std::string_view::npos)
        return 0;
    const std::size_t second = input.find('\x01', first + 1);
    if (second == std::string_view::npos)
        return 0;
    const std::string_view index = input.substr(0, first);
    const std::string_view content = input.substr(first + 1, second - first - 1);
    const std::string_view text = input.substr(second + 1);
    const bool running = true;
    for (orv::FullTextFormat format : { orv::FullTextFormat::Plain, orv::FullTextFormat::Compressed }) {
        auto fullText = orv::FullTextIndex::FromBytes(index, content, format);
        for (const orv::FullTextRecordRange& record : fullText->Records())
            if (record.Begin > record.End || record.End > fullText->Content().size())
                std::abort();
        const orv::FullTextIndex::Result result = fullText->Find(text, running);
        for (std::size_t i = 0; i < result.Hits.size(); ++i)
            if (result.Hits[i] >= fullText->Records().size()
                || (i > 0 && result.Hits[i] <= result.Hits[i - 1]))
                std::abort();
    }
    return 0;
}
