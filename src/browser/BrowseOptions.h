#pragma once
// The browse options: grid size, preview colours, bound drawings and the insertion dialog
// choice, as the options dialog reads them from the settings file, offers them and writes
// them back. Colours are 32-bit colour values (0x00BBGGRR), stored as decimal integers.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace orv {

struct SystemColours {
    std::uint32_t Window = 0xFFFFFF, WindowText = 0x000000, Face = 0xF0F0F0;
};

struct BrowseOptions {
    int Rows = 4, Columns = 5; // 1 to 9
    std::uint32_t Background = 0xFFFFFF; // "ImgBck"
    std::uint32_t Foreground = 0x000000; // "ImgFro"
    std::uint32_t TextFore = 0x000000; // "TxtFro"
    std::uint32_t TextBack = 0xF0F0F0; // "TxtBck"
    bool ShowJoin = false;
    bool ShowDlg = true;
};

// The dialog's defaults: 4 rows, 5 columns, the system colours, bound drawings off, the
// insertion dialog on.
BrowseOptions DefaultBrowseOptions(const SystemColours& system);

// Reads the options over the defaults: "Row"/"Col" only from 1 to 9, a colour only from 0 to
// 0xFFFFFF, "ShowJoin" on only when it reads as 1, "ShowDlg" off only when it reads as
// something other than 1.
BrowseOptions ReadBrowseOptions(const std::string& iniPath, const SystemColours& system);

struct ColourEntry {
    std::uint32_t Colour = 0;
    std::string Name;
};

// The seven colours a colour combo offers (AutoCAD colours 1 to 7).
const std::array<ColourEntry, 7>& StandardColours();
// The entries of a combo whose current colour is current: the seven, followed by current
// when it is none of them (a stored colour is shown, not replaced); selected is its entry.
std::vector<ColourEntry> ColourEntries(std::uint32_t current, int& selected);

// "系统外观颜色": background and foreground back to the system colours.
void ApplySystemAppearance(BrowseOptions& options, const SystemColours& system);

// OK: every value in one replacement of the settings file ("ShowDlg" always 1); false when
// the file could not be replaced (it is then as it was).
bool WriteBrowseOptions(const std::string& iniPath, const BrowseOptions& options);

} // namespace orv
