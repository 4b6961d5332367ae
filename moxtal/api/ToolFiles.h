#pragma once
// How a tool names the files of this machine.

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace mx {

namespace platform {
class TWineDrives;
}

/// How this machine starts the build tools. The host sets it up once, before any build starts;
/// builds only read it, and reach it through their context, so that builds running at once
/// share nothing that changes.
struct TToolSetup {
  /// The Wine loader that starts Windows tools on a system that is not Windows (absolute); ""
  /// when none was found.
  std::string WineLoader;
  /// The drives of the Wine prefix, which name this machine's files to such a tool; none when
  /// no prefix was found.
  std::shared_ptr<const platform::TWineDrives> Drives;
  /// What a tool started through Wine has in its environment besides this program's: the prefix
  /// named (WINEPREFIX) and, unless the user set it, WINEDEBUG=-all, which keeps Wine's own notes
  /// out of the build log.
  std::vector<std::pair<std::string, std::optional<std::string>>> WineEnvironment;
};

/// The file names a tool is given and prints. A tool named by a Windows path ("C:\...") on a
/// system that is not Windows, or a Windows program there, runs through Wine and names files by
/// their Windows names in the Wine prefix's drives; any other tool names them as they are. What
/// the host itself reads and writes stays in this machine's names: the translation is for the
/// command line a tool gets and the messages it prints.
class TToolFiles {
 public:
  /// The files as the tool (or the tools' folder) named `path` sees them, on a machine set up as
  /// `setup`.
  static TToolFiles For(std::string_view path, const TToolSetup& setup);

  bool ThroughWine() const { return drives_ != nullptr; }
  /// A file of this machine as the tool must be given it; through Wine its Windows name
  /// ("Z:\..."). Throws mx::Exception naming the file when a tool run through Wine cannot be
  /// given it (no drive of the prefix reaches it, or its name holds what Windows names cannot:
  /// such characters, bytes that are not UTF-8, a part that ends in a blank or a dot).
  std::string ToTool(std::string_view machinePath) const;
  /// The name of a tool or of one of its folders as a file of this machine: a Windows name with a
  /// drive of the prefix becomes the file it stands for, spelt as on disk where only letter case
  /// differs; any other name is unchanged.
  std::string ToMachine(std::string_view toolPath) const;
  /// A file name in a tool's message as a file of this machine, spelt as written (the disk is
  /// not looked at for names that any source file can make up).
  std::string MessageFileToMachine(std::string_view toolPath) const;
  /// True when the tool's name for a file names an existing file (a folder: DirectoryExists).
  bool FileExists(std::string_view toolPath) const;
  bool DirectoryExists(std::string_view toolPath) const;

  /// The separator a tools' folder is written with: "\" for a Windows name that Wine will
  /// reach, this machine's otherwise.
  static char Delimiter(std::string_view folder);
  /// `folder` and `name` joined by that separator (machinepath::Join otherwise).
  static std::string Join(std::string_view folder, std::string_view name);
  /// `folder` with that separator at its end (machinepath's rule otherwise).
  static std::string IncludeTrailingPathDelimiter(std::string_view folder);

 private:
  std::shared_ptr<const platform::TWineDrives> drives_;
};

}  // namespace mx
