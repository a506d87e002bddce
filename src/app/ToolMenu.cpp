#include "app/ToolMenu.h"

#include "packages/Compression.h"
#include "platform/Encoding.h"
#include "platform/Files.h"
#include "platform/Paths.h"

namespace orv {
namespace {

// Menus are a few kilobytes; anything past this is not one.
constexpr std::uint64_t kMaxMenuBytes = 4ull * 1024 * 1024;
// Submenus nest no deeper than this: a file of nothing but openings would otherwise make a
// tree deep enough to exhaust the stack when it is shown or freed.
constexpr std::size_t kMaxMenuDepth = 16;

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

std::string DecodeText(const std::string& bytes)
{
    if (platform::IsAscii(bytes) || platform::LooksLikeUtf8(bytes))
        return bytes;
    return platform::Gb18030ToUtf8(bytes);
}

} // namespace

ToolMenu ParseToolMenu(const std::string& text)
{
    ToolMenu menu;
    std::vector<ToolMenuItem> open; // the submenus being filled, innermost last
    std::size_t flattened = 0; // openings past the deepest level, whose items stay one level up
    auto add = [&](ToolMenuItem item) {
        (open.empty() ? menu.Items : open.back().Children).push_back(std::move(item));
    };
    auto close = [&] {
        ToolMenuItem submenu = std::move(open.back());
        open.pop_back();
        add(std::move(submenu));
    };

    std::size_t pos = 0;
    while (pos < text.size()) {
        while (pos < text.size() && IsBlank(text[pos]))
            ++pos;
        std::size_t end = pos;
        while (end < text.size() && !IsBlank(text[end]))
            ++end;
        const std::string token = text.substr(pos, end - pos);
        pos = end;

        std::size_t open1 = token.find('[');
        std::size_t close1 = open1 == std::string::npos ? open1 : token.find(']', open1 + 1);
        if (close1 == std::string::npos)
            continue;
        std::string caption = token.substr(open1 + 1, close1 - open1 - 1);
        std::string command = token.substr(close1 + 1);

        if (caption.compare(0, 2, "->") == 0) {
            if (open.size() >= kMaxMenuDepth) {
                ++flattened;
                continue;
            }
            ToolMenuItem submenu;
            submenu.Type = ToolMenuItem::Kind::Submenu;
            submenu.Caption = caption.substr(2);
            open.push_back(std::move(submenu));
            continue;
        }
        ToolMenuItem item;
        item.CommandIndex = static_cast<int>(menu.Commands.size());
        menu.Commands.push_back(command);
        if (caption == "--") {
            item.Type = ToolMenuItem::Kind::Separator;
            add(std::move(item));
        } else if (caption.compare(0, 2, "<-") == 0) {
            item.Caption = caption.substr(2);
            add(std::move(item));
            if (flattened > 0)
                --flattened;
            else if (!open.empty())
                close();
        } else {
            item.Caption = caption;
            add(std::move(item));
        }
    }
    while (!open.empty())
        close();
    return menu;
}

ToolMenu ReadToolMenu(const std::string& menuPath)
{
    std::optional<std::string> bytes;
    if (menuPath.size() >= 4) {
        const std::string compressed = menuPath.substr(0, menuPath.size() - 4) + ".mnc";
        if (platform::FileExists(compressed)) {
            auto packed = platform::ReadFileBytes(compressed, kMaxMenuBytes);
            if (!packed)
                return {};
            std::string plain;
            if (InflateBytes(*packed, plain, kMaxMenuBytes) != 0)
                return {};
            bytes = std::move(plain);
        }
    }
    if (!bytes)
        bytes = platform::ReadFileBytes(menuPath, kMaxMenuBytes);
    if (!bytes)
        return {};
    return ParseToolMenu(DecodeText(*bytes));
}

} // namespace orv
