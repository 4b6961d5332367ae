#pragma once
// Windows programs run through Wine on a system that is not Windows: the drives of a Wine prefix,
// which name this machine's files to such a program, and the Wine loader that starts it.

#include <string>
#include <string_view>
#include <vector>

namespace mx::platform {

/// The drives of a Wine prefix, read from its "dosdevices" folder, where each drive is a link
/// ("c:" to "../drive_c", "z:" to "/").
class TWineDrives {
 public:
  /// Reads `<prefix>/dosdevices`; a prefix without one has no drives, which translates nothing.
  explicit TWineDrives(std::string prefix);

  const std::string& Prefix() const { return prefix_; }

  /// The Windows name of a file of this machine, through the drive whose folder holds it most
  /// closely ("/home/u/p.bpr" is "Z:\home\u\p.bpr" unless a drive maps "/home/u"); a relative
  /// name is taken against the current folder. "" when no drive reaches the file.
  std::string ToWindows(std::string_view machinePath) const;

  /// The file of this machine that a Windows name ("C:\Program Files\x.exe", "C:/x") stands for:
  /// the drive's folder joined with the rest, each part spelt as the file system has it when
  /// only letter case differs, as Wine finds it. "" for a name without a drive of the prefix.
  std::string ToMachine(std::string_view windowsPath) const;

 private:
  struct TDrive {
    char Letter;         // upper case
    std::string Folder;  // absolute, links resolved, no trailing "/" (the root is "")
  };
  std::string prefix_;
  std::vector<TDrive> drives_;
};

/// True where Windows programs need Wine to run: on every system but Windows.
bool WindowsProgramsNeedWine();

/// True when the file starts as a Windows program does ("MZ"); false for anything unreadable.
bool IsWindowsExecutable(const std::string& machinePath);

/// The Wine loader to start Windows programs with: "wine" on the PATH, else "wine64", else the
/// loader of Debian's wine64 package; "" when there is none.
std::string FindWineLoader();

}  // namespace mx::platform
