#include "packages/FileLib.h"
#include "packages/ZFileLib.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

TEST(LibraryBytesTest, BuiltLibraryReadsBackAndRefusesMembersThatCouldNotBeFoundAgain)
{
    test::TempFolder folder;
    std::string data, index, error;
    ASSERT_TRUE(CZFileLib::BuildCompressedLibraryBytes(
        {{"A1.files\\图.gif", std::string(5000, 'x')}, {"b.txt", "b"}}, data, index, error))
        << error;
    test::WriteFile(folder.NativeAt("p_files.flz"), data);
    test::WriteFile(folder.NativeAt("p_files.idx"), index);
    CZFileLib library(folder.ProgramAt("p_files.flz"));
    ASSERT_TRUE(library.Open(folder.ProgramAt("p_files.flz")));
    std::string target = folder.ProgramAt("out.gif");
    ASSERT_TRUE(library.ExtractFile("a1.FILES\\图.GIF", target));
    EXPECT_EQ(test::ReadFile(folder.NativeAt("out.gif")), std::string(5000, 'x'));

    const std::vector<std::pair<std::string, std::string>> refused[] = {
        {{"a", ""}},
        {{"a", "1"}, {"A", "2"}},
        {{"two\r\nlines", "1"}},
        {{";comment", "1"}},
        {{std::string(511, 'n'), "1"}},
    };
    for (const auto& members : refused) {
        error.clear();
        EXPECT_FALSE(CFileLib::BuildLibraryBytes(members, data, index, error)) << members.back().first;
        EXPECT_FALSE(error.empty());
    }
}

} // namespace
} // namespace orv
