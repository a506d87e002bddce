#include "navigation/FullTextFiles.h"
#include "navigation/KeywordFile.h"
#include "packages/Compression.h"
#include "platform/Encoding.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

// The bytes of each record as the search takes them from the content.
std::vector<std::string> CompressedRecords(const test::TempFolder& folder, const CompressedRecordList& list)
{
    std::string content;
    EXPECT_EQ(InflateBytes(test::ReadFile(folder.NativeAt("G/G.cnc")), content, 1 << 20), 0);
    std::vector<std::string> records;
    std::uint32_t start = 0;
    for (std::uint32_t end : list.Ends) {
        EXPECT_LE(start, end);
        EXPECT_LE(end, content.size());
        records.push_back(content.substr(start, end - start));
        start = end;
    }
    EXPECT_EQ(start, content.size()) << "the last record ends where the content does";
    return records;
}

const std::vector<FullTextRecord> kRecords = {
    {{12}, "六角头螺栓 M12\r\n材料 Q235"},
    {{5, 9}, "平垫圈"},
    {{7}, ""}, // no text: no record
    {{}, "orphan"}, // no directory: no record
    {{40}, std::string("nul\0cut", 7)},
};

TEST(FullTextFilesTest, CompressedFormReadsBackRecordByRecordWithOneMarkerEach)
{
    test::TempFolder folder;
    test::WriteFile(folder.NativeAt("G/other"), "");
    std::string error;
    ASSERT_TRUE(WriteFullTextFiles(folder.ProgramAt("G"), "G", kRecords, FullTextFormat::Compressed, error)) << error;
    FullTextPaths paths = FullTextPathsFor(folder.ProgramAt("G.GAL"));
    EXPECT_EQ(paths.Index, folder.ProgramAt("G\\G.cnx"));
    CompressedRecordList list = ReadCompressedRecordList(paths.Index);
    ASSERT_EQ(list.Names.size(), 4u); // the two-directory record is written once per directory
    std::vector<std::string> markers;
    for (const std::string& name : list.Names)
        markers.push_back(FirstMarkerGroup(name));
    EXPECT_EQ(markers, (std::vector<std::string> {"[12]", "[5]", "[9]", "[40]"}));
    std::vector<std::string> records = CompressedRecords(folder, list);
    EXPECT_EQ(platform::Gb18030ToUtf8(records[0]), "六角头螺栓 M12\r\n材料 Q235\r\n");
    EXPECT_EQ(records[1], records[2]);
    EXPECT_EQ(records[3], "nulcut\r\n");
}

TEST(FullTextFilesTest, PlainFormCoversEachRecordWithInclusiveRanges)
{
    test::TempFolder folder;
    test::WriteFile(folder.NativeAt("G/other"), "");
    std::string error;
    ASSERT_TRUE(WriteFullTextFiles(folder.ProgramAt("G"), "G", kRecords, FullTextFormat::Plain, error)) << error;
    PlainRecordList list = ReadPlainRecordList(folder.ProgramAt("G\\G.cnx"));
    ASSERT_EQ(list.Markers, (std::vector<std::string> {"[12]", "[5][9]", "[40]"}));
    std::string content = test::ReadFile(folder.NativeAt("G/G.cnt"));
    EXPECT_EQ(content.find('\0'), std::string::npos);
    std::uint32_t next = 0;
    for (std::size_t i = 0; i < list.Markers.size(); ++i) {
        EXPECT_EQ(list.Starts[i], next);
        ASSERT_LT(list.Ends[i], content.size());
        next = list.Ends[i] + 1;
    }
    EXPECT_EQ(next, content.size());
    EXPECT_EQ(platform::Gb18030ToUtf8(content.substr(list.Starts[1], list.Ends[1] - list.Starts[1] + 1)), "平垫圈\r\n");
}

TEST(FullTextFilesTest, ReadersFollowTheIndexLineRules)
{
    test::TempFolder folder;
    // Compressed form: every line counts, an end that is no number is 0, the first marker
    // group stops at "][".
    test::WriteFile(folder.NativeAt("c.cnx"), "a,[5][9]\r\n17\r\n\r\nx1\r\nb,[3]\n2.9\n");
    CompressedRecordList compressed = ReadCompressedRecordList(folder.ProgramAt("c.cnx"));
    EXPECT_EQ(compressed.Names, (std::vector<std::string> {"a,[5][9]", "", "b,[3]"}));
    EXPECT_EQ(compressed.Ends, (std::vector<std::uint32_t> {17, 0, 2}));
    EXPECT_EQ(FirstMarkerGroup(compressed.Names[0]), "[5]");
    EXPECT_EQ(FirstMarkerGroup(",[1]"), "");
    EXPECT_EQ(FirstMarkerGroup("noComma"), "");
    // Plain form: empty lines skipped, a name without "," at 1 or later drops its pair, a
    // range without "," is 0,0, and atoi reads signs and stops at other characters.
    test::WriteFile(folder.NativeAt("p.cnx"), "a,[1]\r\n\r\n0,9\r\n,[2]\r\n10,20\r\nb,[3]\r\n5\r\nc,[4]\r\n -1 , 7x\r\n");
    PlainRecordList plain = ReadPlainRecordList(folder.ProgramAt("p.cnx"));
    EXPECT_EQ(plain.Markers, (std::vector<std::string> {"[1]", "[3]", "[4]"}));
    EXPECT_EQ(plain.Starts, (std::vector<std::uint32_t> {0, 0, 0xFFFFFFFFu}));
    EXPECT_EQ(plain.Ends, (std::vector<std::uint32_t> {9, 0, 7}));
    EXPECT_TRUE(ReadPlainRecordList(folder.ProgramAt("missing.cnx")).Markers.empty());
}

TEST(KeywordFileTest, RoundTripsAndRefusesWhatCannotComeBackWhole)
{
    test::TempFolder folder;
    const std::string path = KeywordFilePathFor(folder.ProgramAt("Mech.GAL"));
    EXPECT_EQ(path, folder.ProgramAt("Mech.idx"));
    // The longest writable keyword fills a read piece together with its CR LF.
    const std::string longest(kMaxKeywordBytes, 'k');
    const std::vector<std::string> keywords = {"螺栓", "M12", "六角头 螺栓", longest};
    ASSERT_TRUE(WriteKeywordFile(path, keywords));
    EXPECT_EQ(test::ReadFile(folder.NativeAt("Mech.idx")).substr(0, 6), platform::Utf8ToGb18030("螺栓") + "\r\n");
    EXPECT_EQ(ReadKeywordFile(path), keywords);

    for (const std::string& bad : {std::string(), std::string("a\nb"), std::string(kMaxKeywordBytes + 1, 'k'),
             std::string("a\0b", 3)})
        EXPECT_FALSE(IsWritableKeyword(bad)) << bad.size();
    EXPECT_FALSE(WriteKeywordFile(path, {"ok", ""}));
    EXPECT_EQ(ReadKeywordFile(path), keywords) << "a refused write leaves the file";
}

} // namespace
} // namespace orv
