#pragma once
// The project groups this package reads for the host's import of a group: each project with the
// action class that builds it, or why none does.

namespace mx::bcc {

/// Registers the readers of .bpg, .bdsgroup and .groupproj files.
void RegisterGroupReaders();

}  // namespace mx::bcc
