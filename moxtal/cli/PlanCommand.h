#pragma once
// "moxtal plan SCRIPT --format github|gitlab|json": the build graph of a script as a CI
// pipeline, one job per action.

#include "moxtal/cli/HostCommands.h"

namespace mx::cli {

void DefinePlanCommand(const TAddCommand& add,
                       std::map<const CLI::App*, std::function<int()>>& runs);

}  // namespace mx::cli
