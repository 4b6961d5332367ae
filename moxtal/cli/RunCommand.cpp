#include "RunCommand.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <future>
#include <iostream>
#include <random>

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include "moxtal/api/Commands.h"
#include "moxtal/cli/CliSupport.h"
#include "moxtal/engine/ActionRunner.h"
#include "moxtal/engine/BuildScript.h"
#include "moxtal/engine/Diagnostics.h"
#include "moxtal/engine/Host.h"
#include "platform/Environment.h"
#include "platform/FileNames.h"
#include "platform/StopRequests.h"
#include "platform/StrUtils.h"
#include "platform/WholeFile.h"

namespace mx::cli {

using engine::TBuildScript;
using engine::THost;

namespace {

// What became of every action of a run, and how long the run took.
struct TRunResults {
  std::vector<engine::TActionOutcome> Outcomes;
  std::chrono::steady_clock::duration Time{};
};

std::string Seconds(std::chrono::steady_clock::duration time) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f s",
                std::chrono::duration_cast<std::chrono::duration<double>>(time).count());
  return text;
}

const char* ResultName(engine::TActionResult result) {
  switch (result) {
    case engine::TActionResult::arSucceeded:
      return "succeeded";
    case engine::TActionResult::arFailed:
      return "failed";
    case engine::TActionResult::arStopped:
      return "stopped";
    case engine::TActionResult::arNotRun:
      break;
  }
  return "not run";
}

// The run in lines: how many actions succeeded, in how long, then each action with its result,
// its time and what its tools reported.
std::vector<std::string> RunSummary(const TRunResults& results,
                                    const std::vector<engine::TActionDiagnostics>& diagnostics) {
  const auto succeeded =
      std::count_if(results.Outcomes.begin(), results.Outcomes.end(),
                    [](const auto& o) { return o.Result == engine::TActionResult::arSucceeded; });
  std::vector<std::string> lines{"Summary of the run: " + std::to_string(succeeded) + " of " +
                                 std::to_string(results.Outcomes.size()) +
                                 " actions succeeded in " + Seconds(results.Time)};
  for (const auto& o : results.Outcomes) {
    const std::string& name = o.Action->Name();
    std::string line = "  " + name + ": " + ResultName(o.Result);
    if (o.Result == engine::TActionResult::arNotRun) {
      lines.push_back(line + " (" + o.Reason + ")");
      continue;
    }
    line += " in " + Seconds(o.Time);
    // One line an action: a reason of several lines is joined.
    if (!o.Reason.empty())
      line +=
          " (" + platform::ReplaceAll(platform::ReplaceAll(o.Reason, "\r\n", " "), "\n", " ") + ")";
    const auto found = std::find_if(diagnostics.begin(), diagnostics.end(),
                                    [&](const auto& d) { return d.Action == name; });
    if (found == diagnostics.end()) {
      lines.push_back(line);
      continue;
    }
    // "Name: 1 error, 3 warnings" and its detail lines, after the result.
    auto detail = engine::DiagnosticsSummary({*found});
    lines.push_back(line + "; " + detail.front().substr(name.size() + 2));
    for (std::size_t i = 1; i < detail.size(); ++i)
      lines.push_back("  " + detail[i]);
  }
  return lines;
}

nlohmann::ordered_json RunSummaryJson(const TRunResults& results) {
  const auto seconds = [](std::chrono::steady_clock::duration time) {
    return std::chrono::duration_cast<std::chrono::duration<double>>(time).count();
  };
  nlohmann::ordered_json actions = nlohmann::ordered_json::array();
  for (const auto& o : results.Outcomes) {
    nlohmann::ordered_json a{{"action", o.Action->Name()}, {"result", ResultName(o.Result)}};
    if (o.Result != engine::TActionResult::arNotRun) a["seconds"] = seconds(o.Time);
    if (!o.Reason.empty()) a["reason"] = o.Reason;
    actions.push_back(std::move(a));
  }
  return {{"seconds", seconds(results.Time)}, {"actions", std::move(actions)}};
}

// The SARIF category of a run's actions: "moxtal/<script>/", the script as the command line
// named it with "/" between folders, so that the uploads of jobs that each run an action of it
// never take each other's place.
std::string SarifCategory(const std::string& script) {
  std::string name = platform::ReplaceAll(script, "\\", "/");
  while (name.starts_with("./"))
    name.erase(0, 2);
  return "moxtal/" + name + "/";
}

struct TRunOptions {
  std::string Script;
  std::vector<std::string> Actions;
  std::string LogFormat = "text";
  bool SaveDynamic = true;
  std::string Sarif;
  std::string Annotations;  // "github", "none", or "" for the environment's choice
  bool FailOnWarnings = false;
  unsigned Jobs = 1;
  bool KeepGoing = false;
};

