#pragma once
// The project groups of C++Builder: a .bpg (5/6, a makefile), a .bdsgroup (2006, XML) and a
// .groupproj (2007, an MSBuild file). Each is read into the projects it names, in its order,
// with the dependencies the group itself states.

#include <string>
#include <vector>

namespace mx::bcc {

/// A project named by a group.
struct TGroupEntry {
  /// The project file: an absolute path of this machine (the group's name for it, taken
  /// against the group's folder).
  std::string File;
  /// The files of the group's other projects this one depends on, as the group states it (a
  /// .groupproj's Dependencies, the prerequisites of a .bpg rule that are other targets); the
  /// same form as File.
  std::vector<std::string> DependsOn;
  /// The line of the group that names the project.
  int Line = 0;
};

/// The projects of group `file`, in the group's order. Throws mx::Exception
/// "<file>(<line>): <problem>" for a group that is malformed, and "<file>: <problem>" for one
/// that cannot be read or is of no kind this reads.
std::vector<TGroupEntry> ReadProjectGroup(const std::string& file);

/// The kinds of group ReadProjectGroup reads, as "*.bpg" patterns with their descriptions.
struct TGroupKind {
  const char* Extension;
  const char* Description;
};
const std::vector<TGroupKind>& ProjectGroupKinds();

}  // namespace mx::bcc
