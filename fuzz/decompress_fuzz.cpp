// Compressed members and whole compressed files come from galleries: any bytes must inflate
// or fail with a negative code, never crash, and never produce more than the bound allows.

#include "packages/Compression.h"

#include <zlib.h>

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    constexpr std::uint64_t kBound = 1 << 20;
    std::string input(reinterpret_cast<const char*>(data), size);
    std::string out;
    int code = orv::InflateBytes(input, out, kBound);
    if (code > 0 || out.size() > kBound + 256 * 1024)
        std::abort();
    if (code == 0) {
        // What we accept, zlib's one-shot inflate accepts with the same result.
        std::string check(out.size() + 1, '\0');
        uLongf checkSize = static_cast<uLongf>(check.size());
        uLong sourceSize = static_cast<uLong>(size);
        if (uncompress2(reinterpret_cast<Bytef*>(check.data()), &checkSize, data, &sourceSize) != Z_OK
            || check.compare(0, checkSize, out) != 0 || checkSize != out.size())
            std::abort();
    }
    return 0;
}
