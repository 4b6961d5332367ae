#include "StrUtils.h"

#include <gtest/gtest.h>

using namespace mx::platform;

TEST(StrUtilsTest, TrimRemovesEverythingUpToBlank) {
  EXPECT_EQ(Trim("\t a b \r\n"), "a b");
  EXPECT_EQ(TrimLeft("\t a b \r\n"), "a b \r\n");
  EXPECT_EQ(TrimRight("\t a b \r\n"), "\t a b");
  EXPECT_EQ(Trim(std::string("\0x\0", 3)), "x");
  EXPECT_EQ(Trim("   "), "");
  EXPECT_EQ(Trim("\xA0x"), "\xA0x");  // bytes above the blank stay
}

TEST(StrUtilsTest, ComparisonsFoldOnlyAsciiLetters) {
  EXPECT_TRUE(SameText("$(bcb)", "$(BCB)"));
  EXPECT_FALSE(SameText("\xC3\xA4", "\xC3\x84"));
  EXPECT_LT(CompareText("a", "_"), 0);  // 'A' sorts before '_'
  EXPECT_GT(CompareStr("a", "_"), 0);
  EXPECT_LT(CompareText("ab", "ABC"), 0);
  EXPECT_TRUE(StartsText("-gc", "-GCcomment"));
  EXPECT_FALSE(ContainsText("abc", ""));
}

TEST(StrUtilsTest, ReplaceScansLeftToRightWithoutRescanning) {
  EXPECT_EQ(StringReplace("2007-2008", "00", "x", TReplaceFlag::rfReplaceAll), "2x7-2x8");
  EXPECT_EQ(StringReplace("2007-2008", "00", "x", TReplaceFlag::rfIgnoreCase), "2x7-2008");
  EXPECT_EQ(ReplaceAll("aaa", "aa", "b"), "ba");
  EXPECT_EQ(ReplaceAllIgnoreCase("Hello hello", "HELLO", "X"), "X X");
  EXPECT_EQ(ReplaceAll("abc", "", "x"), "abc");
  EXPECT_EQ(ReplaceAllIgnoreCase("$(Bcb)\\include;$(BCB)", "$(BCB)", "#BCB#"),
            "#BCB#\\include;#BCB#");
  EXPECT_EQ(ReplaceAllIgnoreCase("aAa", "a", "aa"), "aaaaaa");
}
