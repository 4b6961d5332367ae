#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace mx::engine {

/// Named text values in the order they were first set; names compare without regard to case.
/// Setting and finding take constant time, however many values there are.
class TVariables {
 public:
  void Set(const std::string& name, const std::string& value);
  std::optional<std::string> Find(std::string_view name) const;
  bool Remove(std::string_view name);
  const std::vector<std::pair<std::string, std::string>>& Items() const { return items_; }
  void Clear() {
    items_.clear();
    index_.clear();
  }

 private:
  std::vector<std::pair<std::string, std::string>> items_;
  std::unordered_map<std::string, std::size_t> index_;  // upper-cased name -> position
};

/// Looks a variable up; nullopt when it is not defined.
using TVariableLookup = std::function<std::optional<std::string>(std::string_view name)>;

/// Replaces every "%NAME%" by the variable's value, itself expanded, and "%%" by "%". With
/// `strict` an undefined variable throws mx::Exception 'Undefined variable "NAME"'; otherwise
/// "%NAME%" stays as written. A "%" without a closing one is kept. A variable whose value leads
/// back to itself throws 'Variable "NAME" refers to itself'.
std::string ExpandVariables(std::string_view text, const TVariableLookup& lookup, bool strict);

}  // namespace mx::engine
