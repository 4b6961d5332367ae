#pragma once
// How both C++Builder actions run a tool as a step of a build and report how it ended: a stop,
// a non-zero exit code or success, each in the tool's own words.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "moxtal/api/Action.h"
#include "moxtal/api/Diagnostics.h"
#include "moxtal/api/Process.h"

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

/// A tool run as a step of a build.
struct TToolStep {
  /// The tool, as its messages' diagnostics name it ("bpr2mak").
  std::string Tool;
  /// What runs: the files of its parameters stand in them through ToolFile.
  TMxProcessParams Process;
  TToolReport Report;
  /// Told the parameters as the tool gets them, just before it starts (for the log); may be
  /// empty.
  std::function<void(const std::string& parameters)> Starting;
  /// Each line of the tool's output, with the diagnostics recognised in it; empty: the output
  /// is not kept.
  std::function<void(std::string_view line, const TDiagnostics& diagnostics)> Output;
  /// Told when the tool has ended, before its end is reported; may be empty.
  std::function<void()> Ended;
  /// The lines of the report.
  std::function<void(std::string_view)> Add;
};

/// Runs the step's tool for `action`, in its working folder, and reports how it ended: true
/// when it returned 0. An error that keeps the tool from starting (a file it cannot be given)
/// is reported as the report's Error says, or goes on to the caller.
bool RunToolStep(const TCustomMxAction& action, const TToolStep& step);

}  // namespace mx::bcc
