#include "moxtal/api/Quoting.h"

#include <gtest/gtest.h>

namespace mx {
namespace {

TEST(QuotingTest, QuotesOnlyWhatNeedsIt) {
  EXPECT_EQ(DoubleQuoteString("C:\\My Lib", true), "\"C:\\My Lib\"");
  EXPECT_EQ(DoubleQuoteString("C:\\Lib", true), "C:\\Lib");
  EXPECT_EQ(DoubleQuoteString("C:\\Lib", false), "\"C:\\Lib\"");
  EXPECT_EQ(DoubleQuoteString("\"C:\\My Lib\"", false), "\"C:\\My Lib\"");
  EXPECT_EQ(QuoteString("", false), "\"\"");
  EXPECT_EQ(QuoteString("\"", true), "\"");  // a lone quote is not an enclosed text
  EXPECT_EQ(StripQuotes("\"..\\bin\\Demo.exe\""), "..\\bin\\Demo.exe");
  EXPECT_EQ(StripQuotes("\"\"x\"\""), "\"x\"");
  EXPECT_EQ(StripQuotes("\"open"), "\"open");
}

}  // namespace
}  // namespace mx
