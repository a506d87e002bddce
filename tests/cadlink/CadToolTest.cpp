#include "CadLinkFixture.h"
#include "platform/Paths.h"

namespace orv::test {
namespace {

// orvtool prints the reader's plan: keys in the order written, the relay with its one
// argument (the final newline as %0A), and the result; the exit status follows the result.
TEST_F(CadLinkTest, OrvtoolPrintsThePlanAndCarriesItOutUnlessDryRun)
{
    const std::string gallery = platform::NativePath(m_gallery);
    const std::string app = m_dir.NativeAt("app");
    ToolResult dry = RunTool({ "insert", gallery, "6", "--app-dir", app, "--dry-run" });
    EXPECT_EQ(dry.status, 0) << dry.err;
    EXPECT_EQ(dry.out,
        "handoff\t" + app + "/ORVMTools/userdef/userdata/ORVBookCAD.ini\n" + "handoff-key\tDriverPath\t"
            + PartsFolder() + "/P3.drv\n"
            + "handoff-key\tDriverName\tN3\nhandoff-key\tAppPath\tA3\nhandoff-key\tFunName\tDrv3\n"
            + "handoff-key\tDrawingCaption\t轴承\nhandoff-key\tStatus1\t6204\n" + "spawn\t" + app
            + "/CadRelay.Exe\t" + app
            + "\t(ORV_BeginInsertOrvBookDrawing \"ORV_BeginInsertOrvBookDrvDrawing\" \"轴承(6204)\" \""
            + PartsFolder() + "\" \"b\")%0A\nresult\t1\n");
    EXPECT_FALSE(Recorded("CadRelay.Exe"));

    ToolResult run = RunTool({ "insert", gallery, "4", "--app-dir", app });
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(Record("ORVMTools/Support/Drv4.exe"),
        StartRecord(Native("ORVMTools/Support"), "A4#" + PartsFolder() + "#N4"));

    ToolResult failed = RunTool({ "insert", gallery, "8", "--app-dir", app });
    EXPECT_EQ(failed.status, 1);
    EXPECT_EQ(failed.out, "result\t0\t错误类型(DriverType=5)\n");

    ToolResult action = RunTool({ "execute", gallery, "1", "--drawing", "1", "--app-dir", app, "--dry-run" });
    EXPECT_EQ(action.status, 0) << action.err;
    EXPECT_EQ(action.out, "dlcall\t" + app + "/calc.dll\tRecordText\t3\t" + app + "\\a\nresult\t0\n");
    EXPECT_EQ(RunTool({ "execute", gallery, "8", "--app-dir", app }).out, "result\t-1\n");
}

} // namespace
} // namespace orv::test
