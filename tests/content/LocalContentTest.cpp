#include "content/LocalContent.h"

#include "app/ReaderState.h"
#include "content/LinkRouter.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace orv::test {
namespace {

namespace fs = std::filesystem;

// A library folder with a gallery, a home page folder, a temporary folder and, beside them,
// files that must never be served.
class LocalContentTest : public testing::Test {
protected:
    void SetUp() override
    {
        WriteFile(m_dir.NativeAt("lib/Mech/Fasten/Bolts.htm"), "<html><title>Bolts</title></html>");
        WriteFile(m_dir.NativeAt("lib/Mech/Fasten/螺栓.htm"), "<html>螺栓</html>");
        WriteFile(m_dir.NativeAt("lib/Mech/Mech.GAL"), "db");
        WriteFile(m_dir.NativeAt("app/HomePage/Index.htm"), "home");
        WriteFile(m_dir.NativeAt("app/HomePage2/Index.htm"), "not home");
        WriteFile(m_dir.NativeAt("app/ORVBook.ini"), "secret");
        WriteFile(m_dir.NativeAt("temp/ORVBookDefault.htm"), "page");
        WriteFile(m_dir.NativeAt("outside/secret.txt"), "secret");
        fs::create_symlink(m_dir.NativeAt("outside/secret.txt"), m_dir.NativeAt("lib/Mech/Fasten/link.txt"));
        fs::create_symlink(m_dir.NativeAt("outside"), m_dir.NativeAt("temp/out"));
        m_state.AppPath = m_dir.ProgramAt("app");
        m_state.LibPath = m_dir.ProgramAt("lib");
        m_state.GalleryFiles = { m_dir.ProgramAt("lib\\Mech\\Mech.GAL") };
        m_state.CurrentGallery = 0;
        m_roots = LocalContentRoots(m_state, m_dir.ProgramAt("TEMP"));
    }

    std::string Url(const std::string& relative) const { return PathToLocalUrl(m_dir.ProgramAt(relative)); }

