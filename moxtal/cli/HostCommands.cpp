#include "HostCommands.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <future>
#include <iostream>
#include <random>

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include "moxtal/api/Commands.h"
#include "moxtal/api/ObjectText.h"
#include "moxtal/cli/ProjectTake.h"
#include "moxtal/cli/Requirements.h"
#include "moxtal/engine/ActionRunner.h"
#include "moxtal/engine/BuildScript.h"
#include "moxtal/engine/Diagnostics.h"
#include "moxtal/engine/Host.h"
#include "moxtal/engine/ObjectJson.h"
#include "moxtal/engine/PackageLoader.h"
#include "moxtal/engine/RunScriptAction.h"
#include "moxtal/engine/Variables.h"
#include "platform/Environment.h"
#include "platform/ExecutablePath.h"
#include "platform/FileNames.h"
#include "platform/StopRequests.h"
#include "platform/StrUtils.h"
#include "platform/WholeFile.h"
#include "platform/WineDrives.h"
#include "platform/XmlWriter.h"

namespace mx::cli {

using engine::TBuildScript;
using engine::THost;

namespace {

std::vector<engine::TLoadedPackage> loadedPackages;
// Where the start-up looked, for commands that find nothing to say why.
std::string packageFolder;
std::string registrySource;

std::shared_ptr<TCustomMxAction> RequireAction(const TBuildScript& script, const std::string& path,
                                               const std::string& name) {
  auto action = script.FindAction(name);
  if (!action) throw Exception(path + ": " + script.NoSuchActionMessage(name));
  return action;
}

class TValidationErrors : public IMxActionValidationError {
 public:
  TValidationErrors(std::string action, std::vector<std::string>& lines)
      : action_(std::move(action)), lines_(lines) {}
  void AddError(std::string_view property, std::string_view message) override {
    lines_.push_back(action_ + ": " + std::string(property) + ": " + std::string(message));
  }

