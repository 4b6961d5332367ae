#include <dlfcn.h>
#include <sys/auxv.h>

#include <filesystem>

#include "Exception.h"
#include "ExecutablePath.h"
#include "FileNames.h"

namespace mx::platform {
namespace {

// The executable's path, links followed; empty when the system cannot say.
std::filesystem::path FindExecutable() {
  std::error_code ec;
  auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (!ec) return exe;
  // Without /proc (a chroot or a container without it) the kernel still passes the path the
  // program was started by. A relative one is relative to the folder it was started in, which
  // is still the current folder: the host asks before it changes anything.
  const auto* execfn = reinterpret_cast<const char*>(::getauxval(AT_EXECFN));
  if (execfn == nullptr || *execfn == '\0') return {};
  exe = std::filesystem::weakly_canonical(std::filesystem::absolute(execfn, ec), ec);
  if (ec || !std::filesystem::is_regular_file(exe, ec)) return {};
  return exe;
}

}  // namespace

std::string ExecutableFolder() {
  static const std::filesystem::path exe = FindExecutable();
  if (exe.empty()) {
    throw Exception(
        "Cannot tell where this program's executable is (no /proc/self/exe and no path from the "
        "system); nothing is loaded from the current folder in its place");
  }
  return machinepath::FromFsPath(exe.parent_path());
}

std::string CoreModuleFolder() {
  Dl_info info{};
  if (::dladdr(reinterpret_cast<void*>(&CoreModuleFolder), &info) == 0 || !info.dli_fname)
    throw Exception("Cannot tell which file this program's core library was loaded from");
  std::error_code ec;
  const auto module = std::filesystem::canonical(info.dli_fname, ec);
  // A module the loader named but that cannot be found again is taken as not installed.
  if (ec) return ExecutableFolder();
  return machinepath::FromFsPath(module.parent_path());
}

const TProgramFolders& ProgramFolders() {
  static const TProgramFolders folders = ProgramFoldersFor(ExecutableFolder(), CoreModuleFolder());
  return folders;
}

}  // namespace mx::platform
