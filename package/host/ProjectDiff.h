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

/// What changed between two versions of a project, element by element, as the tools read the
/// values: "<path>: only its layout changed" when only white space, quotes or a folder's closing
/// backslash differ; "<path>: the same items in another order" (or "lines", for a block of text
/// such as the IDE options); otherwise "<path>" followed by "  - <items or lines taken away>" and
/// "  + <items or lines added>". An element `before` lacks shows "  - (absent)" and its value.
/// "No element changed" when there is nothing to show. Every line ends with a line break.
std::string ProjectDiff(const platform::TXmlDocument& before, const platform::TXmlDocument& after);

}  // namespace mx::bcc
