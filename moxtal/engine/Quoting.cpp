#include "moxtal/api/Quoting.h"

namespace mx {
namespace {
bool IsQuoted(std::string_view t) {
  return t.size() >= 2 && t.front() == '"' && t.back() == '"';
}
}  // namespace

std::string DoubleQuoteString(std::string_view text, bool onlyIfBlank) {
  if (IsQuoted(text)) return std::string(text);
  if (onlyIfBlank && text.find(' ') == std::string_view::npos) return std::string(text);
  return "\"" + std::string(text) + "\"";
}

std::string QuoteString(std::string_view text, bool onlyIfBlank) {
  return DoubleQuoteString(text, onlyIfBlank);
}

std::string StripQuotes(std::string_view text) {
  return IsQuoted(text) ? std::string(text.substr(1, text.size() - 2)) : std::string(text);
}

}  // namespace mx
