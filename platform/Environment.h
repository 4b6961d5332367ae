#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace mx::platform {

/// The process environment, which child processes inherit.
std::optional<std::string> GetEnvironmentVariable(const std::string& name);
void SetEnvironmentVariable(const std::string& name, const std::string& value);
void RemoveEnvironmentVariable(const std::string& name);

}  // namespace mx::platform
