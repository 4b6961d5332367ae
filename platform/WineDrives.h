#pragma once
// Windows programs run through Wine on a system that is not Windows: the drives of a Wine prefix,
// which name this machine's files to such a program, and the Wine loader that starts it.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace mx::platform {

/// The drives of a Wine prefix, read from its "dosdevices" folder, where each drive is a link
/// ("c:" to "../drive_c", "z:" to "/").
class TWineDrives {
 public:
  /// Reads `<prefix>/dosdevices`; a prefix without one (or "") has no drives, which translates
  /// nothing.
  explicit TWineDrives(std::string prefix);

  const std::string& Prefix() const { return prefix_; }

  /// The Windows name of a file of this machine, through the drive whose folder holds it most
  /// closely ("/home/u/p.bpr" is "Z:\home\u\p.bpr" unless a drive maps "/home/u"); a relative
  /// name is taken against the current folder. "" when no drive reaches the file.
  std::string ToWindows(std::string_view machinePath) const;

  /// How ToMachine spells the parts of a name.
  enum class TSpelling {
    /// As the file system has it when only letter case differs, as Wine finds the file.
    AsOnDisk,
    /// As written, without looking at the disk (for names in a tool's messages, which any
    /// source file can make up).
    AsWritten,
  };

  /// The file of this machine that a Windows name ("C:\Program Files\x.exe", "C:/x") stands for:
  /// the drive's folder joined with the rest. "" for a name without a drive of the prefix.
  std::string ToMachine(std::string_view windowsPath,
                        TSpelling spelling = TSpelling::AsOnDisk) const;

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

/// True for a Windows name from a drive's root ("C:\x", "C:/x") or of a share ("\\server\x").
bool IsWindowsName(std::string_view path);

/// True for the programs Wine runs for a prefix beside a user's programs (its server, services
/// and desktop), which end by themselves once the prefix's last program has ended. `program` is
/// a command line's first word.
bool IsWineServiceProgram(std::string_view program);

/// True when the file starts as a Windows program does ("MZ"); false for anything unreadable.
bool IsWindowsExecutable(const std::string& machinePath);

/// The width of a Windows program's code, from its PE header: 32 for x86, 64 for x64 and ARM64;
/// 0 for a file that is not a Windows program or cannot be read.
int WindowsProgramBits(const std::string& machinePath);

/// Why the Wine at `loader` cannot start a 32-bit Windows program, with the fix, as far as can be
/// told without starting one: no 32-bit Wine is installed beside it, or this machine's kernel
/// cannot run the 32-bit Wine loader. nullopt when nothing speaks against it.
std::optional<std::string> WineCannotRun32Bit(const std::string& loader);

/// The Wine loader to start Windows programs with, as an absolute path: `given` (a path, or a
/// name looked up on the PATH) when there is one, else "wine" on the PATH, else "wine64", else
/// the loader of Debian's wine64 package; "" when there is none.
std::string FindWineLoader(std::string_view given = {});

}  // namespace mx::platform
