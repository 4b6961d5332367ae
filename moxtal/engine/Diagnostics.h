#pragma once
// The diagnostics of a run, collected from the build log per action, and what the host makes of
// them: a SARIF 2.1.0 log, CI annotations and a summary. However many messages a build prints,
// the collector keeps in memory only what the summary needs; the messages themselves, when a
// SARIF log or annotations want them, wait in a temporary file.

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json_fwd.hpp>

#include "moxtal/api/Diagnostics.h"
#include "moxtal/engine/BuildLog.h"

namespace mx::engine {

/// Counts of one action.
struct TDiagnosticCounts {
  std::int64_t Errors = 0;
  std::int64_t Warnings = 0;
  std::int64_t Notes = 0;
};

/// What is known of one action's diagnostics without keeping them.
struct TActionDiagnostics {
  std::string Action;  // the name the user gave it
  std::string Kind;    // "Compile C++Builder Project"
  TDiagnosticCounts Counts;
  /// Warnings per rule (the message code, or the tool when there is none).
  std::map<std::string, std::int64_t> WarningRules;
  std::optional<TDiagnostic> FirstError;
};

/// A rule of a SARIF run: a message code (or a tool), with the first message seen for it.
struct TDiagnosticRule {
  std::string Id;
  std::string Description;
  std::string Tool;
};

/// A log sink that keeps the diagnostics of every action whose entries pass it (the host's own
/// entries left out), in the order the actions first wrote to the log.
class TDiagnosticsCollector : public ILogSink {
 public:
  /// With `keepEach`, every diagnostic is kept too (in a temporary file), for ForEach.
  explicit TDiagnosticsCollector(bool keepEach = false);
  ~TDiagnosticsCollector() override;
  void Begin(const TLogEntryStart& entry) override;
  void Line(std::uint64_t, std::string_view) override {}
  void DiagnosticLine(std::uint64_t id, std::string_view line,
                      const TDiagnostics& diagnostics) override;
  void End(std::uint64_t id) override;

  std::vector<TActionDiagnostics> Actions() const;
  /// The rules of action `index` (of Actions()) in the order they first appeared, and the project
  /// folder its files are relative to ("" when none was).
  std::vector<TDiagnosticRule> Rules(std::size_t index) const;
  std::string ProjectFolder(std::size_t index) const;
  /// Calls `each` with every kept diagnostic of action `index` and the index of its rule, in the
  /// order the tools wrote them. Throws EFOpenError when they could not be kept (a full disk).
  void ForEach(std::size_t index,
               const std::function<void(const TDiagnostic&, std::size_t rule)>& each) const;

 private:
  struct TAction;
  TAction& ActionOf(std::uint64_t id);

  bool keepEach_;
  mutable std::mutex mutex_;
  std::map<std::uint64_t, std::size_t> open_;  // entry → index in actions_
  std::vector<std::unique_ptr<TAction>> actions_;
};

/// A SARIF 2.1.0 log of the collected diagnostics, written in pieces through `write`: one run per
/// action, named after its kind, with a rule for every code seen and a result for every
/// diagnostic; files inside the project are given relative to the base "PROJECTROOT", which
/// `originalUriBaseIds` names. Each run's `automationDetails.id` is `category` followed by its
/// action and "/" ("moxtal/build.mxs/Build App/"), which code-scanning services tell uploads apart
/// by.
void WriteSarifLog(const TDiagnosticsCollector& collector, const std::string& hostVersion,
                   const std::string& category, const std::function<void(std::string_view)>& write);

/// How many annotations of each severity are written: a CI service shows only the first few.
constexpr std::int64_t kAnnotationsPerSeverity = 50;

/// GitHub workflow commands ("::error file=...,line=...,col=...,title=E2451::text") for the
/// collected diagnostics, each passed to `line`: at most kAnnotationsPerSeverity of each
/// severity, then one notice that counts the rest. Files are given relative to
/// `currentFolder` when they are inside it.
void WriteGitHubAnnotations(const TDiagnosticsCollector& collector,
                            const std::string& currentFolder,
                            const std::function<void(const std::string&)>& line);

/// Per action: the errors, warnings and notes counted, the most frequent warning codes, and the
/// first error with its place.
std::vector<std::string> DiagnosticsSummary(const std::vector<TActionDiagnostics>& actions);

/// The summary as one JSON event for the JSON log: {"summary":[{action...}]}.
nlohmann::ordered_json DiagnosticsSummaryJson(const std::vector<TActionDiagnostics>& actions);

}  // namespace mx::engine
