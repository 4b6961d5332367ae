#include <atomic>
#include <filesystem>

#include "Exception.h"
#include "FileNames.h"
#include "WholeFile.h"
#include "Win32Text.h"

namespace mx::platform {
namespace {

// Closes a handle on every path out of a scope.
class THandle {
 public:
  explicit THandle(HANDLE handle) : handle_(handle) {}
  ~THandle() {
    if (Valid()) ::CloseHandle(handle_);
  }
  THandle(const THandle&) = delete;
  THandle& operator=(const THandle&) = delete;
  HANDLE Get() const { return handle_; }
  bool Valid() const { return handle_ != INVALID_HANDLE_VALUE; }
  bool Close() {
    const HANDLE h = handle_;
    handle_ = INVALID_HANDLE_VALUE;
    return ::CloseHandle(h) != 0;
  }

 private:
  HANDLE handle_;
};

}  // namespace

std::string ReadWholeFile(const std::string& path, std::size_t limit) {
  const auto fail = [&path](DWORD error) {
    const std::string reason = win32::ErrorText(error);
    return EFOpenError("Cannot open file \"" + path + "\". " + reason, path, reason);
  };
  const std::wstring wide = win32::Widen(path);
  const DWORD attributes = ::GetFileAttributesW(wide.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
    throw fail(ERROR_DIRECTORY);
  THandle file(::CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                             nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid()) throw fail(::GetLastError());
  std::string bytes;
  char buffer[65536];
  while (true) {
    DWORD n = 0;
    if (!::ReadFile(file.Get(), buffer, sizeof buffer, &n, nullptr)) throw fail(::GetLastError());
    if (n == 0) break;
    if (n > limit - bytes.size()) {
      throw EFOpenError("Cannot open file \"" + path + "\". " + TooLargeReason(limit), path,
                        TooLargeReason(limit));
    }
    bytes.append(buffer, n);
  }
  return bytes;
}

void WriteWholeFile(const std::string& path, std::string_view bytes, TLinkPolicy links) {
  // ReplaceFileW wants full paths.
  std::error_code ec;
  std::filesystem::path target = machinepath::ToFsPath(path);
  if (links == TLinkPolicy::lpFollow) {
    target = machinepath::FollowLinks(target);
  } else {
    const DWORD attributes = ::GetFileAttributesW(target.wstring().c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
      throw EFOpenError("Cannot create file \"" + path + "\". " + kRefusedLinkReason, path,
                        kRefusedLinkReason);
    }
  }
  if (const auto full = std::filesystem::absolute(target, ec); !ec) target = full;
  // A folder is never replaced: ReplaceFileW would move it aside rather than fail.
  const DWORD existing = ::GetFileAttributesW(target.wstring().c_str());
  if (existing != INVALID_FILE_ATTRIBUTES && (existing & FILE_ATTRIBUTE_DIRECTORY)) {
    const std::string reason = win32::ErrorText(ERROR_DIRECTORY);
    throw EFOpenError("Cannot create file \"" + path + "\". " + reason, path, reason);
  }
  static std::atomic<unsigned> counter{0};
  std::wstring temporary;
  HANDLE raw = INVALID_HANDLE_VALUE;
  for (int attempt = 0; raw == INVALID_HANDLE_VALUE; ++attempt) {
    temporary = target.wstring() + L".saving-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
                std::to_wstring(counter.fetch_add(1));
    raw = ::CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                        FILE_ATTRIBUTE_NORMAL, nullptr);
    const DWORD error = ::GetLastError();
    if (raw == INVALID_HANDLE_VALUE && (error != ERROR_FILE_EXISTS || attempt > 100)) {
      const std::string reason = win32::ErrorText(error);
      throw EFOpenError("Cannot create file \"" + path + "\". " + reason, path, reason);
    }
  }
  THandle file(raw);
  const auto fail = [&](DWORD error) {
    if (file.Valid()) file.Close();
    ::DeleteFileW(temporary.c_str());
    const std::string reason = win32::ErrorText(error);
    return EFOpenError("Cannot write file \"" + path + "\". " + reason, path, reason);
  };
  std::size_t written = 0;
  while (written < bytes.size()) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - written, 1 << 30));
    DWORD n = 0;
    if (!::WriteFile(file.Get(), bytes.data() + written, chunk, &n, nullptr))
      throw fail(::GetLastError());
    written += n;
  }
  if (!::FlushFileBuffers(file.Get())) throw fail(::GetLastError());
  if (!file.Close()) throw fail(::GetLastError());
  // ReplaceFileW keeps the replaced file's attributes and security; a new target is a move.
  const std::wstring wideTarget = target.wstring();
  const bool exists = ::GetFileAttributesW(wideTarget.c_str()) != INVALID_FILE_ATTRIBUTES;
  const BOOL replaced =
      exists ? ::ReplaceFileW(wideTarget.c_str(), temporary.c_str(), nullptr,
                              REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr)
             : ::MoveFileExW(temporary.c_str(), wideTarget.c_str(), MOVEFILE_WRITE_THROUGH);
  if (!replaced) throw fail(::GetLastError());
}

}  // namespace mx::platform
