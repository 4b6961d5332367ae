#include "CliSupport.h"

#include <algorithm>

#include "moxtal/api/Commands.h"
#include "moxtal/api/ObjectText.h"
#include "moxtal/cli/ProjectTake.h"
#include "moxtal/cli/Requirements.h"
#include "moxtal/engine/ActionGraph.h"
#include "moxtal/engine/BuildScript.h"
#include "platform/FileNames.h"
#include "platform/StrUtils.h"

namespace mx::cli {

using engine::TBuildScript;

namespace {

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

std::shared_ptr<TCustomMxAction> RequireAction(const TBuildScript& script, const std::string& path,
                                               const std::string& name) {
  auto action = script.FindAction(name);
  if (!action) throw Exception(path + ": " + script.NoSuchActionMessage(name));
  return action;
}

std::vector<std::string> Assign(TCustomMxAction& action, const std::string& script,
                                const std::vector<std::string>& assignments, const char* what) {
  std::vector<std::string> names;
  for (const auto& a : assignments) {
    const auto [property, value] = SplitAssignment(a, what);
    try {
      // The host's own properties of every action: the names of those it waits for, and
      // whether a run without named actions runs it.
      if (platform::SameText(property, "DependsOn")) {
        action.SetDependsOn(platform::SplitList(value, ','));
      } else if (platform::SameText(property, "Enabled")) {
        if (!platform::SameText(value, "True") && !platform::SameText(value, "False"))
          throw Exception("Enabled: give True or False, not \"" + value + "\"");
        action.SetEnabled(platform::SameText(value, "True"));
      } else {
        SetPropertyByPath(action, property, value);
      }
    } catch (const Exception& e) {
      throw Exception(script + ": action \"" + action.Name() + "\": " + e.what());
    }
    names.push_back(property);
  }
  return names;
}

bool CheckActions(const TBuildScript& script,
                  const std::vector<std::shared_ptr<TCustomMxAction>>& actions,
                  std::vector<std::string>& lines, int& warnings) {
  // Dependencies name actions of the script, and none may wait for itself through others.
  const auto problems = engine::TActionGraph(script.Actions()).Problems();
  lines.insert(lines.end(), problems.begin(), problems.end());
  bool ok = problems.empty();
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
std::vector<std::string> TakeAssignedProject(engine::TBuildScript& script, TCustomMxAction& action,
                                             const std::string& scriptPath,
                                             const std::string& previous,
                                             const std::vector<std::string>& assignments,
                                             const char* what, TTakenFiles& taken) {
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
    lines = TakeProject(script, action, file, taken);
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

void RequireScriptFolder(const std::string& script) {
  const std::string folder = platform::machinepath::ExtractFileDir(script);
  if (!folder.empty() && !platform::machinepath::DirectoryExists(folder))
    throw Exception(script + ": the folder " + folder + " does not exist; make it first");
}

std::vector<std::shared_ptr<TCustomMxAction>> SelectActions(const TBuildScript& script,
                                                            const std::string& path,
                                                            const std::vector<std::string>& names) {
  for (const auto& name : names)
    RequireAction(script, path, name);
  std::vector<std::shared_ptr<TCustomMxAction>> actions;
  for (const auto& action : script.Actions()) {
    const bool named = std::any_of(names.begin(), names.end(), [&](const std::string& n) {
      return platform::SameText(n, action->Name());
    });
    if (names.empty() ? action->Enabled() : named) actions.push_back(action);
  }
  return actions;
}

std::vector<std::string> OutputsRelativeTo(const TCustomMxAction& action, const std::string& root) {
  namespace machinepath = platform::machinepath;
  std::optional<TProjectFiles> files;
  try {
    files = action.ProjectFiles();
  } catch (const Exception& e) {
    throw Exception(action.Name() + ": what the project builds cannot be read: " + e.what());
  }
  std::vector<std::string> outputs;
  if (!files) return outputs;
  for (const auto& output : files->Outputs) {
    const auto path = machinepath::ToFsPath(output);
    const auto relative = path.lexically_relative(machinepath::ToFsPath(root));
    const bool inside = path.is_absolute() && !relative.empty() && *relative.begin() != "..";
    if (!inside) {
      outputs.push_back(output);
      continue;
    }
    std::string text = machinepath::FromFsPath(relative);
#ifdef _WIN32
    std::replace(text.begin(), text.end(), '\\', '/');
#endif
    outputs.push_back(std::move(text));
  }
  return outputs;
}

}  // namespace mx::cli
