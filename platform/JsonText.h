#pragma once
// JSON string text written by hand where a document is streamed rather than built (the JSON log,
// the SARIF log): one escaping for all of them.

#include <string>
#include <string_view>

namespace mx::platform {

/// Appends `text` as a JSON string: quotes, backslashes and control characters escaped, bytes
/// that are not UTF-8 replaced by U+FFFD, so that the result is always valid JSON.
void AppendJsonString(std::string& out, std::string_view text);

}  // namespace mx::platform
