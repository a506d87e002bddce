#include "database/DbValue.h"

#include <gtest/gtest.h>

#include <limits>

namespace orv {
namespace {

TEST(DbValueConversion, TextToNumbers)
{
    EXPECT_EQ(ConvertToInt32(DbValue::MakeText("12")), 12);
    EXPECT_EQ(ConvertToInt32(DbValue::MakeText(" -7 ")), -7);
    EXPECT_EQ(ConvertToInt32(DbValue::MakeText("+3.5")), 4);
    EXPECT_EQ(ConvertToInt32(DbValue::MakeText("1e3")), 1000);
    EXPECT_EQ(ConvertToInt32(DbValue::MakeText("")), std::nullopt);
    EXPECT_EQ(ConvertToInt32(DbValue::MakeText("12abc")), std::nullopt);
    EXPECT_EQ(ConvertToInt32(DbValue::MakeText("inf")), std::nullopt);
    EXPECT_EQ(ConvertToInt32(DbValue::MakeText("nan")), std::nullopt);
    EXPECT_EQ(ConvertToInt32(DbValue::MakeText("0x10")), std::nullopt);
    EXPECT_EQ(ConvertToInt32(DbValue::MakeText(".")), std::nullopt);
    EXPECT_EQ(ConvertToInt32(DbValue::MakeText("1e")), std::nullopt);
    EXPECT_EQ(ConvertToDouble(DbValue::MakeText(".5")), 0.5);
    EXPECT_EQ(ConvertToDouble(DbValue::MakeText("1e999")), std::nullopt);
    EXPECT_EQ(ConvertToInt16(DbValue::MakeText("40000")), std::nullopt);
}

TEST(DbValueConversion, RealsRoundHalfToEven)
{
    EXPECT_EQ(ConvertToInt32(DbValue::MakeReal(0.5)), 0);
    EXPECT_EQ(ConvertToInt32(DbValue::MakeReal(1.5)), 2);
    EXPECT_EQ(ConvertToInt32(DbValue::MakeReal(2.5)), 2);
    EXPECT_EQ(ConvertToInt32(DbValue::MakeReal(-2.5)), -2);
    EXPECT_EQ(ConvertToInt32(DbValue::MakeReal(-3.5)), -4);
    EXPECT_EQ(ConvertToInt32(DbValue::MakeReal(2.4999)), 2);
    EXPECT_EQ(ConvertToInt32(DbValue::MakeReal(2.5001)), 3);
    EXPECT_EQ(ConvertToInt16(DbValue::MakeReal(32767.4)), 32767);
    EXPECT_EQ(ConvertToInt16(DbValue::MakeReal(32767.5)), std::nullopt);  // rounds to 32768
    EXPECT_EQ(ConvertToInt16(DbValue::MakeReal(-32768.5)), -32768);
    EXPECT_EQ(ConvertToInt32(DbValue::MakeReal(std::numeric_limits<double>::quiet_NaN())), std::nullopt);
    EXPECT_EQ(ConvertToInt32(DbValue::MakeReal(3e9)), std::nullopt);
}

TEST(DbValueConversion, IntegerRanges)
{
    EXPECT_EQ(ConvertToInt16(DbValue::MakeInteger(32767)), 32767);
    EXPECT_EQ(ConvertToInt16(DbValue::MakeInteger(32768)), std::nullopt);
    EXPECT_EQ(ConvertToInt16(DbValue::MakeInteger(-32768)), -32768);
    EXPECT_EQ(ConvertToInt32(DbValue::MakeInteger(2147483648LL)), std::nullopt);
    EXPECT_EQ(ConvertToInt32(DbValue::MakeInteger(-2147483648LL)), -2147483647 - 1);
    EXPECT_EQ(ConvertToDouble(DbValue::MakeInteger(7)), 7.0);
}

TEST(DbValueConversion, NumbersAsShortestText)
{
    EXPECT_EQ(ConvertToText(DbValue::MakeInteger(-42)), "-42");
    EXPECT_EQ(ConvertToText(DbValue::MakeReal(0.1)), "0.1");
    EXPECT_EQ(ConvertToText(DbValue::MakeReal(1.0 / 3.0)), "0.3333333333333333");
    EXPECT_EQ(ConvertToText(DbValue::MakeReal(12.0)), "12");
    EXPECT_EQ(ConvertToText(DbValue::MakeReal(-0.25)), "-0.25");
    EXPECT_EQ(ConvertToText(DbValue::MakeText("abc")), "abc");
}

TEST(DbValueConversion, NullAndBlobsDoNotConvert)
{
    for (const DbValue& value : {DbValue::MakeNull(), DbValue::MakeBlob("12")}) {
        EXPECT_EQ(ConvertToText(value), std::nullopt);
        EXPECT_EQ(ConvertToDouble(value), std::nullopt);
        EXPECT_EQ(ConvertToInt32(value), std::nullopt);
        EXPECT_EQ(ConvertToInt16(value), std::nullopt);
    }
}

}  // namespace
}  // namespace orv
