#include "CommandLine.h"

#include <gtest/gtest.h>

using namespace mx::platform;
using Args = std::vector<std::string>;

TEST(CommandLineTest, SplitsWithWindowsRuntimeRules) {
  const std::pair<const char*, Args> cases[] = {
      {"", {}},
      {"   ", {}},
      {"-f MxTemp.MAK  -B", {"-f", "MxTemp.MAK", "-B"}},
      {"\"C:\\My Dir\\a.rc\" -v", {"C:\\My Dir\\a.rc", "-v"}},
      {"-I\"C:\\My Lib\";x", {"-IC:\\My Lib;x"}},
      {"a\\\\\\\"b", {"a\\\"b"}},     // 3 backslashes + quote: one backslash, literal quote
      {"\"a\\\\\" b", {"a\\", "b"}},  // 2 backslashes + quote: one backslash, quote closes
      {"C:\\dir\\ x", {"C:\\dir\\", "x"}},
      {"\"\"", {""}},
      {"\"a\"\"b\"", {"a\"b"}},
      {"\ta\tb", {"a", "b"}},
      {"\"C:\\My Dir\\\" -v", {"C:\\My Dir\" -v"}},
  };
  for (const auto& [text, args] : cases)
    EXPECT_EQ(SplitCommandLine(text), args) << text;
}

TEST(CommandLineTest, QuotedArgumentsSplitBackUnchanged) {
  for (const char* a : {"plain", "", "with blank", "C:\\My Dir\\", "say \"hi\"", "a\\\\\"b",
                        "tab\there", "\\\\server\\share"}) {
    const std::string line = "x " + QuoteCommandLineArgument(a) + " y";
    EXPECT_EQ(SplitCommandLine(line), (Args{"x", a, "y"})) << a;
  }
  EXPECT_EQ(QuoteCommandLineArgument("plain"), "plain");
  EXPECT_EQ(QuoteCommandLineArgument("C:\\My Dir\\"), "\"C:\\My Dir\\\\\"");
}
