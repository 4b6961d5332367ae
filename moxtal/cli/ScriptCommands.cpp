#include "ScriptCommands.h"

#include <algorithm>
#include <iostream>

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include "moxtal/api/Commands.h"
#include "moxtal/api/ObjectText.h"
#include "moxtal/cli/CliSupport.h"
#include "moxtal/cli/ProjectTake.h"
#include "moxtal/cli/Requirements.h"
#include "moxtal/engine/ActionGraph.h"
#include "moxtal/engine/BuildScript.h"
#include "moxtal/engine/ObjectJson.h"
#include "platform/FileNames.h"
#include "platform/StrUtils.h"
#include "platform/WholeFile.h"
#include "platform/XmlWriter.h"

namespace mx::cli {

using engine::TBuildScript;

namespace {

struct TNewOptions {
  std::string Script;
  std::string ActionClass;
  std::string Name;
  std::vector<std::string> Sets;
  bool NoReload = false;
};

int Validate(const std::string& path) {
  auto script = TBuildScript::Load(path);
  std::vector<std::string> lines;
  int warnings = 0;
  const bool ok = CheckActions(*script, script->Actions(), lines, warnings);
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

int New(const TNewOptions& options) {
  const bool exists = platform::machinepath::FileExists(options.Script);
  RequireScriptFolder(options.Script);
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
  TTakenFiles taken;
  if (NamesProjectFile(given) && !options.NoReload)
    took = TakeAssignedProject(*script, *action, options.Script, "", options.Sets, "--set", taken);
  script->Save(options.Script);
  taken.Keep();
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

// True when `assignments` set DependsOn.
bool NamesDependsOn(const std::vector<std::string>& assignments) {
  return std::any_of(assignments.begin(), assignments.end(),
                     [](const std::string& a) { return platform::StartsText("DependsOn=", a); });
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
  TTakenFiles taken;
  if (options.Reload) {
    // Taking the project named already is its reload, as picking it again in the editor is.
    took = TakeAssignedProject(*script, *action, path, NamesProjectFile(given) ? previous : "",
                               options.Assignments, "Assignment", taken);
  }
  SetEvents(*action, options.Events);
  script->Save(path);
  taken.Keep();
  // A dependency validate and run will refuse is said now, while the name is in mind.
  std::vector<std::string> warnings;
  if (NamesDependsOn(options.Assignments)) {
    for (const auto& problem : engine::TActionGraph(script->Actions()).Problems()) {
      if (problem.find(action->Name()) != std::string::npos)
        warnings.push_back("warning: " + problem + " (validate and run refuse it)");
    }
  }
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
  for (const auto& warning : warnings)
    std::cout << warning << "\n";
  return kExitOk;
}

// What each action builds that other projects link, read from its project.
int ShowOutputs(const std::vector<std::shared_ptr<TCustomMxAction>>& actions, bool json) {
  const std::string root = platform::machinepath::CurrentFolder();
  nlohmann::ordered_json out = nlohmann::ordered_json::object();
  for (const auto& a : actions) {
    const auto outputs = OutputsRelativeTo(*a, root);
    if (json) {
      out[a->Name()] = outputs;
      continue;
    }
    std::cout << a->Name() << ":" << (outputs.empty() ? " no outputs\n" : "\n");
    for (const auto& output : outputs)
      std::cout << "  " << output << "\n";
  }
  if (json) std::cout << out.dump(2) << "\n";
  return kExitOk;
}

int Show(const std::string& path, const std::string& name, bool json, bool outputs) {
  auto script = TBuildScript::Load(path);
  std::vector<std::shared_ptr<TCustomMxAction>> actions;
  if (name.empty()) {
    actions = script->Actions();
  } else {
    actions.push_back(RequireAction(*script, path, name));
  }
  if (outputs) return ShowOutputs(actions, json);
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
    if (!a->DependsOn().empty())
      std::cout << "  DependsOn=" << engine::JoinActionNames(a->DependsOn()) << "\n";
    for (const auto& [property, text] : PropertyTexts(*a))
      std::cout << "  " << property << "=" << text << "\n";
    for (const auto& s : a->Scripts()) {
      if (!s->Text().empty())
        std::cout << "  event " << s->Name() << ": " << s->Text().size() << " characters\n";
    }
  }
  return kExitOk;
}

}  // namespace

void DefineScriptCommands(const TAddCommand& add,
                          std::map<const CLI::App*, std::function<int()>>& runs) {
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
    bool Outputs = false;
  };
  auto show = std::make_shared<TShowOptions>();
  cmd = add("show", "Show every property of the actions of a build script");
  cmd->add_option("script", show->Script, "Build script")->required()->type_name("FILE");
  cmd->add_option("--action", show->Action, "Show only this action")->type_name("NAME");
  cmd->add_flag("--json", show->Json, "JSON output");
  cmd->add_flag("--outputs", show->Outputs,
                "Show instead what each action builds that other projects link (its final "
                "output, import library, package import), read from its project");
  cmd->footer("Example:\n  moxtal show build.mxs --action \"Build App\" --json");
  runs[cmd] = [show] { return Show(show->Script, show->Action, show->Json, show->Outputs); };
}

}  // namespace mx::cli
