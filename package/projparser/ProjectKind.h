#pragma once
// What kind of project a file holds, told from its name and content: the C++Builder version it
// belongs to, or that it is a Delphi project or nothing this package builds. The checks before a
// build and the import of a project group ask it, so that a project given to the wrong action
// is named for what it is.

#include <cstdint>
#include <string>

namespace mx::bcc {

enum class TProjectKind : std::uint8_t {
  pkMissing,        // no such file
  pkUnknown,        // nothing this package recognises; Detail says why
  pkCBuilder3,      // makefile-style .bpr/.bpk of C++Builder 3
  pkCBuilder4,      // makefile-style .bpr/.bpk of C++Builder 4
  pkCBuilder5,      // XML .bpr/.bpk
  pkCBuilder6,      // XML .bpr/.bpk
  pkCBuilder2006,   // .bdsproj of the C++Builder personality
  pkCBuilder2007,   // .cbproj of C++Builder 2007
  pkCBuilderLater,  // .cbproj of C++Builder 2009 or later; Detail: "ProjectVersion 17.2"
  pkDelphi,         // .dpr, .dpk, .dproj, or a .bdsproj of the Delphi personality
};

struct TProjectIdentity {
  TProjectKind Kind = TProjectKind::pkUnknown;
  /// What tells a later project ("ProjectVersion 17.2"); why a file is not recognised.
  std::string Detail;
};

/// Tells what `file` (a path of this machine) holds. Never throws: a file that cannot be read
/// or parsed is pkUnknown with the reason.
TProjectIdentity IdentifyProject(const std::string& file);

/// The kind in words: "a C++Builder 6 project", "a C++Builder 2009 or later project
/// (ProjectVersion 17.2)", "a Delphi project", "not a project this package recognises (...)".
std::string DescribeProjectKind(const TProjectIdentity& identity);

}  // namespace mx::bcc
