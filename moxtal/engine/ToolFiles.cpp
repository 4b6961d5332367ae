#include "moxtal/api/ToolFiles.h"

#include "platform/CodePage.h"
#include "platform/Exception.h"
#include "platform/FileNames.h"
#include "platform/WineDrives.h"

namespace mx {
namespace {

// A name Wine reaches as a Windows name, which is a matter only where Windows programs need Wine.
bool IsWineName(std::string_view path) {
  return platform::WindowsProgramsNeedWine() && platform::IsWindowsName(path);
}

// True when no Windows program can be given `windows` as the file it names: a character no
// Windows name holds (which would also break the command line), bytes that are not UTF-8 (Wine
// makes them "?"), or a part of the name that ends in a blank or a dot (Windows drops those, so
// the name would stand for another file, or Wine would start the tool in its own folder).
bool WindowsCannotName(std::string_view windows) {
  if (!platform::IsValidUtf8(windows)) return true;
  for (std::size_t i = 0; i < windows.size(); ++i) {
    const char c = windows[i];
    if (static_cast<unsigned char>(c) < 0x20 || c == '"' || c == '<' || c == '>' || c == '|' ||
        c == '*' || c == '?' || (c == ':' && i != 1))
      return true;
  }
  std::size_t start = 3;  // after "X:\"
  while (start < windows.size()) {
    const std::size_t end = std::min(windows.find('\\', start), windows.size());
    const std::string_view part = windows.substr(start, end - start);
    if (!part.empty() && (part.back() == ' ' || part.back() == '.')) return true;
    start = end + 1;
  }
  return false;
}

}  // namespace

TToolFiles TToolFiles::For(std::string_view path, const TToolSetup& setup) {
  TToolFiles files;
  if (path.empty() || !platform::WindowsProgramsNeedWine()) return files;
  // A Windows program named by a path of this machine counts only when the path is absolute:
  // a bare name is found on the PATH by the runner, never in moxtal's own folder.
  const bool windowsProgram = platform::machinepath::ToFsPath(path).is_absolute() &&
                              platform::IsWindowsExecutable(std::string(path));
  if (platform::IsWindowsName(path) || windowsProgram) {
    static const auto none = std::make_shared<const platform::TWineDrives>("");
    files.drives_ = setup.Drives ? setup.Drives : none;
  }
  return files;
}

std::string TToolFiles::ToTool(std::string_view machinePath) const {
  // A name that is a Windows name already is the tool's own.
  if (!drives_ || platform::IsWindowsName(machinePath)) return std::string(machinePath);
  const std::string windows = drives_->ToWindows(machinePath);
  if (windows.empty() || WindowsCannotName(windows)) {
    throw Exception("The file " + std::string(machinePath) +
                    " has no name a Windows program run through Wine can be given: no drive of "
                    "the Wine prefix " +
                    drives_->Prefix() +
                    " reaches it, or its name holds what Windows names cannot (\\, \", a "
                    "control character, bytes that are not UTF-8, a blank or a dot at the end of "
                    "a folder's or file's name)");
  }
  return windows;
}

std::string TToolFiles::ToMachine(std::string_view toolPath) const {
  if (!drives_) return std::string(toolPath);
  std::string machine = drives_->ToMachine(toolPath);
  return machine.empty() ? std::string(toolPath) : machine;
}

std::string TToolFiles::MessageFileToMachine(std::string_view toolPath) const {
  if (!drives_) return std::string(toolPath);
  std::string machine = drives_->ToMachine(toolPath, platform::TWineDrives::TSpelling::AsWritten);
  return machine.empty() ? std::string(toolPath) : machine;
}

bool TToolFiles::FileExists(std::string_view toolPath) const {
  return platform::machinepath::FileExists(ToMachine(toolPath));
}

bool TToolFiles::DirectoryExists(std::string_view toolPath) const {
  return platform::machinepath::DirectoryExists(ToMachine(toolPath));
}

char TToolFiles::Delimiter(std::string_view folder) {
  return IsWineName(folder) ? platform::wintext::kPathDelim : platform::machinepath::kPathDelim;
}

std::string TToolFiles::Join(std::string_view folder, std::string_view name) {
  if (!IsWineName(folder)) return platform::machinepath::Join(folder, name);
  return platform::wintext::IncludeTrailingPathDelimiter(folder) + std::string(name);
}

std::string TToolFiles::IncludeTrailingPathDelimiter(std::string_view folder) {
  return IsWineName(folder) ? platform::wintext::IncludeTrailingPathDelimiter(folder)
                            : platform::machinepath::IncludeTrailingPathDelimiter(folder);
}

}  // namespace mx
