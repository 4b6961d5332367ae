#include "GroupReaders.h"

#include "moxtal/api/Commands.h"
#include "package/actionbase/ProjectChecks.h"
#include "package/projparser/ProjectGroups.h"

namespace mx::bcc {

namespace {

std::vector<TGroupProject> ReadGroup(const std::string& file) {
  std::vector<TGroupProject> projects;
  for (auto& entry : ReadProjectGroup(file)) {
    TGroupProject project{entry.File, {}, {}, std::move(entry.DependsOn)};
    const auto identity = IdentifyProject(entry.File);
    project.ActionClass = ActionClassFor(identity.Kind);
    if (identity.Kind == TProjectKind::pkMissing) {
      project.Skipped = "the file does not exist";
    } else if (project.ActionClass.empty()) {
      project.Skipped = DescribeProjectKind(identity) + ": " + WhatBuilds(identity.Kind);
    }
    projects.push_back(std::move(project));
  }
  return projects;
}

}  // namespace

void RegisterGroupReaders() {
  for (const auto& kind : ProjectGroupKinds())
    MxCommandServices().RegisterGroupReader({kind.Extension, kind.Description, ReadGroup});
}

}  // namespace mx::bcc
