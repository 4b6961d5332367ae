#include "PackageLoader.h"

#include <algorithm>
#include <filesystem>

#include "platform/DynamicLibrary.h"
#include "platform/Exception.h"
#include "platform/FileNames.h"
#include "platform/StrUtils.h"

namespace mx::engine {

using platform::TDynamicLibrary;

TLoadedPackage LoadPackage(const std::string& path, bool designTime) {
  const TDynamicLibrary module = [&path] {
    try {
      return TDynamicLibrary::Load(path);
    } catch (const platform::EDynamicLibraryError& e) {
      throw Exception("Cannot load package " + path + ": " + e.Reason());
    }
  }();
  using TRegisterEntry = void (*)(bool);
  using TDescriptionEntry = const char* (*)();
  const auto registerEntry = reinterpret_cast<TRegisterEntry>(module.Symbol("MxRegister"));
  if (!registerEntry) throw Exception("Package " + path + " has no MxRegister entry");
  std::string name = platform::machinepath::ExtractFileName(path);
  if (name.rfind(TDynamicLibrary::Prefix(), 0) == 0)
    name.erase(0, std::string_view(TDynamicLibrary::Prefix()).size());
  TLoadedPackage package{platform::machinepath::ChangeFileExt(name, ""), path, {}};
  if (const auto description =
          reinterpret_cast<TDescriptionEntry>(module.Symbol("MxPackageDescription"))) {
    package.Description = description();
  }
  registerEntry(designTime);
  return package;
}

std::vector<TLoadedPackage> LoadPackages(const std::string& folder, bool designTime) {
  std::vector<std::string> modules;
  std::error_code ec;
  for (std::filesystem::directory_iterator it(platform::machinepath::ToFsPath(folder), ec), end;
       !ec && it != end; it.increment(ec)) {
    const std::filesystem::path& path = it->path();
    using platform::machinepath::FromFsPath;
    const std::string name = FromFsPath(path.filename());
    if (!it->is_regular_file() ||
        !platform::SameText(FromFsPath(path.extension()), TDynamicLibrary::Extension()) ||
        name.rfind(TDynamicLibrary::Prefix(), 0) != 0)
      continue;
    modules.push_back(FromFsPath(path));
  }
  if (ec) throw Exception("Cannot read the package folder " + folder + ": " + ec.message());
  std::sort(modules.begin(), modules.end());
  std::vector<TLoadedPackage> loaded;
  for (const auto& m : modules)
    loaded.push_back(LoadPackage(m, designTime));
  return loaded;
}

}  // namespace mx::engine
