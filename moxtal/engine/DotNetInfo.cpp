#include "moxtal/api/DotNetInfo.h"

#include "moxtal/api/ToolFiles.h"
#include "moxtal/engine/Host.h"
#include "platform/FileNames.h"

namespace mx {

std::optional<std::string> MxDotNetInfo(std::string_view version, const TToolSetup& setup) {
  // Each framework version lives in a folder named after its full version number.
  static const std::pair<const char*, const char*> kFolders[] = {
      {"v1.0", "v1.0.3705"}, {"v1.1", "v1.1.4322"}, {"v2.0", "v2.0.50727"}, {"v4.0", "v4.0.30319"}};
  const auto registry = engine::THost::Instance().Registry();
  const auto key = registry ? registry->OpenKeyReadOnly(platform::TRegistryRoot::rkLocalMachine,
                                                        "SOFTWARE\\Microsoft\\.NETFramework")
                            : nullptr;
  std::string root;
  try {
    root = key ? key->ReadString("InstallRoot").value_or("") : std::string();
  } catch (const platform::ERegistryException&) {
    // A value of another type than text names no folder.
    return std::nullopt;
  }
  if (root.empty()) return std::nullopt;
  for (const auto& [name, folder] : kFolders) {
    if (version != name) continue;
    // Under Wine the registry names the folder by its Windows name.
    const std::string dir = TToolFiles::Join(root, folder);
    if (TToolFiles::For(dir, setup).DirectoryExists(dir)) return dir;
  }
  return std::nullopt;
}

}  // namespace mx
