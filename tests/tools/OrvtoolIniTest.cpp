#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

using test::RunTool;

TEST(OrvtoolIni, SetThenGet)
{
    test::TempFolder dir;
    std::string file = dir.NativeAt("ORVBook.ini");
    auto set = RunTool({"ini", "set", file, "Set", "LibPath", "/opt/图库"});
    ASSERT_EQ(set.status, 0) << set.err;
    auto get = RunTool({"ini", "get", file, "SET", "libpath"});
    EXPECT_EQ(get.status, 0);
    EXPECT_EQ(get.out, "/opt/图库\n");

    auto missing = RunTool({"ini", "get", file, "Set", "Nope"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.out, "");
    EXPECT_NE(missing.err.find("Nope"), std::string::npos);
}

TEST(OrvtoolIni, ReportsUsageErrorsAndVersion)
{
    EXPECT_NE(RunTool({"ini", "get", "only-a-file"}).status, 0);
    EXPECT_NE(RunTool({"no-such-command"}).status, 0);
    auto version = RunTool({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out.rfind("orvtool ", 0), 0u);
    auto help = RunTool({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("ini"), std::string::npos);
}

}  // namespace
}  // namespace orv
