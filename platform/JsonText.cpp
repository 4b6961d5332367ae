#include "JsonText.h"

#include <cstdint>
#include <cstring>

#include "CodePage.h"

namespace mx::platform {
namespace {

// Printable ASCII other than the quote and the backslash stands in a JSON string as it is.
constexpr bool IsPlain(unsigned char c) {
  return c >= 0x20 && c < 0x80 && c != '"' && c != '\\';
}

// Where the run of plain characters that starts at `from` ends. Eight bytes are looked at
// together: a log line is mostly plain text, and this is the JSON log's hottest loop.
std::size_t PlainRunEnd(std::string_view text, std::size_t from) {
  constexpr std::uint64_t kOnes = 0x0101010101010101ull;
  constexpr std::uint64_t kHighs = 0x8080808080808080ull;
  const auto hasZero = [](std::uint64_t v) { return (v - kOnes) & ~v & kHighs; };
  std::size_t i = from;
  while (i + 8 <= text.size()) {
    std::uint64_t w;
    std::memcpy(&w, text.data() + i, 8);
    const std::uint64_t special = (w & kHighs) | ((w - 0x20 * kOnes) & ~w & kHighs) |
                                  hasZero(w ^ ('"' * kOnes)) | hasZero(w ^ ('\\' * kOnes));
    if (special) break;
    i += 8;
  }
  while (i < text.size() && IsPlain(static_cast<unsigned char>(text[i])))
    ++i;
  return i;
}

}  // namespace

void AppendJsonString(std::string& out, std::string_view text) {
  static const char kHex[] = "0123456789abcdef";
  out.reserve(out.size() + text.size() + 2);
  out += '"';
  std::size_t i = 0;
  while (i < text.size()) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (IsPlain(c)) {
      // Runs of plain characters go out in one piece.
      const std::size_t end = PlainRunEnd(text, i);
      out.append(text.data() + i, end - i);
      i = end;
    } else if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
      ++i;
    } else if (c == '\n') {
      out += "\\n";
      ++i;
    } else if (c == '\r') {
      out += "\\r";
      ++i;
    } else if (c == '\t') {
      out += "\\t";
      ++i;
    } else if (c < 0x20) {
      out += "\\u00";
      out += kHex[c >> 4];
      out += kHex[c & 15];
      ++i;
    } else {
      const std::size_t start = i;
      const char32_t cp = NextUtf8CodePoint(text, i);
      // A real U+FFFD is three bytes long; a malformed byte advanced by one.
      if (cp == 0xFFFD && i - start != 3) {
        out += "\xEF\xBF\xBD";
      } else {
        out.append(text.substr(start, i - start));
      }
    }
  }
  out += '"';
}

}  // namespace mx::platform
