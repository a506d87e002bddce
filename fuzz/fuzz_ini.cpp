// Profile files come from galleries and users: parsing, looking up, rewriting and writing
// back any bytes must stay in bounds, and a rewrite must keep the other lines.

#include "app/common/IniFile.h"
#include "platform/Encoding.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string bytes(reinterpret_cast<const char*>(data), size);
    orv::IniFile ini = orv::IniFile::Parse(bytes);
    for (const char* section : {"Set", "s", ""}) {
        for (const char* key : {"K", "LibPath", "a"}) {
            if (auto value = ini.Value(section, key, 1279)) {
                if (!orv::platform::IsValidUtf8(*value))
                    std::abort();
            }
        }
    }
    ini.SetValue("Set", "K", "图\nvalue");
    std::string out = ini.Serialize();
    orv::IniFile again = orv::IniFile::Parse(out);
    auto value = again.Value("Set", "K");
    if (!value)
        std::abort();
    // Bytes that pass for either encoding may be read back in the other; the same encoding
    // must give the same value.
    if (again.GetEncoding() == ini.GetEncoding() && *value != "图 value")
        std::abort();
    return 0;
}
