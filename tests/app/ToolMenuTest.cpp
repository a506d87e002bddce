#include "app/ToolMenu.h"

#include "AppTestSupport.h"
#include "app/common/PathHelpers.h"
#include "packages/Compression.h"
#include "platform/Encoding.h"
#include "platform/Paths.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

namespace orv {
namespace {

using test::AppFolder;
using test::WriteFile;

// The menu as "item(k:caption=command)", "sep(k)" and "sub:title{...}" in order.
std::string Outline(const ToolMenu& menu)
{
    std::function<std::string(const std::vector<ToolMenuItem>&)> list
        = [&](const std::vector<ToolMenuItem>& items) {
              std::string out;
              for (const ToolMenuItem& item : items) {
                  if (!out.empty())
                      out += " ";
                  switch (item.Type) {
                  case ToolMenuItem::Kind::Item:
                      out += "item(" + std::to_string(item.CommandIndex) + ":" + item.Caption + "="
                          + menu.Commands[static_cast<std::size_t>(item.CommandIndex)] + ")";
                      break;
                  case ToolMenuItem::Kind::Separator:
                      out += "sep(" + std::to_string(item.CommandIndex) + ")";
                      break;
                  case ToolMenuItem::Kind::Submenu:
                      out += "sub:" + item.Caption + "{" + list(item.Children) + "}";
                      break;
                  }
              }
              return out;
          };
    return list(menu.Items);
}

TEST(ParseToolMenu, ItemsSeparatorsAndNestedSubmenus)
{
    struct Case {
        std::string text, outline;
    };
    const Case cases[] = {
        { "[计算]tools\\calc.exe\n[--]\r\n[帮助]help.exe,<root>\\h",
            "item(0:计算=tools\\calc.exe) sep(1) item(2:帮助=help.exe,<root>\\h)" },
        // Openers take no command; "<-" closes the innermost submenu after its item.
        { "[->绘图] [直线]a [->圆] [圆心]b [<-三点]c [<-矩形]d [退出]e",
            "sub:绘图{item(0:直线=a) sub:圆{item(1:圆心=b) item(2:三点=c)} item(3:矩形=d)} item(4:退出=e)" },
        // Tokens without "[" before "]" do not count; the first "]" after "[" ends the caption.
        { "plain ]x[ [a]]b x[c]d [e", "item(0:a=]b) item(1:c=d)" },
        { "[<-alone]x [->open] [inside]y", "item(0:alone=x) sub:open{item(1:inside=y)}" },
        { "[]empty", "item(0:=empty)" },
        { "", "" },
    };
    for (const Case& c : cases)
        EXPECT_EQ(Outline(ParseToolMenu(c.text)), c.outline) << c.text;
}

int Depth(const std::vector<ToolMenuItem>& items)
{
    int deepest = 0;
    for (const ToolMenuItem& item : items)
        if (item.Type == ToolMenuItem::Kind::Submenu)
            deepest = std::max(deepest, 1 + Depth(item.Children));
    return deepest;
}

TEST(ParseToolMenu, SubmenusNestAtMostSixteenDeepAndStillCloseInPairs)
{
    std::string text;
    for (int i = 0; i < 20; ++i)
        text += "[->s] ";
    text += "[x]a ";
    for (int i = 0; i < 20; ++i)
        text += "[<-e]b ";
    text += "[after]c";
    const ToolMenu menu = ParseToolMenu(text);
    EXPECT_EQ(Depth(menu.Items), 16);
    ASSERT_EQ(menu.Items.size(), 2u);
    EXPECT_EQ(menu.Items[1].Caption, "after");

    // A file of nothing but openings is no menu worth a crash.
    std::string openings;
    for (int i = 0; i < 200000; ++i)
        openings += "[->s] ";
    EXPECT_EQ(Depth(ParseToolMenu(openings).Items), 16);
}

TEST(ReadToolMenu, ReadsTheMenuFileOrTheCompressedOneBesideIt)
{
    AppFolder app;
    const std::string gb = platform::Utf8ToGb18030("[计算]calc.exe [->子菜单] [<-结束]end.exe");
    WriteFile(app.Native("menus/tools.mnu"), gb);
    const std::string menuPath = app.AppPath() + "\\menus\\tools.mnu";
    EXPECT_EQ(Outline(ReadToolMenu(menuPath)), "item(0:计算=calc.exe) sub:子菜单{item(1:结束=end.exe)}");

    WriteFile(app.Native("menus/source.txt"), "[packed]p.exe");
    ASSERT_EQ(CompressFile(app.AppPath() + "\\menus\\source.txt", app.AppPath() + "\\menus\\TOOLS.MNC"), 0);
    const std::string temp = platform::NativePath(GetTempFolder());
    EXPECT_EQ(Outline(ReadToolMenu(menuPath)), "item(0:packed=p.exe)");
    // Inflated in memory: nothing lands beside the menu or in the temporary folder.
    EXPECT_EQ(platform::FindEntries(app.AppPath() + "\\menus", "*").size(), 3u);
    EXPECT_TRUE(platform::FindEntries(platform::ProgramPath(temp), "*").empty());

    WriteFile(app.Native("menus/TOOLS.MNC"), "damaged");
    EXPECT_TRUE(ReadToolMenu(menuPath).IsEmpty());
    EXPECT_TRUE(ReadToolMenu(app.AppPath() + "\\menus\\missing.mnu").IsEmpty());
}

} // namespace
} // namespace orv
