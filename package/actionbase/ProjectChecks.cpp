#include "ProjectChecks.h"

#include <algorithm>
#include <vector>

#include "moxtal/api/Services.h"
#include "package/actionbase/VersionInfoAction.h"
#include "platform/FileNames.h"

namespace mx::bcc {

namespace {

constexpr const char* k56Action = "a \"Compile C++Builder Project\" action (TMxCBuilderAction)";
constexpr const char* k2006Action = "a \"C++Builder 2006/7 Project\" action (TCBuilder2006Action)";

}  // namespace

std::string WhatBuilds(TProjectKind kind) {
  switch (kind) {
    case TProjectKind::pkCBuilder5:
    case TProjectKind::pkCBuilder6:
      return std::string("build it with ") + k56Action;
    case TProjectKind::pkCBuilder2006:
    case TProjectKind::pkCBuilder2007:
      return std::string("build it with ") + k2006Action;
    case TProjectKind::pkCBuilder3:
    case TProjectKind::pkCBuilder4:
      return "open it once in C++Builder 5 or 6, which converts it to their XML project format, "
             "then build it with " +
             std::string(k56Action);
    case TProjectKind::pkCBuilderLater:
      return "no action of this package builds it: the C++Builder 2006/7 action builds only "
             "C++Builder 2006 (.bdsproj) and 2007 (.cbproj) projects; build it with the MSBuild "
             "of its own C++Builder version";
    case TProjectKind::pkDelphi:
      return "this package builds C++Builder projects only";
    default:
      return "give the action a C++Builder project file";
  }
}

std::string ActionClassFor(TProjectKind kind) {
  switch (kind) {
    case TProjectKind::pkCBuilder5:
    case TProjectKind::pkCBuilder6:
      return "TMxCBuilderAction";
    case TProjectKind::pkCBuilder2006:
    case TProjectKind::pkCBuilder2007:
      return "TCBuilder2006Action";
    default:
      return {};
  }
}

std::optional<std::string> WrongProjectKind(const std::string& file,
                                            const TProjectIdentity& identity,
                                            std::initializer_list<TProjectKind> accepted) {
  if (identity.Kind == TProjectKind::pkMissing ||
      std::find(accepted.begin(), accepted.end(), identity.Kind) != accepted.end())
    return std::nullopt;
  return file + " is " + DescribeProjectKind(identity) + ": " + WhatBuilds(identity.Kind);
}

std::string ProjectFolderOf(const TCustomMxAction& action, const std::string& projectFile) {
  try {
    const std::string project = action.AbsolutePath(action.ExpandExpression(projectFile, true));
    return project.empty()
               ? std::string()
               : platform::machinepath::Normalise(platform::machinepath::ExtractFileDir(project));
  } catch (const Exception&) {
    return {};  // the build reports a name it cannot expand
  }
}

std::string MissingCompilerMessage(const TCustomMxAction& action, std::string_view needed) {
  static const std::pair<const char*, const char*> kVersions[] = {
      {"BCB3", "3"}, {"BCB4", "4"},       {"BCB5", "5"},
      {"BCB6", "6"}, {"BCB2006", "2006"}, {"CB2007", "2007"}};
  std::vector<std::string> found;
  for (const auto& [variable, name] : kVersions) {
    try {
      if (!action.ExpandExpression(std::string("%") + variable + "%", true).empty())
        found.emplace_back(name);
    } catch (const Exception&) {
      // Not published: that version was not found.
    }
  }
  const std::string has = found.empty() ? "no C++Builder" : "C++Builder " + JoinPhrases(found);
  return "needs C++Builder " + std::string(needed) + "; this machine has " + has +
         " (registry: " + MxPackageServices().RegistryName() + ")";
}

}  // namespace mx::bcc
