#pragma once
// What `moxtal bpr apply --diff` shows: every element of a project whose value a rewrite changed.

#include <string>
#include <utility>
#include <vector>

#include "platform/XmlDocument.h"

namespace mx::bcc {

/// Every element below the root as its path ("/PROJECT/MACROS/LIBPATH", repeated siblings
/// numbered "[2]", "[3]", ...) with its "value" attribute, or its text when it has no element
/// children, in document order.
std::vector<std::pair<std::string, std::string>> ElementValues(const platform::TXmlDocument& doc);

/// For each element of `after` whose value differs from `before` (or that `before` lacks), the
/// lines "<path>", "  - <old value or (absent)>", "  + <new value>"; "No element changed" when
/// there is none. Every line ends with a line break.
std::string ProjectDiff(const platform::TXmlDocument& before, const platform::TXmlDocument& after);

}  // namespace mx::bcc
