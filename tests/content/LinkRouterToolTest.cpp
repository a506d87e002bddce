#include "LinkRouterSupport.h"
#include "platform/Paths.h"

#include <filesystem>

namespace orv::test {
namespace {

// Fields print with their backslashes doubled.
std::string Escaped(const std::string& text)
{
    std::string out;
    for (char c : text)
        out += c == '\\' ? std::string("\\\\") : std::string(1, c);
    return out;
}

TEST_F(LinkRouterTest, OrvtoolRoutePrintsTheDecisionForALinkOnADirectorysPage)
{
    const std::string gallery = platform::NativePath(m_gallery);
    const std::string app = m_dir.NativeAt("app");
    const std::string temp = m_view.TempFolder;
    struct Case {
        std::vector<std::string> args;
        std::string out;
    };
    const Case cases[] = {
        // Directory 2 shows the package page A1; its relative link B.htm#s.
        { { "B.htm#s", "--dir", "2" },
            "decision\tcancel\nhistory\t0\t" + Escaped(m_pages + "\\HEX(B).htz") + "\nnavigate\t"
                + Escaped(temp + "\\ORVBookDefault.htm#s") + "\n" },
        { { "app:ID=1", "--dir", "2" }, "decision\tcancel\nselect-dir\t1\n" },
        { { "app:ER=a\tb", "--dir", "1" }, "decision\tcancel\nmessage\tOrv机电工程师手册\ta\\tb\n" },
        { { "app:DW=BYID=:10", "--shown", m_pages + "\\bolts.htm" }, "decision\tcancel\ninsert\t10\n" },
        { { "app:EX=..\\..\\bin\\sh.exe|-c", "--dir", "1" },
            "decision\tcancel\nrefused\t" + Escaped("未找到" + m_state.AppPath + "\\..\\..\\bin\\sh.exe！")
                + "\n" },
        { { "https://example.com/", "--dir", "2" }, "decision\tcancel\nexternal\thttps://example.com/\n" },
        { { "about:blank" }, "decision\tgo\n" },
        // A page of another folder cannot run reader actions.
        { { "app:ID=1", "--shown", "\\elsewhere\\page.htm" }, "decision\tcancel\n" },
    };
    for (const Case& c : cases) {
        std::vector<std::string> args { "route", gallery };
        args.insert(args.end(), c.args.begin(), c.args.end());
        args.insert(args.end(), { "--app-dir", app });
        const ToolResult result = RunTool(args);
        EXPECT_EQ(result.status, 0) << c.args[0] << ": " << result.err;
        EXPECT_EQ(result.out, c.out) << c.args[0];
    }
    // A dry run: the package page was not extracted.
    EXPECT_FALSE(platform::FileExists(temp + "\\ORVBookDefault.htm"));
    EXPECT_EQ(RunTool({ "route", m_dir.NativeAt("none.gal"), "B.htm" }).status, 1);
}

} // namespace
} // namespace orv::test
