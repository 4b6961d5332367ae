#include "StrUtils.h"

#include <algorithm>
#include <cctype>

namespace mx::platform {
namespace {

bool IsBlankOrControl(char c) {
  return static_cast<unsigned char>(c) <= 32;
}

char AsciiUpper(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
}

int Sign(int v) {
  return (v > 0) - (v < 0);
}

}  // namespace

std::string Trim(std::string_view s) {
  return std::string(TrimView(s));
}

std::string_view TrimView(std::string_view s) {
  while (!s.empty() && IsBlankOrControl(s.front()))
    s.remove_prefix(1);
  while (!s.empty() && IsBlankOrControl(s.back()))
    s.remove_suffix(1);
  return s;
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

std::vector<std::string> SplitList(std::string_view s, char separator) {
  std::vector<std::string> items;
  std::size_t start = 0;
  while (start <= s.size()) {
    const std::size_t end = std::min(s.find(separator, start), s.size());
    std::string item = Trim(s.substr(start, end - start));
    if (!item.empty()) items.push_back(std::move(item));
    start = end + 1;
  }
  return items;
}

namespace {

// Letters changed, added or removed to turn one name into the other, without regard to case.
std::size_t EditDistance(std::string_view a, std::string_view b) {
  std::vector<std::size_t> row(b.size() + 1);
  for (std::size_t j = 0; j <= b.size(); ++j)
    row[j] = j;
  for (std::size_t i = 1; i <= a.size(); ++i) {
    std::size_t diagonal = row[0];
    row[0] = i;
    for (std::size_t j = 1; j <= b.size(); ++j) {
      const std::size_t above = row[j];
      const bool same = std::tolower(static_cast<unsigned char>(a[i - 1])) ==
                        std::tolower(static_cast<unsigned char>(b[j - 1]));
      row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (same ? 0 : 1)});
      diagonal = above;
    }
  }
  return row[b.size()];
}

}  // namespace

std::optional<std::string> NearestName(std::string_view name,
                                       const std::vector<std::string>& candidates) {
  const std::size_t allowed = std::max<std::size_t>(1, name.size() / 3);
  std::optional<std::string> nearest;
  std::size_t best = allowed + 1;
  for (const auto& candidate : candidates) {
    const std::size_t distance = EditDistance(name, candidate);
    if (distance < best) {
      best = distance;
      nearest = candidate;
    }
  }
  return nearest;
}

std::string NamesHint(std::string_view name, const std::vector<std::string>& candidates,
                      std::string_view what) {
  std::string hint;
  if (const auto nearest = NearestName(name, candidates)) hint = "; did you mean " + *nearest + "?";
  if (candidates.empty()) return hint;
  hint += "; " + std::string(what) + " are ";
  for (std::size_t i = 0; i < candidates.size(); ++i)
    hint += (i ? ", " : "") + candidates[i];
  return hint;
}

}  // namespace mx::platform
