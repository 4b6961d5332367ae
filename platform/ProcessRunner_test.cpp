#include "ProcessRunner.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>
#include <vector>

#include "CommandLine.h"
#include "Event.h"
#include "StringList.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <signal.h>
#endif
#include "tests/support/AddressLayout.h"

using namespace mx::platform;
using namespace std::chrono_literals;

namespace {

TProcessRequest Standin(std::string parameters) {
  TProcessRequest r;
  r.Executable = MX_STANDIN_PROC;
  r.Parameters = std::move(parameters);
  return r;
}

bool ProcessAlive(long pid) {
#ifdef _WIN32
  HANDLE h = ::OpenProcess(SYNCHRONIZE, FALSE, static_cast<DWORD>(pid));
  if (!h) return false;
  const bool alive = ::WaitForSingleObject(h, 0) == WAIT_TIMEOUT;
  ::CloseHandle(h);
  return alive;
#else
  // An ended process whose new parent has not reaped it yet is a zombie: it no longer runs.
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  std::string pidText, name, state;
  if (!(stat >> pidText >> name >> state)) return ::kill(static_cast<pid_t>(pid), 0) == 0;
  return state != "Z" && state != "X";
#endif
}

}  // namespace

TEST(ProcessRunnerTest, CapturesLinesOfBothStreamsAndExitCode) {
  TStringList out;
  auto r = Standin("--out first --err \"second line\" --partial unterminated --exit 3");
  r.Output = &out;
  EXPECT_EQ(RunProcess(r), 3);
  ASSERT_EQ(out.Count(), 3);
  // Each stream keeps its order; how the two interleave is up to the child and the pipes.
  EXPECT_LT(out.IndexOf("first"), out.IndexOf("unterminated"));  // an unfinished line is kept
  EXPECT_GE(out.IndexOf("second line"), 0);
}

TEST(ProcessRunnerTest, PassesParametersWithQuotesAndBlanksAndWorkingDirectory) {
  const auto dir = std::filesystem::temp_directory_path() / "mx process test dir";
  std::filesystem::create_directories(dir);
  TStringList out;
  auto r = Standin("--args \"C:\\My Lib\\\\\" -DNAME=\\\"v\\\" \"\" --cwd");
  r.WorkingDirectory = dir.string();
  r.Output = &out;
  EXPECT_EQ(RunProcess(r), 0);
  ASSERT_EQ(out.Count(), 7);
  EXPECT_EQ(out[1], "[--args]");
  EXPECT_EQ(out[2], "[C:\\My Lib\\]");
  EXPECT_EQ(out[3], "[-DNAME=\"v\"]");
  EXPECT_EQ(out[4], "[]");
  EXPECT_EQ(out[5], "[--cwd]");
  EXPECT_EQ(std::filesystem::path(out[6]), std::filesystem::canonical(dir));
  std::filesystem::remove_all(dir);
}

TEST(ProcessRunnerTest, DeliversOutputToCallbacksWhileTheChildRuns) {
  std::string stdoutText;
  std::string stderrText;
  auto firstSeen = std::chrono::steady_clock::time_point{};
  auto r = Standin("--out early --sleep 400 --err late");
  r.OnStdOut = [&](std::string_view t) {
    if (stdoutText.empty()) firstSeen = std::chrono::steady_clock::now();
    stdoutText += t;
  };
  r.OnStdErr = [&](std::string_view t) { stderrText += t; };
  EXPECT_EQ(RunProcess(r), 0);
  const auto finished = std::chrono::steady_clock::now();
  EXPECT_EQ(stdoutText.substr(0, 5), "early");
  EXPECT_EQ(stderrText.substr(0, 4), "late");
  EXPECT_GE(finished - firstSeen, 300ms) << "output arrived only when the child ended";
}

