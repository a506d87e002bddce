#include "app/Automation.h"

#include "platform/Paths.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>

namespace orv {

std::string AutomationBusName(const std::string& appPath)
{
    // The folder as the file system names it, so that two spellings of one folder (letter
    // case, "..", links) give one name.
    std::error_code ec;
    std::string native = platform::NativePath(appPath);
    const std::filesystem::path canonical = std::filesystem::weakly_canonical(native, ec);
    if (!ec)
        native = canonical.string();
    std::uint64_t hash = 1469598103934665603ull; // FNV-1a
    for (unsigned char c : native) {
        hash ^= c;
        hash *= 1099511628211ull;
    }
    char digits[17];
    std::snprintf(digits, sizeof digits, "%016llx", static_cast<unsigned long long>(hash));
    // A bus name element may not begin with a digit.
    return std::string("org.orvbook.ORVBook.Folder_") + digits;
}

void AutomationHolds::Hold(const std::string& client)
{
    ++m_holds[client];
}

bool AutomationHolds::Release(const std::string& client)
{
    const auto found = m_holds.find(client);
    if (found == m_holds.end())
        return false;
    if (--found->second == 0)
        m_holds.erase(found);
    return true;
}

void AutomationHolds::ClientLeft(const std::string& client)
{
    m_holds.erase(client);
}

std::size_t AutomationHolds::Count(const std::string& client) const
{
    const auto found = m_holds.find(client);
    return found == m_holds.end() ? 0 : found->second;
}

} // namespace orv
