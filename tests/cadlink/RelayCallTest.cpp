#include "CadLinkFixture.h"
#include "app/AddOnCall.h"
#include "cadlink/CadExecutor.h"
#include "cadlink/CadPlanner.h"
#include "cadlink/CadText.h"
#include "platform/Encoding.h"

#include <unistd.h>

namespace orv::test {
namespace {

std::string Upper(std::string text)
{
    for (char& c : text)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return text;
}

struct RelaySetup {
    std::string name; // CadRelayNN.dll
    std::string code; // ORV_RELAY_RESULT_NN; "noexport": a library without ExeCommand
};

class RelayCallTest : public CadLinkTest {
protected:
    void Install(const std::vector<RelaySetup>& relays)
    {
        for (const char* name : { "CadRelay15.dll", "CadRelay16.dll", "CadRelay21.dll", "cadrelay16.DLL" })
            ::unlink(Native(name).c_str());
        m_codes.clear();
        for (const RelaySetup& relay : relays) {
            AddRelay(relay.name, relay.code != "noexport");
            const std::string generation = relay.name.substr(8, 2);
            m_codes.push_back(std::make_unique<ScopedEnv>("ORV_RELAY_RESULT_" + generation, relay.code));
        }
        ClearLogs();
    }

    std::vector<std::unique_ptr<ScopedEnv>> m_codes;
};

TEST_F(RelayCallTest, SendCadCommandTriesGeneration16Then15)
{
    const std::string arx = Native("acad/Tool");
    const std::string call16 = "CadRelay16.dll\t" + arx + "16.arx\t(tool)%0A\n";
    const std::string call15 = "CadRelay15.dll\t" + arx + "15.arx\t(tool)%0A\n";
    struct Case {
        std::vector<RelaySetup> relays;
        int result;
        std::string message, log;
    };
    const Case cases[] = {
        { { { "CadRelay16.dll", "0" }, { "CadRelay15.dll", "0" } }, 0, "", call16 },
        // Found without regard to letter case, and loaded by that file's own path.
        { { { "cadrelay16.DLL", "0" } }, 0, "", "cadrelay16.DLL" + call16.substr(14) },
        { { { "CadRelay16.dll", "7" }, { "CadRelay15.dll", "0" } }, 0, "", call16 + call15 },
        // Only 15: the missing 16 ends the command before 15 is tried.
        { { { "CadRelay15.dll", "0" } }, -1, "未找到文件CadRelay16.Dll！", "" },
        { { { "CadRelay16.dll", "2" } }, 2, "未找到文件CadRelay15.Dll！", call16 },
        { { { "CadRelay16.dll", "4" }, { "CadRelay15.dll", "4" } }, 4, "未得到AutoCAD窗口(QueryInterface)！",
            call16 + call15 },
        { { { "CadRelay16.dll", "3" }, { "CadRelay15.dll", "99" } }, 99, "未知错误！", call16 + call15 },
        // A library without the export is a failed call, not called.
        { { { "CadRelay16.dll", "noexport" }, { "CadRelay15.dll", "8" } }, 8, "命令错误(SendCommand)！",
            call15 },
    };
    for (const Case& c : cases) {
        Install(c.relays);
        const CadOutcome outcome
            = ExecuteCadPlan(PlanCadCommand(m_state, App() + "\\acad\\Tool", "(tool)", "执行"));
        EXPECT_EQ(outcome.Result, c.result) << c.log;
        EXPECT_EQ(outcome.Message, c.message) << c.log;
        EXPECT_EQ(RelayLog(), c.log);
    }
}

TEST_F(RelayCallTest, CommandTextsAndArxBasesAreCheckedBeforeAnyRelayIsCalled)
{
    Install({ { "CadRelay16.dll", "0" } });
    struct Case {
        std::string arxBase, command;
        int result;
        std::string text; // the command text as the relay logged it; "-" when nothing was called
    };
    const std::string app = App();
    const Case cases[] = {
        { app + "\\Tool", "NULL", 0, "" },
        { app + "\\Tool", "", 0, "" },
        { app + "\\Tool", "图;b'c", 0, platform::Utf8ToGb18030("图 b\"c") + "%0A" },
        // The tool nodes compose their paths in upper case.
        { Upper(app) + "\\TOOL", "x", 0, "x%0A" },
        { app + "\\Tool", "(a)\n(b)", -1, "-" },
        { app + "\\..\\Tool", "x", -1, "-" },
        { app + "\\a/Tool", "x", -1, "-" },
        { app + "\\C:Tool", "x", -1, "-" },
        { app + "\\\\Tool", "x", -1, "-" },
        { app + "\\ORVBookLib\\Tool", "x", -1, "-" },
        { "\\usr\\lib\\Tool", "x", -1, "-" },
    };
    for (const Case& c : cases) {
        ClearLogs();
        const CadOutcome outcome = ExecuteCadPlan(PlanCadCommand(m_state, c.arxBase, c.command, "执行"));
        EXPECT_EQ(outcome.Result, c.result) << c.arxBase << " " << c.command;
        const std::string log = RelayLog();
        if (c.text == "-")
            EXPECT_EQ(log, "") << c.arxBase;
        else
            EXPECT_EQ(log.substr(log.rfind('\t') + 1), c.text + "\n") << c.arxBase;
    }
}

TEST_F(RelayCallTest, LayerSettingsTriesGenerations21Then16Then15)
{
    const std::string support = Native("ORVMTools/Support/ORVMTools");
    const auto call = [&](const std::string& generation) {
        return "CadRelay" + generation + ".dll\t" + support + generation + ".arx\tTCSZ%0A\n";
    };
    struct Case {
        std::vector<RelaySetup> relays;
        int result;
        std::string message, log;
    };
    const Case cases[] = {
        { { { "CadRelay21.dll", "0" }, { "CadRelay16.dll", "0" } }, 0, "", call("21") },
        { { { "CadRelay21.dll", "2" }, { "CadRelay16.dll", "0" } }, 0, "", call("21") + call("16") },
        { { { "CadRelay21.dll", "2" }, { "CadRelay16.dll", "5" }, { "CadRelay15.dll", "8" } }, 8,
            "命令错误(SendCommand)", call("21") + call("16") + call("15") },
        { { { "CadRelay21.dll", "1" }, { "CadRelay16.dll", "1" }, { "CadRelay15.dll", "42" } }, 42,
            "执行错误", call("21") + call("16") + call("15") },
        { { { "CadRelay16.dll", "0" }, { "CadRelay15.dll", "0" } }, -1, "未找到文件CadRelay21.Dll！", "" },
        { { { "CadRelay21.dll", "6" }, { "CadRelay15.dll", "0" } }, -1, "未找到文件CadRelay16.Dll！",
            call("21") },
    };
    for (const Case& c : cases) {
        Install(c.relays);
        const CadPlan plan = PlanLayerSettings(m_state);
        EXPECT_EQ(plan.Caption, "图层设置");
        const CadOutcome outcome = ExecuteCadPlan(plan);
        EXPECT_EQ(outcome.Result, c.result) << c.log;
        EXPECT_EQ(outcome.Message, c.message) << c.log;
        EXPECT_EQ(RelayLog(), c.log);
    }
}

TEST_F(RelayCallTest, ToolCommandsReachTheRelayThroughTheAddOnExecutor)
{
    Install({ { "CadRelay16.dll", "2" } });
    AddOnCall call;
    call.Type = AddOnCall::Kind::CadCommand;
    call.CadApplication = App() + "\\acad\\Tool";
    call.Command = "(go)";
    const AddOnResult result = ExecuteAddOnCall(m_state, call);
    EXPECT_FALSE(result.Done);
    EXPECT_EQ(result.Message, "未找到文件CadRelay15.Dll！");
    EXPECT_EQ(RelayLog(), "CadRelay16.dll\t" + Native("acad/Tool") + "16.arx\t(go)%0A\n");
}

TEST_F(RelayCallTest, DrawingExecuteRowsStartProgramsAndCallLibrariesOnlyInsideTheApplicationFolder)
{
    CadOutcome outcome = ExecuteCadPlan(PlanDrawingExecute(m_state, 1, 0));
    EXPECT_EQ(outcome.Result, 0) << outcome.Message;
    EXPECT_EQ(Record("tools/Act.exe"), "cwd " + Native("tools") + "\narg -x\narg a b\nend\n");

    outcome = ExecuteCadPlan(PlanDrawingExecute(m_state, 1, 1));
    EXPECT_EQ(outcome.Result, 0);
    EXPECT_EQ(ReadFile(m_dir.NativeAt("plugin.log")), "text 3 " + m_dir.NativeAt("app") + "\\a\n");

    ClearLogs();
    const std::string app = App();
    struct Case {
        std::int32_t dir;
        std::string message;
    };
    const Case cases[] = {
        { 2, "未找到" + app + "\\..\\app\\tools\\Act.exe！" }, { 3, "未找到" + app + "\\\\tools\\Act.exe！" },
        { 4, "未找到" + app + "\\C:\\tools\\Act.exe！" }, { 5, "未找到" + app + "\\tools/Act.exe！" },
        { 6, "未找到" + app + "\\ORVBookLib\\Run.exe！" }, { 7, "" }, // an empty FunApp
        { 8, "" }, // no row
    };
    for (const Case& c : cases) {
        outcome = ExecuteCadPlan(PlanDrawingExecute(m_state, c.dir, 0));
        EXPECT_EQ(outcome.Result, -1) << c.dir;
        EXPECT_EQ(outcome.Message, c.message) << c.dir;
    }
    EXPECT_FALSE(Recorded("tools/Act.exe"));
    EXPECT_FALSE(Recorded("ORVBookLib/Run.exe"));
}

} // namespace
} // namespace orv::test
