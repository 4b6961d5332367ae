#include "ExecutablePath.h"

#include "FileNames.h"

namespace mx::platform {

TProgramFolders ProgramFoldersFor(const std::string& executableFolder,
                                  const std::string& coreFolder) {
  const std::string prefix = machinepath::ExtractFileDir(executableFolder);
  // The layout install makes: bin/moxtal, and the core in <libdir>/moxtal of the same prefix
  // (lib, lib64 or lib/<multiarch triplet>).
  const std::string libs = machinepath::Join(prefix, "lib");
  const bool installed =
      coreFolder != executableFolder && machinepath::ExtractFileName(executableFolder) == "bin" &&
      machinepath::ExtractFileName(coreFolder) == "moxtal" && coreFolder.starts_with(libs) &&
      coreFolder.find("..", libs.size()) == std::string::npos;
  if (!installed) return {executableFolder, executableFolder, executableFolder};
  return {executableFolder, coreFolder,
          machinepath::Join(machinepath::Join(prefix, "share"), "moxtal")};
}

}  // namespace mx::platform
