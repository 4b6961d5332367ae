#include <cstdlib>
#include <vector>

#include "Environment.h"
#include "Win32Text.h"

// <windows.h> maps these names onto its own A/W functions.
#undef GetEnvironmentVariable
#undef SetEnvironmentVariable

namespace mx::platform {

std::optional<std::string> GetEnvironmentVariable(const std::string& name) {
  const std::wstring wide = win32::Widen(name);
  const DWORD size = ::GetEnvironmentVariableW(wide.c_str(), nullptr, 0);
  if (size == 0) return std::nullopt;
  std::vector<wchar_t> buffer(size);
  const DWORD n = ::GetEnvironmentVariableW(wide.c_str(), buffer.data(), size);
  return win32::Narrow(std::wstring_view(buffer.data(), n));
}

void SetEnvironmentVariable(const std::string& name, const std::string& value) {
  // Both the Windows environment (inherited by children) and the C runtime's copy.
  ::SetEnvironmentVariableW(win32::Widen(name).c_str(), win32::Widen(value).c_str());
  _putenv_s(name.c_str(), value.c_str());
}

void RemoveEnvironmentVariable(const std::string& name) {
  ::SetEnvironmentVariableW(win32::Widen(name).c_str(), nullptr);
  _putenv_s(name.c_str(), "");
}

std::optional<std::string> FindEnvironmentVariable(std::string_view name) {
  // Windows compares environment names without regard to case itself.
  if (name.empty()) return std::nullopt;
  return GetEnvironmentVariable(std::string(name));
}

}  // namespace mx::platform

namespace mx::platform {

bool HasDesktop() {
  return true;
}

}  // namespace mx::platform
