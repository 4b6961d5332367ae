#pragma once
// Runs a program as a child process and measures it: the CPU time it and the children it
// waited for used, its wall time, and the largest resident set among them (POSIX).

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace mx::bench {

struct TChildUsage {
  double CpuSeconds = 0;
  double WallSeconds = 0;
  double PeakMegabytes = 0;
  int ExitStatus = 0;
};

/// Runs `argv` in `folder` with `environment` added, its output thrown away.
inline TChildUsage RunMeasured(
    const std::vector<std::string>& argv, const std::string& folder,
    const std::vector<std::pair<std::string, std::string>>& environment) {
  const auto start = std::chrono::steady_clock::now();
  const pid_t pid = ::fork();
  if (pid < 0) throw std::runtime_error("fork failed");
  if (pid == 0) {
    if (!folder.empty() && ::chdir(folder.c_str()) != 0) ::_exit(126);
    for (const auto& [name, value] : environment)
      ::setenv(name.c_str(), value.c_str(), 1);
    const int null = ::open("/dev/null", O_WRONLY);
    ::dup2(null, 1);
    ::dup2(null, 2);
    std::vector<char*> args;
    for (const auto& a : argv)
      args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    ::execvp(args[0], args.data());
    ::_exit(127);
  }
  int status = 0;
  rusage usage{};
  ::wait4(pid, &status, 0, &usage);
  TChildUsage result;
  result.WallSeconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  const auto seconds = [](const timeval& t) {
    return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6;
  };
  result.CpuSeconds = seconds(usage.ru_utime) + seconds(usage.ru_stime);
  result.PeakMegabytes = static_cast<double>(usage.ru_maxrss) / 1024.0;
  result.ExitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  return result;
}

}  // namespace mx::bench
