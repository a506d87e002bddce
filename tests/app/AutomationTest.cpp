#include "app/Automation.h"

#include "platform/Paths.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>

namespace orv {
namespace {

TEST(AutomationTest, OneBusNamePerApplicationFolder)
{
    test::TempFolder folder;
    std::filesystem::create_directories(folder.NativeAt("App/Sub"));
    std::filesystem::create_directories(folder.NativeAt("Other"));
    const std::string app = platform::ProgramPath(folder.NativeAt("App"));
    const std::string name = AutomationBusName(app);
    // Elements of letters, digits and "_", none starting with a digit, at most 255 bytes.
    EXPECT_TRUE(std::regex_match(name, std::regex(R"(([A-Za-z_][A-Za-z0-9_]*)(\.[A-Za-z_][A-Za-z0-9_]*)+)")))
        << name;
    EXPECT_LE(name.size(), 255u);
    for (const std::string& spelling : { app + "\\Sub\\..", platform::ProgramPath(folder.NativeAt("app")) })
        EXPECT_EQ(AutomationBusName(spelling), name) << spelling;
    EXPECT_NE(AutomationBusName(platform::ProgramPath(folder.NativeAt("Other"))), name);
}

TEST(AutomationTest, HoldsEndWithTheirReleasesOrTheClientLeaving)
{
    AutomationHolds holds;
    EXPECT_FALSE(holds.Any());
    EXPECT_FALSE(holds.Release(":1.5")) << "a release without a hold";
    holds.Hold(":1.5");
    holds.Hold(":1.5");
    holds.Hold(":1.7");
    EXPECT_TRUE(holds.Release(":1.5"));
    EXPECT_EQ(holds.Count(":1.5"), 1u);
    holds.ClientLeft(":1.7");
    EXPECT_EQ(holds.Count(":1.7"), 0u);
    EXPECT_TRUE(holds.Any());
    EXPECT_TRUE(holds.Release(":1.5"));
    EXPECT_FALSE(holds.Any());
    holds.Hold(":1.9");
    holds.ClientLeft(":1.9");
    EXPECT_FALSE(holds.Any());
}

} // namespace
} // namespace orv
