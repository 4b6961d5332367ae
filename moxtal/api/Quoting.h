#pragma once

#include <string>
#include <string_view>

namespace mx {

/// A text already enclosed in double quotes is returned unchanged; otherwise, when
/// `onlyIfBlank` is true and the text contains no blank, unchanged; otherwise enclosed in
/// double quotes.
std::string DoubleQuoteString(std::string_view text, bool onlyIfBlank);
/// The same rules as DoubleQuoteString.
std::string QuoteString(std::string_view text, bool onlyIfBlank);
/// Removes one pair of enclosing double quotes, if the text has them.
std::string StripQuotes(std::string_view text);

}  // namespace mx
