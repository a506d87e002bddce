#include "LinkRouterSupport.h"
#include "content/ViewInput.h"
#include "platform/Paths.h"

#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <thread>

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

// The desktop's handler stands in as a script that records its arguments.
std::string WaitForFile(const std::string& path)
{
    for (int i = 0; i < 200 && !std::filesystem::exists(path); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    return std::filesystem::exists(path) ? ReadFile(path) : std::string();
}

TEST(OpenExternalUrlTest, HandsTheAddressToXdgOpenThenToTheBrowserAndRefusesOptionLikeText)
{
    TempFolder dir;
    const std::string script
        = "#!/bin/sh\nprintf '%s|' \"$@\" > \"$0.out.tmp\" && /bin/mv \"$0.out.tmp\" \"$0.out\"\n";
    WriteFile(dir.NativeAt("bin/xdg-open"), script);
    WriteFile(dir.NativeAt("other/browser"), script);
    ::chmod(dir.NativeAt("bin/xdg-open").c_str(), 0755);
    ::chmod(dir.NativeAt("other/browser").c_str(), 0755);
    {
        ScopedEnv path("PATH", dir.NativeAt("bin") + ":/usr/bin:/bin");
        EXPECT_EQ(OpenExternalUrl("https://example.com/a b"), 33);
        EXPECT_EQ(WaitForFile(dir.NativeAt("bin/xdg-open.out")), "https://example.com/a b|");
        EXPECT_EQ(OpenExternalUrl("--help"), 2);
        EXPECT_EQ(OpenExternalUrl("http://x/\nsecond"), 2);
        EXPECT_EQ(OpenExternalUrl(""), 2);
    }
    ScopedEnv path("PATH", dir.NativeAt("none"));
    ScopedEnv browser("BROWSER", dir.NativeAt("other/browser"));
    EXPECT_EQ(OpenExternalUrl("mailto:a@b.c"), 33);
    EXPECT_EQ(WaitForFile(dir.NativeAt("other/browser.out")), "mailto:a@b.c|");
}

} // namespace
} // namespace orv::test
