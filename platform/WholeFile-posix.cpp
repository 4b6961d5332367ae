#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstring>
#include <filesystem>

#include "Exception.h"
#include "FileNames.h"
#include "WholeFile.h"

namespace mx::platform {
namespace {

std::string Reason(int error) {
  return std::strerror(error);
}

// Closes a descriptor on every path out of a scope.
class TFileDescriptor {
 public:
  explicit TFileDescriptor(int fd) : fd_(fd) {}
  ~TFileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  TFileDescriptor(const TFileDescriptor&) = delete;
  TFileDescriptor& operator=(const TFileDescriptor&) = delete;
  int Get() const { return fd_; }
  /// Closes now; false (with errno set) when the close reports an error, which on some file
  /// systems is the first sign that the data did not fit.
  bool Close() {
    const int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0;
  }

 private:
  int fd_;
};

}  // namespace

std::string ReadWholeFile(const std::string& path, std::size_t limit) {
  const auto fail = [&path](int error) {
    return EFOpenError("Cannot open file \"" + path + "\". " + Reason(error), path, Reason(error));
  };
  // Opened without waiting: a named pipe would block the open until something writes to it.
  TFileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  if (fd.Get() < 0) throw fail(errno);
  struct stat info {};
  if (::fstat(fd.Get(), &info) != 0) throw fail(errno);
  if (S_ISDIR(info.st_mode)) throw fail(EISDIR);
  if (S_ISFIFO(info.st_mode) || S_ISSOCK(info.st_mode)) {
    throw EFOpenError("Cannot open file \"" + path + "\". It is a pipe, not a file", path,
                      "It is a pipe, not a file");
  }
  // What is read from a device waits for it as a read of a file does.
  ::fcntl(fd.Get(), F_SETFL, ::fcntl(fd.Get(), F_GETFL) & ~O_NONBLOCK);
  std::string bytes;
  if (S_ISREG(info.st_mode)) bytes.reserve(std::min(static_cast<std::size_t>(info.st_size), limit));
  char buffer[65536];
  while (true) {
    const ssize_t n = ::read(fd.Get(), buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) throw fail(errno);
    if (n == 0) break;
    if (static_cast<std::size_t>(n) > limit - bytes.size()) {
      throw EFOpenError("Cannot open file \"" + path + "\". " + TooLargeReason(limit), path,
                        TooLargeReason(limit));
    }
    bytes.append(buffer, static_cast<std::size_t>(n));
  }
  return bytes;
}

struct TFileReplacement::TState {
  std::string path;
  std::filesystem::path target;
  std::string temporary;
  int fd = -1;
  bool committed = false;

  EFOpenError Fail(int error) {
    if (fd >= 0) ::close(fd);
    fd = -1;
    ::unlink(temporary.c_str());
    return EFOpenError("Cannot write file \"" + path + "\". " + Reason(error), path, Reason(error));
  }
};

TFileReplacement::TFileReplacement(const std::string& path, TLinkPolicy links)
    : state_(std::make_unique<TState>()) {
  TState& s = *state_;
  s.path = path;
  s.target = machinepath::ToFsPath(path);
  struct stat existing {};
  if (links == TLinkPolicy::lpFollow) {
    s.target = machinepath::FollowLinks(s.target);
  } else if (::lstat(s.target.c_str(), &existing) == 0 && S_ISLNK(existing.st_mode)) {
    throw EFOpenError("Cannot create file \"" + path + "\". " + kRefusedLinkReason, path,
                      kRefusedLinkReason);
  }
  const bool exists = ::lstat(s.target.c_str(), &existing) == 0 && !S_ISLNK(existing.st_mode);

  // A new name beside the target; O_EXCL makes sure it is ours alone.
  static std::atomic<unsigned> counter{0};
  for (int attempt = 0; s.fd < 0; ++attempt) {
    s.temporary = s.target.string() + ".saving-" + std::to_string(::getpid()) + "-" +
                  std::to_string(counter.fetch_add(1));
    // 0666 lets the umask decide, as for any new file; an existing target's mode is set below.
    s.fd = ::open(s.temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (s.fd < 0 && (errno != EEXIST || attempt > 100)) {
      const int error = errno;
      throw EFOpenError("Cannot create file \"" + path + "\". " + Reason(error), path,
                        Reason(error));
    }
  }
  if (exists) {
    if (::fchmod(s.fd, existing.st_mode & 07777) != 0) throw s.Fail(errno);
    // Keeping the owner needs privileges a normal user lacks; the file then belongs to whoever
    // saved it, as with any editor that saves through a new file.
    if (::fchown(s.fd, existing.st_uid, existing.st_gid) != 0 && errno != EPERM) {
      throw s.Fail(errno);
    }
  }
}

TFileReplacement::~TFileReplacement() {
  if (state_->committed) return;
  if (state_->fd >= 0) ::close(state_->fd);
  ::unlink(state_->temporary.c_str());
}

void TFileReplacement::Write(std::string_view bytes) {
  TState& s = *state_;
  std::size_t written = 0;
  while (written < bytes.size()) {
    const ssize_t n = ::write(s.fd, bytes.data() + written,
                              std::min<std::size_t>(bytes.size() - written, SSIZE_MAX));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) throw s.Fail(errno);
    written += static_cast<std::size_t>(n);
  }
}

void TFileReplacement::Commit() {
  TState& s = *state_;
  if (::fsync(s.fd) != 0) throw s.Fail(errno);
  const int fd = s.fd;
  s.fd = -1;
  if (::close(fd) != 0) throw s.Fail(errno);
  if (::rename(s.temporary.c_str(), s.target.c_str()) != 0) throw s.Fail(errno);
  s.committed = true;
  // The rename itself reaches the disk with the folder; a folder that cannot be opened or
  // synchronised (some network file systems) still has the new file in place.
  TFileDescriptor folder(
      ::open(s.target.parent_path().empty() ? "." : s.target.parent_path().c_str(),
             O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (folder.Get() >= 0) {
    [[maybe_unused]] const int synced = ::fsync(folder.Get());
  }
}

}  // namespace mx::platform
