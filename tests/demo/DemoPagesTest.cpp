// The pages of the demo galleries: every link and picture they name is there, every "app:"
// link form of the content view is used and leads somewhere, and the keyword and full-text
// files the search reads describe the directories that exist.

#include "DemoSupport.h"
#include "app/common/PathHelpers.h"
#include "navigation/FullTextFiles.h"
#include "navigation/KeywordFile.h"
#include "packages/Compression.h"
#include "packages/ZHtmFileLib.h"
#include "platform/Encoding.h"
#include "platform/Files.h"
#include "platform/Paths.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

namespace orv::test {
namespace {

std::string Quote(const std::string& text)
{
    std::string out = "'";
    for (char c : text)
        out += c == '\'' ? std::string("''") : std::string(1, c);
    return out + "'";
}

std::string Upper(std::string text)
{
    for (char& c : text)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return text;
}

bool PackageHas(const std::string& package, const std::string& member)
{
    CFileLib lib(package);
    std::uint32_t offset = 0, size = 0;
    return lib.Open(package) && lib.FindFile(member, offset, size);
}

std::string PageText(const GalleryPage& from, const std::string& title)
{
    if (!from.Package.empty()) {
        CZHtmFileLib lib(from.Package);
        return lib.Open(from.Package) ? platform::Gb18030ToUtf8(lib.ReadPageText(title + ".htm")) : "";
    }
    auto bytes = platform::ReadFileBytes(from.Folder + "\\" + title + ".htm");
    return bytes ? platform::Gb18030ToUtf8(*bytes) : "";
}

// Follows one link of a page the way the content view routes it; "" when it leads somewhere,
// else why not. kind receives the link form, for the coverage check.
class LinkChecker {
public:
    LinkChecker(const DemoFolder& demo, const std::string& gallery)
        : m_demo(demo)
        , m_gallery(gallery)
    {
    }

    std::string Check(const GalleryPage& page, const std::string& href, std::string& kind)
    {
        if (href.rfind("app:", 0) != 0) {
            kind = "relative";
            return Relative(page, href);
        }
        std::string command = href.substr(4), v = command.size() >= 3 ? command.substr(3) : "";
        std::string prefix = Upper(command.substr(0, 3));
        const CAdoConnection& db = m_demo.Connection(m_gallery);
        kind = prefix;
        if (prefix == "ID=")
            return Found(db, "Select DirID from DrawingDir where DirID = " + v);
        if (prefix == "PA=")
            return Found(
                db, "Select DirID from DrawingDir where DirPath = " + Quote(v) + " Order By DirVisible");
        if (prefix == "EX=") {
            std::string program = v.substr(0, v.find('|'));
            return platform::FileExists(m_demo.At(program)) ? "" : "no program " + program;
        }
        if (prefix == "GL=")
            return Gallery(v, kind);
        if (prefix == "IM=")
            return Picture(page, v);
        if (prefix == "DW=")
            return Drawing(db, v, kind);
        if (prefix == "ER=")
            return v.empty() ? "empty message" : "";
        return Topic(db, page, command, kind);
    }

private:
    static std::string Found(const CAdoConnection& db, const std::string& sql)
    {
        return CountRows(db, sql) > 0 ? "" : "nothing for " + sql;
    }

    std::string Gallery(const std::string& v, std::string& kind)
    {
        std::size_t slash = v.find('/');
        std::string name = slash != std::string::npos && slash > 0 ? v.substr(0, slash) : v;
        std::string topic = slash != std::string::npos && slash > 0 ? v.substr(slash + 1) : "";
        if (!platform::FileExists(m_demo.GalleryPath(name)))
            return "no gallery " + name;
        if (topic.empty())
            return "";
        kind = "GL=topic";
        const CAdoConnection& other = m_demo.Connection(name);
        std::size_t backslash = topic.find('\\');
        if (backslash != std::string::npos && backslash > 0)
            return Found(other,
                "Select DirID From DrawingDir where DirContent = "
                    + Quote(topic.substr(0, backslash) + "(" + topic.substr(backslash + 1) + ")"));
        return Found(other, "Select DirID from DrawingDir where DirName = " + Quote(topic));
    }

    // The picture beside the page, or in the page's own folder PAGE.files beside its package.
    static std::string Picture(const GalleryPage& page, std::string v)
    {
        while (!v.empty() && (v[0] == '/' || v[0] == '\\'))
            v.erase(0, 1);
        std::size_t open = v.find('(');
        if (open != std::string::npos && open > 0)
            v = v.substr(0, open);
        std::string inFiles = page.Folder + "\\" + page.Title + ".files\\" + v,
                    beside = page.Folder + "\\" + v;
        return platform::FileExists(inFiles) || platform::FileExists(beside) ? "" : "no picture " + v;
    }

