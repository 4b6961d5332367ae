#include "Variables.h"

#include "platform/Exception.h"
#include "platform/StrUtils.h"

namespace mx::engine {

void TVariables::Set(const std::string& name, const std::string& value) {
  const auto [it, added] = index_.emplace(platform::UpperCase(name), items_.size());
  if (added) {
    items_.emplace_back(name, value);
  } else {
    items_[it->second].second = value;
  }
}

std::optional<std::string> TVariables::Find(std::string_view name) const {
  const auto it = index_.find(platform::UpperCase(name));
  if (it == index_.end()) return std::nullopt;
  return items_[it->second].second;
}

bool TVariables::Remove(std::string_view name) {
  const auto it = index_.find(platform::UpperCase(name));
  if (it == index_.end()) return false;
  items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(it->second));
  index_.clear();
  for (std::size_t i = 0; i < items_.size(); ++i)
    index_.emplace(platform::UpperCase(items_[i].first), i);
  return true;
}

namespace {

// Values may name variables themselves; a chain deeper than this is a variable that refers to
// itself.
constexpr int kMaxDepth = 32;

std::string Expand(std::string_view text, const TVariableLookup& lookup, bool strict, int depth) {
  std::string out;
  out.reserve(text.size());
  std::size_t i = 0;
  while (i < text.size()) {
    const std::size_t pct = text.find('%', i);
    if (pct == std::string_view::npos) {
      out.append(text.substr(i));
      break;
    }
    out.append(text.substr(i, pct - i));
    if (pct + 1 < text.size() && text[pct + 1] == '%') {
      out += '%';
      i = pct + 2;
      continue;
    }
    const std::size_t close = text.find('%', pct + 1);
    if (close == std::string_view::npos) {
      out.append(text.substr(pct));
      break;
    }
    const std::string_view name = text.substr(pct + 1, close - pct - 1);
    if (const auto value = lookup(name)) {
      if (depth >= kMaxDepth)
        throw Exception("Variable \"" + std::string(name) + "\" refers to itself");
      out += Expand(*value, lookup, strict, depth + 1);
    } else if (strict) {
      throw Exception("Undefined variable \"" + std::string(name) + "\"");
    } else {
      out.append(text.substr(pct, close - pct + 1));
    }
    i = close + 1;
  }
  return out;
}

}  // namespace

std::string ExpandVariables(std::string_view text, const TVariableLookup& lookup, bool strict) {
  return Expand(text, lookup, strict, 0);
}

}  // namespace mx::engine
