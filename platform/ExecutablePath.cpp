#include "ExecutablePath.h"

#include "FileNames.h"

namespace mx::platform {

TProgramFolders ProgramFoldersFor(const std::string& executableFolder) {
  const std::string prefix = machinepath::ExtractFileDir(executableFolder);
  const auto installed = [&](const char* parent) {
    const std::string folder = machinepath::Join(machinepath::Join(prefix, parent), "moxtal");
    return machinepath::DirectoryExists(folder) ? folder : executableFolder;
  };
  return {executableFolder, installed("lib"), installed("share")};
}

const TProgramFolders& ProgramFolders() {
  static const TProgramFolders folders = ProgramFoldersFor(ExecutableFolder());
  return folders;
}

}  // namespace mx::platform
