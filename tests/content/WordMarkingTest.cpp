#include "content/WordMarking.h"

#include "content/ContentTestSupport.h"
#include "platform/Files.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

using test::Gb;

const std::string kOpen = kHighlightOpen;
const std::string kClose = kHighlightClose;
const std::string kAnchor = kFindAnchor;

TEST(WordMarkingTest, MarksWordsInTheBodyOutsideTags)
{
    struct Case {
        const char* name;
        std::string text;
        std::string words;
        std::string marked;
    };
    const Case cases[] = {
        { "first gets the anchor, the title stays",
            Gb("<html><head><title>钢</title></head><body><p>钢材</p><p>钢</p></body></html>"), Gb("钢"),
            Gb("<html><head><title>钢</title></head><body><p>") + kAnchor + kOpen + Gb("钢") + kClose
                + Gb("材</p><p>") + kOpen + Gb("钢") + kClose + "</p></body></html>" },
        { "only inside an attribute", Gb("<body><img alt=\"钢\" src=\"x\">铁</body>"), Gb("钢"),
            Gb("<body><img alt=\"钢\" src=\"x\">铁</body>") },
        { "split by formatting", "<body>A<b>B</b>C</body>", "ABC",
            "<body>" + kAnchor + kOpen + "A" + kClose + "<b>" + kOpen + "B" + kClose + "</b>" + kOpen + "C"
                + kClose + "</body>" },
        { "split pass skips a run that breaks off", "<body>A<i>X</i> A<b>B</b>C</body>", "ABC",
            "<body>A<i>X</i> " + kAnchor + kOpen + "A" + kClose + "<b>" + kOpen + "B" + kClose + "</b>"
                + kOpen + "C" + kClose + "</body>" },
        { "past the closing body tag too", "<body>x</body>x", "x",
            "<body>" + kAnchor + kOpen + "x" + kClose + "</body>" + kOpen + "x" + kClose },
        { "no body", Gb("<html><p>钢</p></html>"), Gb("钢"), Gb("<html><p>钢</p></html>") },
        { "closing body before the opening one", "</body><body>x", "x", "</body><body>x" },
        { "case matters", "<body>Steel</body>", "steel", "<body>Steel</body>" },
        { "empty words", "<body>x</body>", "", "<body>x</body>" },
    };
    for (const Case& c : cases)
        EXPECT_EQ(MarkWords(c.text, c.words), c.marked) << c.name;
}

// "你好" is C4 E3 BA C3; the bytes E3 BA are a character of their own ("愫"), which stands
// nowhere in the text: matching must keep to character boundaries.
TEST(WordMarkingTest, MatchesOnlyWholeCharacters)
{
    const std::string text = "<body>" + Gb("你好") + "</body>";
    ASSERT_EQ(text.substr(7, 2), "\xE3\xBA");
    EXPECT_EQ(MarkWords(text, "\xE3\xBA"), text);
    // A four-byte character's tail is no match either.
    const std::string four = "<body>\x81\x30\x81\x30</body>";
    EXPECT_EQ(MarkWords(four, "\x30\x81\x30"), four);
    EXPECT_EQ(MarkWords(four, "\x81\x30\x81\x30"),
        "<body>" + kAnchor + kOpen + "\x81\x30\x81\x30" + kClose + "</body>");
}

TEST(WordMarkingTest, LeavesPagesItCannotReadUnchanged)
{
    const std::string cases[] = {
        "<body>x \x80 x</body>", // not GB18030
        "<body>x\xC4</body>", // a lead byte without its trail
        "<body>x</body><", // a "<" never closed
        "<body>x < y", // no "</body>", and an open "<"
    };
    for (const std::string& text : cases)
        EXPECT_EQ(MarkWords(text, "x"), text) << text;
}

TEST(WordMarkingTest, HighlightRewritesOnlyTheTemporaryCopy)
{
    test::TempFolder folder;
    const std::string temp = folder.ProgramAt("temp");
    test::WriteFile(folder.NativeAt("temp/ORVBookDefault.htm"), Gb("<body>钢</body>"));
    test::WriteFile(folder.NativeAt("temp/plain.htm"), Gb("<p>钢</p>"));
    test::WriteFile(folder.NativeAt("gallery/page.htm"), Gb("<body>钢</body>"));

    EXPECT_TRUE(HighlightWords(temp + "\\ORVBookDefault.htm", "钢", temp));
    EXPECT_EQ(test::ReadFile(folder.NativeAt("temp/ORVBookDefault.htm")),
        "<body>" + kAnchor + kOpen + Gb("钢") + kClose + "</body>");
    // Nothing to mark: the file is not written.
    EXPECT_FALSE(HighlightWords(temp + "\\plain.htm", "钢", temp));
    // A page outside the temporary folder, also through "..", is never rewritten.
    EXPECT_FALSE(HighlightWords(folder.ProgramAt("gallery\\page.htm"), "钢", temp));
    EXPECT_FALSE(HighlightWords(temp + "\\..\\gallery\\page.htm", "钢", temp));
    EXPECT_EQ(test::ReadFile(folder.NativeAt("gallery/page.htm")), Gb("<body>钢</body>"));
}

} // namespace
} // namespace orv
