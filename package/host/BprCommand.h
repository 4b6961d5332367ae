#pragma once

namespace mx::bcc {

/// Adds "moxtal bpr inspect|apply ..." to the host's command line: what a parser reads from a
/// C++Builder 5/6 project, and what a build would force onto it.
void RegisterBprCommand();

}  // namespace mx::bcc
