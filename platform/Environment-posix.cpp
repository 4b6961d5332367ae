#include <cstdlib>

#include "Environment.h"
#include "StrUtils.h"

extern char** environ;

namespace mx::platform {

std::optional<std::string> GetEnvironmentVariable(const std::string& name) {
  const char* v = std::getenv(name.c_str());
  return v ? std::optional<std::string>(v) : std::nullopt;
}

void SetEnvironmentVariable(const std::string& name, const std::string& value) {
  ::setenv(name.c_str(), value.c_str(), 1);
}

void RemoveEnvironmentVariable(const std::string& name) {
  ::unsetenv(name.c_str());
}

std::optional<std::string> FindEnvironmentVariable(std::string_view name) {
  if (name.empty()) return std::nullopt;
  for (char** e = environ; e && *e; ++e) {
    const std::string_view entry(*e);
    const auto eq = entry.find('=');
    if (eq != std::string_view::npos && SameText(entry.substr(0, eq), name)) {
      return std::string(entry.substr(eq + 1));
    }
  }
  return std::nullopt;
}

}  // namespace mx::platform

namespace mx::platform {

bool HasDesktop() {
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
    if (!FindEnvironmentVariable(name).value_or("").empty()) return true;
  }
  return false;
}

}  // namespace mx::platform
