// moxtal on Linux with the C++Builder tools installed in a Wine prefix: the stand-in tools, built
// as Windows programs, are installed under "C:\Program Files" of a prefix made for the run and
// registered with regedit the way 32-bit installers register them. scripts/test-windows names
// the stand-ins in MX_WINDOWS_STANDINS; without them, or without Wine, the tests are skipped.
//
// Commands run through the shell, not the platform's runner: that runner ends whatever a child
// leaves behind, and these tests must see what moxtal itself leaves.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "platform/WineDrives.h"

namespace {

namespace fs = std::filesystem;

struct TRun {
  int Code = -1;
  std::string Out;
};

std::string Quote(const fs::path& p) {
  return "'" + p.string() + "'";
}

// Runs a command line of the shell; the result has its exit status and its output, both streams.
TRun Shell(const std::string& command) {
  TRun run;
  FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
  if (!pipe) return run;
  char buffer[4096];
  std::size_t n = 0;
  while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
    run.Out.append(buffer, n);
  const int status = ::pclose(pipe);
  run.Code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  return run;
}

std::string Read(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
  for (auto at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
    text.replace(at, from.size(), to);
  return text;
}

// A SARIF log without the tools' lines as they printed them.
std::string WithoutLogLines(const std::string& sarif) {
  static const std::regex logLine(R"(,"logLine":"([^"\\]|\\.)*")");
  return std::regex_replace(sarif, logLine, "");
}

// The Windows name of a folder of this machine outside the prefix: through the root's drive.
std::string OnDriveZ(const fs::path& p) {
  std::string name = "Z:" + p.string();
  std::replace(name.begin(), name.end(), '/', '\\');
  return name;
}

// The processes whose environment holds `marker`, other than this one, with their command lines.
std::vector<std::string> ProcessesMarked(const std::string& marker) {
  std::vector<std::string> found;
  for (const auto& entry : fs::directory_iterator("/proc")) {
    const std::string pid = entry.path().filename().string();
    if (pid.find_first_not_of("0123456789") != std::string::npos) continue;
    if (pid == std::to_string(::getpid())) continue;
    const std::string stat = Read(entry.path() / "stat");
    const auto close = stat.rfind(')');
    if (close == std::string::npos || close + 2 >= stat.size() || stat[close + 2] == 'Z') continue;
    const std::string environment = Read(entry.path() / "environ");
    if (environment.find(marker + '\0') == std::string::npos) continue;
    found.push_back(pid + " " +
                    Replaced(Read(entry.path() / "cmdline"), std::string(1, '\0'), " "));
  }
  return found;
}

class WineToolchainTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    const char* standins = std::getenv("MX_WINDOWS_STANDINS");
    loader_ = mx::platform::FindWineLoader();
    if (!standins) {
      skip_ =
          "the stand-in tools built as Windows programs are not named (scripts/test-windows "
          "builds them and runs these tests)";
      return;
    }
    // Named, they must be there, and Wine with them: a lane that means to run these tests fails
    // rather than skips.
    if (!fs::exists(fs::path(standins) / "CBuilder6/bin/make.exe"))
      broken_ = std::string("no stand-in tools in ") + standins;
    if (loader_.empty()) broken_ = "Wine is not installed (scripts/setup --windows installs it)";
    if (!broken_.empty()) return;
    root_ = fs::weakly_canonical(fs::temp_directory_path()) /
            ("mx_wine_toolchain_" + std::to_string(std::random_device()()));
    prefix_ = root_ / "prefix";
    fs::create_directories(root_);
    ::setenv("WINEPREFIX", prefix_.c_str(), 1);
    ::setenv("WINEDEBUG", "-all", 1);
    // Started as moxtal starts the tools: without address-space randomisation.
    const std::string wine = "setarch -R " + Quote(loader_);
    const std::string server = Quote(fs::path(loader_).parent_path() / "wineserver");
    // A prefix of its own, and the server gone before the tests start: each run must start its
    // own and leave nothing behind.
    TRun boot = Shell(wine + " wineboot -i </dev/null >/dev/null && " + server + " -w");
    if (boot.Code != 0) {
      broken_ = "the prefix could not be made: " + boot.Out;
      return;
    }
    InstallStandIns(standins);
    TRun import =
        Shell(wine + " regedit /S " + Quote(root_ / "tools.reg") + " && " + server + " -w");
    if (import.Code != 0) broken_ = "regedit could not import the tools' keys: " + import.Out;
    // One server for all the tests, kept until the last (and a minute more, should the test be
    // killed before it ends it): a tool started just as a server that had nothing left to serve
    // was exiting failed to start now and then.
    Shell(server + " -p60 </dev/null >/dev/null 2>&1");
  }

  static void InstallStandIns(const fs::path& standins) {
    const fs::path borland = prefix_ / "drive_c/Program Files/Borland";
    for (const char* folder : {"CBuilder6/Bin", "BDS/4.0/Bin", "BDS/5.0/Bin"}) {
      fs::create_directories(borland / folder);
      for (const auto& tool : fs::directory_iterator(standins / "CBuilder6/bin"))
        fs::copy_file(tool.path(), borland / folder / tool.path().filename());
    }
    const fs::path framework = prefix_ / "drive_c/windows/Microsoft.NET/Framework/v2.0.50727";
    fs::create_directories(framework);
    fs::copy_file(standins / "dotnet/v2.0.50727/MSBuild.exe", framework / "MSBuild.exe");
    // As 32-bit installers write them in a 64-bit prefix.
    std::ofstream(root_ / "tools.reg", std::ios::binary)
        << "REGEDIT4\n\n"
           "[HKEY_LOCAL_MACHINE\\Software\\Wow6432Node\\Borland\\C++Builder\\6.0]\n"
           "\"RootDir\"=\"C:\\\\Program Files\\\\Borland\\\\CBuilder6\"\n\n"
           "[HKEY_LOCAL_MACHINE\\Software\\Wow6432Node\\Borland\\BDS\\4.0]\n"
           "\"RootDir\"=\"C:\\\\Program Files\\\\Borland\\\\BDS\\\\4.0\\\\\"\n\n"
           "[HKEY_LOCAL_MACHINE\\Software\\Wow6432Node\\Borland\\BDS\\5.0]\n"
           "\"RootDir\"=\"C:\\\\Program Files\\\\Borland\\\\BDS\\\\5.0\\\\\"\n\n"
           "[HKEY_LOCAL_MACHINE\\Software\\Wow6432Node\\Microsoft\\.NETFramework]\n"
           "\"InstallRoot\"=\"C:\\\\Windows\\\\Microsoft.NET\\\\Framework\\\\\"\n";
  }

  static void TearDownTestSuite() {
    if (!root_.empty()) {
      Shell(Quote(fs::path(loader_).parent_path() / "wineserver") + " -k");
      fs::remove_all(root_);
    }
  }

  void SetUp() override {
    if (!skip_.empty()) GTEST_SKIP() << skip_;
    if (!broken_.empty()) FAIL() << broken_;
  }

  // A copy of an example's folder, as a user's checkout.
  static fs::path Checkout(const char* example, const std::string& as) {
    const fs::path copy = root_ / as;
    fs::remove_all(copy);
    fs::copy(fs::path(MX_EXAMPLES_DIR) / example, copy, fs::copy_options::recursive);
    return copy;
  }

  static TRun Moxtal(const std::string& arguments) {
    return Shell(Quote(MX_MOXTAL_EXE) + " " + arguments);
  }

  static std::string ThroughWine() { return " --wine-prefix " + Quote(prefix_); }

  static inline std::string loader_;
  static inline std::string skip_;
  static inline std::string broken_;
  static inline fs::path root_;
  static inline fs::path prefix_;
};

TEST_F(WineToolchainTest, ListsTheCompilersOfThePrefix) {
  const TRun vars = Moxtal("vars" + ThroughWine());
  EXPECT_EQ(vars.Code, 0) << vars.Out;
  for (const char* line : {"BCB6=C:\\Program Files\\Borland\\CBuilder6\\bin\\make.exe\n",
                           "BCB2006DIR=C:\\Program Files\\Borland\\BDS\\4.0\n",
                           "CB2007_BRCC32=C:\\Program Files\\Borland\\BDS\\5.0\\bin\\brcc32.exe\n"})
    EXPECT_NE(vars.Out.find(line), std::string::npos) << line << vars.Out;
}

// The tools get Windows names and run in the project's folder; what they print with Windows
// names reaches the SARIF log as the project's files, exactly as from native tools.
TEST_F(WineToolchainTest, BuildsBothActionsThroughWineAsNatively) {
  const auto build = [](const std::string& as, bool wine) {
    const fs::path demo = Checkout("demo", as);
    const std::string folder = wine ? OnDriveZ(demo) + "\\" : demo.string() + "/";
    const std::string header =
        wine ? std::string("C:\\Program Files\\Borland\\CBuilder6\\Include\\vcl\\sysmac.h")
             : (prefix_ / "drive_c/Program Files/Borland/CBuilder6/Include/vcl/sysmac.h").string();
    std::ofstream(demo / "transcript.txt", std::ios::binary)
        << "Borland C++ 5.6.4 for Win32 Copyright (c) 1993, 2002 Borland\n"
        << folder << "MainForm.cpp:\n"
        << "Warning W8004 " << folder << "MainForm.cpp 42: 'count' is assigned a value that is "
        << "never used in function TfrmMain::btnRefreshClick(TObject *)\n"
        << "Error E2451 StockItem.cpp 88: Undefined symbol 'total' in function Recount()\n"
        << "Warning W8057 " << header << " 12: Parameter 'x' is never used\n";
    ::setenv("MX_STANDIN_LOG", (demo / "tools.log").c_str(), 1);
    ::setenv("MX_STANDIN_TRANSCRIPT_MAKE", (demo / "transcript.txt").c_str(), 1);
    const std::string registry = wine ? ThroughWine() : " --registry " + Quote(MX_NATIVE_REGISTRY);
    const TRun run =
        Moxtal("run " + Quote(demo / "Inventory.mxs") + registry + " --var DEMO=" + Quote(demo) +
               " --sarif " + Quote(demo / "build.sarif"));
    ::unsetenv("MX_STANDIN_TRANSCRIPT_MAKE");
    return std::pair(demo, run);
  };
  const auto [native, nativeRun] = build("native", false);
  const std::string project = Read(native / "Inventory.bpr");
  const auto [demo, run] = build("wine", true);
  ASSERT_EQ(run.Code, 0) << run.Out;
  const std::string windows = OnDriveZ(demo);
  EXPECT_NE(run.Out.find("Running BPR2MAK with command line : \"C:\\Program Files\\Borland\\"
                         "CBuilder6\\bin\\bpr2mak.exe\" " +
                         windows + "\\MxTemp.BPR"),
            std::string::npos)
      << run.Out;
  EXPECT_EQ(Read(demo / "tools.log"), "BPR2MAK|" + windows + "|" + windows + "\\MxTemp.BPR\n" +
                                          "BRCC32|" + windows + "|-v|Inventory.rc\n" + "MAKE|" +
                                          windows + "|-B|-f" + windows + "\\MxTemp.MAK\n");
  EXPECT_EQ(Read(demo / "Inventory.bpr"), project);
  ASSERT_EQ(nativeRun.Code, 0) << nativeRun.Out;
  // The same files and lines; only the log lines, the tools' own words, name them otherwise.
  const std::string sarif = Read(demo / "build.sarif");
  EXPECT_EQ(WithoutLogLines(Replaced(sarif, demo.string(), "DEMO")),
            WithoutLogLines(Replaced(Read(native / "build.sarif"), native.string(), "DEMO")));
  EXPECT_NE(sarif.find("\"uri\":\"MainForm.cpp\""), std::string::npos) << sarif;
  EXPECT_NE(sarif.find("/prefix/drive_c/Program%20Files/Borland/CBuilder6/Include/"),
            std::string::npos)
      << sarif;
  EXPECT_NE(sarif.find("Warning W8057 C:\\\\Program Files"), std::string::npos) << sarif;

  const fs::path stock = Checkout("cb2006", "stock");
  ::setenv("MX_STANDIN_LOG", (stock / "tools.log").c_str(), 1);
  const TRun both =
      Moxtal("run " + Quote(stock / "Stock.mxs") + ThroughWine() + " --var DEMO=" + Quote(stock));
  EXPECT_EQ(both.Code, 0) << both.Out;
  const std::string folder = OnDriveZ(stock);
  const std::string log = Read(stock / "tools.log");
  for (const std::string& line :
       {"BDSPROJ2MAK|" + folder + "|" + folder + "\\Stock.bdsproj\n",
        "MAKE|" + folder + "|-B|-fStock.mak|CFG=Debug\n",
        "MSBUILD|" + folder + "|/property:Platform=Win32;Config=|/nologo|/target:Build|" + folder +
            "\\Stock.cbproj\n"})
    EXPECT_NE(log.find(line), std::string::npos) << line << log;
  EXPECT_NE(both.Out.find("BDS=C:\\Program Files\\Borland\\BDS\\5.0"), std::string::npos)
      << both.Out;
  ::unsetenv("MX_STANDIN_LOG");
}

// A failing tool fails the build with its exit code; a stop while make runs ends make, the
// server and services Wine started for the run, and leaves no process of the run.
TEST_F(WineToolchainTest, FailuresAndStopsBehaveAsWithNativeTools) {
  const fs::path demo = Checkout("demo", "stopped");
  const std::string script = Read(demo / "Inventory.mxs");
  const std::string arguments =
      "run " + Quote(demo / "Inventory.mxs") + ThroughWine() + " --var DEMO=" + Quote(demo);
  ::setenv("MX_STANDIN_EXIT_MAKE", "2", 1);
  const TRun failed = Moxtal(arguments);
  ::unsetenv("MX_STANDIN_EXIT_MAKE");
  EXPECT_EQ(failed.Code, 1) << failed.Out;
  EXPECT_NE(failed.Out.find("MAKE failed, returned : 2"), std::string::npos) << failed.Out;

  const std::string marker = "MX_WINE_RUN=" + std::to_string(std::random_device()());
  const fs::path log = demo / "tools.log";
  ::setenv("MX_STANDIN_LOG", log.c_str(), 1);
  ::setenv("MX_STANDIN_WAIT_MAKE", "60000", 1);
  // make leaves a Windows process of its own behind, out of its process group.
  ::setenv("MX_STANDIN_LEAVE_MAKE", "60000", 1);
  TRun stopped;
  const auto started = std::chrono::steady_clock::now();
  std::thread run(
      [&] { stopped = Shell("env " + marker + " " + Quote(MX_MOXTAL_EXE) + " " + arguments); });
  // Ctrl+C once make runs; moxtal is the marked process that runs moxtal's program.
  bool interrupted = false;
  bool lingering = false;
  while (!interrupted && std::chrono::steady_clock::now() - started < std::chrono::seconds(60)) {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    const std::string logged = Read(log);
    if (logged.find("MAKE|") == std::string::npos || logged.find("LINGER|") == std::string::npos)
      continue;
    const std::vector<std::string> marked = ProcessesMarked(marker);
    // What make left behind runs, or the stop would have nothing to end.
    lingering = std::any_of(marked.begin(), marked.end(), [](const std::string& p) {
      return p.find("--linger") != std::string::npos;
    });
    for (const std::string& process : marked) {
      if (process.find(fs::path(MX_MOXTAL_EXE).filename().string() + " run") == std::string::npos)
        continue;
      interrupted = ::kill(std::stoi(process), SIGINT) == 0;
    }
  }
  run.join();
  ::unsetenv("MX_STANDIN_WAIT_MAKE");
  ::unsetenv("MX_STANDIN_LEAVE_MAKE");
  ::unsetenv("MX_STANDIN_LOG");
  EXPECT_TRUE(interrupted);
  EXPECT_TRUE(lingering);
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(50));
  EXPECT_EQ(stopped.Code, 130) << stopped.Out;
  EXPECT_NE(stopped.Out.find("MAKE Terminated by user"), std::string::npos) << stopped.Out;
  // What was ended may take a moment to go.
  std::vector<std::string> left = ProcessesMarked(marker);
  for (int i = 0; i < 100 && !left.empty(); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    left = ProcessesMarked(marker);
  }
  EXPECT_EQ(left, std::vector<std::string>{});
  EXPECT_EQ(Read(demo / "Inventory.mxs"), script);
}

// A project whose name holds a blank is one argument to every tool; a project folder Windows
// cannot name (a name ending in a blank) fails the build before a tool runs in a folder of the
// prefix, and nothing is written there.
TEST_F(WineToolchainTest, NamesWithBlanksBuildAndNamesWindowsCannotSayFail) {
  for (const char* as : {"my projects", "trailing "}) {
    const fs::path demo = Checkout("demo", as);
    fs::copy_file(demo / "Inventory.bpr", demo / "My App.bpr");
    const std::string script = Quote(demo / "app.mxs");
    ASSERT_EQ(Moxtal("new " + script +
                     " --action TMxCBuilderAction --name App --no-reload --set \"ProjectFile=My "
                     "App.bpr\" --set IconFile=Inventory.ico")
                  .Code,
              0);
    ::setenv("MX_STANDIN_LOG", (demo / "tools.log").c_str(), 1);
    const TRun run = Moxtal("run " + script + ThroughWine());
    ::unsetenv("MX_STANDIN_LOG");
    const std::string folder = OnDriveZ(demo);
    if (std::string(as) == "my projects") {
      ASSERT_EQ(run.Code, 0) << run.Out;
      EXPECT_NE(Read(demo / "tools.log").find("BRCC32|" + folder + "|-v|My App.rc\n"),
                std::string::npos)
          << Read(demo / "tools.log");
      continue;
    }
    EXPECT_EQ(run.Code, 1) << run.Out;
    EXPECT_NE(run.Out.find("has no name a Windows program run through Wine can be given"),
              std::string::npos)
        << run.Out;
    EXPECT_EQ(Read(demo / "tools.log"), "");
    for (const auto& entry : fs::recursive_directory_iterator(prefix_ / "drive_c")) {
      const std::string name = entry.path().filename().string();
      EXPECT_FALSE(name.starts_with("MxTemp") || name == "Inventory.exe") << entry.path();
    }
  }
}

// With the registry given as a file, a relative WINEPREFIX still names the tools' prefix: Wine is
// given it as an absolute path, which is the only kind it takes.
TEST_F(WineToolchainTest, ARelativeWinePrefixNamesTheToolsPrefixBesideARegistryFile) {
  const fs::path demo = Checkout("demo", "relative");
  std::ofstream(root_ / "tools-file.reg", std::ios::binary)
      << "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Borland\\C++Builder\\6.0]\n"
         "\"RootDir\"=\"C:\\\\Program Files\\\\Borland\\\\CBuilder6\"\n";
  const TRun run = Shell("cd " + Quote(root_) + " && WINEPREFIX=prefix " + Quote(MX_MOXTAL_EXE) +
                         " run " + Quote(demo / "Inventory.mxs") + " --registry tools-file.reg" +
                         " --var DEMO=" + Quote(demo));
  EXPECT_EQ(run.Code, 0) << run.Out;
  EXPECT_NE(run.Out.find("Make completed OK"), std::string::npos) << run.Out;
}

}  // namespace
