#pragma once
// What both C++Builder actions check before a build starts any tool: that the project is of a
// kind the action builds, and that the C++Builder version the build needs is on this machine.

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

#include "moxtal/api/Action.h"
#include "package/projparser/ProjectKind.h"

namespace mx::bcc {

/// Why `file`, identified as `identity`, cannot be built by an action that builds the kinds
/// `accepted`: what the file is and what builds it instead. nullopt when the action builds it
/// (or the file is missing, which the check of the files a build reads reports).
std::optional<std::string> WrongProjectKind(const std::string& file,
                                            const TProjectIdentity& identity,
                                            std::initializer_list<TProjectKind> accepted);

/// What builds a project of `kind`, for a message: "build it with a ... action (CLASS)", or why
/// nothing here does and what to do instead.
std::string WhatBuilds(TProjectKind kind);
/// The class of the action that builds a project of `kind`; "" for a kind no action builds.
std::string ActionClassFor(TProjectKind kind);

/// The folder of the project `projectFile` names for `action` (its variables expanded, relative
/// to the action's folder), normalised; "" when the name cannot be expanded or is empty.
std::string ProjectFolderOf(const TCustomMxAction& action, const std::string& projectFile);

/// "needs C++Builder 5; this machine has C++Builder 6 (registry: FILE)": the version a build
/// needs, the versions whose variables `action` can expand, and where they were looked for.
std::string MissingCompilerMessage(const TCustomMxAction& action, std::string_view needed);

}  // namespace mx::bcc
