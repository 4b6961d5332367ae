#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#ifdef __linux__
#include <sys/personality.h>
#include <sys/prctl.h>
#endif
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <optional>
#include <set>
#include <unordered_map>
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

// This program's environment ("NAME=value" each) with `changes` made.
std::vector<std::string> ChildEnvironment(
    const std::vector<std::pair<std::string, std::optional<std::string>>>& changes) {
  std::vector<std::string> environment;
  for (char** e = environ; e && *e; ++e) {
    const std::string_view entry(*e);
    const std::string_view name = entry.substr(0, entry.find('='));
    const bool changed = std::any_of(changes.begin(), changes.end(),
                                     [&](const auto& change) { return change.first == name; });
    if (!changed) environment.emplace_back(entry);
  }
  for (const auto& [name, value] : changes) {
    if (value) environment.push_back(name + "=" + *value);
  }
  return environment;
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

// The tools running now, started by this process. Any other child of this process is a
// descendant of a tool that was orphaned into it: the process is the subreaper of its tools.
std::mutex toolsMutex;
std::set<pid_t> runningTools;

void BecomeSubreaper() {
#ifdef __linux__
  static std::once_flag once;
  // Descendants that leave their parent (setsid daemons, say) come to this process instead of
  // init, so that a stop can still find and end them.
  std::call_once(once, [] { ::prctl(PR_SET_CHILD_SUBREAPER, 1); });
#endif
}

// Parent of every process, read from /proc (empty without /proc).
std::unordered_map<pid_t, std::vector<pid_t>> ChildrenByParent() {
  std::unordered_map<pid_t, std::vector<pid_t>> children;
  DIR* proc = ::opendir("/proc");
  if (!proc) return children;
  while (const dirent* entry = ::readdir(proc)) {
    const char* name = entry->d_name;
    if (*name < '0' || *name > '9') continue;
    char path[300];
    std::snprintf(path, sizeof path, "/proc/%s/stat", name);
    const int fd = ::open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0) continue;
    char stat[512];
    const ssize_t n = ::read(fd, stat, sizeof stat - 1);
    ::close(fd);
    if (n <= 0) continue;
    stat[n] = '\0';
    // "pid (name) state ppid ...": the name may hold blanks and parentheses, so read after
    // the last ")".
    const char* close = std::strrchr(stat, ')');
    char state = 0;
    int parent = 0;
    if (!close || std::sscanf(close + 1, " %c %d", &state, &parent) != 2) continue;
    if (state == 'Z' || state == 'X') continue;  // ended already
    children[static_cast<pid_t>(parent)].push_back(static_cast<pid_t>(std::atoi(name)));
  }
  ::closedir(proc);
  return children;
}

// Every running process below `root`, and below the orphans that came to this process.
std::vector<pid_t> Descendants(pid_t root) {
  auto children = ChildrenByParent();
  std::vector<pid_t> pending{root};
  {
    std::lock_guard lock(toolsMutex);
    for (const pid_t orphan : children[::getpid()]) {
      // An orphan still in the group of another running tool is that tool's to end.
      const pid_t group = ::getpgid(orphan);
      if (!runningTools.count(orphan) && (group == root || !runningTools.count(group)))
        pending.push_back(orphan);
    }
  }
  std::vector<pid_t> found;
  while (!pending.empty()) {
    const pid_t next = pending.back();
    pending.pop_back();
    if (next != root) found.push_back(next);
    for (const pid_t child : children[next])
      pending.push_back(child);
  }
  return found;
}

// The program a process runs: the first word of its command line ("" when it is gone).
std::string ProgramOf(pid_t pid) {
  char path[64];
  std::snprintf(path, sizeof path, "/proc/%d/cmdline", static_cast<int>(pid));
  const int fd = ::open(path, O_RDONLY | O_CLOEXEC);
  if (fd < 0) return {};
  char text[4096];
  const ssize_t n = ::read(fd, text, sizeof text - 1);
  ::close(fd);
  if (n <= 0) return {};
  text[n] = '\0';
  return text;
}

// Sends `signal` to the tool's process group and to everything below it, however it left, but
// for the processes `spare` accepts. Returns how many processes below the tool still run.
std::size_t SignalTree(pid_t tool, int signal,
                       const std::function<bool(std::string_view)>& spare = {}) {
  ::killpg(tool, signal);
  const auto below = Descendants(tool);
  for (const pid_t pid : below) {
    if (!spare || !spare(ProgramOf(pid))) ::kill(pid, signal);
  }
  return below.size();
}

