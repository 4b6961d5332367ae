#include "Conversions.h"

#include <gtest/gtest.h>

#include "Exception.h"

using namespace mx::platform;

TEST(ConversionsTest, StrToIntAcceptsDecimalAndHexForms) {
  const std::pair<const char*, std::int32_t> good[] = {
      {"123", 123},
      {"+7", 7},
      {"-0", 0},
      {"007", 7},
      {" 12", 12},
      {"$1A", 26},
      {"0x1A", 26},
      {"x1a", 26},
      {"-$10", -16},
      {"$FFFFFFFF", -1},
      {"$80000000", INT32_MIN},
      {"0x2000", 8192},
      {"2147483647", INT32_MAX},
      {"-2147483648", INT32_MIN},
      {"$000000001", 1},
  };
  for (const auto& [text, value] : good)
    EXPECT_EQ(StrToInt(text), value) << text;

  for (const char* bad : {"12 ", "", " ", "2147483648", "-2147483649", "1.0", "1e3", "1,000", "abc",
                          "$", "0x", "-", "$123456789", "99999999999999999999999"}) {
    EXPECT_FALSE(TryStrToInt(bad)) << bad;
    EXPECT_EQ(StrToIntDef(bad, -1), -1) << bad;
  }
  try {
    StrToInt("12 ");
    FAIL();
  } catch (const EConvertError& e) {
    EXPECT_STREQ(e.what(), "'12 ' is not a valid integer value");
  }
  EXPECT_EQ(StrToInt64("$FFFFFFFFFFFFFFFF"), -1);
  EXPECT_EQ(StrToInt64("9223372036854775807"), INT64_MAX);
  EXPECT_FALSE(TryStrToInt64("9223372036854775808"));
}

TEST(ConversionsTest, StrToFloatUsesTheGivenSeparator) {
  EXPECT_DOUBLE_EQ(StrToFloat("1.5"), 1.5);
  EXPECT_DOUBLE_EQ(StrToFloat(" -2.5e3 "), -2500);
  EXPECT_DOUBLE_EQ(StrToFloat(".5"), 0.5);
  EXPECT_DOUBLE_EQ(StrToFloat("5."), 5);
  EXPECT_DOUBLE_EQ(StrToFloat("1,5", ','), 1.5);
  for (const char* bad : {"1,5", "1,000", "", "abc", "1E", "inf", "nan", "0x10", "."}) {
    EXPECT_FALSE(TryStrToFloat(bad)) << bad;
  }
  EXPECT_FALSE(TryStrToFloat("1.5", ','));
  try {
    StrToFloat("-0,685");
    FAIL();
  } catch (const EConvertError& e) {
    EXPECT_STREQ(e.what(), "'-0,685' is not a valid floating point value");
  }
}

TEST(ConversionsTest, RoundTakesHalvesToEven) {
  const std::pair<double, std::int64_t> cases[] = {
      {0.5, 0},   {1.5, 2},   {2.5, 2},   {2.6, 3},       {-0.5, 0},
      {-1.5, -2}, {-2.5, -2}, {-1.7, -2}, {123.456, 123}, {1e15 + 0.5, 1000000000000000}};
  for (const auto& [x, r] : cases)
    EXPECT_EQ(Round(x), r) << x;
  // The minor version digit of a linker version argument: fraction times ten.
  EXPECT_EQ(Round(0.1 * 10), 1);
  EXPECT_THROW(Round(1e300), EInvalidOp);
}

TEST(ConversionsTest, StrToBoolTakesNumbersAndWords) {
  const std::pair<const char*, bool> cases[] = {
      {"0", false},  {"1", true},   {"-1", true},   {"2", true},    {"0.0", false},
      {"0.5", true}, {" 1 ", true}, {"True", true}, {"TRUE", true}, {"false", false}};
  for (const auto& [text, value] : cases)
    EXPECT_EQ(StrToBool(text), value) << text;
  for (const char* bad : {"yes", "on", "", "T"}) {
    EXPECT_FALSE(TryStrToBool(bad)) << bad;
    EXPECT_TRUE(StrToBoolDef(bad, true));
  }
  try {
    StrToBool("yes");
    FAIL();
  } catch (const EConvertError& e) {
    EXPECT_STREQ(e.what(), "'yes' is not a valid boolean value");
  }
}

TEST(ConversionsTest, IntToHexPadsAndShowsTwosComplement) {
  EXPECT_EQ(IntToHex(10, 1), "A");
  EXPECT_EQ(IntToHex(300, 1), "12C");
  EXPECT_EQ(IntToHex(1, 8), "00000001");
  EXPECT_EQ(IntToHex(255, 4), "00FF");
  EXPECT_EQ(IntToHex(0, 0), "0");
  EXPECT_EQ(IntToHex(-1, 2), "FFFFFFFF");
  EXPECT_EQ(IntToHex(std::int64_t{-1}, 16), "FFFFFFFFFFFFFFFF");
  EXPECT_EQ(IntToHex(1033, 4) + IntToHex(1252, 4), "040904E4");
}
