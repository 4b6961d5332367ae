#include "moxtal/api/ToolFiles.h"

#include "moxtal/engine/Host.h"
#include "platform/FileNames.h"
#include "platform/WineDrives.h"

namespace mx {

TToolFiles TToolFiles::For(std::string_view path) {
  TToolFiles files;
  if (path.empty() || !platform::WindowsProgramsNeedWine()) return files;
  if (platform::wintext::IsAbsolute(path) || platform::IsWindowsExecutable(std::string(path)))
    files.drives_ = engine::THost::Instance().WineDrives();
  return files;
}

std::string TToolFiles::ToTool(std::string_view machinePath) const {
  // A name that is a Windows name already is the tool's own.
  if (!drives_ || platform::wintext::IsAbsolute(machinePath)) return std::string(machinePath);
  std::string windows = drives_->ToWindows(machinePath);
  return windows.empty() ? std::string(machinePath) : windows;
}

std::string TToolFiles::ToMachine(std::string_view toolPath) const {
  if (!drives_) return std::string(toolPath);
  std::string machine = drives_->ToMachine(toolPath);
  return machine.empty() ? std::string(toolPath) : machine;
}

bool TToolFiles::FileExists(std::string_view toolPath) const {
  return platform::machinepath::FileExists(ToMachine(toolPath));
}

bool TToolFiles::DirectoryExists(std::string_view toolPath) const {
  return platform::machinepath::DirectoryExists(ToMachine(toolPath));
}

std::string TToolFiles::Join(std::string_view folder, std::string_view name) {
  if (!platform::wintext::IsAbsolute(folder)) return platform::machinepath::Join(folder, name);
  return platform::wintext::IncludeTrailingPathDelimiter(folder) + std::string(name);
}

}  // namespace mx
