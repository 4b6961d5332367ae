#include <dlfcn.h>

#include "DynamicLibrary.h"

namespace mx::platform {

TDynamicLibrary TDynamicLibrary::Load(const std::string& path) {
  void* handle = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle) throw EDynamicLibraryError(path, ::dlerror());
  return TDynamicLibrary(handle);
}

void* TDynamicLibrary::Symbol(const char* name) const {
  return ::dlsym(handle_, name);
}

const char* TDynamicLibrary::Extension() {
  return ".so";
}

const char* TDynamicLibrary::Prefix() {
  return "lib";
}

}  // namespace mx::platform
