#pragma once
// What a build of an action needs and lacks: files that do not exist, settings that contradict
// each other. `moxtal validate` reports them all; `moxtal edit --reload` checks the project first.

#include <string>
#include <vector>

#include "moxtal/api/Action.h"

namespace mx::cli {

struct TRequirementProblem {
  bool Error = true;  // false: a warning
  std::string Property;
  std::string Text;
};

/// The problems of `action`: each file it needs expanded with its build script's variables and
/// taken against the script's folder, then looked for. When `earlierAction` (an enabled action
/// runs before it), a missing file is only a warning: that action may make it.
std::vector<TRequirementProblem> CheckRequirements(const TCustomMxAction& action,
                                                   bool earlierAction);

/// The files a build of `action` writes beside its project, by name.
std::vector<std::string> BuildFiles(const TCustomMxAction& action);

}  // namespace mx::cli
