#include "CadLinkFixture.h"
#include "app/common/ProfileFile.h"
#include "cadlink/CadExecutor.h"
#include "cadlink/CadPlanner.h"
#include "platform/Encoding.h"

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

namespace orv::test {
namespace {

std::string Gb(const std::string& utf8)
{
    return platform::Utf8ToGb18030(utf8);
}

const char* const kHandoffKeys[]
    = { "DriverPath", "DriverName", "AppPath", "FunName", "DrawingCaption", "Status1" };

std::vector<std::string> HandoffValues(const std::string& path)
{
    std::vector<std::string> values;
    for (const char* key : kHandoffKeys) {
        std::string value;
        CProfileFile(path).ReadString("ORVBookInsert", key, value);
        values.push_back(value);
    }
    return values;
}

TEST_F(CadLinkTest, EveryDriverTypeStartsItsProgramWithItsArgumentInItsFolder)
{
    const std::string parts = PartsFolder();
    const std::string relay = "CadRelay.Exe";
    struct Case {
        std::int32_t drawing;
        std::string program; // relative to the application folder
        std::string cwd;
        std::string argument; // UTF-8
        std::vector<std::string> handoff; // empty: no hand-off file written
    };
    const Case cases[] = {
        { 1, relay, m_dir.NativeAt("app"),
            "(ORV_BeginInsertOrvBookDrawing \"ORV_BeginInsertOrvBookBlkDrawing\" \"Demo\" \"" + parts
                + "\" \"M12.dwg\")\n",
            { "", "", "", "", "螺栓 M12", "GB/T 5782" } },
        // Type 1: caption with its status, the name without ".DWG".
        { 2, relay, m_dir.NativeAt("app"),
            "(ORV_BeginInsertOrvBookDrawing \"ORV_BeginInsertOrvBookDrvDrawing\" \"螺栓(GB)\" \"" + parts
                + "\" \"plain\")\n",
            { parts + "/GB.drv", "M12", "OrvMech", "Unused", "螺栓", "GB" } },
        { 3, "ORVMTools/SupportProE/Drv2.exe", Native("ORVMTools/SupportProE"), parts + "/P2.drv;N2", {} },
        // An empty DefinePath hands over the drawing's folder itself.
        { 4, "ORVMTools/Support/Drv4.exe", Native("ORVMTools/Support"), "A4#" + parts + "#N4", {} },
        // Types 2 and 3 on the relay road send the type-1 form, one closed call.
        { 5, relay, m_dir.NativeAt("app"),
            "(ORV_BeginInsertOrvBookDrawing \"ORV_BeginInsertOrvBookDrvDrawing\" \"无定义\" \"" + parts
                + "\" \"n\")\n",
            { "", "", "", "", "无定义", "" } },
        { 6, relay, m_dir.NativeAt("app"),
            "(ORV_BeginInsertOrvBookDrawing \"ORV_BeginInsertOrvBookDrvDrawing\" \"轴承(6204)\" \"" + parts
                + "\" \"b\")\n",
            { parts + "/P3.drv", "N3", "A3", "Drv3", "轴承", "6204" } },
        // A member of a drawing package is named by itself.
        { 7, relay, m_dir.NativeAt("app"),
            "(ORV_BeginInsertOrvBookDrawing \"ORV_BeginInsertOrvBookBlkDrawing\" \"Demo\" \"" + parts
                + "\" \"member.dwg\")\n",
            { "", "", "", "", "包内", "" } },
        // Quotes, backslashes and parentheses stay inside their strings; the second byte 0x5C
        // of 乗 in GB18030 is no backslash and is not doubled.
        { 10, relay, m_dir.NativeAt("app"),
            "(ORV_BeginInsertOrvBookDrawing \"ORV_BeginInsertOrvBookDrvDrawing\" \"A\\\"B\\\\C)(x\\\"y乗)\" "
            "\"" + parts
                + "\" \"q\\\"\\\\)\")\n",
            { "", "", "", "", "A\"B\\C)", "x\"y乗" } },
    };
    const std::string handoff = Native("ORVMtools/userdef/userdata/ORVBookCAD.ini");
    for (const Case& c : cases) {
        ClearLogs();
        ::unlink(handoff.c_str());
        const CadOutcome outcome = ExecuteCadPlan(PlanInsertDrawing(m_state, c.drawing));
        EXPECT_EQ(outcome.Result, 1) << c.drawing << " " << outcome.Message;
        EXPECT_TRUE(outcome.Started) << c.drawing;
        EXPECT_EQ(Record(c.program), StartRecord(c.cwd, Gb(c.argument))) << c.drawing;
        if (c.handoff.empty())
            EXPECT_NE(::access(handoff.c_str(), F_OK), 0) << c.drawing;
        else
            EXPECT_EQ(HandoffValues(handoff), c.handoff) << c.drawing;
    }
}

TEST_F(CadLinkTest, HandoffFileKeepsOtherSectionsAndIsWrittenInGb18030)
{
    const std::string handoff = Native("ORVMtools/userdef/userdata/ORVBookCAD.ini");
    WriteFile(handoff, Gb("[Other]\nKeep=保留\n[ORVBookInsert]\nDriverPath=old\nExtra=1\n"));
    ASSERT_EQ(ExecuteCadPlan(PlanInsertDrawing(m_state, 6)).Result, 1);
    Record("CadRelay.Exe");
    EXPECT_EQ(ReadFile(handoff),
        Gb("[Other]\nKeep=保留\n[ORVBookInsert]\nDriverPath=" + PartsFolder()
            + "/P3.drv\nExtra=1\nDriverName=N3\nAppPath=A3\nFunName=Drv3\nDrawingCaption=轴承\nStatus1="
              "6204\n"));
}

TEST_F(CadLinkTest, EveryFailureLeavesTheHandoffFileAndStartsNothing)
{
    const std::string handoff = Native("ORVMtools/userdef/userdata/ORVBookCAD.ini");
    const std::string before = Gb("[ORVBookInsert]\nDrawingCaption=之前\n");
    const std::string support = App() + "\\ORVMTools\\SupportProE\\";
    struct Case {
        std::int32_t drawing;
        std::string message;
    };
    const Case cases[] = {
        { 8, "错误类型(DriverType=5)" },
        { 9, "错误类型(DriverType=-1)" },
        { 999, "图件不存在！" },
        { 11, "图件数据含有控制字符，未插入！" },
        { 20, "未找到执行程序" + support + "..\\Support\\Drv4.exe" },
        { 21, "未找到执行程序" + support + "a/b.exe" },
        { 22, "未找到执行程序" + support + "C:Drv2.exe" },
        { 23, "未找到执行程序" + support + "\\Drv2.exe" },
    };
    WriteFile(handoff, before);
    for (const Case& c : cases) {
        const CadOutcome outcome = ExecuteCadPlan(PlanInsertDrawing(m_state, c.drawing));
        EXPECT_EQ(outcome.Result, 0) << c.drawing;
        EXPECT_EQ(outcome.Message, c.message) << c.drawing;
        EXPECT_FALSE(outcome.Started);
    }
    EXPECT_EQ(ReadFile(handoff), before);
    // Without the relay program, and with a hand-off file that cannot be written.
    ::unlink(Native("CadRelay.Exe").c_str());
    CadOutcome outcome = ExecuteCadPlan(PlanInsertDrawing(m_state, 1));
    EXPECT_EQ(outcome.Message, "未找到执行程序" + App() + "\\CadRelay.Exe");
    EXPECT_EQ(ReadFile(handoff), before);
    // One that may not be executed is no program either.
    WriteFile(Native("CadRelay.Exe"), "not a program");
    ::chmod(Native("CadRelay.Exe").c_str(), 0644);
    outcome = ExecuteCadPlan(PlanInsertDrawing(m_state, 1));
    EXPECT_EQ(outcome.Message, "未找到执行程序" + App() + "\\CadRelay.Exe");
    EXPECT_EQ(ReadFile(handoff), before);
    ::unlink(Native("CadRelay.Exe").c_str());
    AddRecorder("CadRelay.Exe");
    std::filesystem::remove_all(Native("ORVMtools/userdef"));
    WriteFile(Native("ORVMtools/userdef"), "a file where the folder belongs");
    outcome = ExecuteCadPlan(PlanInsertDrawing(m_state, 1));
    EXPECT_EQ(outcome.Result, 0);
    EXPECT_EQ(outcome.Message, "无法写入文件" + Native("ORVMtools/userdef/userdata/ORVBookCAD.ini") + "！");

    m_state.DatabaseOpen = false;
    EXPECT_EQ(ExecuteCadPlan(PlanInsertDrawing(m_state, 1)).Message, "数据库打开错误！");

    for (const char* program :
        { "CadRelay.Exe", "ORVMTools/SupportProE/Drv2.exe", "ORVMTools/Support/Drv4.exe" })
        EXPECT_FALSE(Recorded(program)) << program;
}

} // namespace
} // namespace orv::test