    static std::string Drawing(const CAdoConnection& db, const std::string& v, std::string& kind)
    {
        if (v.size() < 7)
            return "too short";
        std::string head = Upper(v.substr(0, 5)), rest = v.substr(6);
        kind = "DW=" + head;
        if (head == "BYID=")
            return Found(db, "Select DrawingID from DrawingList where DrawingID = " + rest);
        if (head == "PATH=") {
            std::string path;
            for (std::size_t i = 0; i < rest.size(); ++i) {
                if (rest.compare(i, 2, "//") == 0) {
                    path += '\\';
                    ++i;
                } else {
                    path += rest[i];
                }
            }
            std::size_t last = path.rfind('\\');
            if (last == std::string::npos)
                return "no folder in " + path;
            return Found(db,
                "Select DrawingID from DrawingList where DrawingName = " + Quote(path.substr(last + 1))
                    + " And DrawingPath = " + Quote(path.substr(0, last)));
        }
        return "unknown drawing link " + head;
    }

    static std::string Topic(
        const CAdoConnection& db, const GalleryPage& page, const std::string& w, std::string& kind)
    {
        std::size_t htm = Upper(w).find(".HTM");
        if (htm != std::string::npos && htm > 0) {
            kind = "page#anchor";
            std::string title = w.substr(0, htm), anchor = w.substr(htm + 4);
            std::string text = PageText(page, title);
            if (text.empty())
                return "no page " + title;
            if (anchor.size() > 1 && text.find("name=\"" + anchor.substr(1) + "\"") == std::string::npos)
                return "no anchor " + anchor + " in " + title;
            return "";
        }
        std::size_t backslash = w.find('\\');
        if (backslash != std::string::npos && backslash > 0) {
            kind = "package\\page";
            return Found(db,
                "Select DirID From DrawingDir where DirContent = "
                    + Quote(w.substr(0, backslash) + "(" + w.substr(backslash + 1) + ")"));
        }
        kind = "name";
        return Found(db, "Select DirID from DrawingDir where DirName = " + Quote(w));
    }

    // A link to another page of the same package, or a file beside the page.
    static std::string Relative(const GalleryPage& page, std::string href)
    {
        href = href.substr(0, href.find('#'));
        if (href.empty() || href.rfind("http:", 0) == 0 || href.rfind("https:", 0) == 0
            || href.rfind("mailto:", 0) == 0)
            return "";
        if (!page.Package.empty())
            return PackageHas(page.Package, href) ? "" : "no member " + href;
        return platform::FileExists(page.Folder + "\\" + href) ? "" : "no file " + href;
    }

