#include <filesystem>

#include "ExecutablePath.h"

namespace mx::platform {

std::string ExecutableFolder() {
  std::error_code ec;
  const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  // Without /proc (a chroot, say) the current folder is the best guess.
  return ec ? std::string(".") : exe.parent_path().string();
}

}  // namespace mx::platform
