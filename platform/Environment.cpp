#include "Environment.h"

#include <cstdlib>

#ifdef _WIN32
#include "Win32Text.h"
// <windows.h> maps these names onto its own A/W functions.
#undef GetEnvironmentVariable
#undef SetEnvironmentVariable
#endif

namespace mx::platform {

std::optional<std::string> GetEnvironmentVariable(const std::string& name) {
  const char* v = std::getenv(name.c_str());
  return v ? std::optional<std::string>(v) : std::nullopt;
}

#ifdef _WIN32
void SetEnvironmentVariable(const std::string& name, const std::string& value) {
  ::SetEnvironmentVariableW(win32::Widen(name).c_str(), win32::Widen(value).c_str());
  _putenv_s(name.c_str(), value.c_str());
}

void RemoveEnvironmentVariable(const std::string& name) {
  ::SetEnvironmentVariableW(win32::Widen(name).c_str(), nullptr);
  _putenv_s(name.c_str(), "");
}
#else
void SetEnvironmentVariable(const std::string& name, const std::string& value) {
  ::setenv(name.c_str(), value.c_str(), 1);
}

void RemoveEnvironmentVariable(const std::string& name) {
  ::unsetenv(name.c_str());
}
#endif

}  // namespace mx::platform