TEST(ProcessRunnerTest, StopEventEndsChildAndGrandchildWith999) {
  const auto pidFile = std::filesystem::temp_directory_path() / "mx_grandchild.pid";
  std::filesystem::remove(pidFile);
  TEvent stop;
  TStringList out;
  auto r = Standin("--ignore-term --grandchild \"" + pidFile.string() +
                   "\" --out started --sleep 60000");
  r.StopEvent = &stop;
  r.Output = &out;
  std::thread stopper([&] {
    // Stop only once the child has said it is running.
    for (int i = 0; i < 500 && !std::filesystem::exists(pidFile); ++i)
      std::this_thread::sleep_for(10ms);
    std::this_thread::sleep_for(100ms);
    stop.SetEvent();
  });
  const auto start = std::chrono::steady_clock::now();
  const int code = RunProcess(r);
  const auto elapsed = std::chrono::steady_clock::now() - start;
  stopper.join();
  EXPECT_EQ(code, kExitCodeTerminated);
  EXPECT_LT(elapsed, 10s);
  EXPECT_EQ(out.IndexOf("started"), 0);

  long grandchild = 0;
  std::ifstream(pidFile) >> grandchild;
  ASSERT_GT(grandchild, 0);
  for (int i = 0; i < 100 && ProcessAlive(grandchild); ++i)
    std::this_thread::sleep_for(10ms);
  EXPECT_FALSE(ProcessAlive(grandchild));
  std::filesystem::remove(pidFile);
}

#ifndef _WIN32
// A descendant that left the process group, ignores SIGTERM and holds the output pipe open ends
// with the rest of the tree, and the stop does not wait for it.
TEST(ProcessRunnerTest, StopEndsADescendantThatLeftTheGroup) {
  const auto pidFile = std::filesystem::temp_directory_path() / "mx_detached.pid";
  std::filesystem::remove(pidFile);
  TEvent stop;
  auto r = Standin("--detached \"" + pidFile.string() + "\" --out started --sleep 60000");
  r.StopEvent = &stop;
  bool started = false;
  std::chrono::steady_clock::time_point stoppedAt;
  r.OnLine = [&](std::string_view line) {
    if (line == "started" && !started) {
      started = true;
      stoppedAt = std::chrono::steady_clock::now();
      stop.SetEvent();
    }
  };
  EXPECT_EQ(RunProcess(r), kExitCodeTerminated);
  EXPECT_LT(std::chrono::steady_clock::now() - stoppedAt, 5s);
  long detached = 0;
  std::ifstream(pidFile) >> detached;
  ASSERT_GT(detached, 0);
  for (int i = 0; i < 100 && ProcessAlive(detached); ++i)
    std::this_thread::sleep_for(10ms);
  EXPECT_FALSE(ProcessAlive(detached));
  std::filesystem::remove(pidFile);
}

// A leftover the request spares (a runtime's shared service) outlives a child that ends by
// itself, but a stop ends it with the rest.
TEST(ProcessRunnerTest, ASparedLeftoverOutlivesANormalEndButNotAStop) {
  const auto pidFile = std::filesystem::temp_directory_path() / "mx_spared.pid";
  for (const bool stopped : {false, true}) {
    std::filesystem::remove(pidFile);
    TEvent stop;
    auto r = Standin("--detached \"" + pidFile.string() + "\" --out started" +
                     (stopped ? " --sleep 60000" : ""));
    r.MayOutlive = [](std::string_view program) { return program == MX_STANDIN_PROC; };
    r.StopEvent = &stop;
    r.OnLine = [&](std::string_view line) {
      if (stopped && line == "started") stop.SetEvent();
    };
    EXPECT_EQ(RunProcess(r), stopped ? kExitCodeTerminated : 0);
    long spared = 0;
    std::ifstream(pidFile) >> spared;
    ASSERT_GT(spared, 0);
    for (int i = 0; i < 100 && stopped && ProcessAlive(spared); ++i)
      std::this_thread::sleep_for(10ms);
    EXPECT_EQ(ProcessAlive(spared), !stopped) << (stopped ? "after a stop" : "after the end");
    ::kill(static_cast<pid_t>(spared), SIGKILL);
  }
  std::filesystem::remove(pidFile);
}
#endif

#ifdef __linux__
// A child asked for a fixed address layout runs without randomisation; any other child runs as
// this program does.
TEST(ProcessRunnerTest, AFixedAddressLayoutIsTheChildsAlone) {
  const auto personality = [](bool fixed) {
    TStringList output;
    TProcessRequest r;
    r.Executable = "/bin/cat";
    r.Parameters = "/proc/self/personality";
    r.Output = &output;
    r.FixedAddressLayout = fixed;
    EXPECT_EQ(RunProcess(r), 0);
    return output.Count() == 1 ? std::stoul(output[0], nullptr, 16) : ~0ul;
  };
  if (const auto why = mx::test::WhyAddressLayoutCannotBeTold(); !why.empty()) GTEST_SKIP() << why;
  const auto own = static_cast<unsigned long>(::personality(0xffffffff));
  EXPECT_EQ(personality(true), own | ADDR_NO_RANDOMIZE);
  EXPECT_EQ(personality(false), own);
}
#endif

