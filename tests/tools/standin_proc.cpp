// A small child process for the process-runner tests. It does what its arguments say, in order:
//   --out TEXT     print TEXT and a line break on standard output
//   --err TEXT     print TEXT and a line break on standard error
//   --partial TEXT print TEXT on standard output without a line break
//   --args         print every argument it was given as [arg], one per line
//   --cwd          print the current folder
//   --sleep MS     sleep
//   --ignore-term  ignore the polite termination request (SIGTERM on POSIX)
//   --grandchild FILE  start a copy of itself that sleeps a minute, write its pid to FILE
//   --detached FILE    the same, but the copy leaves the process group (setsid), ignores
//                      SIGTERM and keeps standard output open (POSIX)
//   --exit N       exit with code N (default 0)
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#ifdef _WIN32
#include <process.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#endif

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    const char* next = i + 1 < argc ? argv[i + 1] : "";
    if (a == "--out") {
      std::printf("%s\n", next), ++i;
    } else if (a == "--err") {
      std::fprintf(stderr, "%s\n", next), ++i;
    } else if (a == "--partial") {
      std::printf("%s", next), ++i;
    } else if (a == "--args") {
      for (int j = 0; j < argc; ++j)
        std::printf("[%s]\n", argv[j]);
    } else if (a == "--cwd") {
      std::printf("%s\n", std::filesystem::current_path().string().c_str());
    } else if (a == "--sleep") {
      std::fflush(stdout);
      std::this_thread::sleep_for(std::chrono::milliseconds(std::atoi(next))), ++i;
    } else if (a == "--ignore-term") {
#ifndef _WIN32
      ::signal(SIGTERM, SIG_IGN);
#endif
    } else if (a == "--grandchild") {
#ifdef _WIN32
      const intptr_t pid = _spawnl(_P_NOWAIT, argv[0], argv[0], "--sleep", "60000", nullptr);
      std::ofstream(next) << ::GetProcessId(reinterpret_cast<HANDLE>(pid));
#else
      const pid_t pid = ::fork();
      if (pid == 0) {
        ::execl(argv[0], argv[0], "--sleep", "60000", static_cast<char*>(nullptr));
        ::_exit(127);
      }
      std::ofstream(next) << pid;
#endif
      ++i;
    } else if (a == "--detached") {
#ifndef _WIN32
      // The copy has left the group before this one goes on (and may end): the pipe closes on
      // exec.
      int ready[2];
      if (::pipe2(ready, O_CLOEXEC) != 0) return 126;
      const pid_t pid = ::fork();
      if (pid == 0) {
        ::close(ready[0]);
        ::setsid();
        ::signal(SIGTERM, SIG_IGN);
        ::execl(argv[0], argv[0], "--ignore-term", "--sleep", "60000", static_cast<char*>(nullptr));
        ::_exit(127);
      }
      ::close(ready[1]);
      char byte;
      while (::read(ready[0], &byte, 1) < 0 && errno == EINTR) {
      }
      ::close(ready[0]);
      std::ofstream(next) << pid;
#endif
      ++i;
    } else if (a == "--exit") {
      std::fflush(stdout);
      return std::atoi(next);
    }
    std::fflush(stdout);
    std::fflush(stderr);
  }
  return 0;
}
