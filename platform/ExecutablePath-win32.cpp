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

}  // namespace mx::platform
