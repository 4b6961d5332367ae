#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// <windows.h>, when a file includes it first, maps these names onto its own A/W functions.
#undef GetEnvironmentVariable
#undef SetEnvironmentVariable

namespace mx::platform {

/// The process environment, which child processes inherit.
std::optional<std::string> GetEnvironmentVariable(const std::string& name);
void SetEnvironmentVariable(const std::string& name, const std::string& value);
void RemoveEnvironmentVariable(const std::string& name);
/// A variable found by its name without regard to letter case, as Windows names them
/// everywhere; on POSIX the first variable whose name matches that way. nullopt for "".
std::optional<std::string> FindEnvironmentVariable(std::string_view name);

/// True where a window can be shown: always on Windows; elsewhere when DISPLAY or
/// WAYLAND_DISPLAY is set, or QT_QPA_PLATFORM names a platform of the person's choice.
bool HasDesktop();

}  // namespace mx::platform
