#include "DynamicLibrary.h"
#include "Win32Text.h"

namespace mx::platform {

TDynamicLibrary TDynamicLibrary::Load(const std::string& path) {
  HMODULE module = ::LoadLibraryW(win32::Widen(path).c_str());
  if (!module) throw EDynamicLibraryError(path, win32::ErrorText(::GetLastError()));
  return TDynamicLibrary(module);
}

void* TDynamicLibrary::Symbol(const char* name) const {
  return reinterpret_cast<void*>(::GetProcAddress(static_cast<HMODULE>(handle_), name));
}

const char* TDynamicLibrary::Extension() {
  return ".dll";
}

const char* TDynamicLibrary::Prefix() {
  return "";
}

}  // namespace mx::platform