// Tools run at once from many threads, as a parallel build runs them: the end of one never
// ends or reaps another that was just started.
TEST(ProcessRunnerTest, ToolsRunAtOnceLeaveEachOtherAlone) {
#ifdef _WIN32
  constexpr int kRuns = 8;  // a process costs far more under Wine
#else
  constexpr int kRuns = 40;
#endif
  std::vector<int> codes(4 * kRuns, -1);
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&codes, t] {
      for (int i = 0; i < kRuns; ++i) {
        auto r = Standin("--out x --exit 3");
        codes[static_cast<std::size_t>(t * kRuns + i)] = RunProcess(r);
      }
    });
  }
  for (auto& thread : threads)
    thread.join();
  EXPECT_EQ(std::count(codes.begin(), codes.end(), 3), static_cast<long>(codes.size()));
}

TEST(ProcessRunnerTest, AlreadySignalledStopEventEndsRunAtOnce) {
  TEvent stop(TEvent::TResetMode::Auto, true);
  auto r = Standin("--sleep 60000");
  r.StopEvent = &stop;
  EXPECT_EQ(RunProcess(r), kExitCodeTerminated);
  EXPECT_FALSE(stop.IsSignalled()) << "the run consumes an auto-reset signal";
}

TEST(ProcessRunnerTest, StartFailuresNameTheExecutable) {
  TProcessRequest r;
  r.Executable = "/nonexistent/bpr2mak.exe";
  try {
    RunProcess(r);
    FAIL();
  } catch (const EProcessError& e) {
    EXPECT_EQ(std::string(e.what()).rfind("Cannot run \"/nonexistent/bpr2mak.exe\": ", 0), 0u)
        << e.what();
  }
  auto inMissingDir = Standin("");
  inMissingDir.WorkingDirectory = "/nonexistent-folder";
  EXPECT_THROW(RunProcess(inMissingDir), EProcessError);
}

TEST(LineSplitterTest, JoinsChunksAndSplitsEveryLineBreak) {
  std::vector<std::string> lines;
  TLineSplitter s([&](std::string_view l) { lines.emplace_back(l); });
  s.Feed("a\r");
  s.Feed("\nb\n\nc\rd");
  s.Feed("e");
  s.Feed("\r");
  s.Feed("\r\nf\r\ng");
  s.Flush();
  EXPECT_EQ(lines, (std::vector<std::string>{"a", "b", "", "c", "de", "", "f", "g"}));
}

// A tool that never ends its line is cut into pieces of the limit as the bytes arrive; a piece
// never ends inside a UTF-8 sequence, and nothing is lost or repeated.
TEST(LineSplitterTest, CutsLinesLongerThanTheLimitWithoutSplittingCharacters) {
  constexpr std::size_t kLimit = TLineSplitter::kMaxLineLength;
  std::vector<std::string> pieces;
  TLineSplitter s([&](std::string_view l) { pieces.emplace_back(l); });
  // 3.5 limits of "ü" (two bytes each) fed in odd-sized reads, then a short line.
  std::string text;
  while (text.size() < kLimit * 7 / 2)
    text += "\xC3\xBC";
  for (std::size_t at = 0; at < text.size(); at += 4093) {
    s.Feed(std::string_view(text).substr(at, 4093));
  }
  s.Feed("\nshort\n");
  s.Flush();
  ASSERT_EQ(pieces.size(), 5u);
  std::string joined;
  for (std::size_t i = 0; i < 4; ++i) {
    EXPECT_LE(pieces[i].size(), kLimit);
    if (i < 3) {
      EXPECT_GE(pieces[i].size(), kLimit - 3);
    }
    EXPECT_NE(static_cast<unsigned char>(pieces[i][0]) & 0xC0, 0x80u) << i;
    joined += pieces[i];
  }
  EXPECT_EQ(joined, text);
  EXPECT_EQ(pieces[4], "short");
  // One whole read holding a long line is cut the same way.
  pieces.clear();
  TLineSplitter whole([&](std::string_view l) { pieces.emplace_back(l); });
  whole.Feed(std::string(kLimit * 2 + 5, 'x') + "\n");
  EXPECT_EQ(pieces, (std::vector<std::string>{std::string(kLimit, 'x'), std::string(kLimit, 'x'),
                                              std::string(5, 'x')}));
}
