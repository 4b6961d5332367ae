#pragma once

#include <string_view>

#include "moxtal/api/Diagnostics.h"
#include "platform/StringList.h"

namespace mx {

/// One entry of the build log, made by an action with CreateStatusMessage: its lines reach the
/// log as they are added (a long tool's output shows while the tool runs), and sending it with
/// SendStatusMessage closes the entry. It keeps no line itself.
class IMxActionLogMessage {
 public:
  virtual ~IMxActionLogMessage() = default;
  virtual void Add(std::string_view line) = 0;
  /// A line with the diagnostics recognised in it.
  virtual void Add(std::string_view line, const TDiagnostics& diagnostics) = 0;
  virtual void AddStrings(const platform::TStringList& lines) = 0;
};

}  // namespace mx
