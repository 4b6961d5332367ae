#include "DynamicLibrary.h"
#include "Win32Text.h"

namespace mx::platform {

TDynamicLibrary TDynamicLibrary::Load(const std::string& path) {
  // By its full path; what it needs is looked for in its own folder, the program's folder and
  // the system's, never in the current folder or on the PATH.
  HMODULE module =
      ::LoadLibraryExW(win32::Widen(path).c_str(), nullptr,
                       LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR | LOAD_LIBRARY_SEARCH_DEFAULT_DIRS);
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
