#include "builder/GalleryManifest.h"

#include "BuilderTestSupport.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

std::string Mutated(const std::string& from, const std::string& to)
{
    std::string text = test::SmallManifest();
    std::size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos)
        text.replace(at, from.size(), to);
    return text;
}

TEST(GalleryManifestTest, EachMistakeSaysWhereAndWhy)
{
    struct Case {
        std::string From, To, Error;
    };
    const Case cases[] = {
        { R"("parent": 1,)", R"("parent": 99,)", "directories[1].parent: no directory 99" },
        { R"("spec": 2, "parent": 3,)", R"("spec": 7, "parent": 3,)",
            "directories[3].spec: no speciality 7" },
        { R"({"id": 4,)", R"({"id": 3,)", "directories[3].id: directory 3 is there twice" },
        { R"({"id": 3, "spec": 2, "name")", R"({"id": 3, "spec": 2, "parent": 4, "name")",
            "directories[2].parent: directory 3 is its own ancestor" },
        { R"("bound": 10)", R"("bound": 77)", "drawings[1].bound: no drawing 77" },
        { R"({"dir": 3, "drawing": 10})", R"({"dir": 3, "drawing": 5})",
            "memberships[0].drawing: no drawing 5" },
        { R"("caption": "六角头螺栓 M12")", R"("captoin": "x")", "drawings[0].captoin: unknown key" },
        { R"({"id": 10,)", R"({"id": "10",)", "drawings[0].id: must be an integer" },
        { R"("dir": 12.7)", R"("dir": [1])", "index[2].dir: must be a number or a text" },
        { R"("Drive\\Shafts\\p2.htm")", R"("..\\p2.htm")",
            "files[6].path: ..\\p2.htm is not a path inside the gallery folder" },
        { R"("Drive\\Shafts\\p3.htm")", R"("drive/shafts/P1.HTM")",
            "files[7].path: drive\\shafts\\P1.HTM is written twice (also by files[5].path)" },
        { R"([0, 0, 10, 0, 10, 3], "color": 3)", R"([0, 0, 10, 0, 10, 3], "color": 300)",
            "files[4].drawing.items[0].color: must be an AutoCAD colour index 0-255" },
        { R"({"fill": [0, 0, 10, 0, 10, 3])", R"({"fill": [0, 0, 10, 0])",
            "files[4].drawing.items[0].fill: must hold three points or more, x y each" },
        { R"("keywords": ["螺栓", "轴"])", R"("keywords": ["螺栓", ""])",
            "keywords[1]: empty, more than one line, or longer than 10236 bytes" },
        { R"("text": "<p>第三页</p>")", R"("members": [{"name": "x", "text": "y"}])",
            "files[7]: members make only .slb, .htz, .flz and .dwz files" },
        { R"({"name": "M12", "drawing")", R"({"name": "M12", "text": "x", "drawing")",
            "files[3].members[0]: needs exactly one of source, text, drawing" },
        { R"("name": "Mech",)", R"("name": "../Mech",)", "name: \"../Mech\" is not a plain file name" },
        { R"("fullText")", R"("fullText")", "" }, // absent: the default is fine
        { R"("version": "1.0",)", R"("version": 1.0,)", "gallery.version: must be a text" },
    };
    for (const Case& c : cases) {
        std::string text = c.From == "\"fullText\"" ? test::SmallManifest() : Mutated(c.From, c.To);
        GalleryManifest manifest;
        std::string error;
        EXPECT_EQ(ParseGalleryManifest(text, "\\src", manifest, error), c.Error.empty()) << c.To;
        EXPECT_EQ(error, c.Error) << c.To;
    }
}

TEST(GalleryManifestTest, SyntaxErrorsGiveLineAndColumn)
{
    GalleryManifest manifest;
    std::string error;
    EXPECT_FALSE(
        ParseGalleryManifest("{\n  \"name\": \"Mech\"\n  \"gallery\": {}\n}", "\\src", manifest, error));
    EXPECT_EQ(error.rfind("3:11: not JSON (syntax error", 0), 0u) << error;
    EXPECT_FALSE(ParseGalleryManifest("[]", "\\src", manifest, error));
    EXPECT_EQ(error, ": must be an object");
}

TEST(GalleryManifestTest, DefaultsAndAbsentTexts)
{
    std::string text = test::SmallManifest();
    GalleryManifest manifest;
    std::string error;
    ASSERT_TRUE(ParseGalleryManifest(text, "\\src", manifest, error)) << error;
    EXPECT_EQ(manifest.Specialities[0].Order, 1);
    EXPECT_EQ(manifest.Specialities[1].Order, 0);
    EXPECT_EQ(manifest.Directories[1].Visible, 2);
    EXPECT_FALSE(manifest.Directories[0].SourceContent.has_value());
    EXPECT_EQ(manifest.Directories[3].Content, std::optional<std::string>(""));
    EXPECT_EQ(manifest.Index[2].Dir, "12.7");
    EXPECT_EQ(manifest.Files[0].Content.Source, "\\src\\pages\\bolts.htm");
    EXPECT_TRUE(manifest.Files[0].Content.Utf8Source);
    EXPECT_EQ(manifest.Files[1].Path, "Fasten\\bolts\\HEX.htz");
    EXPECT_FALSE(manifest.Drawings[0].PathGiven);
    EXPECT_TRUE(manifest.Drawings[2].PathGiven);
    EXPECT_FALSE(manifest.Drawings[2].Path.has_value());
    EXPECT_EQ(manifest.Drawings[0].Data[0].Type, 1);
    EXPECT_EQ(manifest.Drawings[0].Data[1].Type, 0);
}

} // namespace
} // namespace orv
