#include "platform/Encoding.h"

#include <gtest/gtest.h>

namespace orv::platform {
namespace {

TEST(Encoding, RoundTripsChineseText)
{
    const std::string utf8 = "机械设计手册 A12";
    const std::string gb = "\xBB\xFA\xD0\xB5\xC9\xE8\xBC\xC6\xCA\xD6\xB2\xE1 A12";
    EXPECT_EQ(Utf8ToGb18030(utf8), gb);
    EXPECT_EQ(Gb18030ToUtf8(gb), utf8);
}

}  // namespace
}  // namespace orv::platform
