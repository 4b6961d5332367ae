#pragma once
// moxtal edit: the pages of one action, in the desktop editor or headless.

#include "moxtal/cli/HostCommands.h"

namespace mx::cli {

void DefineEditCommand(const TAddCommand& add,
                       std::map<const CLI::App*, std::function<int()>>& runs);

}  // namespace mx::cli
