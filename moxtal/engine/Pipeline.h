#pragma once
// The build graph of a script as a CI engine's pipeline: a GitHub Actions workflow, a GitLab CI
// child pipeline, or the graph as JSON for any other engine. One job per action, its needs from
// DependsOn, its outputs handed to the jobs that need it. The same plan always gives the same
// bytes, so that the file can be committed and compared.

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace mx::engine {

/// An action as a job of the pipeline.
struct TPlannedJob {
  std::string Action;
  /// The job's id: the action's name in the letters, digits, "-" and "_" job ids allow, unique.
  std::string Id;
  /// The positions of the jobs it needs.
  std::vector<std::size_t> Needs;
  /// The length of the longest chain of jobs before it.
  std::size_t Level = 0;
  /// The project, relative to the repository's root with "/" between folders; "" for none.
  std::string Project;
  /// What the job hands on, relative to the repository's root with "/" between folders.
  std::vector<std::string> Outputs;
};

struct TPlan {
  /// The build script, relative to the repository's root with "/" between folders.
  std::string Script;
  std::vector<TPlannedJob> Jobs;
};

/// Where the jobs run and how they reach the tools, and which actions were planned: what a
/// planned file records, so that a check of it plans again with the same choices.
struct TPlanOptions {
  /// Runner labels (GitHub's runs-on, GitLab's tags).
  std::vector<std::string> RunsOn;
  /// The Wine prefix of Linux runners that run the Windows tools through Wine; "" for Windows
  /// runners.
  std::string WinePrefix;
  /// The actions named to plan; empty for the enabled ones.
  std::vector<std::string> Actions;
};

/// The options as a planned file records them (one line of JSON), and read back from a planned
/// file's text; nullopt when the text records none.
std::string PlanOptionsJson(const TPlanOptions& options);
std::optional<TPlanOptions> RecordedPlanOptions(const std::string& plannedText);

/// The command that plans `plan` again with `options` into `file`.
std::string PlanCommandLine(const TPlan& plan, const TPlanOptions& options, const char* format,
                            const std::string& file);

/// The SARIF log a job's run writes, in the repository's root: "moxtal-<id>.sarif".
std::string SarifFile(const TPlannedJob& job);

/// Job ids for `names`: letters, digits, "-" and "_", beginning with a letter or "_", in lower
/// case, made unique with "-2", "-3".
std::vector<std::string> JobIds(const std::vector<std::string>& names);

std::string GitHubWorkflow(const TPlan& plan, const TPlanOptions& options);
std::string GitLabPipeline(const TPlan& plan, const TPlanOptions& options);
std::string PlanJson(const TPlan& plan, const TPlanOptions& options);

/// A short diff of two texts by lines ("-" and the line number in `was` for what only `was`
/// has, "+" and the number in `now` for what only `now` has), at most `limit` lines; "" when
/// they are the same.
std::string ShortDiff(const std::string& was, const std::string& now, std::size_t limit = 40);

}  // namespace mx::engine
