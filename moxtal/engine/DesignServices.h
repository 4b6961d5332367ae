#pragma once
// Which design services answer the pages: the host installs the desktop's, the headless
// editor's or a test's.

#include "moxtal/api/DesignServices.h"
#include "moxtal/api/Services.h"

namespace mx::engine {

/// Installs `services` (nullptr: the console's) and returns the ones installed before. The
/// caller keeps `services` alive while installed.
IMxDesignServices* SetDesignServices(IMxDesignServices* services);

/// Makes `services` the design-time expansion (nullptr: the host's own, without any build
/// script); the editor sets the context of the build script it edits, so that the pages expand
/// as the build will. Returns the one set before.
IMxApplicationServices* SetDesignApplicationServices(IMxApplicationServices* services);

}  // namespace mx::engine
