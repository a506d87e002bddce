// Fuzzes the Jet header check and password decoding on arbitrary first pages and sizes.

#include "database/jet/JetHeader.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 8)
        return 0;
    std::uint64_t fileSize;
    std::memcpy(&fileSize, data, sizeof fileSize);
    std::string head(reinterpret_cast<const char*>(data + 8), size - 8);
    // Most inputs should reach the decoding: give them the magic and a small version.
    if (head.size() >= 0x98 && (data[0] & 1)) {
        std::memcpy(&head[0], "\x00\x01\x00\x00Standard Jet DB\x00", 20);
        head[0x14] = static_cast<char>(data[1] & 1);
        fileSize = (fileSize % 64) * (head[0x14] ? 4096 : 2048);
    }
    std::string reason;
    auto header = orv::ParseJetHeader(head, fileSize, reason);
    if (header) {
        if (header->pageSize != 2048 && header->pageSize != 4096)
            std::abort();
        orv::JetPasswordMatches(*header, "qvelb7381");
        std::string page = head;
        orv::CryptJetHeaderRegion(page, header->version);
        orv::CryptJetHeaderRegion(page, header->version);
        if (page != head)
            std::abort();  // the region crypt is its own inverse
    } else if (reason.empty()) {
        std::abort();
    }
    return 0;
}
