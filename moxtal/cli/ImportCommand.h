#pragma once
// "moxtal import GROUP SCRIPT": one action per project of a project group, each taking its
// project as "moxtal new" does, with the dependencies between them that the group states and that
// their projects' links show.

#include "moxtal/cli/HostCommands.h"

namespace mx::cli {

void DefineImportCommand(const TAddCommand& add,
                         std::map<const CLI::App*, std::function<int()>>& runs);

}  // namespace mx::cli
