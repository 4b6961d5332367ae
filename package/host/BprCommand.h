#pragma once

#include <string>
#include <vector>

namespace mx::bcc {

/// "moxtal bpr inspect|apply ...": what a parser reads from a C++Builder 5/6 project, and what a
/// build would force onto it. Returns the exit status.
int BprCommand(const std::vector<std::string>& args);

/// Adds the command to the host's command line.
void RegisterBprCommand();

}  // namespace mx::bcc
