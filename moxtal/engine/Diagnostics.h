#pragma once
// The diagnostics of a run, collected from the build log per action, and what the host makes of
// them: a SARIF 2.1.0 log, CI annotations and a summary.

#include <map>
#include <mutex>
#include <string>
#include <vector>

#include <nlohmann/json_fwd.hpp>

#include "moxtal/api/Diagnostics.h"
#include "moxtal/engine/BuildLog.h"

namespace mx::engine {

/// The diagnostics of one action, in the order its tools wrote them.
struct TActionDiagnostics {
  std::string Action;  // the name the user gave it
  std::string Kind;    // "Compile C++Builder Project"
  TDiagnostics Diagnostics;
};

/// A log sink that keeps the diagnostics of every action whose entries pass it (the host's own
/// entries left out), in the order the actions first wrote to the log.
class TDiagnosticsCollector : public ILogSink {
 public:
  void Begin(const TLogEntryStart& entry) override;
  void Line(std::uint64_t, std::string_view) override {}
  void DiagnosticLine(std::uint64_t id, std::string_view line,
                      const TDiagnostics& diagnostics) override;
  void End(std::uint64_t id) override;
  std::vector<TActionDiagnostics> Actions() const;

 private:
  mutable std::mutex mutex_;
  std::map<std::uint64_t, std::size_t> open_;  // entry → index in actions_
  std::vector<TActionDiagnostics> actions_;
};

/// A SARIF 2.1.0 log: one run per action, named after its kind, with a rule for every code
/// seen and a result for every diagnostic; files inside the project are given relative to the
/// base "PROJECTROOT", which `originalUriBaseIds` names.
nlohmann::ordered_json SarifLog(const std::vector<TActionDiagnostics>& actions,
                                const std::string& hostVersion);

/// GitHub workflow commands ("::error file=...,line=...,col=...,title=E2451::text") for every
/// diagnostic; files are given relative to `currentFolder` when they are inside it.
std::vector<std::string> GitHubAnnotations(const std::vector<TActionDiagnostics>& actions,
                                           const std::string& currentFolder);

/// Per action: the errors, warnings and notes counted, the most frequent warning codes, and the
/// first error with its place.
std::vector<std::string> DiagnosticsSummary(const std::vector<TActionDiagnostics>& actions);

/// The summary as one JSON event for the JSON log: {"summary":[{action...}]}.
nlohmann::ordered_json DiagnosticsSummaryJson(const std::vector<TActionDiagnostics>& actions);

/// Counts of one action.
struct TDiagnosticCounts {
  int Errors = 0;
  int Warnings = 0;
  int Notes = 0;
};
TDiagnosticCounts CountDiagnostics(const TDiagnostics& diagnostics);

}  // namespace mx::engine
