#pragma once
// Which design services answer the pages: the host installs the desktop's, the headless
// editor's or a test's.

#include "moxtal/api/DesignServices.h"
#include "moxtal/api/Services.h"

#include <string>
#include <utility>
#include <vector>

namespace mx::engine {

/// Installs `services` (nullptr: the console's) and returns the ones installed before. The
/// caller keeps `services` alive while installed.
IMxDesignServices* SetDesignServices(IMxDesignServices* services);

/// Makes `services` the design-time expansion (nullptr: the host's own, without any build
/// script); the editor sets the context of the build script it edits, so that the pages expand
/// as the build will. Returns the one set before.
IMxApplicationServices* SetDesignApplicationServices(IMxApplicationServices* services);

/// The title of a message box of `type` on every desktop: "Warning", "Error", "Information",
/// "Confirm", or "moxtal" for a custom one.
const char* MessageDlgTitle(TMsgDlgType type);

/// The selection a check-list dialog gives back, from the names in it and whether each is now
/// checked: a checked item is on ("NAME=1"); an item that was explicitly off ("NAME=0") and is
/// still unchecked stays off; anything else is left to the tool's default (not listed).
platform::TStringList CheckListResult(const platform::TStringList& selection,
                                      const std::vector<std::pair<std::string, bool>>& items);

}  // namespace mx::engine
