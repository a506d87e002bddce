#include "content/GeneratedPages.h"

#include "content/LocalContent.h"

#include "platform/Paths.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace orv {
namespace {

TEST(GeneratedPagesTest, RedirectPageGoesToTheEncodedAddress)
{
    test::TempFolder folder;
    test::WriteFile(folder.NativeAt("pages/it's #1 <x>.htm"), "page");
    const std::string page = folder.ProgramAt("pages\\it's #1 <x>.htm");
    const std::string redirect = WriteRedirect(folder.Program(), page, "a'b<c\"d#e%f");
    ASSERT_EQ(redirect, folder.ProgramAt("Redirect.htm"));
    const std::string expected
        = "<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Transitional//EN\" "
          "\"http://www.w3.org/TR/xhtml1/DTD/xhtml1-transitional.dtd\">\n"
          "<html xmlns=\"http://www.w3.org/1999/xhtml\">\n"
          "<head>\n"
          "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=gb2312\" />\n"
          "</head>\n"
          "<script language=\"JavaScript\">\n"
          "function redirect(URLStr) { location = URLStr; }\n"
          "</script>\n"
          "<body onload=\"redirect('"
        + FileToLocalUrl(folder.ProgramAt("pages"))
        + "/it%27s%20%231%20%3Cx%3E.htm#a%27b%3Cc%22d%23e%25f')\">\n"
          "</body>\n"
          "</html>\n";
    EXPECT_EQ(test::ReadFile(folder.NativeAt("Redirect.htm")), expected);
}

TEST(GeneratedPagesTest, TempFilesStayInTheTemporaryFolder)
{
    test::TempFolder folder;
    std::filesystem::create_directories(folder.NativeAt("temp"));
    test::WriteFile(folder.NativeAt("outside.htm"), "keep");
    std::filesystem::create_symlink(
        folder.NativeAt("outside.htm"), folder.NativeAt("temp/ORVBookDefault.htm"));
    const std::string temp = folder.ProgramAt("temp");

    EXPECT_FALSE(WriteTempFile(temp, kDefaultPageName, "new"));
    EXPECT_EQ(test::ReadFile(folder.NativeAt("outside.htm")), "keep");
    for (const char* name : { "..\\outside.htm", "../outside.htm", "..", "", "a\\b.htm" })
        EXPECT_FALSE(WriteTempFile(temp, name, "new")) << name;
    EXPECT_EQ(test::ReadFile(folder.NativeAt("outside.htm")), "keep");
    EXPECT_TRUE(WriteTempFile(temp, kRedirectPageName, "new"));
    EXPECT_EQ(test::ReadFile(folder.NativeAt("temp/Redirect.htm")), "new");
}

} // namespace
} // namespace orv
