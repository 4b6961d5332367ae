#include "PlanCommand.h"

#include <algorithm>
#include <iostream>

#include <CLI/CLI.hpp>

#include "moxtal/api/Commands.h"
#include "moxtal/cli/CliSupport.h"
#include "moxtal/engine/ActionGraph.h"
#include "moxtal/engine/BuildScript.h"
#include "moxtal/engine/Pipeline.h"
#include "platform/FileNames.h"
#include "platform/WholeFile.h"

namespace mx::cli {

namespace {

namespace machinepath = platform::machinepath;

struct TPlanCommandOptions {
  std::string Script;
  std::string Format;
  std::vector<std::string> Actions;
  std::vector<std::string> RunsOn;
  std::string WinePrefix;
  std::string Check;
};

// `path` relative to the current folder with "/" between folders, as a job in the repository's
// root names it; a path outside it stays as it is.
std::string FromRoot(const std::string& path) {
  const auto absolute = std::filesystem::absolute(machinepath::ToFsPath(path)).lexically_normal();
  const auto relative =
      absolute.lexically_relative(machinepath::ToFsPath(machinepath::CurrentFolder()));
  if (relative.empty() || *relative.begin() == "..") return path;
  std::string text = machinepath::FromFsPath(relative);
#ifdef _WIN32
  std::replace(text.begin(), text.end(), '\\', '/');
#endif
  return text;
}

engine::TPlan MakePlan(const TPlanCommandOptions& options) {
  auto script = engine::TBuildScript::Load(options.Script);
  const auto actions = SelectActions(*script, options.Script, options.Actions);
  const engine::TActionGraph graph(actions);
  if (const auto problems = graph.Problems(); !problems.empty()) {
    std::string text;
    for (const auto& p : problems)
      text += "\n  " + p;
    throw Exception(options.Script + ": the dependencies cannot be planned:" + text);
  }
  const auto levels = graph.Levels();
  std::vector<std::string> names;
  for (const auto& a : actions)
    names.push_back(a->Name());
  const auto ids = engine::JobIds(names);
  const std::string root = machinepath::CurrentFolder();

  engine::TPlan plan{FromRoot(options.Script), {}};
  for (std::size_t i = 0; i < actions.size(); ++i) {
    const auto& action = *actions[i];
    engine::TPlannedJob job{action.Name(), ids[i], graph.Needs(i), levels[i], {}, {}};
    std::sort(job.Needs.begin(), job.Needs.end());
    if (HasProperty(action, "ProjectFile")) {
      try {
        job.Project = FromRoot(action.AbsolutePath(
            action.ExpandExpression(GetPropAsString(action, "ProjectFile"), true)));
      } catch (const Exception& e) {
        throw Exception(options.Script + ": " + action.Name() + ": ProjectFile: " + e.what());
      }
    }
    for (auto& output : OutputsRelativeTo(action, root)) {
      if (machinepath::ToFsPath(output).is_absolute() || platform::wintext::IsAbsolute(output)) {
        // A job hands on only what lies in the repository; one outside it is the runner's own.
        std::cerr << "moxtal: " << action.Name() << ": " << output
                  << " lies outside the repository; its jobs do not hand it on\n";
        continue;
      }
      job.Outputs.push_back(std::move(output));
    }
    plan.Jobs.push_back(std::move(job));
  }
  return plan;
}

int Plan(TPlanCommandOptions options) {
  const bool github = options.Format == "github";
  const bool wine = !options.WinePrefix.empty();
  if (options.RunsOn.empty()) {
    options.RunsOn.push_back(github ? (wine ? "ubuntu-latest" : "windows-latest")
                                    : (wine ? "linux" : "windows"));
  }
  const engine::TPlan plan = MakePlan(options);
  const engine::TPlanOptions planOptions{options.RunsOn, options.WinePrefix};
  const std::string text = github                       ? engine::GitHubWorkflow(plan, planOptions)
                           : options.Format == "gitlab" ? engine::GitLabPipeline(plan, planOptions)
                                                        : engine::PlanJson(plan);
  if (options.Check.empty()) {
    std::cout << text << std::flush;
    return kExitOk;
  }
  std::string committed;
  try {
    committed = platform::ReadWholeFile(options.Check, 64u << 20);
  } catch (const platform::EFOpenError& e) {
    throw Exception(options.Check + ": cannot read the planned pipeline (" + e.Reason() + ")");
  }
  std::erase(committed, '\r');
  const std::string diff = engine::ShortDiff(committed, text);
  if (diff.empty()) {
    std::cout << options.Check << " is what " << options.Script << " plans\n";
    return kExitOk;
  }
  std::cout << options.Check << " is not what " << options.Script
            << " plans now; plan it again (moxtal plan " << options.Script << " --format "
            << options.Format << " > " << options.Check << "):\n"
            << diff;
  return kExitFailed;
}

}  // namespace

void DefinePlanCommand(const TAddCommand& add,
                       std::map<const CLI::App*, std::function<int()>>& runs) {
  auto options = std::make_shared<TPlanCommandOptions>();
  CLI::App* cmd = add("plan",
                      "Write the build graph of a script as a CI pipeline: one job per action, "
                      "its needs from DependsOn, its outputs handed to the jobs that link them");
  cmd->add_option("script", options->Script, "Build script")->required()->type_name("FILE");
  cmd->add_option("--format", options->Format,
                  "github (a workflow), gitlab (a child pipeline) or json")
      ->required()
      ->type_name("FORMAT")
      ->check(CLI::IsMember({"github", "gitlab", "json"}));
  cmd->add_option("--action", options->Actions, "Plan only this action (repeatable)")
      ->type_name("NAME");
  cmd->add_option("--runs-on", options->RunsOn,
                  "Runner label of every job (repeatable; default windows-latest for GitHub, "
                  "windows for GitLab)")
      ->type_name("LABEL");
  cmd->add_option("--wine-runners", options->WinePrefix,
                  "Plan Linux jobs that run the Windows tools through Wine, in this Wine prefix "
                  "of the runners (default labels ubuntu-latest, linux)")
      ->type_name("PREFIX");
  cmd->add_option("--check", options->Check,
                  "Compare FILE with the plan instead of writing it: exit 1 with a short diff "
                  "when FILE is stale")
      ->type_name("FILE");
  cmd->footer(
      "Run it in the repository's root: the jobs name the script, the projects and their outputs "
      "relative to it.\n\nExample:\n  moxtal plan build.mxs --format github > "
      ".github/workflows/build.yml\n  moxtal plan build.mxs --format github --check "
      ".github/workflows/build.yml");
  runs[cmd] = [options] { return Plan(*options); };
}

}  // namespace mx::cli