    TempFolder m_dir;
    ReaderState m_state;
    std::vector<std::string> m_roots;
};

TEST_F(LocalContentTest, UrlsAndProgramPathsConvertBothWays)
{
    const std::string bolts = m_dir.ProgramAt("lib\\Mech\\Fasten\\Bolts.htm");
    const std::string url = PathToLocalUrl(bolts + "#top");
    EXPECT_EQ(url.rfind("orvfile://local/", 0), 0u) << url;
    EXPECT_EQ(url.substr(url.size() - 4), "#top");
    EXPECT_EQ(LocalUrlToPath(url), bolts);

    struct Case {
        std::string url;
        std::string path;
    };
    const Case cases[] = {
        { "orvfile://local/a/b%20c.htm?x=1#y", "\\a\\b c.htm" },
        { "ORVFILE://LOCAL/a/%E8%9E%BA.htm", "\\a\\螺.htm" },
        // An encoded separator or NUL would name another file than the URL shows.
        { "orvfile://local/a/..%2Fb.htm", "" },
        { "orvfile://local/a/b%00.htm", "" },
        { "orvfile://other/a.htm", "" },
        { "orvfile://localhost/a.htm", "" },
        { "orvfile://local", "" },
        { "file:///a.htm", "" },
    };
    for (const Case& c : cases)
        EXPECT_EQ(LocalUrlToPath(c.url), c.path) << c.url;
    EXPECT_EQ(PathToLocalUrl("relative\\a.htm"), "");
}

TEST_F(LocalContentTest, OnlyFilesInsideTheReadersFoldersAreServed)
{
    struct Case {
        std::string url;
        bool ok;
        std::string body;
    };
    const Case cases[] = {
        // Letter case of the link need not match the disk.
        { Url("LIB\\mech\\FASTEN\\bolts.HTM"), true, "<html><title>Bolts</title></html>" },
        { Url("lib\\Mech\\Fasten\\螺栓.htm"), true, "<html>螺栓</html>" },
        { Url("app\\homepage\\index.htm"), true, "home" },
        { Url("temp\\ORVBookDefault.htm"), true, "page" },
        // A name that only begins like a root is not inside it.
        { Url("app\\HomePage2\\Index.htm"), false, "" },
        { Url("app\\ORVBook.ini"), false, "" },
        { Url("outside\\secret.txt"), false, "" },
        // Links lead nowhere outside, whichever root they stand in.
        { Url("lib\\Mech\\Fasten\\link.txt"), false, "" },
        { Url("temp\\out\\secret.txt"), false, "" },
        { "orvfile://local" + m_dir.Native() + "/lib/../outside/secret.txt", false, "" },
        { Url("lib\\Mech\\Fasten\\missing.htm"), false, "" },
        // A folder is no file to serve.
        { Url("lib\\Mech\\Fasten"), false, "" },
    };
    for (const Case& c : cases) {
        const LocalReply reply = ServeLocalUrl(c.url, m_roots);
        EXPECT_EQ(reply.Ok, c.ok) << c.url << " " << reply.Reason;
        EXPECT_EQ(reply.Body, c.body) << c.url;
    }
    EXPECT_FALSE(ServeLocalUrl(Url("temp\\ORVBookDefault.htm"), m_roots, 3).Ok);
    EXPECT_FALSE(ServeLocalUrl(Url("temp\\ORVBookDefault.htm"), {}).Ok);
}

TEST_F(LocalContentTest, RootsFollowTheOpenGallery)
{
    EXPECT_EQ(m_roots,
        (std::vector<std::string> { m_dir.ProgramAt("lib\\Mech"), m_dir.ProgramAt("lib"),
            m_dir.ProgramAt("app\\HomePage"), m_dir.ProgramAt("TEMP") }));
    // A gallery outside the library folder: its own folder serves, nothing else beside it.
    WriteFile(m_dir.NativeAt("far/G/G.GAL"), "db");
    WriteFile(m_dir.NativeAt("far/G/p.htm"), "far page");
    WriteFile(m_dir.NativeAt("far/q.htm"), "beside");
    m_state.GalleryFiles.push_back(m_dir.ProgramAt("far\\G\\G.GAL"));
    m_state.CurrentGallery = 1;
    const std::vector<std::string> roots = LocalContentRoots(m_state, m_dir.ProgramAt("temp"));
    EXPECT_TRUE(ServeLocalUrl(Url("far\\G\\p.htm"), roots).Ok);
    EXPECT_FALSE(ServeLocalUrl(Url("far\\q.htm"), roots).Ok);
    m_state.CurrentGallery = -1;
    EXPECT_FALSE(ServeLocalUrl(Url("far\\G\\p.htm"), LocalContentRoots(m_state, "")).Ok);
}

TEST_F(LocalContentTest, MimeTypeByExtensionAndPagesWithoutCharsetAreGbk)
{
    struct Case {
        std::string path;
        std::string head;
        std::string mime;
    };
    const Case cases[] = {
        { "\\a\\P.HTM", "<html><body>", "text/html;charset=GBK" },
        { "\\a\\p.html", "<meta http-equiv=Content-Type content=\"text/html; CHARSET=utf-8\">", "text/html" },
        { "\\a\\p.htm", "<meta charset=\"gb2312\">", "text/html" },
        { "\\a\\p.htm", "\xEF\xBB\xBF<html>", "text/html" },
        // A declaration past the first 1024 bytes is not seen by the browser either.
        { "\\a\\p.htm", std::string(1024, ' ') + "<meta charset=utf-8>", "text/html;charset=GBK" },
        { "\\a\\s.css", "body{}", "text/css;charset=GBK" },
        { "\\a\\b.GIF", "GIF89a", "image/gif" },
        { "\\a\\b.jpeg", "", "image/jpeg" },
        { "\\a\\b.png", "", "image/png" },
        { "\\a.d\\readme", "", "application/octet-stream" },
        { "\\a\\x.dwg", "", "application/octet-stream" },
    };
    for (const Case& c : cases)
        EXPECT_EQ(LocalMimeType(c.path, c.head), c.mime) << c.path;
}

TEST_F(LocalContentTest, RouterTakesLocalUrlsAsTheFilesTheyName)
{
    ContentViewState view;
    view.TempFolder = m_dir.ProgramAt("TEMP");
    const std::string bolts = Url("lib\\Mech\\Fasten\\Bolts.htm");
    for (const std::string& address : { bolts, bolts + "#a" }) {
        const NavigationDecision d = RouteNavigation(m_state, view, address, NavigationOrigin::User);
        EXPECT_TRUE(d.Go) << address;
        EXPECT_TRUE(d.Actions.empty()) << address;
    }
    // Once a local page has loaded, its "app:" links are the user's own (this one needs no query).
    m_state.DatabaseOpen = true;
    OnNavigationComplete(m_state, view, bolts);
    const NavigationDecision d = RouteNavigation(m_state, view, "app:ER=hello", NavigationOrigin::User);
    EXPECT_FALSE(d.Go);
    ASSERT_EQ(d.Actions.size(), 1u);
    EXPECT_EQ(d.Actions[0].Text, "hello");
}

} // namespace
} // namespace orv::test
