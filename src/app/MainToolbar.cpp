#include "app/MainToolbar.h"

#include "platform/Paths.h"

namespace orv {

bool IsGuardedCommand(int commandId)
{
    switch (commandId) {
    case kCmdPreviousPage:
    case kCmdNextPage:
    case kCmdHistoryBack:
    case kCmdHistoryForward:
    case kCmdSplit:
    case kCmdSplitVertical:
    case kCmdZoom:
    case kCmdWholePage:
        return true;
    default:
        return false;
    }
}

std::string CommandPrompt(int commandId)
{
    switch (commandId) {
    case kCmdGalleryInformation:
        return "图库信息与工作目录";
    case kCmdToggleNavigation:
        return "关闭/显示导航栏";
    case kCmdSearch:
        return "搜索";
    case kCmdPreviousPage:
        return "上一页";
    case kCmdNextPage:
        return "下一页";
    case kCmdHistoryBack:
        return "回退";
    case kCmdHistoryForward:
        return "前进";
    case kCmdSplit:
        return "水平分割";
    case kCmdSplitVertical:
        return "垂直分割";
    case kCmdZoom:
        return "放大";
    case kCmdWholePage:
        return "整页显示";
    case kCmdOptions:
        return "选项";
    case kCmdHome:
        return "首页";
    case kCmdMail:
        return "邮箱";
    case kCmdHelp:
        return "帮助";
    case kCmdExit:
        return "退出";
    default:
        return std::string();
    }
}

std::string SettingsNotWrittenMessage(const std::string& iniPath)
{
    return "无法写入设置文件" + platform::NativePath(iniPath) + "！";
}

std::vector<ToolbarButton> MainToolbarButtons(const std::vector<AddinButtonText>& addins)
{
    auto button = [](int id, int image, const char* caption, bool visible = true) {
        return ToolbarButton { id, image, caption, CommandPrompt(id), visible, std::string() };
    };
    const ToolbarButton separator;
    std::vector<ToolbarButton> buttons {
        button(kCmdGalleryInformation, 0, "信息"),
        separator,
        button(kCmdToggleNavigation, 1, "导航"),
        button(kCmdSearch, 2, "搜索", false),
        separator,
        button(kCmdPreviousPage, 3, "上页"),
        button(kCmdNextPage, 4, "下页"),
        button(kCmdHistoryBack, 5, "后退"),
        button(kCmdHistoryForward, 6, "前进"),
        separator,
        button(kCmdSplit, kSplitImage, kSplitCaption),
        button(kCmdZoom, 15, "放大", false),
        button(kCmdWholePage, 9, "整页", false),
        separator,
        button(kCmdOptions, 10, "设置", false),
        button(kCmdHome, 11, "首页"),
    };
    for (std::size_t i = 0; i < addins.size(); ++i) {
        const int index = static_cast<int>(i);
        buttons.push_back(
            { 9000 + index, 16 + index, addins[i].Caption, addins[i].Tip, true, addins[i].IconFile });
    }
    buttons.push_back(button(kCmdMail, 12, "邮箱", false));
    buttons.push_back(button(kCmdHelp, 13, "帮助", false));
    buttons.push_back(separator);
    buttons.push_back(button(kCmdExit, 14, "退出"));
    return buttons;
}

} // namespace orv
