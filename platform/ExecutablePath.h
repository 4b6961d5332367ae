#pragma once

#include <string>

namespace mx::platform {

/// The folder of the running program's executable file (without a trailing delimiter), where
/// the host finds its packages and data files; "." when the system cannot say.
std::string ExecutableFolder();

}  // namespace mx::platform