// "github" when GitHub workflow commands are wanted, from the option or the environment.
bool WantsAnnotations(const TRunOptions& options) {
  if (!options.Annotations.empty()) return options.Annotations == "github";
  return platform::FindEnvironmentVariable("GITHUB_ACTIONS").value_or("") == "true";
}

// A stop-commands block around the tools' output in a text log, so that nothing a tool prints
// acts as a workflow command; its end token is one no tool can guess, and the block always ends,
// before moxtal's own annotations or when the run ends otherwise.
class TStopCommands {
 public:
  void Start() {
    std::random_device random;
    token_ = "moxtal-";
    for (int i = 0; i < 4; ++i) {
      char part[9];
      std::snprintf(part, sizeof part, "%08x", random());
      token_ += part;
    }
    std::cout << "::stop-commands::" << token_ << "\n" << std::flush;
  }
  void End() {
    if (token_.empty()) return;
    std::cout << "::" << token_ << "::\n" << std::flush;
    token_.clear();
  }
  ~TStopCommands() { End(); }

 private:
  std::string token_;
};

// After the run: the SARIF file, the CI annotations and the summary; true when a warning (or
// an error) was seen. In a JSON log every line of standard output is JSON, so the annotations
// go to standard error there.
bool ReportDiagnostics(const TRunOptions& options, const engine::TDiagnosticsCollector& collector,
                       TStopCommands& stopCommands, const TRunResults& results) {
  if (!options.Sarif.empty()) {
    platform::TFileReplacement sarif(options.Sarif, platform::TLinkPolicy::lpFollow);
    engine::WriteSarifLog(collector, MX_VERSION, SarifCategory(options.Script),
                          [&](std::string_view text) { sarif.Write(text); });
    sarif.Commit();
  }
  if (WantsAnnotations(options)) {
    std::ostream& out = options.LogFormat == "json" ? std::cerr : std::cout;
    stopCommands.End();
    // GitHub places an annotation by its file relative to the workspace it checked out.
    const std::string base = platform::FindEnvironmentVariable("GITHUB_WORKSPACE")
                                 .value_or(platform::machinepath::CurrentFolder());
    engine::WriteGitHubAnnotations(collector, base,
                                   [&out](const std::string& line) { out << line << "\n"; });
    out << std::flush;
  }
  const auto actions = collector.Actions();
  if (options.LogFormat == "json") {
    // Every line of standard output is one JSON object, the notes of the run among them.
    constexpr auto kReplace = nlohmann::ordered_json::error_handler_t::replace;
    if (!options.Sarif.empty())
      std::cout << nlohmann::ordered_json{{"sarif", options.Sarif}}.dump(-1, ' ', false, kReplace)
                << "\n";
    nlohmann::ordered_json summary = engine::DiagnosticsSummaryJson(actions);
    summary["run"] = RunSummaryJson(results);
    std::cout << summary.dump(-1, ' ', false, kReplace) << "\n";
  } else {
    for (const auto& line : RunSummary(results, actions))
      std::cout << line << "\n";
    if (!options.Sarif.empty()) std::cout << "SARIF log written to " << options.Sarif << "\n";
  }
  bool warned = false;
  for (const auto& action : actions)
    warned = warned || action.Counts.Errors + action.Counts.Warnings > 0;
  return warned;
}