// Reaps the orphans that came to this process and have ended; they are nobody else's to reap.
void ReapOrphans() {
  // Under the lock that tools are forked and registered under: a child not registered now is
  // no tool's.
  std::lock_guard lock(toolsMutex);
  siginfo_t info{};
  while (::waitid(P_ALL, 0, &info, WEXITED | WNOHANG | WNOWAIT) == 0 && info.si_pid != 0 &&
         !runningTools.count(info.si_pid)) {
    ::waitpid(info.si_pid, nullptr, WNOHANG);
    info = siginfo_t{};
  }
}

int Reap(pid_t pid) {
  int status = 0;
  pid_t reaped = -1;
  while ((reaped = ::waitpid(pid, &status, 0)) < 0 && errno == EINTR) {
  }
  if (reaped != pid) return -1;  // not this process's child any more: no status to give
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
      // The whole tree gets the polite request first, then a short grace to obey it.
      std::size_t running = SignalTree(pid_, SIGTERM);
      const auto deadline =
          std::chrono::steady_clock::now() + std::chrono::milliseconds(kTerminateGraceMs);
      while ((!HasExited(pid_) || running > 0) && std::chrono::steady_clock::now() < deadline) {
        Poll(10, /*watchStop=*/false);
        running = Descendants(pid_).size();
      }
    }
    // Whatever the child started and left behind is ended with it, but for the shared services
    // the request lets outlive a child that ended by itself.
    SignalTree(pid_, SIGKILL,
               stopped ? std::function<bool(std::string_view)>() : request_.MayOutlive);
    DrainOutput();
    int code = -1;
    {
      // Reaped and unregistered at once: its number, free again, may go to the next tool forked.
      std::lock_guard lock(toolsMutex);
      code = Reap(pid_);
      runningTools.erase(pid_);
    }
    ReapOrphans();
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
  // The child's environment, made here: between fork and exec only async-signal-safe calls.
  std::vector<std::string> environment = ChildEnvironment(request.Environment);
  std::vector<char*> envp;
  for (auto& e : environment)
    envp.push_back(e.data());
  envp.push_back(nullptr);

  BecomeSubreaper();
  TPipe out = MakePipe();
  TPipe err = MakePipe();
  TPipe failure = MakePipe();  // carries errno of a failed chdir or exec; closes on exec
  const TFd devNull(::open("/dev/null", O_RDONLY | O_CLOEXEC));
  const char* workDir =
      request.WorkingDirectory.empty() ? nullptr : request.WorkingDirectory.c_str();
  const bool fixedLayout = request.FixedAddressLayout;

  // A tool is registered under the same lock it is forked under: another thread that looks for
  // orphans to end, or ended children to reap, never takes one just forked for one of its own.
  std::unique_lock registering(toolsMutex);
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
#ifdef __linux__
    // A sandbox that forbids the call (a container's default seccomp profile) leaves the layout
    // random; the tool still runs, and its output says why it may now and then end at once.
    if (fixedLayout) {
      const int own = ::personality(0xffffffff);
      if (own < 0 || ::personality(static_cast<unsigned long>(own) | ADDR_NO_RANDOMIZE) < 0) {
        static constexpr char kWarning[] =
            "moxtal: this system does not let the address-space layout be fixed for Wine; a "
            "Wine without a preloader may now and then end a tool as it starts\n";
        [[maybe_unused]] const auto w = ::write(STDERR_FILENO, kWarning, sizeof kWarning - 1);
      }
    }
#endif
    int stage = 0;
    if (workDir == nullptr || ::chdir(workDir) == 0) {
      stage = 1;
      ::execve(executable.c_str(), argv.data(), envp.data());
    }
    const int report[2] = {stage, errno};
    [[maybe_unused]] const auto w = ::write(failure.write.Get(), report, sizeof report);
    ::_exit(127);
  }
  runningTools.insert(pid);
  registering.unlock();
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
    {
      std::lock_guard lock(toolsMutex);
      Reap(pid);
      runningTools.erase(pid);
    }
    std::string reason = std::strerror(report[1]);
    if (report[0] == 0) reason += " (working directory \"" + request.WorkingDirectory + "\")";
    throw EProcessError("Cannot run \"" + request.Executable + "\": " + reason);
  }

  TChildWatch watch(request, pid, std::move(out.read), std::move(err.read));
  return watch.Run();
}

}  // namespace mx::platform
