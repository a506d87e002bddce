#include "app/MainCommands.h"

#include "AppTestSupport.h"
#include "app/ReaderState.h"
#include "app/StartUp.h"
#include "app/common/PathHelpers.h"
#include "platform/Paths.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

using test::AppFolder;
using test::WriteFile;

class MainCommandsTest : public testing::Test {
protected:
    void SetUp() override
    {
        WriteFile(m_app.Native("one.add"),
            "[Add]\nCap=计算\nTip=计算工具\nICN=icons\\calc.ico\nEXE=tools\\Calc.exe\n");
        WriteFile(m_app.Native("icons/calc.ico"), "icon");
        WriteFile(m_app.Native("two.add"),
            "[Add]\nCap=菜单\nMNU=menus\\tools.mnu\nVersion=2.1\nProDate=2026-03-01\n");
        WriteFile(m_app.Native("three.add"), "[Add]\nICN=icons\\none.ico\nEXE=tools\\missing.exe\n");
        WriteFile(m_app.Native("four.add"), "[Add]\nMNU=menus\\missing.mnu\n");
        WriteFile(m_app.Native("menus/tools.mnu"), "[a]b");
        WriteFile(m_app.Native("orvBookAddin.lst"), "one.add\ntwo.add\nthree.add\nfour.add\n");
        m_app.AddRecordingProgram("tools/Calc.exe");
        m_app.AddPlugin("tools/calc.dll");
        LoadSettings(m_state, m_app.AppPath());
        m_state.AddinList = CollectAddins(m_app.AppPath());
    }

    std::string At(const std::string& relative) const { return m_app.AppPath() + "\\" + relative; }

    AppFolder m_app;
    ReaderState m_state;
};

TEST_F(MainCommandsTest, AddinButtonsTakeTheirCaptionsAndIcons)
{
    std::vector<AddinInfo> addins = ReadAddins(m_state);
    ASSERT_EQ(addins.size(), 4u);
    EXPECT_EQ(addins[0].Caption, "计算");
    EXPECT_EQ(addins[0].Tip, "计算工具");
    EXPECT_EQ(addins[0].IconPath, At("icons\\calc.ico"));
    EXPECT_EQ(addins[1].Version, "2.1");
    EXPECT_EQ(addins[1].ProDate, "2026-03-01");
    EXPECT_EQ(addins[2].Caption, "工具3");
    EXPECT_EQ(addins[2].IconPath, "") << "a missing icon file gives the stock icon";
}

TEST_F(MainCommandsTest, LaunchToolStartsTheProgramOrShowsTheMenu)
{
    ToolLaunch program = LaunchTool(m_state, 0);
    ASSERT_EQ(program.Type, ToolLaunch::Kind::Call);
    EXPECT_EQ(program.Call.Type, AddOnCall::Kind::StartProgram);
    EXPECT_TRUE(program.Call.PublishToolsFolder);
    EXPECT_TRUE(ExecuteAddOnCall(m_state, program.Call).Done);
    EXPECT_EQ(m_app.WaitForRecord("tools/Calc.exe"), m_app.Native("tools") + "\n");

    ToolLaunch menu = LaunchTool(m_state, 1);
    EXPECT_EQ(menu.Type, ToolLaunch::Kind::Menu);
    EXPECT_EQ(menu.MenuPath, At("menus\\tools.mnu"));

    for (auto [index, missing] :
        { std::pair { 2, "tools\\missing.exe" }, std::pair { 3, "menus\\missing.mnu" } }) {
        ToolLaunch launch = LaunchTool(m_state, index);
        EXPECT_EQ(launch.Type, ToolLaunch::Kind::Message);
        EXPECT_EQ(launch.Message.Text, "未找到" + At(missing) + "！");
        EXPECT_EQ(launch.Message.Caption, "执行");
    }
    EXPECT_EQ(LaunchTool(m_state, 4).Type, ToolLaunch::Kind::None);

    m_state.SearchRunning = true;
    ToolLaunch blocked = LaunchTool(m_state, 0);
    EXPECT_EQ(blocked.Type, ToolLaunch::Kind::Message);
    EXPECT_EQ(blocked.Message.Text, "请先停止搜索，再执行此功能。");
    EXPECT_EQ(blocked.Message.Caption, "执行");
}