    const DemoFolder& m_demo;
    std::string m_gallery;
};

class DemoPagesTest : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override
    {
        demo = DemoFolder::Get();
        if (!demo)
            GTEST_SKIP() << "no demo folder (orvdemo failed, reported once)";
    }
    const DemoFolder* demo = nullptr;
};

TEST_P(DemoPagesTest, EveryLinkAndPictureOfEveryPageLeadsSomewhere)
{
    auto pages = GalleryPages(demo->GalleryRoot(GetParam()));
    ASSERT_GE(pages.size(), 10u);
    LinkChecker checker(*demo, GetParam());
    std::set<std::string> kinds;
    for (const auto& page : pages) {
        SCOPED_TRACE(page.Where);
        EXPECT_NE(page.Text.find("charset=gb2312"), std::string::npos);
        EXPECT_EQ(page.Text.find("{{"), std::string::npos) << "a placeholder was left";
        for (const auto& href : Attributes(page.Text, "href")) {
            std::string kind;
            EXPECT_EQ(checker.Check(page, href, kind), "") << href;
            kinds.insert(kind);
        }
        for (const auto& src : Attributes(page.Text, "src")) {
            std::string member = src;
            std::replace(member.begin(), member.end(), '/', '\\');
            if (!page.Package.empty()) {
                // Pictures of a package page live in its companion package.
                std::string companion = page.Package.substr(0, page.Package.size() - 4) + "_files.flz";
                EXPECT_TRUE(PackageHas(companion, member)) << src;
            } else {
                EXPECT_TRUE(platform::FileExists(page.Folder + "\\" + member)) << src;
            }
        }
    }
    if (std::string(GetParam()) == "Mech") {
        for (const char* kind : { "ID=", "PA=", "EX=", "GL=", "GL=topic",
                 "IM=", "DW=BYID=", "DW=PATH=", "ER=", "page#anchor", "package\\page", "name", "relative" })
            EXPECT_TRUE(kinds.count(kind)) << "no link of the form " << kind;
    }
}

// The keyword file and the full-text files, read by the search's own readers: every record
// names a directory that exists, every directory with a page has its record, and a record
// holds its page's text.
TEST_P(DemoPagesTest, KeywordAndFullTextFilesDescribeTheDirectories)
{
    const std::string gallery = GetParam();
    const CAdoConnection& db = demo->Connection(gallery);
    std::string path = demo->GalleryPath(gallery);
    auto keywords = ReadKeywordFile(KeywordFilePathFor(path));
    EXPECT_GE(keywords.size(), 10u);

    std::set<std::string> dirs, withPage;
    std::map<std::string, std::string> names;
    for (const Row& dir : Rows(db, "Select DirID,DirName from DrawingDir")) {
        dirs.insert(dir.at("DirID"));
        names[dir.at("DirID")] = dir.at("DirName");
        if (!IsPictureKey(ContentKey(db, demo->GalleryRoot(gallery), std::stol(dir.at("DirID")), 0)))
            withPage.insert(dir.at("DirID"));
    }
    std::map<std::string, std::string> recordText; // DirID -> UTF-8 text
    FullTextPaths files = FullTextPathsFor(path);
    if (gallery == "Mech") {
        ASSERT_TRUE(platform::FileExists(files.Compressed));
        CompressedRecordList list = ReadCompressedRecordList(files.Index);
        ASSERT_EQ(list.Names.size(), list.Ends.size());
        TempFolder temp;
        ASSERT_EQ(DecompressFile(files.Compressed, temp.ProgramAt("content")), 0);
        std::string content = ReadFile(temp.NativeAt("content"));
        std::uint32_t start = 0;
        for (std::size_t i = 0; i < list.Names.size(); ++i) {
            ASSERT_LE(list.Ends[i], content.size());
            ASSERT_GE(list.Ends[i], start);
            std::string marker = FirstMarkerGroup(list.Names[i]);
            ASSERT_TRUE(marker.size() > 2 && marker.front() == '[' && marker.back() == ']') << list.Names[i];
            recordText[marker.substr(1, marker.size() - 2)]
                += platform::Gb18030ToUtf8(content.substr(start, list.Ends[i] - start));
            start = list.Ends[i];
        }
        EXPECT_EQ(start, content.size());
    } else {
        ASSERT_TRUE(platform::FileExists(files.Plain));
        PlainRecordList list = ReadPlainRecordList(files.Index);
        auto content = platform::ReadFileBytes(files.Plain);
        ASSERT_TRUE(content);
        for (std::size_t i = 0; i < list.Markers.size(); ++i) {
            ASSERT_LE(list.Starts[i], list.Ends[i]);
            ASSERT_LT(list.Ends[i], content->size());
            const std::string& marker = list.Markers[i];
            for (std::size_t at = marker.find('['); at != std::string::npos; at = marker.find('[', at + 1))
                recordText[marker.substr(at + 1, marker.find(']', at) - at - 1)] += platform::Gb18030ToUtf8(
                    content->substr(list.Starts[i], list.Ends[i] - list.Starts[i] + 1));
        }
    }
    for (const auto& [dir, text] : recordText) {
        EXPECT_TRUE(dirs.count(dir)) << "record for a directory that does not exist: " << dir;
        EXPECT_EQ(text.find('<'), std::string::npos) << "tags left in the record of " << names[dir];
    }
    // Every directory that shows a page (not a picture) has its record.
    for (const auto& dir : withPage) {
        EXPECT_TRUE(recordText.count(dir)) << "no record for " << names[dir];
    }
    EXPECT_EQ(recordText.size(), withPage.size());
    // The record of a directory holds the words of its page, found as the search finds them.
    const char* known = gallery == "Mech" ? "1型六角螺母 GB/T 6170" : "电阻器";
    const char* phrase = gallery == "Mech" ? "螺母高度 m 约为 0.8d" : "用于限流、分压和取样";
    for (const auto& [dir, name] : names)
        if (name == known) {
            EXPECT_NE(recordText[dir].find(phrase), std::string::npos) << recordText[dir];
        }
}

INSTANTIATE_TEST_SUITE_P(Galleries, DemoPagesTest, ::testing::Values("Mech", "Elec"));

} // namespace
} // namespace orv::test
