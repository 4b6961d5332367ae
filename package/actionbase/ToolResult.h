#pragma once
// How both C++Builder actions report the end of a tool they ran: a stop, a non-zero exit code
// or success, each in the tool's own words.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace mx::bcc {

/// The log lines of a tool's end.
struct TToolReport {
  /// The line when a stop ended the tool ("BPR2MAK Terminated by user").
  std::string Terminated;
  /// The line of a non-zero exit code, which follows it ("BPR2MAK failed, returned : ").
  std::string Failed;
  /// The line of exit code 0; none when empty.
  std::string Succeeded;
  /// The lines of an error that kept the tool from running or finishing, from its message;
  /// without it such an error goes on to the caller.
  std::function<std::vector<std::string>(const std::string& message)> Error;
};

/// Runs a tool (`run` returns its exit code) and adds the line `report` gives for how it ended
/// through `addLine`. True when the tool returned 0.
bool RunAndReportTool(const std::function<int()>& run, const TToolReport& report,
                      const std::function<void(std::string_view)>& addLine);

}  // namespace mx::bcc
