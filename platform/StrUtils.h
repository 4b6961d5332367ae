#pragma once

#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace mx::platform {

/// Removes every character up to and including the blank (codes 0 to 32) from both ends.
std::string Trim(std::string_view s);
/// Removes characters up to and including the blank from the start only.
std::string TrimLeft(std::string_view s);
/// Removes characters up to and including the blank from the end only.
std::string TrimRight(std::string_view s);
/// Trim without a copy: the part of `s` between the characters up to and including the blank at
/// either end.
std::string_view TrimView(std::string_view s);

/// The position of the first CR or LF at or after `from`, or std::string::npos. (Two memchr
/// scans: find_first_of with a two-character set costs a library call per character.)
inline std::size_t FindLineBreak(std::string_view text, std::size_t from = 0) {
  if (from >= text.size()) return std::string_view::npos;
  const char* data = text.data();
  const auto* lf = static_cast<const char*>(std::memchr(data + from, '\n', text.size() - from));
  const std::size_t end = lf ? static_cast<std::size_t>(lf - data) : text.size();
  const auto* cr = static_cast<const char*>(std::memchr(data + from, '\r', end - from));
  if (cr) return static_cast<std::size_t>(cr - data);
  return lf ? end : std::string_view::npos;
}

/// The ASCII letter A to Z lower-cased; every other byte as it is.
constexpr char AsciiLower(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
}

/// Upper-cases the ASCII letters a to z; every other byte is kept.
std::string UpperCase(std::string_view s);
/// Lower-cases the ASCII letters A to Z; every other byte is kept.
std::string LowerCase(std::string_view s);

/// Ordinal comparison of bytes: <0, 0 or >0.
int CompareStr(std::string_view a, std::string_view b);
/// Ordinal comparison after folding ASCII letters to upper case: <0, 0 or >0.
int CompareText(std::string_view a, std::string_view b);
/// True when both texts are equal apart from the case of ASCII letters.
bool SameText(std::string_view a, std::string_view b);
/// True when `s` begins with `prefix`, ignoring the case of ASCII letters.
bool StartsText(std::string_view prefix, std::string_view s);
/// True when `sub` occurs in `s`, ignoring the case of ASCII letters. An empty `sub` never occurs.
bool ContainsText(std::string_view s, std::string_view sub);
/// 0-based position of the first occurrence of `sub` in `s`, ignoring the case of ASCII letters,
/// or std::string::npos. An empty `sub` is never found.
std::size_t FindText(std::string_view s, std::string_view sub, std::size_t from = 0);

enum class TReplaceFlag : std::uint8_t { rfReplaceAll = 1, rfIgnoreCase = 2 };
constexpr TReplaceFlag operator|(TReplaceFlag a, TReplaceFlag b) {
  return static_cast<TReplaceFlag>(static_cast<std::uint8_t>(a) | static_cast<std::uint8_t>(b));
}
constexpr bool HasFlag(TReplaceFlag set, TReplaceFlag f) {
  return (static_cast<std::uint8_t>(set) & static_cast<std::uint8_t>(f)) != 0;
}

/// Replaces the first (or, with rfReplaceAll, every) occurrence of `oldPattern` by `newPattern`,
/// scanning left to right without rescanning replaced text. An empty `oldPattern` changes nothing.
std::string StringReplace(std::string_view s, std::string_view oldPattern,
                          std::string_view newPattern, TReplaceFlag flags);

/// Every occurrence of `oldPattern`, in any letter case, replaced by `newPattern`.
inline std::string ReplaceAllIgnoreCase(std::string_view s, std::string_view oldPattern,
                                        std::string_view newPattern) {
  return StringReplace(s, oldPattern, newPattern,
                       TReplaceFlag::rfReplaceAll | TReplaceFlag::rfIgnoreCase);
}

/// Every occurrence of `oldPattern` (exact case) replaced by `newPattern`.
inline std::string ReplaceAll(std::string_view s, std::string_view oldPattern,
                              std::string_view newPattern) {
  return StringReplace(s, oldPattern, newPattern, TReplaceFlag::rfReplaceAll);
}

/// The items of a list separated by `separator`, each trimmed of blanks; empty items are left
/// out ("a; ;b" gives "a", "b").
std::vector<std::string> SplitList(std::string_view s, char separator);

/// The name among `candidates` nearest to `name`, in letters changed, added or removed without
/// regard to case, when it is near enough to be a slip of the keyboard (at most a third of the
/// name's letters, and at least one); nullopt otherwise.
std::optional<std::string> NearestName(std::string_view name,
                                       const std::vector<std::string>& candidates);

/// What a message says of an unknown `name` to lead to the right one: "; did you mean NEAREST?"
/// when a candidate is near, then "; `what` are A, B, C" (nothing more when there are none).
std::string NamesHint(std::string_view name, const std::vector<std::string>& candidates,
                      std::string_view what);

}  // namespace mx::platform
