#pragma once

#include "moxtal/api/Services.h"

namespace mx::bcc {

/// Publishes the installation folder and the make, Pascal compiler and resource compiler paths
/// of every installed C++Builder version as host variables ("BCB6DIR", "BCB6", "BCB6DCC",
/// "BCB6_BRCC32", ...), read from the registry; with the host option to read them, also the
/// C++Builder 6 environment variables of the current user.
void DiscoverCompilers(IMxPackageServices& services);

/// The package's start-up, run when the host loads the package.
void PackageStartup();

}  // namespace mx::bcc
