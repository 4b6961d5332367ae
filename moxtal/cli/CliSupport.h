#pragma once
// What the commands that load a build script share: finding an action by name, setting
// properties from the command line, and checking what a build needs before any tool runs.

#include <memory>
#include <string>
#include <vector>

#include "moxtal/api/Action.h"
#include "moxtal/cli/ProjectTake.h"

namespace mx::engine {
class TBuildScript;
}  // namespace mx::engine

namespace mx::cli {

/// The action of `script` (loaded from `path`) named `name`; throws mx::Exception naming the
/// script, with the actions there are, when it has none.
std::shared_ptr<TCustomMxAction> RequireAction(const engine::TBuildScript& script,
                                               const std::string& path, const std::string& name);

/// The actions a command works on, in the script's order: those `names` names, else the enabled
/// ones. Throws mx::Exception for a name the script at `path` lacks.
std::vector<std::shared_ptr<TCustomMxAction>> SelectActions(const engine::TBuildScript& script,
                                                            const std::string& path,
                                                            const std::vector<std::string>& names);

/// What `action` builds that other projects link, each relative to `root` with "/" between
/// folders when it lies inside `root`, else as it stands (an absolute path, a Windows path).
/// Throws mx::Exception naming the action when its project cannot be read.
std::vector<std::string> OutputsRelativeTo(const TCustomMxAction& action, const std::string& root);

/// Sets PROP=VALUE assignments on an action of the script at `script` (DependsOn=A,B and
/// Enabled=False among them); a property the action lacks, or a value it cannot take, names the
/// script and the action. Returns the names set. `what` names the assignments in messages
/// ("--set").
std::vector<std::string> Assign(TCustomMxAction& action, const std::string& script,
                                const std::vector<std::string>& assignments, const char* what);

/// Throws mx::Exception naming the folder when the folder a build script is to be written in is
/// not there.
void RequireScriptFolder(const std::string& script);

/// True when `names` holds the action's project file ("ProjectFile").
bool NamesProjectFile(const std::vector<std::string>& names);

/// Takes the project `action` was just given (its ProjectFile, set from `assignments`) as the
/// project page takes a project a person picks: `previous` is the project it named before. The
/// other assignments are made again afterwards, so that what the command line gives wins over
/// what the project holds. The files written beside the project go to `taken`. Returns the
/// lines that say what was taken. Throws mx::Exception naming the script and saying it is
/// unchanged.
std::vector<std::string> TakeAssignedProject(engine::TBuildScript& script, TCustomMxAction& action,
                                             const std::string& scriptPath,
                                             const std::string& previous,
                                             const std::vector<std::string>& assignments,
                                             const char* what, TTakenFiles& taken);

/// What a build of `actions` of `script` (in the order they run) lacks, and what is wrong with
/// the script's dependencies: each problem as a line "action: property: text" in `lines`
/// (warnings counted in `warnings`); false when one of them is an error.
bool CheckActions(const engine::TBuildScript& script,
                  const std::vector<std::shared_ptr<TCustomMxAction>>& actions,
                  std::vector<std::string>& lines, int& warnings);

}  // namespace mx::cli
