#pragma once

#include <string>

namespace mx::platform {

/// The folder of the running program's executable file (without a trailing delimiter), with
/// symbolic links followed. Throws mx::Exception when the system cannot say: the program then
/// loads nothing rather than take its packages, registry or editor from the current folder.
std::string ExecutableFolder();

/// Where the program finds its own files. On Windows everything is beside the executable, always:
/// nothing is taken from a folder above it, which another user may be able to create. Elsewhere
/// an installation keeps the executable in `<prefix>/bin`, the core library, the editor module
/// and the packages folder in `<prefix>/<libdir>/moxtal` and the catalogues and registry file in
/// `<prefix>/share/moxtal`; that layout is taken only when the core library the program runs
/// with was loaded from such a folder of the same prefix (where the installed program's run path
/// points), and everything is beside the executable otherwise, as in the build tree.
struct TProgramFolders {
  std::string Executable;
  std::string Modules;
  std::string Data;
};

/// The folders of the running program; computed once. Throws as ExecutableFolder does.
const TProgramFolders& ProgramFolders();

/// The folders for an executable in `executableFolder` that runs with the core library loaded
/// from `coreFolder`, by the rule above for systems other than Windows.
TProgramFolders ProgramFoldersFor(const std::string& executableFolder,
                                  const std::string& coreFolder);

/// The folder of the module (shared library, or the executable) that holds this code, links
/// followed: the core library of the running program. Throws as ExecutableFolder does.
std::string CoreModuleFolder();

}  // namespace mx::platform
