#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <vector>

#include "CommandLine.h"
#include "Event.h"
#include "ProcessRunner.h"
#include "StringList.h"

namespace mx::platform {
namespace {

// How long a stopped child may take to end after SIGTERM before it gets SIGKILL.
constexpr int kTerminateGraceMs = 250;

class TFd {
 public:
  TFd() = default;
  explicit TFd(int fd) : fd_(fd) {}
  ~TFd() { Close(); }
  TFd(const TFd&) = delete;
  TFd& operator=(const TFd&) = delete;
  TFd(TFd&& o) noexcept : fd_(o.fd_) { o.fd_ = -1; }
  int Get() const { return fd_; }
  int Release() {
    const int f = fd_;
    fd_ = -1;
    return f;
  }
  void Close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
  }

 private:
  int fd_ = -1;
};

struct TPipe {
  TFd read;
  TFd write;
};

TPipe MakePipe() {
  int fds[2];
  if (::pipe2(fds, O_CLOEXEC) != 0)
    throw EProcessError(std::string("pipe: ") + std::strerror(errno));
  return TPipe{TFd(fds[0]), TFd(fds[1])};
}

std::string ResolveExecutable(const std::string& exe) {
  if (exe.find('/') != std::string::npos) return exe;
  const char* path = std::getenv("PATH");
  std::string_view dirs = path ? path : "/usr/local/bin:/usr/bin:/bin";
  while (true) {
    const auto colon = dirs.find(':');
    const std::string_view dir = dirs.substr(0, colon);
    const std::string candidate = std::string(dir.empty() ? "." : dir) + "/" + exe;
    if (::access(candidate.c_str(), X_OK) == 0) return candidate;
    if (colon == std::string_view::npos) break;
    dirs.remove_prefix(colon + 1);
  }
  return exe;
}

int OpenPidFd(pid_t pid) {
#ifdef SYS_pidfd_open
  const long fd = ::syscall(SYS_pidfd_open, pid, 0);
  if (fd >= 0) {
    ::fcntl(static_cast<int>(fd), F_SETFD, FD_CLOEXEC);
    return static_cast<int>(fd);
  }
#endif
  (void)pid;
  return -1;
}

// True once the child has exited; the child stays a zombie (not reaped) so that its process
// group id cannot be reused while we still signal the group.
bool HasExited(pid_t pid) {
  siginfo_t info{};
  if (::waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOHANG | WNOWAIT) != 0) return true;
  return info.si_pid == pid;
}

int Reap(pid_t pid) {
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
  return -1;
}

// Reads the child's two output pipes and watches the stop event and the child's exit.
class TChildWatch {
 public:
  TChildWatch(const TProcessRequest& request, pid_t pid, TFd out, TFd err)
      : request_(request),
        pid_(pid),
        pidFd_(OpenPidFd(pid)),
        out_(std::move(out)),
        err_(std::move(err)),
        outLines_([this](std::string_view line) { AddLine(line); }),
        errLines_([this](std::string_view line) { AddLine(line); }) {}

  int Run() {
    bool stopped = false;
    bool exited = false;
    while (!exited) {
      const int ready = Poll(pidFd_.Get() >= 0 ? -1 : 20, /*watchStop=*/true);
      if (ready & kStop) {
        stopped = true;
        // A wait that sees an auto-reset event signalled consumes the signal.
        if (request_.StopEvent->Mode() == TEvent::TResetMode::Auto) request_.StopEvent->TryWait();
        break;
      }
      exited = HasExited(pid_);
    }
    if (stopped) {
      ::killpg(pid_, SIGTERM);
      const auto deadline =
          std::chrono::steady_clock::now() + std::chrono::milliseconds(kTerminateGraceMs);
      while (!HasExited(pid_) && std::chrono::steady_clock::now() < deadline) {
        Poll(10, /*watchStop=*/false);
      }
    }
    // Whatever the child started and left behind is ended with it.
    ::killpg(pid_, SIGKILL);
    DrainOutput();
    const int code = Reap(pid_);
    return stopped ? kExitCodeTerminated : code;
  }

 private:
  static constexpr int kStop = 1;

  void AddLine(std::string_view line) {
    if (request_.OnLine) request_.OnLine(line);
    if (request_.Output) request_.Output->Add(std::string(line));
  }

  // Reads what is available; returns false at end of stream.
  bool ReadFrom(TFd& fd, TLineSplitter& lines,
                const std::function<void(std::string_view)>& callback) {
    char buffer[65536];
    const ssize_t n = ::read(fd.Get(), buffer, sizeof buffer);
    if (n < 0 && (errno == EINTR || errno == EAGAIN)) return true;
    if (n <= 0) {
      lines.Flush();
      fd.Close();
      return false;
    }
    const std::string_view text(buffer, static_cast<std::size_t>(n));
    if (callback) callback(text);
    lines.Feed(text);
    return true;
  }

