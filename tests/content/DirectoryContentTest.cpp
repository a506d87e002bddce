#include "content/DirectoryContent.h"

#include "content/ContentTestSupport.h"
#include "platform/Paths.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace orv {
namespace {

using namespace test;

TEST(DirectoryContentTest, KeysOfDirectories)
{
    ContentGallery g;
    const std::string pages = g.root + "\\Mech\\Pages";
    struct Case {
        std::int32_t dirId;
        std::int32_t page;
        std::string key;
        bool compressed;
        ContentKeyKind kind;
    };
    const Case cases[] = {
        { kPackageDir, 0, pages + "\\A12(B3).htz", true, ContentKeyKind::PackagePage },
        { kLeadingSlashDir, 0, pages + "\\lead.htm", false, ContentKeyKind::Page },
        // Only FIG1.GIF is there: found without regard to case, named as the fallback spells it.
        { kPictureFallbackDir, 0, pages + "\\fig1.gif", false, ContentKeyKind::Picture },
        // The picture stays in the page's own subfolder.
        { kSubfolderPictureDir, 0, pages + "\\sub\\fig2.png", false, ContentKeyKind::Picture },
        { kSourceContentDir, 0, g.root + "\\Mech\\src\\s.htm", false, ContentKeyKind::Page },
        { kPagesDir, 1, pages + "\\p2.htm", false, ContentKeyKind::Page },
        // Fewer page files than CurrentPage + 1: the directory's own page.
        { kPagesDir, 3, pages + "\\p1.htm", false, ContentKeyKind::Page },
        { kEmptyDir, 0, g.root + "\\about.htm", false, ContentKeyKind::About },
        { 999, 0, g.root + "\\about.htm", false, ContentKeyKind::About },
    };
    for (const Case& c : cases) {
        g.state.CurrentPage = c.page;
        std::string key = "stale";
        bool compressed = !c.compressed;
        GetDirectoryContent(g.state, c.dirId, key, compressed);
        EXPECT_EQ(key, c.key) << c.dirId;
        EXPECT_EQ(compressed, c.compressed) << c.dirId;
        EXPECT_EQ(KindOfContentKey(g.state, key), c.kind) << c.dirId;
    }

    // Without the gallery's about.htm the home page; without a gallery the empty key.
    std::filesystem::remove(platform::NativePath(g.root + "\\about.htm"));
    std::string key;
    bool compressed = true;
    GetDirectoryContent(g.state, kEmptyDir, key, compressed);
    EXPECT_EQ(key, g.state.AppPath + "\\HomePage\\Index.htm");
    EXPECT_EQ(KindOfContentKey(g.state, key), ContentKeyKind::Home);
    g.state.DatabaseOpen = false;
    GetDirectoryContent(g.state, kPackageDir, key, compressed);
    EXPECT_EQ(key, "");
    EXPECT_FALSE(compressed);
    EXPECT_EQ(KindOfContentKey(g.state, key), ContentKeyKind::Home);
}

TEST(DirectoryContentTest, GallerySettingsAreReadWithQuotesInTheName)
{
    ContentGallery g;
    std::string value;
    EXPECT_TRUE(ReadGallerySetting(g.state.Database, "HasTextContents", value));
    EXPECT_EQ(value, "0");
    EXPECT_TRUE(ReadGallerySetting(g.state.Database, "it's", value));
    EXPECT_EQ(value, "quoted");
    value = "kept";
    EXPECT_FALSE(ReadGallerySetting(g.state.Database, "x' OR '1'='1", value));
    EXPECT_EQ(value, "kept");
}

TEST(DirectoryContentTest, PackageKeysSplitInTheFileNameOnly)
{
    using namespace std::string_literals;
    struct Case {
        std::string key;
        bool ok;
        const char* package;
        const char* page;
    };
    const Case cases[] = {
        { "D:\\Lib\\G\\Mech\\Pages\\A12(B3).htz", true, "D:\\Lib\\G\\Mech\\Pages\\A12.HTZ", "B3.htm" },
        { "\\g\\Galleries (copy)\\P\\A12(B3).htz", true, "\\g\\Galleries (copy)\\P\\A12.HTZ", "B3.htm" },
        { "\\g\\Galleries (copy)\\P\\A12.htz", false, "", "" },
        { "\\g\\P\\(B3).htz", false, "", "" },
        { "A(B(C)).htz", true, "A.HTZ", "B(C).htm" },
        // Shorter than ").htz": nothing is left of the page title, and nothing underflows.
        { "\\g\\A(x)", true, "\\g\\A.HTZ", ".htm" },
        { "\\g\\A(..\\..\\etc\\x).htz", false, "", "" },
        { "\\g\\A(a/b).htz", false, "", "" },
        { "\\g\\A(..).htz", false, "", "" },
        { "\\g\\A(a\0b).htz"s, false, "", "" },
    };
    for (const Case& c : cases) {
        std::string package = "?", page = "?";
        EXPECT_EQ(SplitPackageKey(c.key, package, page), c.ok) << c.key;
        if (c.ok) {
            EXPECT_EQ(package, c.package) << c.key;
            EXPECT_EQ(page, c.page) << c.key;
        }
    }
}

} // namespace
} // namespace orv
