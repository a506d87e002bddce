#include "app/common/ProfileFile.h"

#include "app/common/IniFile.h"
#include "app/common/TextHelpers.h"
#include "platform/Files.h"
#include "platform/Paths.h"

#include <climits>
#include <cmath>
#include <cstdlib>

namespace orv {
namespace {

// The Windows edition reads values through a 1,280-byte buffer.
constexpr std::size_t kValueBytes = 1279;
// Settings files are small; anything larger is not one of ours.
constexpr std::uint64_t kMaxProfileBytes = 64ull * 1024 * 1024;

}  // namespace

int CProfileFile::ReadString(std::string_view section, std::string_view key, std::string& out) const
{
    out.clear();
    auto bytes = platform::ReadFileBytes(m_path, kMaxProfileBytes);
    if (!bytes)
        return 1;
    auto value = IniFile::Parse(*bytes).Value(section, key, kValueBytes);
    if (!value || value->empty())
        return 1;
    out = std::move(*value);
    return 0;
}

int CProfileFile::ReadInt(std::string_view section, std::string_view key, int& out) const
{
    std::string text;
    if (ReadString(section, key, text) != 0)
        return 1;
    double value = std::atof(text.c_str());
    if (std::isnan(value))
        value = 0;
    // atof of a huge value would overflow the conversion; keep it in range.
    if (value >= static_cast<double>(INT_MAX))
        out = INT_MAX;
    else if (value <= static_cast<double>(INT_MIN))
        out = INT_MIN;
    else
        out = static_cast<int>(value);
    return 0;
}

int CProfileFile::ReadDouble(std::string_view section, std::string_view key, double& out) const
{
    std::string text;
    if (ReadString(section, key, text) != 0)
        return 1;
    return ParseNumber(text, out) ? 0 : -1;
}

int CProfileFile::WriteString(std::string_view section, std::string_view key, std::string_view value) const
{
    return WriteStrings({ ProfileValue { std::string(section), std::string(key), std::string(value) } });
}

int CProfileFile::WriteStrings(const std::vector<ProfileValue>& values) const
{
    if (m_path.empty() || values.empty())
        return 1;
    for (const ProfileValue& value : values)
        if (value.Section.empty() || value.Key.empty())
            return 1;
    std::string bytes;
    if (platform::PathExists(m_path)) {
        auto existing = platform::ReadFileBytes(m_path, kMaxProfileBytes);
        if (!existing)
            return 1;  // unreadable: rewriting it would lose what it holds
        bytes = std::move(*existing);
    }
    IniFile ini = IniFile::Parse(bytes);
    for (const ProfileValue& value : values)
        ini.SetValue(value.Section, value.Key, value.Value);
    return platform::AtomicWriteFile(m_path, ini.Serialize()) ? 0 : 1;
}

int CProfileFile::WriteInt(std::string_view section, std::string_view key, int value) const
{
    return WriteString(section, key, std::to_string(value));
}

}  // namespace orv
