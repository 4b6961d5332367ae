#pragma once
// moxtal run: the actions of a build script, one after the other or several at once, with their
// log, their tools' diagnostics (SARIF, CI annotations) and a summary.

#include "moxtal/cli/HostCommands.h"

namespace mx::cli {

void DefineRunCommand(const TAddCommand& add,
                      std::map<const CLI::App*, std::function<int()>>& runs);

}  // namespace mx::cli
