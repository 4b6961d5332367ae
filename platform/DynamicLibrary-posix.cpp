#include <dlfcn.h>

#include "DynamicLibrary.h"

namespace mx::platform {

TDynamicLibrary TDynamicLibrary::Load(const std::string& path) {
  // Functions are bound when first called; most of a package's are never called in one run.
  void* handle = ::dlopen(path.c_str(), RTLD_LAZY | RTLD_LOCAL);
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
