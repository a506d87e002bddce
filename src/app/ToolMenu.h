#pragma once
// Tool menus of add-ins, read from a menu file (".mnu", or its compressed form ".mnc" beside
// it, which wins).
//
// The file is a sequence of whitespace-separated tokens; a token counts only when it holds a
// "[" and, after it, a "]": the text between them is the caption, the text after the "]" the
// command. Every counted token except a submenu opener takes the next command index (the
// command of index k is Commands[k], the menu command id 800 + k), separators included:
//   [->Title]       opens a submenu; the items that follow go into it
//   [<-Caption]cmd  the last item of the open submenu, which it closes
//   [--]            a separator
//   [Caption]cmd    an item
// Submenus nest. A "<-" with no submenu open is an ordinary item; a submenu still open at the
// end of the file is kept as it is. Text is GB18030 unless it reads as UTF-8.

#include <string>
#include <vector>

namespace orv {

struct ToolMenuItem {
    enum class Kind { Item, Submenu, Separator };
    Kind Type = Kind::Item;
    std::string Caption; // "" for a separator
    int CommandIndex = -1; // Item and Separator: the index into ToolMenu::Commands
    std::vector<ToolMenuItem> Children; // Submenu
};

struct ToolMenu {
    std::vector<ToolMenuItem> Items;
    std::vector<std::string> Commands; // ToolMenuCommands: the command text of each index

    // Whether there is anything to show (the menu is shown only then).
    bool IsEmpty() const { return Items.empty(); }
};

// The first menu command id; command index k is id kToolMenuFirstCommand + k.
inline constexpr int kToolMenuFirstCommand = 800;
inline constexpr int kToolMenuLastCommand = 900;

// Parses menu text (UTF-8).
ToolMenu ParseToolMenu(const std::string& text);

// Reads the menu file (a program path). When a ".mnc" file lies beside it (its last four
// characters replaced), that one is inflated in memory and read instead: nothing is written,
// neither beside the menu in the application folder nor anywhere else. A missing, unreadable,
// oversized or damaged file gives an empty menu.
ToolMenu ReadToolMenu(const std::string& menuPath);

} // namespace orv