TEST_F(MainCommandsTest, ToolMenuCommandsRunProgramsAndLibraries)
{
    const std::vector<std::string> commands = {
        "tools\\Calc.exe,<root>\\data -v,ignored",
        "tools\\calc.dll,RecordNone",
        "tools\\calc.dll,RecordInt,12",
        "tools\\calc.dll,RecordText,5,<root>\\x",
        "tools\\calc.dll,RecordText,5,x,y",
        "tools\\gone.dll,RecordNone",
        "cad\\Lines.arx,DRAWLINES",
        "readme.txt,x",
    };
    ToolCommand program = RunToolMenuCommand(m_state, commands, 0);
    ASSERT_EQ(program.Type, ToolCommand::Kind::Call);
    EXPECT_TRUE(ExecuteAddOnCall(m_state, program.Call).Done);
    // "<root>" is the application folder as the native path an outside program can use.
    const std::string root = platform::NativePath(m_app.AppPath());
    EXPECT_EQ(m_app.WaitForRecord("tools/Calc.exe"), m_app.Native("tools") + "\n" + root + "\\data\n-v\n");

    for (int k = 1; k <= 3; ++k) {
        ToolCommand command = RunToolMenuCommand(m_state, commands, k);
        ASSERT_EQ(command.Type, ToolCommand::Kind::Call) << k;
        EXPECT_TRUE(ExecuteAddOnCall(m_state, command.Call).Done) << k;
    }
    EXPECT_EQ(m_app.PluginLog(), "none\nint 12\ntext 5 " + root + "\\x\n");
    EXPECT_EQ(RunToolMenuCommand(m_state, commands, 4).Type, ToolCommand::Kind::None) << "five fields";

    ToolCommand missing = RunToolMenuCommand(m_state, commands, 5);
    EXPECT_EQ(missing.Type, ToolCommand::Kind::Message);
    EXPECT_EQ(missing.Message.Text, "未找到" + At("tools\\gone.dll") + "！");

    ToolCommand cad = RunToolMenuCommand(m_state, commands, 6);
    ASSERT_EQ(cad.Type, ToolCommand::Kind::Call);
    EXPECT_EQ(cad.Call.Type, AddOnCall::Kind::CadCommand);
    EXPECT_EQ(cad.Call.CadApplication, At("cad\\Lines"));
    EXPECT_EQ(cad.Call.Command, "DRAWLINES");

    EXPECT_EQ(RunToolMenuCommand(m_state, commands, 7).Type, ToolCommand::Kind::None);
    EXPECT_EQ(RunToolMenuCommand(m_state, commands, 8).Type, ToolCommand::Kind::None);
}

TEST_F(MainCommandsTest, OpenGalleryCommandSwitchesToAnotherGallery)
{
    m_state.GalleryFiles = { At("lib\\Pipes.GAL"), At("lib\\Valves.gal") };
    m_state.CurrentGallery = 0;
    m_state.CurrentDirID = 17;
    m_state.CurrentPage = 2;
    const std::vector<std::string> commands
        = { "OpenGallery,VALVES", "opengallery,pipes", "OpenGallery,Gears" };

    ToolCommand open = RunToolMenuCommand(m_state, commands, 0);
    EXPECT_EQ(open.Type, ToolCommand::Kind::OpenGallery);
    EXPECT_EQ(open.GalleryIndex, 1);
    EXPECT_EQ(m_state.CurrentGallery, 1);
    EXPECT_EQ(m_state.CurrentDirID, 0);
    EXPECT_EQ(m_state.CurrentPage, 0);

    m_state.CurrentDirID = 5;
    RunToolMenuCommand(m_state, commands, 0);
    EXPECT_EQ(m_state.CurrentDirID, 5) << "the current gallery stays as it is";
    EXPECT_EQ(RunToolMenuCommand(m_state, commands, 2).Type, ToolCommand::Kind::None);

    // A running search keeps its gallery.
    m_state.SearchRunning = true;
    ToolCommand refused = RunToolMenuCommand(m_state, commands, 1);
    EXPECT_EQ(refused.Type, ToolCommand::Kind::Message);
    EXPECT_EQ(refused.Message.Text, "请先停止搜索，再执行此功能。");
    EXPECT_EQ(m_state.CurrentGallery, 1);
    m_state.SearchRunning = false;
    EXPECT_EQ(RunToolMenuCommand(m_state, commands, 1).GalleryIndex, 0);
}

TEST_F(MainCommandsTest, ClosingKeepsTheTemporaryFolderUntilTheUserConfirms)
{
    const std::string page = platform::NativePath(GetTempFolder()) + "/page.htm";
    WriteFile(page, "shown");
    m_state.AppTitle = "手册";

    CloseDecision held = QueryClose(m_state, true);
    EXPECT_TRUE(held.HideOnly);
    m_state.SearchRunning = true;
    for (bool holds : { false, true }) {
        CloseDecision refused = QueryClose(m_state, holds);
        EXPECT_TRUE(refused.Refused);
        EXPECT_FALSE(refused.HideOnly);
        EXPECT_EQ(refused.Refusal.Text, "请先停止搜索，再执行此功能。");
    }
    m_state.SearchRunning = false;
    CloseDecision ask = QueryClose(m_state, false);
    EXPECT_FALSE(ask.Refused);
    EXPECT_FALSE(ask.HideOnly);
    EXPECT_EQ(ask.Question.Text, "是否退出？");
    EXPECT_EQ(ask.Question.Caption, "手册");
    // The user cancelled: the page on show keeps its files.
    EXPECT_EQ(test::ReadFile(page), "shown");

    ASSERT_TRUE(ShutDown(m_state));
    EXPECT_FALSE(platform::PathExists(platform::ProgramPath(page)));
}

} // namespace
} // namespace orv
