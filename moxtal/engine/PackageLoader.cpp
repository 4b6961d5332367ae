#include "PackageLoader.h"

#include <algorithm>
#include <filesystem>

#include "platform/Exception.h"
#include "platform/FileNames.h"
#include "platform/StrUtils.h"

#ifdef _WIN32
#include <windows.h>

#include "platform/Win32Text.h"
#else
#include <dlfcn.h>
#include <unistd.h>
#endif

namespace mx::engine {
namespace {

using TRegisterEntry = void (*)(bool);
using TDescriptionEntry = const char* (*)();

#ifdef _WIN32
void* OpenModule(const std::string& path, std::string& error) {
  HMODULE m = ::LoadLibraryW(platform::win32::Widen(path).c_str());
  if (!m) error = platform::win32::ErrorText(::GetLastError());
  return m;
}
void* Symbol(void* module, const char* name) {
  return reinterpret_cast<void*>(::GetProcAddress(static_cast<HMODULE>(module), name));
}
constexpr const char* kModuleExtension = ".dll";
#else
void* OpenModule(const std::string& path, std::string& error) {
  void* m = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!m) error = ::dlerror();
  return m;
}
void* Symbol(void* module, const char* name) {
  return ::dlsym(module, name);
}
constexpr const char* kModuleExtension = ".so";
#endif

}  // namespace

TLoadedPackage LoadPackage(const std::string& path, bool designTime) {
  std::string error;
  // Modules stay loaded for the life of the process, as the host's objects may come from them.
  void* module = OpenModule(path, error);
  if (!module) throw Exception("Cannot load package " + path + ": " + error);
  const auto registerEntry = reinterpret_cast<TRegisterEntry>(Symbol(module, "MxRegister"));
  if (!registerEntry) throw Exception("Package " + path + " has no MxRegister entry");
  TLoadedPackage package{path, {}};
  if (const auto description =
          reinterpret_cast<TDescriptionEntry>(Symbol(module, "MxPackageDescription"))) {
    package.Description = description();
  }
  registerEntry(designTime);
  return package;
}

std::vector<TLoadedPackage> LoadPackages(const std::string& folder, bool designTime) {
  std::vector<std::string> modules;
  std::error_code ec;
  for (const auto& entry :
       std::filesystem::directory_iterator(platform::machinepath::ToFsPath(folder), ec)) {
    const std::string name = entry.path().filename().string();
    if (!entry.is_regular_file() ||
        !platform::SameText(entry.path().extension().string(), kModuleExtension))
      continue;
#ifndef _WIN32
    if (name.rfind("lib", 0) != 0) continue;
#endif
    modules.push_back(entry.path().string());
  }
  std::sort(modules.begin(), modules.end());
  std::vector<TLoadedPackage> loaded;
  for (const auto& m : modules)
    loaded.push_back(LoadPackage(m, designTime));
  return loaded;
}

std::string ExecutableFolder() {
#ifdef _WIN32
  wchar_t buffer[MAX_PATH * 4];
  const DWORD n = ::GetModuleFileNameW(nullptr, buffer, static_cast<DWORD>(std::size(buffer)));
  return platform::machinepath::ExtractFileDir(
      platform::win32::Narrow(std::wstring_view(buffer, n)));
#else
  std::error_code ec;
  const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  return ec ? std::string(".") : exe.parent_path().string();
#endif
}

}  // namespace mx::engine
