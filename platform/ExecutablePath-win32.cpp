#include <vector>

#include "Exception.h"
#include "ExecutablePath.h"
#include "FileNames.h"
#include "Win32Text.h"

namespace mx::platform {

std::string ExecutableFolder() {
  std::vector<wchar_t> buffer(MAX_PATH);
  while (true) {
    const DWORD n = ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0)
      throw Exception("Cannot tell where this program's executable is: " +
                      win32::ErrorText(::GetLastError()));
    if (n < buffer.size()) {
      return machinepath::ExtractFileDir(win32::Narrow(std::wstring_view(buffer.data(), n)));
    }
    buffer.resize(buffer.size() * 2);
  }
}

std::string CoreModuleFolder() {
  HMODULE module = nullptr;
  if (!::GetModuleHandleExW(
          GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
          reinterpret_cast<LPCWSTR>(&CoreModuleFolder), &module))
    throw Exception("Cannot tell which file this program's core library was loaded from: " +
                    win32::ErrorText(::GetLastError()));
  std::vector<wchar_t> buffer(MAX_PATH);
  while (true) {
    const DWORD n = ::GetModuleFileNameW(module, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0)
      throw Exception("Cannot tell which file this program's core library was loaded from");
    if (n < buffer.size())
      return machinepath::ExtractFileDir(win32::Narrow(std::wstring_view(buffer.data(), n)));
    buffer.resize(buffer.size() * 2);
  }
}

const TProgramFolders& ProgramFolders() {
  // Only the program's own folder: a folder above it may be another user's to create.
  static const TProgramFolders folders = [] {
    const std::string folder = ExecutableFolder();
    return TProgramFolders{folder, folder, folder};
  }();
  return folders;
}

}  // namespace mx::platform
