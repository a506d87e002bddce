#include "browser/BrowseOptions.h"

#include "app/common/ProfileFile.h"

namespace orv {
namespace {

void ReadSide(const CProfileFile& ini, const char* key, int& side)
{
    int value = 0;
    // ReadInt saturates at the int range, so a huge value is out of range, never wrapped.
    if (ini.ReadInt("Preview", key, value) == 0 && value >= 1 && value <= 9)
        side = value;
}

void ReadColour(const CProfileFile& ini, const char* key, std::uint32_t& colour)
{
    int value = 0;
    if (ini.ReadInt("Preview", key, value) == 0 && value >= 0 && value <= 0xFFFFFF)
        colour = static_cast<std::uint32_t>(value);
}

} // namespace

BrowseOptions DefaultBrowseOptions(const SystemColours& system)
{
    BrowseOptions options;
    options.Background = system.Window;
    options.Foreground = system.WindowText;
    options.TextFore = system.WindowText;
    options.TextBack = system.Face;
    return options;
}

BrowseOptions ReadBrowseOptions(const std::string& iniPath, const SystemColours& system)
{
    BrowseOptions options = DefaultBrowseOptions(system);
    const CProfileFile ini(iniPath);
    ReadSide(ini, "Row", options.Rows);
    ReadSide(ini, "Col", options.Columns);
    int value = 0;
    options.ShowJoin = ini.ReadInt("Preview", "ShowJoin", value) == 0 && value == 1;
    ReadColour(ini, "ImgBck", options.Background);
    ReadColour(ini, "ImgFro", options.Foreground);
    ReadColour(ini, "TxtFro", options.TextFore);
    ReadColour(ini, "TxtBck", options.TextBack);
    if (ini.ReadInt("Insert", "ShowDlg", value) == 0 && value != 1)
        options.ShowDlg = false;
    return options;
}

const std::array<ColourEntry, 7>& StandardColours()
{
    static const std::array<ColourEntry, 7> colours { {
        { 0x0000FF, "红" },
        { 0x00FFFF, "黄" },
        { 0x00FF00, "绿" },
        { 0xFFFF00, "青" },
        { 0xFF0000, "蓝" },
        { 0xFF00FF, "洋红" },
        { 0xFFFFFF, "白" },
    } };
    return colours;
}

std::vector<ColourEntry> ColourEntries(std::uint32_t current, int& selected)
{
    std::vector<ColourEntry> entries(StandardColours().begin(), StandardColours().end());
    selected = -1;
    for (std::size_t i = 0; i < entries.size(); ++i)
        if (entries[i].Colour == current)
            selected = static_cast<int>(i);
    if (selected < 0) {
        entries.push_back({ current, "自定义" });
        selected = static_cast<int>(entries.size() - 1);
    }
    return entries;
}

void ApplySystemAppearance(BrowseOptions& options, const SystemColours& system)
{
    options.Background = system.Window;
    options.Foreground = system.WindowText;
}

bool WriteBrowseOptions(const std::string& iniPath, const BrowseOptions& options)
{
    auto number = [](std::int64_t v) { return std::to_string(v); };
    const std::vector<ProfileValue> values {
        { "Preview", "Row", number(options.Rows) },
        { "Preview", "Col", number(options.Columns) },
        { "Preview", "ImgBck", number(options.Background) },
        { "Preview", "ImgFro", number(options.Foreground) },
        { "Preview", "TxtFro", number(options.TextFore) },
        { "Preview", "TxtBck", number(options.TextBack) },
        { "Preview", "ShowJoin", options.ShowJoin ? "1" : "0" },
        { "Insert", "ShowDlg", "1" },
    };
    return CProfileFile(iniPath).WriteStrings(values) == 0;
}

} // namespace orv
