#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace mx::platform {

/// Splits a Windows command-line parameter string into arguments the way the Microsoft C runtime
/// does: blanks and tabs separate arguments outside double quotes; 2n backslashes before a quote
/// give n backslashes and the quote toggles quoting; 2n+1 backslashes before a quote give n
/// backslashes and a literal quote; other backslashes are literal; inside quotes a doubled quote
/// gives one literal quote. `"C:\My Dir\" -v` gives `C:\My Dir" -v` as the CRT would.
std::vector<std::string> SplitCommandLine(std::string_view parameters);

/// Quotes one argument so that SplitCommandLine (and the Windows runtime) gives it back
/// unchanged: returned as it is when it has no blank, tab or quote and is not empty; otherwise
/// enclosed in double quotes with quotes and the backslashes before them escaped.
std::string QuoteCommandLineArgument(std::string_view argument);

}  // namespace mx::platform
