#include "app/AddOnCall.h"

#include "AppTestSupport.h"
#include "app/ReaderState.h"
#include "app/RunFunction.h"
#include "app/StartUp.h"
#include "app/common/PathHelpers.h"
#include "platform/Encoding.h"
#include "platform/Paths.h"

#include <gtest/gtest.h>
#include <unistd.h>

namespace orv {
namespace {

using test::AppFolder;
using test::WriteFile;

class AddOnCallTest : public testing::Test {
protected:
    void SetUp() override
    {
        m_app.AddRecordingProgram("tools/Tool.exe");
        m_app.AddPlugin("Calc.dll");
        LoadSettings(m_state, m_app.AppPath());
    }

    AppFolder m_app;
    ReaderState m_state;
};

TEST_F(AddOnCallTest, RunFunctionSpecStartsProgramsAndCallsLibraryExports)
{
    std::string message;
    EXPECT_EQ(RunFunctionSpec(m_state, "TOOLS\\tool.EXE|-x \"a b\"", &message), 0) << message;
    EXPECT_EQ(m_app.WaitForRecord("tools/Tool.exe"), m_app.Native("tools") + "\n-x\na b\n");

    const std::string root = m_app.Native("");
    struct Case {
        std::string text;
        int result;
        std::string log; // what the export recorded
    };
    const Case cases[] = {
        { "calc.dll|RecordText|3,<root>\\a", 0, "text 3 " + root.substr(0, root.size() - 1) + "\\a\n" },
        { "calc.dll|RecordInt", 0, "int 0\n" },
        { "Calc.DLL|RecordInt|42|ignored", 0, "int 42\n" },
        { "calc.dll|RecordInt|x7", 0, "int 0\n" },
        { "calc.dll|RecordText|1,中文", 0, "text 1 " + platform::Utf8ToGb18030("中文") + "\n" },
        { "calc.dll|RecordInt|1,2,3", -1, "" }, // more fields: nothing is called
        { "calc.dll|NoSuchExport|1", -1, "" },
        // The C library's functions are found through the library but are not its exports.
        { "calc.dll|malloc|1", -1, "" },
        { "calc.dll|getpid", -1, "" },
        { "calc.so|RecordInt|1", -1, "" },
        { "missing.dll|RecordInt|1", -1, "" },
        { "|RecordInt|1", -1, "" },
    };
    for (const Case& c : cases) {
        ::unlink(m_app.Dir().NativeAt("plugin.log").c_str());
        EXPECT_EQ(RunFunctionSpec(m_state, c.text, &message), c.result) << c.text;
        EXPECT_EQ(m_app.PluginLog(), c.log) << c.text;
    }
    EXPECT_EQ(RunFunction(m_state, "missing.exe", "", "", &message), -1);
    EXPECT_EQ(message, "未找到" + m_app.AppPath() + "\\missing.exe！");
    WriteFile(m_app.Native("plain.exe"), "not a program");
    EXPECT_EQ(RunFunction(m_state, "plain.exe", "", "", &message), -1);
    EXPECT_EQ(message, "无法启动" + m_app.AppPath() + "\\plain.exe！");
}

TEST_F(AddOnCallTest, ExecutesTheThreeExportSignaturesAndReturnsTheirValues)
{
    AddOnCall call;
    call.Type = AddOnCall::Kind::CallLibrary;
    call.File = m_app.AppPath() + "\\calc.dll";
    call.Function = "RecordNone";
    EXPECT_EQ(ExecuteAddOnCall(m_state, call).ReturnValue, 7);
    call.Function = "RecordInt";
    call.Arguments = 1;
    call.IntArgument = 4;
    EXPECT_EQ(ExecuteAddOnCall(m_state, call).ReturnValue, 5);
    EXPECT_EQ(m_app.PluginLog(), "none\nint 4\n");

    // Without relay libraries a CAD command names the first one missing.
    call.Type = AddOnCall::Kind::CadCommand;
    call.CadApplication = m_app.AppPath() + "\\acad\\tool";
    AddOnResult cad = ExecuteAddOnCall(m_state, call);
    EXPECT_FALSE(cad.Done);
    EXPECT_EQ(cad.Message, "未找到文件CadRelay16.Dll！");
}

TEST_F(AddOnCallTest, RefusesProgramsOutsideTheApplicationFolderOrInGalleryAndTemporaryFolders)
{
    // A program outside, reached by a link, by "..", and programs where galleries and pages
    // put files.
    m_app.AddRecordingProgram("../outside/run.exe");
    ASSERT_EQ(::symlink(m_app.Native("../outside/run.exe").c_str(), m_app.Native("link.exe").c_str()), 0);
    m_app.AddRecordingProgram("ORVBookLib/run.exe");
    m_app.AddGallery({ "Pipes", "管道" });
    m_app.AddRecordingProgram("ORVBookLib/Pipes/run.exe");
    m_state.GalleryFiles = { m_app.AppPath() + "\\ORVBookLib\\Pipes.GAL" };
    // A temporary folder inside the application folder, so that only its own rule refuses.
    WriteFile(m_app.Native("run/.keep"), "");
    ::chmod(m_app.Native("run").c_str(), 0700);
    test::ScopedEnv runtime("XDG_RUNTIME_DIR", m_app.Native("run"));
    const std::string temp = GetTempFolder();
    ASSERT_EQ(temp, m_app.AppPath() + "\\run\\ORVTemp");
    m_app.AddRecordingProgram("run/ORVTemp/run.exe");

    const std::string refused[] = {
        "link.exe",
        "..\\outside\\run.exe",
        "tools\\..\\..\\outside\\run.exe",
        "orvbooklib\\run.exe",
        "ORVBookLib\\Pipes\\run.exe",
        "RUN\\orvtemp\\run.exe",
    };
    for (const std::string& program : refused) {
        std::string message;
        EXPECT_EQ(RunFunction(m_state, program, "", "", &message), -1) << program;
        EXPECT_EQ(message, "未找到" + m_app.AppPath() + "\\" + program + "！") << program;
    }
    EXPECT_FALSE(RunnableFile(m_state, m_app.AppPath() + "\\tools")) << "a folder";
    EXPECT_TRUE(RunnableFile(m_state, m_app.AppPath() + "\\tools\\tool.exe"));

    // With the application folder as the library folder, only the galleries' own folders are
    // refused.
    m_state.LibPath = m_app.AppPath();
    m_state.GalleryFiles = { m_app.AppPath() + "\\tools.gal" };
    EXPECT_FALSE(RunnableFile(m_state, m_app.AppPath() + "\\tools\\Tool.exe"));
    m_state.GalleryFiles = { m_app.AppPath() + "\\ORVBookLib\\Pipes.GAL" };
    EXPECT_TRUE(RunnableFile(m_state, m_app.AppPath() + "\\tools\\Tool.exe"));
    EXPECT_FALSE(RunnableFile(m_state, m_app.AppPath() + "\\ORVBookLib\\Pipes\\run.exe"));
    EXPECT_TRUE(RunnableFile(m_state, m_app.AppPath() + "\\ORVBookLib\\run.exe"));
}

} // namespace
} // namespace orv