int Run(const TRunOptions& options) {
  auto script = TBuildScript::Load(options.Script);
  {
    // What validate finds would fail the build: no tool starts then.
    std::vector<std::string> problems;
    int warnings = 0;
    if (!CheckActions(*script, SelectActions(*script, options.Script, options.Actions), problems,
                      warnings)) {
      for (const auto& line : problems)
        std::cerr << "moxtal: " << line << "\n";
      std::cerr << "moxtal: " << options.Script
                << ": nothing was built (moxtal validate shows the same)\n";
      return kExitUsage;
    }
  }
  std::shared_ptr<engine::ILogSink> sink;
  if (options.LogFormat == "json") {
    sink = std::make_shared<engine::TJsonLogSink>(std::cout);
  } else {
    // Actions that run at once write their lines in turns: each line then names its action.
    sink = std::make_shared<engine::TConsoleLogSink>(std::cout, options.Jobs != 1);
  }
  // With annotations in a text log, what the tools print cannot act as a workflow command: it
  // runs inside a stop-commands block whose end only moxtal knows.
  TStopCommands stopCommands;
  if (WantsAnnotations(options) && options.LogFormat != "json") stopCommands.Start();
  THost::Instance().Log().AddSink(sink);
  // The messages themselves are kept only when a SARIF log or annotations want them.
  const auto collector = std::make_shared<engine::TDiagnosticsCollector>(!options.Sarif.empty() ||
                                                                         WantsAnnotations(options));
  THost::Instance().Log().AddSink(collector);

  engine::TActionRunner runner(*script);
  platform::InstallStopRequestHandlers();
  // Actions run on a build thread; this thread turns Ctrl+C (or SIGTERM, SIGHUP) into a stop
  // request. Another one once the stop is under way ends the host at once. Requests that arrive
  // together count as one: `timeout` and process-group kills deliver the same request twice.
  const auto started = std::chrono::steady_clock::now();
  auto build = std::async(std::launch::async, [&] {
    return runner.Run(options.Actions, {options.Jobs, options.KeepGoing});
  });
  int seen = 0;
  std::chrono::steady_clock::time_point stopRequestedAt;
  while (build.wait_for(std::chrono::milliseconds(50)) != std::future_status::ready) {
    // What the tools printed reaches the console within a tenth of a second.
    THost::Instance().Log().Flush();
    // Asked again on every turn: an action that was starting when the stop came clears what it
    // was told as it begins.
    if (seen > 0) runner.Terminate();
    const int count = platform::StopRequestCount();
    if (count == seen) continue;
    const auto now = std::chrono::steady_clock::now();
    if (seen == 0) {
      stopRequestedAt = now;
      THost::Instance().Log().Write("moxtal", {"Stop requested"});
      runner.Terminate();
    } else if (now - stopRequestedAt > std::chrono::milliseconds(500)) {
      platform::EndByInterrupt();
    }
    seen = count;
  }
  platform::RemoveStopRequestHandlers();
  const bool ok = build.get();
  THost::Instance().Log().RemoveSink(sink);
  THost::Instance().Log().RemoveSink(collector);
  sink.reset();
  std::cout << std::flush;

  // What the actions changed while they ran (an incremented build number, say) goes back
  // into the script, but only after a successful run.
  if (ok && options.SaveDynamic && script->Changed()) script->Save(options.Script);
  const TRunResults results{runner.Outcomes(), std::chrono::steady_clock::now() - started};
  const bool warned = ReportDiagnostics(options, *collector, stopCommands, results);
  // A stopped run is not a failed one: CI tells a cancelled build by the status a shell gives a
  // program its signal ended.
  if (seen > 0) return platform::StopExitStatus();
  if (!ok) return kExitFailed;
  return options.FailOnWarnings && warned ? kExitFailed : kExitOk;
}

}  // namespace

void DefineRunCommand(const TAddCommand& add,
                      std::map<const CLI::App*, std::function<int()>>& runs) {
  auto run = std::make_shared<TRunOptions>();
  CLI::App* cmd = add("run", "Run the enabled actions of a build script, or the named ones");
  cmd->add_option("script", run->Script, "Build script")->required()->type_name("FILE");
  cmd->add_option("--action", run->Actions, "Run only this action (repeatable)")->type_name("NAME");
  cmd->add_option("--log-format", run->LogFormat, "Build log format (default text)")
      ->type_name("FORMAT")
      ->check(CLI::IsMember({"text", "json"}));
  cmd->add_flag_callback(
      "--no-save-dynamic", [run] { run->SaveDynamic = false; },
      "Do not save what the actions changed while running (a build number, say) back into "
      "the script; a successful run saves it by default");
  cmd->add_flag_callback(
      "--save-dynamic", [run] { run->SaveDynamic = true; }, "Save it (the default)");
  cmd->add_option("--sarif", run->Sarif,
                  "Write the tools' errors and warnings to FILE as a SARIF 2.1.0 log")
      ->type_name("FILE");
  cmd->add_option("--annotations", run->Annotations,
                  "Print the tools' errors and warnings as CI annotations (github, or none); "
                  "github by default when GITHUB_ACTIONS=true")
      ->type_name("KIND")
      ->check(CLI::IsMember({"github", "none"}));
  cmd->add_flag("--fail-on-warnings", run->FailOnWarnings,
                "Exit with status 1 when a tool reported a warning, even if the build succeeded");
  cmd->add_option("--jobs,-j", run->Jobs,
                  "Run up to N actions at once, each once the actions it depends on succeeded; 0 "
                  "is one per processor (default 1: one after the other, in the script's order)")
      ->type_name("N")
      ->check(CLI::Validator(
          [](const std::string& text) -> std::string {
            const bool digits =
                !text.empty() && text.size() <= 4 &&
                std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
            if (digits && std::stoi(text) <= 1024) return {};
            return "give a number of actions from 0 (one per processor) to 1024, not \"" + text +
                   "\"";
          },
          "0..1024"));
  cmd->add_flag("--keep-going", run->KeepGoing,
                "After a failure, still start every action whose dependencies succeeded");
  cmd->footer(
      "Example:\n  moxtal run build.mxs --action \"Build App\" --var SRC=C:\\Work\n"
      "  moxtal run product.mxs --jobs 0 --sarif build.sarif");
  runs[cmd] = [run] { return Run(*run); };
}

}  // namespace mx::cli
