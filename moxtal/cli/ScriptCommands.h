#pragma once
// The commands that look at and change a build script: validate, new, set and show.

#include "moxtal/cli/HostCommands.h"

namespace mx::cli {

void DefineScriptCommands(const TAddCommand& add,
                          std::map<const CLI::App*, std::function<int()>>& runs);

}  // namespace mx::cli
