#include "content/ContentTestSupport.h"
#include "platform/Paths.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

using namespace test;

// Paths in the tool's fields have their backslashes doubled.
std::string Field(const std::string& text)
{
    std::string out;
    for (char c : text)
        out += c == '\\' ? std::string("\\\\") : std::string(1, c);
    return out;
}

TEST(ContentCommandsTest, KeyPrintsTheKeyItsKindAndItsPackage)
{
    ContentGallery g;
    const std::string gallery = platform::NativePath(g.gallery);
    const std::string app = g.folder.NativeAt("app");
    const std::string pages = g.root + "\\Mech\\Pages";

    ToolResult r = RunTool({ "content", "key", gallery, "1", "--app-dir", app });
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out,
        "key\t" + Field(pages + "\\A12(B3).htz") + "\tpackage\npackage\t" + Field(pages + "\\A12.HTZ")
            + "\tB3.htm\n");

    r = RunTool({ "content", "key", gallery, "7", "--page", "2", "--app-dir", app });
    EXPECT_EQ(r.out, "key\t" + Field(pages + "\\p3.htm") + "\tpage\n");
    r = RunTool({ "content", "key", gallery, "4", "--app-dir", app });
    EXPECT_EQ(r.out, "key\t" + Field(pages + "\\fig1.gif") + "\tpicture\n");
    r = RunTool({ "content", "key", gallery, "8", "--app-dir", app });
    EXPECT_EQ(r.out, "key\t" + Field(g.root + "\\about.htm") + "\tabout\n");

    r = RunTool({ "content", "key", g.folder.NativeAt("none.GAL"), "1", "--app-dir", app });
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.out.empty());
}

TEST(ContentCommandsTest, ShowPrintsTheFileWorkAndTheNavigation)
{
    ContentGallery g;
    const std::string gallery = platform::NativePath(g.gallery);
    const std::string app = g.folder.NativeAt("app");
    const std::string temp = g.folder.NativeAt("temp");
    const std::string tempProgram = platform::ProgramPath(temp);
    const std::string pages = g.root + "\\Mech\\Pages";

    ToolResult r = RunTool({ "content", "show", gallery, pages + "\\A12(B3).htz", "--dir", "2", "--app-dir",
        app, "--temp", temp });
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out,
        "extract\t" + Field(pages + "\\A12_files.flz") + "\t" + Field(tempProgram + "\\B3.files") + "\n"
            + "extract\t" + Field(pages + "\\A12.HTZ(B3.htm)") + "\t"
            + Field(tempProgram + "\\ORVBookDefault.htm") + "\n" + "write\t"
            + Field(tempProgram + "\\Redirect.htm") + "\n" + "navigate\t"
            + Field(tempProgram + "\\Redirect.htm") + "\n");

    r = RunTool({ "content", "show", gallery, pages + "\\A12(B3).htz", "--app-dir", app, "--temp",
        g.folder.NativeAt("missing") });
    EXPECT_EQ(r.status, 1);
}

} // namespace
} // namespace orv
