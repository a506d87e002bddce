#include "content/ViewInput.h"

#include "platform/Processes.h"

namespace orv {

WheelStep OnWheel(ContentViewState& view, int delta)
{
    if (!view.NavCommandsEnabled)
        return WheelStep::Scroll;
    view.WheelCount += delta > 0 ? 1 : -1;
    if (view.WheelCount >= 6) {
        view.WheelCount = 0;
        return WheelStep::PreviousTopic;
    }
    if (view.WheelCount < -5) {
        view.WheelCount = 0;
        return WheelStep::NextTopic;
    }
    return WheelStep::Scroll;
}

std::optional<std::vector<ContextMenuItem>> PrepareContextMenu(const ContentViewState& view, int splitMode)
{
    if (!view.MenuEnabled)
        return std::nullopt;
    std::vector<ContextMenuItem> menu {
        { kCmdCopy, "复制", 171, false },
        { kCmdFind, "查找", 172, false },
        { 0, {}, 0, false },
        { kCmdPrint, "打印", 193, false },
        { kCmdPrintPreview, "打印预览", 194, false },
        { 0, {}, 0, false },
        { kCmdPreviousPage, "上一页", 173, false },
        { kCmdNextPage, "下一页", 174, false },
        { kCmdHistoryBack, "回退", 176, false },
        { kCmdHistoryForward, "前进", 175, false },
        { 0, {}, 0, false },
        { kCmdViewSplitHorizontal, "水平分割", 213, splitMode == 1 },
        { kCmdViewSplitVertical, "垂直分割", 214, splitMode == 2 },
        { kCmdViewSplitClose, "关闭分割", 215, splitMode != 1 && splitMode != 2 },
        { kCmdProperties, "属性", 0, false },
    };
    auto remove = [&menu](int command) {
        for (auto it = menu.begin(); it != menu.end(); ++it)
            if (it->Command == command) {
                menu.erase(it);
                return;
            }
    };
    remove(kCmdPrintPreview);
    if (!view.HasTextContents) {
        remove(kCmdCopy);
        remove(kCmdFind);
        // The separator that followed them now leads the menu.
        if (!menu.empty() && menu.front().Command == 0)
            menu.erase(menu.begin());
    }
    remove(kCmdProperties);
    return menu;
}

int OpenExternalUrl(const std::string& address)
{
    if (address.empty() || address[0] == '-')
        return 2;
    for (char c : address)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            return 2;
    return platform::OpenDocument(address) ? 33 : 2;
}

} // namespace orv
