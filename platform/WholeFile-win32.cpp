#include <atomic>
#include <filesystem>

#include "Exception.h"
#include "FileNames.h"
#include "WholeFile.h"
#include "Win32Handle.h"
#include "Win32Text.h"

namespace mx::platform {

using win32::THandle;

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

struct TFileReplacement::TState {
  std::string path;
  std::wstring target;
  std::wstring temporary;
  HANDLE file = INVALID_HANDLE_VALUE;
  bool committed = false;

  EFOpenError Fail(DWORD error) {
    if (file != INVALID_HANDLE_VALUE) ::CloseHandle(file);
    file = INVALID_HANDLE_VALUE;
    ::DeleteFileW(temporary.c_str());
    const std::string reason = win32::ErrorText(error);
    return EFOpenError("Cannot write file \"" + path + "\". " + reason, path, reason);
  }
};

TFileReplacement::TFileReplacement(const std::string& path, TLinkPolicy links)
    : state_(std::make_unique<TState>()) {
  TState& s = *state_;
  s.path = path;
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
  s.target = target.wstring();
  // A folder is never replaced: ReplaceFileW would move it aside rather than fail.
  const DWORD existing = ::GetFileAttributesW(s.target.c_str());
  if (existing != INVALID_FILE_ATTRIBUTES && (existing & FILE_ATTRIBUTE_DIRECTORY)) {
    const std::string reason = win32::ErrorText(ERROR_DIRECTORY);
    throw EFOpenError("Cannot create file \"" + path + "\". " + reason, path, reason);
  }
  static std::atomic<unsigned> counter{0};
  for (int attempt = 0; s.file == INVALID_HANDLE_VALUE; ++attempt) {
    s.temporary = s.target + L".saving-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
                  std::to_wstring(counter.fetch_add(1));
    s.file = ::CreateFileW(s.temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    const DWORD error = ::GetLastError();
    if (s.file == INVALID_HANDLE_VALUE && (error != ERROR_FILE_EXISTS || attempt > 100)) {
      const std::string reason = win32::ErrorText(error);
      throw EFOpenError("Cannot create file \"" + path + "\". " + reason, path, reason);
    }
  }
}

TFileReplacement::~TFileReplacement() {
  if (state_->committed) return;
  if (state_->file != INVALID_HANDLE_VALUE) ::CloseHandle(state_->file);
  ::DeleteFileW(state_->temporary.c_str());
}

void TFileReplacement::Write(std::string_view bytes) {
  TState& s = *state_;
  std::size_t written = 0;
  while (written < bytes.size()) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - written, 1 << 30));
    DWORD n = 0;
    if (!::WriteFile(s.file, bytes.data() + written, chunk, &n, nullptr))
      throw s.Fail(::GetLastError());
    written += n;
  }
}

void TFileReplacement::Commit() {
  TState& s = *state_;
  if (!::FlushFileBuffers(s.file)) throw s.Fail(::GetLastError());
  const HANDLE file = s.file;
  s.file = INVALID_HANDLE_VALUE;
  if (!::CloseHandle(file)) throw s.Fail(::GetLastError());
  // ReplaceFileW keeps the replaced file's attributes and security; a new target is a move.
  const bool exists = ::GetFileAttributesW(s.target.c_str()) != INVALID_FILE_ATTRIBUTES;
  const BOOL replaced =
      exists ? ::ReplaceFileW(s.target.c_str(), s.temporary.c_str(), nullptr,
                              REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr)
             : ::MoveFileExW(s.temporary.c_str(), s.target.c_str(), MOVEFILE_WRITE_THROUGH);
  if (!replaced) throw s.Fail(::GetLastError());
  s.committed = true;
}

}  // namespace mx::platform
