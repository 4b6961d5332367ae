#include "StrUtils.h"

#include <algorithm>

namespace mx::platform {
namespace {

bool IsBlankOrControl(char c) {
  return static_cast<unsigned char>(c) <= 32;
}

char AsciiUpper(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
}
char AsciiLower(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
}

int Sign(int v) {
  return (v > 0) - (v < 0);
}

}  // namespace

std::string Trim(std::string_view s) {
  return TrimLeft(TrimRight(s));
}

std::string TrimLeft(std::string_view s) {
  std::size_t i = 0;
  while (i < s.size() && IsBlankOrControl(s[i]))
    ++i;
  return std::string(s.substr(i));
}

std::string TrimRight(std::string_view s) {
  std::size_t n = s.size();
  while (n > 0 && IsBlankOrControl(s[n - 1]))
    --n;
  return std::string(s.substr(0, n));
}

std::string UpperCase(std::string_view s) {
  std::string r(s);
  std::transform(r.begin(), r.end(), r.begin(), AsciiUpper);
  return r;
}

std::string LowerCase(std::string_view s) {
  std::string r(s);
  std::transform(r.begin(), r.end(), r.begin(), AsciiLower);
  return r;
}

int CompareStr(std::string_view a, std::string_view b) {
  return Sign(a.compare(b));
}

int CompareText(std::string_view a, std::string_view b) {
  const std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    const auto ca = static_cast<unsigned char>(AsciiUpper(a[i]));
    const auto cb = static_cast<unsigned char>(AsciiUpper(b[i]));
    if (ca != cb) return ca < cb ? -1 : 1;
  }
  return Sign(static_cast<int>(a.size() > b.size()) - static_cast<int>(a.size() < b.size()));
}

bool SameText(std::string_view a, std::string_view b) {
  return a.size() == b.size() && CompareText(a, b) == 0;
}

bool StartsText(std::string_view prefix, std::string_view s) {
  return s.size() >= prefix.size() && SameText(s.substr(0, prefix.size()), prefix);
}

std::size_t FindText(std::string_view s, std::string_view sub, std::size_t from) {
  if (sub.empty() || sub.size() > s.size()) return std::string::npos;
  for (std::size_t i = from; i + sub.size() <= s.size(); ++i) {
    if (SameText(s.substr(i, sub.size()), sub)) return i;
  }
  return std::string::npos;
}

bool ContainsText(std::string_view s, std::string_view sub) {
  return FindText(s, sub) != std::string::npos;
}

std::string StringReplace(std::string_view s, std::string_view oldPattern,
                          std::string_view newPattern, TReplaceFlag flags) {
  if (oldPattern.empty()) return std::string(s);
  const bool ignoreCase = HasFlag(flags, TReplaceFlag::rfIgnoreCase);
  const bool all = HasFlag(flags, TReplaceFlag::rfReplaceAll);
  std::string result;
  result.reserve(s.size());
  std::size_t pos = 0;
  while (pos <= s.size()) {
    const std::size_t hit = ignoreCase ? FindText(s, oldPattern, pos) : s.find(oldPattern, pos);
    if (hit == std::string_view::npos) break;
    result.append(s.substr(pos, hit - pos));
    result.append(newPattern);
    pos = hit + oldPattern.size();
    if (!all) break;
  }
  result.append(s.substr(std::min(pos, s.size())));
  return result;
}

}  // namespace mx::platform
