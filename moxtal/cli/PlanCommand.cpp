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
namespace fs = std::filesystem;

struct TPlanCommandOptions {
  std::string Script;
  std::string Format;
  engine::TPlanOptions Plan;
  std::string Out;
  std::string Check;
};

// The root of the repository that holds `folder`: the nearest folder up from it with a ".git"
// (a folder, or the file of a worktree); the current folder when there is none.
fs::path RepositoryRoot(fs::path folder) {
  for (; !folder.empty(); folder = folder.parent_path()) {
    std::error_code error;
    if (fs::exists(folder / ".git", error)) return folder;
    if (folder == folder.root_path()) break;
  }
  return machinepath::ToFsPath(machinepath::CurrentFolder());
}

// `path` relative to `root` with "/" between folders; nullopt when it lies outside.
std::optional<std::string> InRoot(const std::string& path, const fs::path& root) {
  const auto absolute = fs::absolute(machinepath::ToFsPath(path)).lexically_normal();
  const auto relative = absolute.lexically_relative(root);
  if (relative.empty() || *relative.begin() == "..") return std::nullopt;
  std::string text = machinepath::FromFsPath(relative);
#ifdef _WIN32
  std::replace(text.begin(), text.end(), '\\', '/');
#endif
  return text;
}

// GitHub evaluates "${{ ... }}" wherever it stands in a workflow, inside a quoted command too: a
// name that holds one would run what it says. Such texts, and control characters, are refused.
void RequirePlainText(const std::string& text, const std::string& what) {
  const bool control = std::any_of(text.begin(), text.end(),
                                   [](char c) { return static_cast<unsigned char>(c) < 0x20; });
  if (text.find("${{") != std::string::npos || control) {
    throw Exception(what + " \"" + text +
                    "\" cannot go into a pipeline: it holds \"${{\" or a control character");
  }
}

engine::TPlan MakePlan(const TPlanCommandOptions& options) {
  auto script = engine::TBuildScript::Load(options.Script);
  // What validate refuses cannot be planned; a dependency on an action that is not planned
  // (disabled, or not named) is not a job's need.
  if (const auto problems = engine::TActionGraph(script->Actions()).Problems(); !problems.empty()) {
    std::string text;
    for (const auto& p : problems)
      text += "\n  " + p;
    throw Exception(options.Script + ": the dependencies cannot be planned:" + text);
  }
  const auto actions = SelectActions(*script, options.Script, options.Plan.Actions);
  const engine::TActionGraph graph(actions);
  const auto levels = graph.Levels();
  std::vector<std::string> names;
  for (const auto& a : actions)
    names.push_back(a->Name());
  const auto ids = engine::JobIds(names);

  const fs::path root =
      RepositoryRoot(fs::absolute(machinepath::ToFsPath(script->BaseFolder())).lexically_normal());
  const auto scriptInRoot = InRoot(options.Script, root);
  if (!scriptInRoot)
    throw Exception(options.Script + ": the build script lies outside the repository " +
                    machinepath::FromFsPath(root));
  engine::TPlan plan{*scriptInRoot, {}};
  RequirePlainText(plan.Script, "The script's name");
  for (const auto& label : options.Plan.RunsOn)
    RequirePlainText(label, "The runner label");
  RequirePlainText(options.Plan.WinePrefix, "The Wine prefix");
  for (std::size_t i = 0; i < actions.size(); ++i) {
    const auto& action = *actions[i];
    RequirePlainText(action.Name(), "The action name");
    engine::TPlannedJob job{action.Name(), ids[i], graph.Needs(i), levels[i], {}, {}};
    std::sort(job.Needs.begin(), job.Needs.end());
    for (const auto& need : action.DependsOn()) {
      if (std::none_of(names.begin(), names.end(),
                       [&](const std::string& n) { return platform::SameText(n, need); })) {
        std::cerr << "moxtal: " << action.Name() << " depends on " << need
                  << ", which is not planned (disabled or not named): its job does not wait for "
                     "it or take its outputs\n";
      }
    }
    if (HasProperty(action, "ProjectFile")) {
      try {
        const std::string project = action.AbsolutePath(
            action.ExpandExpression(GetPropAsString(action, "ProjectFile"), true));
        job.Project = InRoot(project, root).value_or(project);
      } catch (const Exception& e) {
        throw Exception(options.Script + ": " + action.Name() + ": ProjectFile: " + e.what());
      }
    }
    for (auto& output : OutputsRelativeTo(action, machinepath::FromFsPath(root))) {
      // A job hands on only what lies in the repository; one outside it is the runner's own.
      if (machinepath::ToFsPath(output).is_absolute() || platform::wintext::IsAbsolute(output) ||
          output.find("$(") != std::string::npos) {
        std::cerr << "moxtal: " << action.Name() << ": " << output
                  << " lies outside the repository or names a make macro ("
                  << machinepath::FromFsPath(root) << "): the jobs that need " << action.Name()
                  << " do not get it; put the project's output inside the repository\n";
        continue;
      }
      RequirePlainText(output, "The output");
      job.Outputs.push_back(std::move(output));
    }
    plan.Jobs.push_back(std::move(job));
  }
  return plan;
}

