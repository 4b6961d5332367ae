#pragma once

#include <optional>
#include <string>
#include <string_view>

// <windows.h>, when a file includes it first, maps these names onto its own A/W functions.
#undef GetEnvironmentVariable
#undef SetEnvironmentVariable

namespace mx::platform {

/// The process environment, which child processes inherit.
std::optional<std::string> GetEnvironmentVariable(const std::string& name);
void SetEnvironmentVariable(const std::string& name, const std::string& value);
void RemoveEnvironmentVariable(const std::string& name);

}  // namespace mx::platform