 private:
  std::string action_;
  std::vector<std::string>& lines_;
};

}  // namespace

void AddHostOptions(CLI::App& app, THostOptions& options) {
  const char* group = "Host options (any command, anywhere on the line)";
  app.add_option("--registry", options.Registry,
                 "Registry file in the Windows export format (.reg); else --wine-prefix, else "
                 "$MOXTAL_REGISTRY, else $WINEPREFIX (Linux), else registry.reg in moxtal's data "
                 "folder")
      ->type_name("FILE")
      ->group(group);
  app.add_option("--wine-prefix", options.WinePrefix,
                 "Wine prefix whose registry names the compilers (read only); else $WINEPREFIX "
                 "when no registry file is given")
      ->type_name("DIR")
      ->group(group);
  app.add_option(
         "--wine", options.Wine,
         "Wine loader that runs the Windows tools (default: wine, else wine64, on the PATH)")
      ->type_name("PATH")
      ->group(group);
  app.add_option("--packages", options.Packages,
                 "Folder of the package modules to load (default: moxtal's packages folder)")
      ->type_name("DIR")
      ->group(group);
  app.add_option("--var", options.Vars, "Set a variable (repeatable)")
      ->type_name("NAME=VALUE")
      ->group(group);
  app.add_flag("--read-bcb6-vars", options.ReadBCB6Vars,
               "Import the C++Builder 6 environment variables of the current user")
      ->group(group);
}

namespace {

// Windows tools on another system run through Wine: the loader given is checked, and how the
// tools start is set up, now, before any build.
void UseWine(const std::string& loader, const std::string& prefix) {
  if (!platform::WindowsProgramsNeedWine()) return;
  if (!loader.empty() && platform::FindWineLoader(loader).empty())
    throw Exception("The Wine loader " + loader + " does not exist or cannot be run");
  std::string absolutePrefix;
  if (!prefix.empty()) {
    // Wine takes only an absolute prefix, and the tools start in other folders.
    std::error_code ec;
    const auto absolute = std::filesystem::absolute(platform::machinepath::ToFsPath(prefix), ec);
    absolutePrefix = ec ? prefix : platform::machinepath::FromFsPath(absolute);
  }
  THost::Instance().SetWine(loader, absolutePrefix);
}

}  // namespace

void StartHost(const THostOptions& options) {
  THost& host = THost::Instance();
  const platform::TProgramFolders& folders = platform::ProgramFolders();
  host.SetHostFolder(folders.Data);
  // The registry: --registry, else --wine-prefix, else MOXTAL_REGISTRY, else WINEPREFIX (where
  // the machine has no registry of its own; on Windows under Wine it is that prefix's already),
  // else registry.reg in the data folder when there is one, else the platform's own (the
  // Windows registry; none elsewhere).
  std::string registry = options.Registry;
  std::string prefix = registry.empty() ? options.WinePrefix : std::string();
  if (registry.empty() && prefix.empty())
    registry = platform::FindEnvironmentVariable("MOXTAL_REGISTRY").value_or("");
  if (registry.empty() && prefix.empty() && !platform::HasSystemRegistry())
    prefix = platform::FindEnvironmentVariable("WINEPREFIX").value_or("");
  // The tools' prefix is the one named even when the registry is a file, else WINEPREFIX's, which
  // Wine takes only as an absolute path (UseWine makes it one).
  std::string toolsPrefix = options.WinePrefix.empty() ? prefix : options.WinePrefix;
  if (toolsPrefix.empty() && !platform::HasSystemRegistry())
    toolsPrefix = platform::FindEnvironmentVariable("WINEPREFIX").value_or("");
  UseWine(options.Wine, toolsPrefix);
  if (!prefix.empty()) {
    host.SetRegistry(platform::OpenWinePrefixRegistry(prefix), "the Wine prefix " + prefix);
    registrySource = "the registry of the Wine prefix " + prefix;
  } else {
    if (registry.empty()) {
      const std::string beside = platform::machinepath::Join(folders.Data, "registry.reg");
      if (platform::machinepath::FileExists(beside)) registry = beside;
    }
    if (!registry.empty()) {
      // A registry file that is named but missing is a typo, not a machine without compilers.
      if (!platform::machinepath::FileExists(registry))
        throw Exception("The registry file " + registry + " does not exist");
      host.SetRegistry(platform::OpenRegistryFile(registry), registry);
      registrySource = "the registry file " + registry;
    } else if (platform::HasSystemRegistry()) {
      host.SetRegistry(host.Registry(), "the Windows registry");
      registrySource = "the Windows registry";
    } else {
      const std::string where =
          "give --registry FILE or --wine-prefix DIR, set MOXTAL_REGISTRY, or put " +
          platform::machinepath::Join(folders.Data, "registry.reg");
      host.SetRegistry(host.Registry(), "none; " + where);
      registrySource = "no registry (" + where + ")";
    }
  }
  host.SetReadBCB6Vars(options.ReadBCB6Vars);
  for (const auto& v : options.Vars) {
    const auto [name, value] = SplitAssignment(v, "--var");
    host.CommandLineVariables().Set(name, value);
  }
  engine::RegisterHostActions();
  const std::string folder = options.Packages.empty()
                                 ? platform::machinepath::Join(folders.Modules, "packages")
                                 : options.Packages;
  packageFolder = folder;
  if (platform::machinepath::DirectoryExists(folder)) {
    loadedPackages = engine::LoadPackages(folder, options.DesignTime);
  } else if (!options.Packages.empty()) {
    throw Exception("The package folder " + folder + " does not exist");
  }
}

namespace {

struct TRunOptions {
  std::string Script;
  std::vector<std::string> Actions;
  std::string LogFormat = "text";
  bool SaveDynamic = true;
  std::string Sarif;
  std::string Annotations;  // "github", "none", or "" for the environment's choice
  bool FailOnWarnings = false;
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
                       TStopCommands& stopCommands) {
  if (!options.Sarif.empty()) {
    platform::TFileReplacement sarif(options.Sarif, platform::TLinkPolicy::lpFollow);
    engine::WriteSarifLog(collector, MX_VERSION, [&](std::string_view text) { sarif.Write(text); });
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
    std::cout << engine::DiagnosticsSummaryJson(actions).dump(-1, ' ', false, kReplace) << "\n";
  } else {
    if (!actions.empty()) {
      std::cout << "Summary of the tools' messages:\n";
      for (const auto& line : engine::DiagnosticsSummary(actions))
        std::cout << "  " << line << "\n";
    }
    if (!options.Sarif.empty()) std::cout << "SARIF log written to " << options.Sarif << "\n";
  }
  bool warned = false;
  for (const auto& action : actions)
    warned = warned || action.Counts.Errors + action.Counts.Warnings > 0;
  return warned;
}

struct TNewOptions {
  std::string Script;
  std::string ActionClass;
  std::string Name;
  std::vector<std::string> Sets;
  bool NoReload = false;
};

// What a build of `actions` (in the order they run) lacks: each problem as a line
// "action: property: text" in `lines`; false when one of them is an error.
bool CheckActions(const std::vector<std::shared_ptr<TCustomMxAction>>& actions,
                  std::vector<std::string>& lines, int& warnings) {
  bool ok = true;
  bool earlierAction = false;
  for (const auto& action : actions) {
    TValidationErrors errors(action->Name(), lines);
    if (!action->Validate(errors)) ok = false;
    if (!action->Enabled()) continue;
    // What the build will need: a file missing now fails it, unless an action before it runs.
    for (const auto& problem : CheckRequirements(*action, earlierAction)) {
      lines.push_back(action->Name() + ": " + (problem.Error ? "" : "warning: ") +
                      problem.Property + ": " + problem.Text);
      if (problem.Error) ok = false;
      if (!problem.Error) ++warnings;
    }
    earlierAction = true;
  }
  return ok;
}

// The actions a run runs, in the script's order: the enabled ones, or those named.
std::vector<std::shared_ptr<TCustomMxAction>> ActionsToRun(const TBuildScript& script,
                                                           const TRunOptions& options) {
  for (const auto& name : options.Actions)
    RequireAction(script, options.Script, name);
  std::vector<std::shared_ptr<TCustomMxAction>> actions;
  for (const auto& action : script.Actions()) {
    const bool named =
        std::any_of(options.Actions.begin(), options.Actions.end(),
                    [&](const std::string& n) { return platform::SameText(n, action->Name()); });
    if (options.Actions.empty() ? action->Enabled() : named) actions.push_back(action);
  }
  return actions;
}

int Run(const TRunOptions& options) {
  auto script = TBuildScript::Load(options.Script);
  {
    // What validate finds would fail the build: no tool starts then.
    std::vector<std::string> problems;
    int warnings = 0;
    if (!CheckActions(ActionsToRun(*script, options), problems, warnings)) {
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
    sink = std::make_shared<engine::TConsoleLogSink>(std::cout);
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
  auto build = std::async(std::launch::async, [&] { return runner.Run(options.Actions); });
  int seen = 0;
  std::chrono::steady_clock::time_point stopRequestedAt;
  while (build.wait_for(std::chrono::milliseconds(50)) != std::future_status::ready) {
    // What the tools printed reaches the console within a tenth of a second.
    THost::Instance().Log().Flush();
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
  const bool warned = ReportDiagnostics(options, *collector, stopCommands);
  // A stopped run is not a failed one: CI tells a cancelled build by the status a shell gives a
  // program its signal ended.
  if (seen > 0) return platform::StopExitStatus();
  if (!ok) return kExitFailed;
  return options.FailOnWarnings && warned ? kExitFailed : kExitOk;
}

// Sets PROP=VALUE assignments on an action of the script at `script`; a property the action
// lacks, or a value it cannot take, names the script and the action. Returns the names set.
std::vector<std::string> Assign(TCustomMxAction& action, const std::string& script,
                                const std::vector<std::string>& assignments, const char* what) {
  std::vector<std::string> names;
  for (const auto& a : assignments) {
    const auto [property, value] = SplitAssignment(a, what);
    try {
      SetPropertyByPath(action, property, value);
    } catch (const Exception& e) {
      throw Exception(script + ": action \"" + action.Name() + "\": " + e.what());
    }
    names.push_back(property);
  }
  return names;
}

int Validate(const std::string& path) {
  auto script = TBuildScript::Load(path);
  std::vector<std::string> lines;
  int warnings = 0;
  const bool ok = CheckActions(script->Actions(), lines, warnings);
  for (const auto& line : lines)
    std::cout << line << "\n";
  if (!ok) {
    std::cout << path << ": the build script has errors\n";
  } else if (warnings > 0) {
    std::cout << path << ": the build script is valid, with " << warnings
              << (warnings == 1 ? " warning\n" : " warnings\n");
  } else {
    std::cout << "The build script is valid\n";
  }
  return ok ? kExitOk : kExitUsage;
}

// True when `names` holds the action's project file.
bool NamesProjectFile(const std::vector<std::string>& names) {
  return std::any_of(names.begin(), names.end(), [](const std::string& name) {
    return platform::SameText(name, "ProjectFile");
  });
}

// Takes the project `action` was just given (its ProjectFile, set from `assignments`) as the
// project page takes a project a person picks: `previous` is the project it named before. The
// other assignments are made again afterwards, so that what the command line gives wins over
// what the project holds. Returns the lines that say what was taken.
std::vector<std::string> TakeAssignedProject(TBuildScript& script, TCustomMxAction& action,
                                             const std::string& scriptPath,
                                             const std::string& previous,
                                             const std::vector<std::string>& assignments,
                                             const char* what) {
  const std::string file = GetPropAsString(action, "ProjectFile");
  // A project that is missing or of another kind is named for what it is before any page runs.
  for (const auto& problem : CheckRequirements(action, false)) {
    if (problem.Error && problem.Property == "ProjectFile") {
      throw Exception(scriptPath + ": action \"" + action.Name() + "\": " + problem.Text + "; " +
                      scriptPath + " is unchanged");
    }
  }
  SetPropAsString(action, "ProjectFile", previous);
  std::vector<std::string> lines;
  try {
    lines = TakeProject(script, action, file);
  } catch (const Exception& e) {
    throw Exception(scriptPath + ": " + e.what() + "; " + scriptPath + " is unchanged");
  }
  std::vector<std::string> others;
  for (const auto& a : assignments) {
    if (!NamesProjectFile({SplitAssignment(a, what).first})) others.push_back(a);
  }
  Assign(action, scriptPath, others, what);
  return lines;
}

int New(const TNewOptions& options) {
  const bool exists = platform::machinepath::FileExists(options.Script);
  std::unique_ptr<TBuildScript> script =
      exists ? TBuildScript::Load(options.Script) : std::make_unique<TBuildScript>();
  // A new script's relative names are taken against the folder it will be saved in.
  if (!exists) script->SetFileName(options.Script);
  auto action = TBuildScript::CreateAction(options.ActionClass);
  action->SetName(options.Name);
  const auto given = Assign(*action, options.Script, options.Sets, "--set");
  const auto inferred = action->InferSettings(given);
  script->AddAction(action);
  std::vector<std::string> took;
  if (NamesProjectFile(given) && !options.NoReload)
    took = TakeAssignedProject(*script, *action, options.Script, "", options.Sets, "--set");
  script->Save(options.Script);
  std::cout << "Added \"" << action->Name() << "\" (" << action->ClassInfo().Name() << ") to "
            << options.Script;
  if (!options.Name.empty() && action->Name() != options.Name)
    std::cout << " (an action named \"" << options.Name << "\" was there already)";
  std::cout << "\n";
  for (const auto& line : inferred)
    std::cout << "  set " << line << "\n";
  for (const auto& line : took)
    std::cout << "  " << line << "\n";
  if (NamesProjectFile(given) && options.NoReload)
    std::cout << "  kept the action's own defaults (--no-reload): the project's settings were "
                 "not taken\n";
  // The files a build leaves beside the project are the action's own; say so before the user
  // finds them in the project's folder.
  if (const auto files = BuildFiles(*action); !files.empty()) {
    std::cout << "A build writes these files beside the project; to keep them out of version "
                 "control, add to .gitignore:\n";
    for (const auto& file : files)
      std::cout << "  " << file << "\n";
  }
  return kExitOk;
}

struct TSetOptions {
  std::string Script;
  std::string Action;
  std::vector<std::string> Assignments;
  std::vector<std::string> Events;
  bool Reload = false;
};

// The events of `options` set on `action` from their Lua files.
void SetEvents(TCustomMxAction& action, const std::vector<std::string>& events) {
  for (const auto& assignment : events) {
    const auto [event, file] = SplitAssignment(assignment, "--event", "NAME=FILE");
    TMxScript* target = action.GetScriptByName(event);
    if (!target) throw Exception(action.ClassInfo().Name() + " has no event \"" + event + "\"");
    if (file.empty()) {
      target->SetText("");
      continue;
    }
    std::string text;
    try {
      text = platform::ReadWholeFile(file);
    } catch (const platform::EFOpenError& e) {
      throw Exception(file + ": cannot open the event script (" + e.Reason() + ")");
    }
    if (const auto problem = platform::XmlTextProblem(text))
      throw Exception(file + ": " + *problem + "; save the event script as UTF-8 text");
    target->SetText(text);
  }
}

int Set(const TSetOptions& options) {
  const std::string& path = options.Script;
  if (options.Assignments.empty() && options.Events.empty() && !options.Reload)
    throw Exception("Nothing to set: give PROP=VALUE, --event NAME=FILE or --reload");
  auto script = TBuildScript::Load(path);
  auto action = RequireAction(*script, path, options.Action);
  const bool hasProject = HasProperty(*action, "ProjectFile");
  if (options.Reload && !hasProject)
    throw Exception(action->ClassInfo().Name() + " has no project file to take settings from");
  const std::string previous = hasProject ? GetPropAsString(*action, "ProjectFile") : "";
  const auto given = Assign(*action, path, options.Assignments, "Assignment");
  const auto inferred = action->InferSettings(given);
  std::vector<std::string> took;
  if (options.Reload) {
    // Taking the project named already is its reload, as picking it again in the editor is.
    took = TakeAssignedProject(*script, *action, path, NamesProjectFile(given) ? previous : "",
                               options.Assignments, "Assignment");
  }
  SetEvents(*action, options.Events);
  script->Save(path);
  for (const auto& a : options.Assignments)
    std::cout << action->Name() << ": " << a << "\n";
  for (const auto& line : inferred)
    std::cout << action->Name() << ": " << line << "\n";
  for (const auto& line : took)
    std::cout << action->Name() << ": " << line << "\n";
  for (const auto& e : options.Events)
    std::cout << action->Name() << ": event " << e << "\n";
  if (NamesProjectFile(given) && !options.Reload) {
    std::cout << action->Name()
              << ": the action keeps its own settings; add --reload to take the project's "
                 "(its option families, icon and version information)\n";
  }
  std::cout << "Saved " << path << "\n";
  return kExitOk;
}

int Show(const std::string& path, const std::string& name, bool json) {
  auto script = TBuildScript::Load(path);
  std::vector<std::shared_ptr<TCustomMxAction>> actions;
  if (name.empty()) {
    actions = script->Actions();
  } else {
    actions.push_back(RequireAction(*script, path, name));
  }
  if (json) {
    nlohmann::ordered_json out = nlohmann::ordered_json::array();
    for (const auto& a : actions)
      out.push_back(engine::ActionToJson(*a));
    std::cout << (name.empty() ? out : out[0]).dump(2) << "\n";
    return kExitOk;
  }
  for (const auto& a : actions) {
    std::cout << a->Name() << " (" << a->ClassInfo().Name() << (a->Enabled() ? "" : ", disabled")
              << "): " << a->GetFormattedDescription() << "\n";
    for (const auto& [property, text] : PropertyTexts(*a))
      std::cout << "  " << property << "=" << text << "\n";
    for (const auto& s : a->Scripts()) {
      if (!s->Text().empty())
        std::cout << "  event " << s->Name() << ": " << s->Text().size() << " characters\n";
    }
  }
  return kExitOk;
}

void ExplainMissingPackages() {
  std::cerr << "moxtal: no package was loaded from " << packageFolder
            << " (give --packages DIR for another folder)\n";
}

int Actions(bool pages) {
  if (loadedPackages.empty()) ExplainMissingPackages();
  for (const auto& p : loadedPackages)
    std::cout << "Package " << p.Path << ": " << p.Description << "\n";
  const THost& host = THost::Instance();
  for (const auto& a : host.RegisteredActions()) {
    std::cout << a.Class->Name() << "\t" << a.Name << "\t" << a.Category << "\n";
    if (!pages) continue;
    for (const auto& page : host.PropertyPages(*a.Class))
      std::cout << "  page " << page.ClassName << "\n";
    for (const auto& editor : host.PropertyEditors(*a.Class)) {
      std::cout << "  editor " << editor.PropertyName << " (" << editor.PropertyType
                << "): " << editor.EditorClass;
      if (editor.FileName) {
        std::cout << ", default extension \"" << editor.FileName->DefaultExt << "\", filter \""
                  << editor.FileName->Filter << "\", title \"" << editor.FileName->DialogTitle
                  << "\"";
      }
      std::cout << "\n";
    }
  }
  return kExitOk;
}

int Vars() {
  const auto& variables = THost::Instance().PackageVariables().Items();
  for (const auto& [name, value] : variables)
    std::cout << name << "=" << value << "\n";
  if (!variables.empty()) return kExitOk;
  if (loadedPackages.empty()) {
    ExplainMissingPackages();
  } else {
    std::cerr << "moxtal: the packages published no variable: they found no compiler in "
              << registrySource << "\n";
  }
  return kExitOk;
}

}  // namespace

std::string VersionText() {
  std::string text = "moxtal " MX_VERSION "\n";
  for (const auto& p : loadedPackages)
    text += p.Name + " (" + p.Path + "): " + p.Description + "\n";
  if (loadedPackages.empty()) text += "no package loaded from " + packageFolder + "\n";
  text.pop_back();
  return text;
}

namespace {

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
  cmd->footer("Example:\n  moxtal run build.mxs --action \"Build App\" --var SRC=C:\\Work");
  runs[cmd] = [run] { return Run(*run); };
}

}  // namespace

void DefineHostCommands(const TAddCommand& add,
                        std::map<const CLI::App*, std::function<int()>>& runs) {
  DefineRunCommand(add, runs);
  auto script = std::make_shared<std::string>();
  CLI::App* cmd = add("validate", "Load a build script and validate every action");
  cmd->add_option("script", *script, "Build script")->required()->type_name("FILE");
  cmd->footer("Example:\n  moxtal validate build.mxs");
  runs[cmd] = [script] { return Validate(*script); };

  auto create = std::make_shared<TNewOptions>();
  cmd = add("new",
            "Append a new action to a build script; given a project file, the action takes the "
            "project's settings as picking it in the editor does");
  cmd->add_option("script", create->Script, "Build script (created when missing)")
      ->required()
      ->type_name("FILE");
  cmd->add_option("--action", create->ActionClass, "Action class or name (see moxtal actions)")
      ->required()
      ->type_name("CLASS");
  cmd->add_option("--name", create->Name, "Name of the new action")->type_name("NAME");
  cmd->add_option("--set", create->Sets, "Set a property (repeatable)")->type_name("PROP=VALUE");
  cmd->add_flag("--no-reload", create->NoReload,
                "With --set ProjectFile=FILE, keep the action's defaults instead of taking the "
                "project's settings, icon and version information");
  cmd->footer(
      "Example:\n  moxtal new build.mxs --action TMxCBuilderAction --name \"Build App\" "
      "--set ProjectFile=App.bpr");
  runs[cmd] = [create] { return New(*create); };

  auto set = std::make_shared<TSetOptions>();
  cmd = add("set", "Set properties of an action (Child.Prop for child records)");
  cmd->add_option("script", set->Script, "Build script")->required()->type_name("FILE");
  cmd->add_option("--action", set->Action, "Action name")->required()->type_name("NAME");
  cmd->add_option("assignments", set->Assignments, "Properties to set")->type_name("PROP=VALUE");
  cmd->add_option("--event", set->Events,
                  "Set an event script from a Lua file (NAME= removes it; repeatable)")
      ->type_name("NAME=FILE");
  cmd->add_flag("--reload", set->Reload,
                "Take the settings, icon and version information of the project (the one given "
                "with ProjectFile=, else the one the action names), as picking it in the editor "
                "does");
  cmd->footer(
      "Example:\n  moxtal set build.mxs --action \"Build App\" BuildAll=False "
      "CompilerOpt.DebugInfo=True");
  runs[cmd] = [set] { return Set(*set); };

  struct TShowOptions {
    std::string Script;
    std::string Action;
    bool Json = false;
  };
  auto show = std::make_shared<TShowOptions>();
  cmd = add("show", "Show every property of the actions of a build script");
  cmd->add_option("script", show->Script, "Build script")->required()->type_name("FILE");
  cmd->add_option("--action", show->Action, "Show only this action")->type_name("NAME");
  cmd->add_flag("--json", show->Json, "JSON output");
  cmd->footer("Example:\n  moxtal show build.mxs --action \"Build App\" --json");
  runs[cmd] = [show] { return Show(show->Script, show->Action, show->Json); };

  auto pages = std::make_shared<bool>(false);
  cmd = add("actions", "List the loaded packages and the action classes they registered");
  cmd->add_flag("--pages", *pages,
                "Also list each action's property pages, in order, and its property editors");
  cmd->footer("Example:\n  moxtal actions --pages --packages /opt/moxtal/packages");
  runs[cmd] = [pages] { return Actions(*pages); };
  cmd = add("vars", "List the variables the packages published (the compilers they found)");
  cmd->footer("Example:\n  moxtal vars --registry build-machine.reg --read-bcb6-vars");
  runs[cmd] = [] { return Vars(); };
}

}  // namespace mx::cli