std::string Planned(const engine::TPlan& plan, const TPlanCommandOptions& options) {
  if (options.Format == "github") return engine::GitHubWorkflow(plan, options.Plan);
  if (options.Format == "gitlab") return engine::GitLabPipeline(plan, options.Plan);
  return engine::PlanJson(plan, options.Plan);
}

int Check(TPlanCommandOptions options) {
  std::string committed;
  try {
    committed = platform::ReadWholeFile(options.Check, 64u << 20);
  } catch (const platform::EFOpenError& e) {
    throw Exception(options.Check + ": cannot read the planned pipeline (" + e.Reason() +
                    "); write it first with moxtal plan " + options.Script + " --format " +
                    options.Format + " --out " + options.Check);
  }
  std::erase(committed, '\r');
  // The file was planned with its own runners and actions: the check plans with the same,
  // unless the command line gives others.
  if (const auto recorded = engine::RecordedPlanOptions(committed);
      recorded && options.Plan.RunsOn.empty() && options.Plan.WinePrefix.empty() &&
      options.Plan.Actions.empty()) {
    options.Plan = *recorded;
  }
  const engine::TPlan plan = MakePlan(options);
  const std::string diff = engine::ShortDiff(committed, Planned(plan, options));
  if (diff.empty()) {
    std::cout << options.Check << " is what " << options.Script << " plans\n";
    return kExitOk;
  }
  std::cout << options.Check << " is not what " << options.Script
            << " plans now; plan it again with\n  "
            << engine::PlanCommandLine(plan, options.Plan, options.Format.c_str(), options.Check)
            << "\nWhat changed (- the line of " << options.Check << ", + the line planned now):\n"
            << diff;
  return kExitFailed;
}

int Plan(TPlanCommandOptions options) {
  if (!options.Check.empty()) return Check(std::move(options));
  if (options.Plan.RunsOn.empty()) {
    const bool wine = !options.Plan.WinePrefix.empty();
    options.Plan.RunsOn.push_back(options.Format == "github"
                                      ? (wine ? "ubuntu-latest" : "windows-latest")
                                      : (wine ? "linux" : "windows"));
  }
  const std::string text = Planned(MakePlan(options), options);
  if (options.Out.empty()) {
    std::cout << text << std::flush;
    return kExitOk;
  }
  // Written whole or not at all: a failed plan never empties a committed pipeline.
  platform::TFileReplacement out(options.Out, platform::TLinkPolicy::lpFollow);
  out.Write(text);
  out.Commit();
  std::cout << "Planned " << options.Script << " into " << options.Out << "\n";
  return kExitOk;
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
  cmd->add_option("--action", options->Plan.Actions, "Plan only this action (repeatable)")
      ->type_name("NAME");
  cmd->add_option("--runs-on", options->Plan.RunsOn,
                  "Runner label of every job (repeatable; default windows-latest for GitHub, "
                  "windows for GitLab)")
      ->type_name("LABEL");
  cmd->add_option("--wine-runners", options->Plan.WinePrefix,
                  "Plan Linux jobs that run the Windows tools through Wine, in this Wine prefix "
                  "of the runners (default labels ubuntu-latest, linux)")
      ->type_name("PREFIX");
  cmd->add_option("--out", options->Out,
                  "Write the plan to FILE, whole or not at all, instead of standard output")
      ->type_name("FILE");
  cmd->add_option("--check", options->Check,
                  "Compare FILE with the plan instead of writing it, with the runners and actions "
                  "FILE was planned with: exit 1 with a short diff when FILE is stale")
      ->type_name("FILE")
      ->excludes("--out");
  cmd->footer(
      "The jobs name the script, the projects and their outputs relative to the root of the "
      "repository that holds the script (the folder with .git).\n\nExample:\n  moxtal plan "
      "build.mxs --format github --out .github/workflows/build.yml\n  moxtal plan build.mxs "
      "--format github --check .github/workflows/build.yml");
  runs[cmd] = [options] { return Plan(*options); };
}

}  // namespace mx::cli