  int Poll(int timeoutMs, bool watchStop) {
    std::vector<pollfd> fds;
    if (out_.Get() >= 0) fds.push_back({out_.Get(), POLLIN, 0});
    if (err_.Get() >= 0) fds.push_back({err_.Get(), POLLIN, 0});
    const bool withStop = watchStop && request_.StopEvent;
    if (withStop) fds.push_back({request_.StopEvent->PollDescriptor(), POLLIN, 0});
    if (pidFd_.Get() >= 0) fds.push_back({pidFd_.Get(), POLLIN, 0});
    const int n = ::poll(fds.data(), fds.size(), timeoutMs);
    if (n <= 0) return 0;
    int result = 0;
    for (const auto& p : fds) {
      if (p.revents == 0) continue;
      if (p.fd == out_.Get())
        ReadFrom(out_, outLines_, request_.OnStdOut);
      else if (p.fd == err_.Get())
        ReadFrom(err_, errLines_, request_.OnStdErr);
      else if (withStop && p.fd == request_.StopEvent->PollDescriptor())
        result |= kStop;
    }
    return result;
  }

  void DrainOutput() {
    // Every writer is gone once the group is killed; a process that left the group may still
    // hold a pipe, so stop after a quiet second rather than wait for it forever.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(1);
    while ((out_.Get() >= 0 || err_.Get() >= 0) && std::chrono::steady_clock::now() < deadline) {
      std::vector<pollfd> fds;
      if (out_.Get() >= 0) fds.push_back({out_.Get(), POLLIN, 0});
      if (err_.Get() >= 0) fds.push_back({err_.Get(), POLLIN, 0});
      if (::poll(fds.data(), fds.size(), 100) <= 0) continue;
      for (const auto& p : fds) {
        if (p.revents == 0) continue;
        if (p.fd == out_.Get())
          ReadFrom(out_, outLines_, request_.OnStdOut);
        else if (p.fd == err_.Get())
          ReadFrom(err_, errLines_, request_.OnStdErr);
      }
    }
    outLines_.Flush();
    errLines_.Flush();
  }

  const TProcessRequest& request_;
  pid_t pid_;
  TFd pidFd_;
  TFd out_;
  TFd err_;
  TLineSplitter outLines_;
  TLineSplitter errLines_;
};

}  // namespace

int RunProcess(const TProcessRequest& request) {
  const std::string executable = ResolveExecutable(request.Executable);
  std::vector<std::string> args = SplitCommandLine(request.Parameters);
  args.insert(args.begin(), request.Executable);
  std::vector<char*> argv;
  for (auto& a : args)
    argv.push_back(a.data());
  argv.push_back(nullptr);

  TPipe out = MakePipe();
  TPipe err = MakePipe();
  TPipe failure = MakePipe();  // carries errno of a failed chdir or exec; closes on exec
  const TFd devNull(::open("/dev/null", O_RDONLY | O_CLOEXEC));
  const char* workDir =
      request.WorkingDirectory.empty() ? nullptr : request.WorkingDirectory.c_str();

  const pid_t pid = ::fork();
  if (pid < 0)
    throw EProcessError("Cannot run \"" + request.Executable + "\": " + std::strerror(errno));
  if (pid == 0) {
    // Only async-signal-safe calls from here on.
    ::setpgid(0, 0);
    ::signal(SIGPIPE, SIG_DFL);
    if (devNull.Get() >= 0) ::dup2(devNull.Get(), STDIN_FILENO);
    ::dup2(out.write.Get(), STDOUT_FILENO);
    ::dup2(err.write.Get(), STDERR_FILENO);
    int stage = 0;
    if (workDir == nullptr || ::chdir(workDir) == 0) {
      stage = 1;
      ::execv(executable.c_str(), argv.data());
    }
    const int report[2] = {stage, errno};
    [[maybe_unused]] const auto w = ::write(failure.write.Get(), report, sizeof report);
    ::_exit(127);
  }
  // Also set the group from the parent, so it exists before any killpg below.
  ::setpgid(pid, pid);
  out.write.Close();
  err.write.Close();
  failure.write.Close();

  int report[2] = {0, 0};
  ssize_t got = 0;
  do {
    got = ::read(failure.read.Get(), report, sizeof report);
  } while (got < 0 && errno == EINTR);
  if (got == static_cast<ssize_t>(sizeof report)) {
    Reap(pid);
    std::string reason = std::strerror(report[1]);
    if (report[0] == 0) reason += " (working directory \"" + request.WorkingDirectory + "\")";
    throw EProcessError("Cannot run \"" + request.Executable + "\": " + reason);
  }

  TChildWatch watch(request, pid, std::move(out.read), std::move(err.read));
  return watch.Run();
}

}  // namespace mx::platform
