#pragma once

#include <string>

namespace mx::platform {

/// The folder of the running program's executable file (without a trailing delimiter), with
/// symbolic links followed. Throws mx::Exception when the system cannot say: the program then
/// loads nothing rather than take its packages, registry or editor from the current folder.
std::string ExecutableFolder();

/// Where the program finds its own files, by one rule that serves the build tree and an
/// installation alike. Installed, the executable sits in `<prefix>/bin` beside
/// `<prefix>/lib/moxtal` (the core library, the editor module and the packages folder) and
/// `<prefix>/share/moxtal` (catalogues and the registry file); where those folders do not exist, as
/// in the build tree and on Windows, everything is beside the executable.
struct TProgramFolders {
  std::string Executable;
  std::string Modules;
  std::string Data;
};

/// The folders of the running program; computed once. Throws as ExecutableFolder does.
const TProgramFolders& ProgramFolders();

/// The folders for an executable in `executableFolder`, by the rule above.
TProgramFolders ProgramFoldersFor(const std::string& executableFolder);

}  // namespace mx::platform
