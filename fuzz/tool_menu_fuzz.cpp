// Tool menus come from add-in folders and galleries' tool packages: any bytes, as a plain
// ".mnu" file or inflated from a ".mnc" one, must parse into a sound menu: every item's
// command index in range and in order, submenus no deeper than the parser allows.

#include "app/ToolMenu.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

int Walk(const orv::ToolMenu& menu, const std::vector<orv::ToolMenuItem>& items, int& next)
{
    int deepest = 0;
    for (const orv::ToolMenuItem& item : items) {
        if (item.Type == orv::ToolMenuItem::Kind::Submenu) {
            deepest = std::max(deepest, 1 + Walk(menu, item.Children, next));
            continue;
        }
        // Commands are numbered in the order their items stand in the file.
        Check(item.CommandIndex == next);
        Check(static_cast<std::size_t>(item.CommandIndex) < menu.Commands.size());
        ++next;
    }
    return deepest;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    const orv::ToolMenu menu = orv::ParseToolMenu(text);
    int next = 0;
    Check(Walk(menu, menu.Items, next) <= 16);
    Check(static_cast<std::size_t>(next) == menu.Commands.size());
    return 0;
}
