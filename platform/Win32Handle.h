#pragma once
// An owned Windows handle, closed on every path out of a scope (Windows only).

#ifdef _WIN32
#include <windows.h>

namespace mx::platform::win32 {

class THandle {
 public:
  THandle() = default;
  explicit THandle(HANDLE handle) : handle_(handle) {}
  ~THandle() { Close(); }
  THandle(const THandle&) = delete;
  THandle& operator=(const THandle&) = delete;

  HANDLE Get() const { return handle_; }
  /// Where a function that creates a handle puts it.
  HANDLE* Out() { return &handle_; }
  /// False for no handle and for the failure value of CreateFile.
  bool Valid() const { return handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE; }
  void Close() {
    if (Valid()) ::CloseHandle(handle_);
    handle_ = nullptr;
  }

 private:
  HANDLE handle_ = nullptr;
};

}  // namespace mx::platform::win32
#endif
