#include "moxtal/api/MxTypes.h"

#include "platform/StrUtils.h"

namespace mx {

TEnumInfo::TEnumInfo(std::string typeName, std::string_view valueList)
    : typeName_(std::move(typeName)) {
  std::size_t start = 0;
  while (start <= valueList.size()) {
    const auto comma = valueList.find(',', start);
    const auto piece = valueList.substr(
        start, comma == std::string_view::npos ? std::string_view::npos : comma - start);
    const std::string name = platform::Trim(piece);
    if (!name.empty()) names_.push_back(name);
    if (comma == std::string_view::npos) break;
    start = comma + 1;
  }
}

std::string TEnumInfo::Name(int ordinal) const {
  return ordinal >= 0 && ordinal < Count() ? names_[static_cast<std::size_t>(ordinal)]
                                           : std::string();
}

std::optional<int> TEnumInfo::Ordinal(std::string_view name) const {
  for (int i = 0; i < Count(); ++i) {
    if (platform::SameText(names_[static_cast<std::size_t>(i)], name)) return i;
  }
  return std::nullopt;
}

}  // namespace mx
