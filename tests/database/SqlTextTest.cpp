#include "database/SqlText.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

TEST(SqlText, DoublesSingleQuotes)
{
    EXPECT_EQ(SqlQuote(""), "''");
    EXPECT_EQ(SqlQuote("螺栓"), "'螺栓'");
    EXPECT_EQ(SqlQuote("a'b''c"), "'a''b''''c'");
    EXPECT_EQ(SqlEscape("'"), "''");
}

}  // namespace
}  // namespace orv
