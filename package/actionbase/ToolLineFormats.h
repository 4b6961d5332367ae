#pragma once
// The formats of the messages the C++Builder tools and MSBuild write, each read from one output
// line into views of it. Reading keeps no state: the tool at work is given.

#include <optional>
#include <string_view>

#include "moxtal/api/Diagnostics.h"

namespace mx::bcc {

/// A message as a format reads it, in views of its line.
struct TMessageParts {
  /// The tool the message comes from; "" for the tool at work.
  std::string_view Tool;
  TDiagnosticSeverity Severity = TDiagnosticSeverity::dsError;
  std::string_view Code;
  std::string_view File;
  int Line = 0;
  int Column = 0;
  std::string_view Message;
};

/// The message of a trimmed, non-empty `line`, or nullopt when the line is not one; `current` is
/// the tool at work, which messages without a tool of their own belong to. The formats are
/// tried in a fixed order and the first that reads the line wins: make's failures, the
/// assembler's, the Borland tools' "Error E2451 file line: text", the "file(line)" forms and
/// MSBuild's canonical form.
std::optional<TMessageParts> ReadMessage(std::string_view line, std::string_view current);

}  // namespace mx::bcc
