#pragma once
// The host's list of languages: the Windows locales a version resource can name, each with its
// locale identifier (LCID).

#include <cstdint>
#include <string>
#include <vector>

namespace mx {

struct TLanguage {
  std::string Name;  // "English (United States)"
  std::int32_t Lcid;
};

/// Every language the host knows, in its own order (by identifier).
const std::vector<TLanguage>& MxLanguages();

/// The index of the language with this identifier in MxLanguages(), or -1.
int IndexOfLcid(std::int32_t lcid);

}  // namespace mx
