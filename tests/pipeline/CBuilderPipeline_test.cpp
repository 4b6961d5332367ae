// The C++Builder 5/6 build with the stand-in tools: command lines, messages, exit codes, stop
// requests, and what it leaves beside the user's project.
#include <gtest/gtest.h>

#include <algorithm>

#include <condition_variable>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <limits>
#include <mutex>
#include <set>
#include <thread>

#include "moxtal/engine/BuildScript.h"
#include "moxtal/engine/Host.h"
#include "package/action/MxCBuilderAction.h"
#include "package/host/MxRegister.h"
#include "platform/Environment.h"
#include "platform/FileNames.h"
#include "platform/StringList.h"

using namespace mx;
using namespace mx::bcc;
using namespace std::chrono_literals;
namespace fs = std::filesystem;

namespace {

const fs::path kTools = fs::path(MX_STANDIN_ROOT) / "bin";
// The delimiter of the paths the action builds itself.
const std::string kSep(1, mx::platform::machinepath::kPathDelim);

const char* const kProject =
    "<?xml version='1.0' encoding='utf-8' ?>\r\n<!-- C++Builder XML Project -->\r\n<PROJECT>\r\n  "
    "<MACROS>\r\n"
    "    <VERSION value=\"BCB.06.00\"/>\r\n    <PROJECT value=\"bin\\Demo.exe\"/>\r\n"
    "    <OBJFILES value=\"Demo.obj Main.obj\"/>\r\n  </MACROS>\r\n  <OPTIONS>\r\n"
    "    <CFLAG1 value=\"-Od -v\"/>\r\n  </OPTIONS>\r\n</PROJECT>\r\n";

class PipelineTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { Register(false); }

  void SetUp() override {
    for (const char* name :
         {"MX_STANDIN_EXIT_BPR2MAK", "MX_STANDIN_EXIT_BRCC32", "MX_STANDIN_EXIT_MAKE",
          "MX_STANDIN_WAIT_MAKE", "MX_STANDIN_WAIT_BRCC32", "MX_STANDIN_EXIT_EMAKE"}) {
      mx::platform::RemoveEnvironmentVariable(name);
    }
    dir_ = fs::temp_directory_path() /
           ("mx pipeline " +
            std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    toolLog_ =
        (fs::temp_directory_path() / ("mx_tools_" + std::to_string(::getpid()) + ".log")).string();
    fs::remove(toolLog_);
    mx::platform::SetEnvironmentVariable("MX_STANDIN_LOG", toolLog_.c_str());
    Write("Demo.bpr", kProject);

    script_.Variables().Set("BCB6", (kTools / "make.exe").string());
    script_.Variables().Set("BCB6_BRCC32", (kTools / "brcc32.exe").string());
    script_.Variables().Set("PRJ", dir_.string());
    action_ = std::make_shared<TMxCBuilderAction>();
    action_->SetName("Build");
    action_->SetProjectFile("%PRJ%/Demo.bpr");
    script_.AddAction(action_);
    engine::THost::Instance().Log().AddSink(log_);
  }

  void TearDown() override {
    engine::THost::Instance().Log().RemoveSink(log_);
    fs::remove_all(dir_);
    fs::remove(toolLog_);
  }

  void Write(const char* name, const std::string& text) {
    std::ofstream(dir_ / name, std::ios::binary) << text;
  }
  std::string Read(const fs::path& p) const {
    std::ifstream in(p, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  }
  std::vector<std::string> Lines() const { return log_->AllLines(); }
  bool Logged(const std::string& line) const {
    const auto lines = Lines();
    return std::find(lines.begin(), lines.end(), line) != lines.end();
  }
  // The tools' own records: "TOOL|folder|arg|...".
  std::vector<std::string> ToolRuns() const {
    return platform::TStringList(Read(toolLog_)).Lines();
  }
  // Stops the build while `tool` runs: once it has logged one run more than it had, however long
  // the tools before it take on a busy machine.
  std::thread StopOnceRunning(const std::string& tool) {
    const auto runs = [this, tool] {
      const auto all = ToolRuns();
      return std::count_if(all.begin(), all.end(),
                           [&](const std::string& run) { return run.rfind(tool + "|", 0) == 0; });
    };
    return std::thread([this, runs, before = runs()] {
      for (int i = 0; i < 1500 && runs() == before; ++i)
        std::this_thread::sleep_for(20ms);
      action_->TerminateAction();
    });
  }

  std::set<std::string> Files() const {
    std::set<std::string> names;
    for (const auto& e : fs::directory_iterator(dir_))
      names.insert(e.path().filename().string());
    return names;
  }
  // The last log entry that starts with `first`.
  std::vector<std::string> Entry(const std::string& first) const {
    std::vector<std::string> found;
    for (const auto& e : log_->Entries()) {
      if (!e.Lines.empty() && e.Lines[0] == first) found = e.Lines;
    }
    return found;
  }

  fs::path dir_;
  std::string toolLog_;
  engine::TBuildScript script_;
  std::shared_ptr<TMxCBuilderAction> action_;
  std::shared_ptr<engine::TMemoryLogSink> log_ = std::make_shared<engine::TMemoryLogSink>();
};

}  // namespace

TEST_F(PipelineTest, ASuccessfulBuildRunsEveryToolWithItsCommandLine) {
  action_->SetBPR2MakOptions("-q");
  action_->SetMakeOptions("-DDEMO");
  EXPECT_TRUE(action_->Execute());
  const std::string wd = dir_.string();
  const auto runs = ToolRuns();
  ASSERT_EQ(runs.size(), 3u);
  EXPECT_EQ(runs[0], "BPR2MAK|" + wd + "|-q|" + wd + "/MxTemp.BPR");
  EXPECT_EQ(runs[1], "BRCC32|" + wd + "|-v|Demo.rc");
  EXPECT_EQ(runs[2], "MAKE|" + wd + "|-B|-DDEMO|-f" + wd + kSep + "MxTemp.MAK");

  const std::string generator = (kTools / "bpr2mak.exe").string();
  EXPECT_EQ(Entry("Loading Project File..."),
            (std::vector<std::string>{"Loading Project File...", "Parsing Project File...",
                                      "Applying settings to Project File...",
                                      "Saving temporary Project File..."}));
  // The options follow the quoted generator directly; two blanks separate them from the project.
  EXPECT_EQ(
      Entry("Running BPR2MAK with command line : \"" + generator + "\"-q  \"" + wd +
            "/MxTemp.BPR\""),
      (std::vector<std::string>{
          "Running BPR2MAK with command line : \"" + generator + "\"-q  \"" + wd + "/MxTemp.BPR\"",
          "BPR2MAK (stand-in tool)", "Converting MxTemp.BPR to MxTemp.MAK",
          "Make file generated OK"}));
  EXPECT_EQ(Entry("Running MAKE with command line :"),
            (std::vector<std::string>{
                "Running MAKE with command line :", "-B -DDEMO -f\"" + wd + kSep + "MxTemp.MAK\"",
                "MAKE (stand-in tool)", "Building bin" + kSep + "Demo.exe", "Make completed OK"}));
  // The resource compiler's output is one item of its step, and the log shows it line by line.
  const auto lines = Lines();
  const auto output = std::find(lines.begin(), lines.end(), "BRCC32 (stand-in tool)");
  ASSERT_NE(output, lines.end());
  EXPECT_EQ(*std::next(output), "Compiling Demo.rc: 0 lines");
  EXPECT_TRUE(fs::exists(dir_ / "bin" / "Demo.exe"));
}

TEST_F(PipelineTest, TheUsersProjectIsNeverWrittenAndOnlyBuildFilesAppear) {
  const std::string before = Read(dir_ / "Demo.bpr");
  const std::set<std::string> built = {"Demo.bpr", "MxTemp.BPR", "MxTemp.MAK",
                                       "Demo.rc",  "Demo.res",   "bin"};
  EXPECT_TRUE(action_->Execute());
  EXPECT_EQ(Read(dir_ / "Demo.bpr"), before);
  EXPECT_EQ(Files(), built);

  mx::platform::SetEnvironmentVariable("MX_STANDIN_EXIT_MAKE", "2");
  EXPECT_FALSE(action_->Execute());
  EXPECT_EQ(Read(dir_ / "Demo.bpr"), before);
  EXPECT_EQ(Files(), built);

  mx::platform::RemoveEnvironmentVariable("MX_STANDIN_EXIT_MAKE");
  mx::platform::SetEnvironmentVariable("MX_STANDIN_WAIT_MAKE", "60000");
  std::thread stopper = StopOnceRunning("MAKE");
  EXPECT_FALSE(action_->Execute());
  stopper.join();
  EXPECT_EQ(Read(dir_ / "Demo.bpr"), before);
  EXPECT_EQ(Files(), built);
  EXPECT_TRUE(Logged("MAKE Terminated by user"));
}

// The temporary project and makefile must never land on the project itself: a project named like
// them, or a name beside it that is a link to it, stops the build before anything is written.
TEST_F(PipelineTest, BuildFilesNeverOverwriteTheProjectThroughANameOrALink) {
  // Symbolic links need a privilege on Windows (and Wine has none): those cases need them.
  const auto symlink = [](const fs::path& target, const fs::path& link) {
    std::error_code ec;
    fs::create_symlink(target, link, ec);
    return !ec;
  };
  // A project of either kind named like a build file, in any letter case.
  for (const char* name : {"MxTemp.BPR", "mxtemp.bpk"}) {
    log_->Clear();
    Write(name, kProject);
    action_->SetProjectFile(std::string("%PRJ%") + kSep + name);
    EXPECT_FALSE(action_->Execute());
    const std::string path = (dir_ / name).string();
    EXPECT_TRUE(Logged("The project file " + path + " has the name of a build file (" +
                       (name[0] == 'M' ? "MxTemp.BPR" : "MxTemp.BPK") + "); rename the project"))
        << ::testing::PrintToString(Lines());
    EXPECT_EQ(Read(path), kProject);
    EXPECT_TRUE(ToolRuns().empty());
    fs::remove(path);
  }

  action_->SetProjectFile(std::string("%PRJ%") + kSep + "Demo.bpr");
  const std::string demo = (dir_ / "Demo.bpr").string();
  for (const bool symbolic : {true, false}) {
    log_->Clear();
    fs::remove(dir_ / "MxTemp.BPR");
    if (symbolic) {
      if (!symlink(dir_ / "Demo.bpr", dir_ / "MxTemp.BPR")) continue;
    } else {
      fs::create_hard_link(dir_ / "Demo.bpr", dir_ / "MxTemp.BPR");
    }
    EXPECT_FALSE(action_->Execute());
    EXPECT_TRUE(Logged("The build file " + dir_.string() + kSep + "MxTemp.BPR would overwrite " +
                       "the project file " + demo))
        << ::testing::PrintToString(Lines());
    EXPECT_EQ(Read(demo), kProject);
  }
  // A link to something else is replaced, not written through.
  fs::remove(dir_ / "MxTemp.BPR");
  Write("Other.txt", "other");
  if (!symlink(dir_ / "Other.txt", dir_ / "MxTemp.MAK")) return;
  symlink(dir_ / "Other.txt", dir_ / "MxTemp.BPR");
  EXPECT_TRUE(action_->Execute()) << ::testing::PrintToString(Lines());
  EXPECT_EQ(Read(dir_ / "Other.txt"), "other");
  EXPECT_FALSE(fs::is_symlink(dir_ / "MxTemp.BPR"));
  EXPECT_EQ(Read(demo), kProject);
}

// A sink that tells the test when a line arrives.
class TWatchingSink : public engine::ILogSink {
 public:
  explicit TWatchingSink(std::string awaited) : awaited_(std::move(awaited)) {}
  void Begin(const engine::TLogEntryStart&) override {}
  void Line(std::uint64_t, std::string_view line) override {
    std::lock_guard lock(mutex_);
    if (line == awaited_) {
      seen_ = true;
      changed_.notify_all();
    }
  }
  void End(std::uint64_t) override {}
  bool WaitFor(std::chrono::seconds timeout) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, timeout, [this] { return seen_; });
  }

 private:
  std::string awaited_;
  std::mutex mutex_;
  std::condition_variable changed_;
  bool seen_ = false;
};

// make's first line reaches the log while make still runs, not when it ends.
TEST_F(PipelineTest, MakeOutputReachesTheLogWhileMakeRuns) {
  mx::platform::SetEnvironmentVariable("MX_STANDIN_WAIT_MAKE", "60000");
  const auto watcher = std::make_shared<TWatchingSink>("MAKE (stand-in tool)");
  engine::THost::Instance().Log().AddSink(watcher);
  std::thread build([this] { action_->Execute(); });
  const bool seenWhileRunning = watcher->WaitFor(std::chrono::seconds(20));
  action_->TerminateAction();
  build.join();
  engine::THost::Instance().Log().RemoveSink(watcher);
  mx::platform::RemoveEnvironmentVariable("MX_STANDIN_WAIT_MAKE");
  EXPECT_TRUE(seenWhileRunning);
  EXPECT_TRUE(Logged("MAKE Terminated by user"));
}

TEST_F(PipelineTest, EveryFailureEndsTheBuildWithItsMessage) {
  mx::platform::SetEnvironmentVariable("MX_STANDIN_EXIT_BPR2MAK", "3");
  EXPECT_FALSE(action_->Execute());
  EXPECT_TRUE(Logged("BPR2MAK failed, returned : 3"));
  EXPECT_EQ(ToolRuns().size(), 1u);  // nothing after the failed step
  mx::platform::RemoveEnvironmentVariable("MX_STANDIN_EXIT_BPR2MAK");

  mx::platform::SetEnvironmentVariable("MX_STANDIN_EXIT_BRCC32", "1");
  EXPECT_FALSE(action_->Execute());
  EXPECT_TRUE(Logged("BRCC32 failed, returned : 1"));
  mx::platform::RemoveEnvironmentVariable("MX_STANDIN_EXIT_BRCC32");

  mx::platform::SetEnvironmentVariable("MX_STANDIN_EXIT_MAKE", "2");
  EXPECT_FALSE(action_->Execute());
  EXPECT_TRUE(Logged("MAKE failed, returned : 2"));
  mx::platform::RemoveEnvironmentVariable("MX_STANDIN_EXIT_MAKE");

  script_.Variables().Set("BCB6_BRCC32", (dir_ / "none" / "brcc32.exe").string());
  EXPECT_FALSE(action_->Execute());
  EXPECT_TRUE(Logged("Unable to Execute resource compiler - file not found : " +
                     (dir_ / "none" / "brcc32.exe").string()));
  action_->SetRegenerateResource(false);  // not looked up at all then
  fs::remove(dir_ / "Demo.rc");
  EXPECT_TRUE(action_->Execute());
  EXPECT_FALSE(fs::exists(dir_ / "Demo.rc"));

  script_.Variables().Set("BCB6", (dir_ / "none" / "make.exe").string());
  EXPECT_FALSE(action_->Execute());
  EXPECT_TRUE(Logged("Unable to Execute BPR2MAK - file not found : " + (dir_ / "none").string() +
                     kSep + "bpr2mak.exe"));

  // A toolchain folder with the generator but without make.
  const fs::path partial = dir_ / "partial";
  fs::create_directories(partial);
  fs::copy_file(kTools / "bpr2mak.exe", partial / "bpr2mak.exe");
  script_.Variables().Set("BCB6", (partial / "make.exe").string());
  EXPECT_FALSE(action_->Execute());
  EXPECT_TRUE(
      Logged("Unable to Execute Make - file not found : " + (partial / "make.exe").string()));

  script_.Variables().Remove("BCB6");
  EXPECT_FALSE(action_->Execute());
  EXPECT_EQ(Entry("Error determining BCB BPR2Make location"),
            (std::vector<std::string>{"Error determining BCB BPR2Make location",
                                      "Undefined variable \"BCB6\""}));

  action_->SetProjectFile("%NOWHERE%/Demo.bpr");
  EXPECT_FALSE(action_->Execute());
  EXPECT_EQ(Entry("Error expanding variables in ProjectFile : "),
            (std::vector<std::string>{"Error expanding variables in ProjectFile : ",
                                      "Undefined variable \"NOWHERE\""}));

  action_->SetProjectFile((dir_ / "Missing.bpr").string());
  EXPECT_FALSE(action_->Execute());
  EXPECT_EQ(Entry("Loading Project File..."),
            (std::vector<std::string>{
                "Loading Project File...", "Error loading project File",
                "File : " + (dir_ / "Missing.bpr").string() + " - does not exist!"}));
}

TEST_F(PipelineTest, MakeDetailsCaptureEurekaLogAndPackages) {
  action_->SetBuildAll(false);
  action_->SetCaptureMakeOuput(false);
  action_->SetRegenerateResource(false);
  action_->SetUseEurekaLogCompiler(true);
  script_.Variables().Set("BCB6", (kTools / "MAKE.EXE").string());
  // The stand-in tools live on a case-sensitive file system; only emake.exe has to exist.
  EXPECT_TRUE(action_->Execute());
  const std::string wd = dir_.string();
  EXPECT_EQ(Entry("Running MAKE with command line :"),
            (std::vector<std::string>{"Running MAKE with command line :",
                                      " -f\"" + wd + kSep + "MxTemp.MAK\"", "Make completed OK"}));
  EXPECT_EQ(ToolRuns().back(), "EMAKE|" + wd + "|-f" + wd + kSep + "MxTemp.MAK");

  std::string package = kProject;
  package.replace(package.find("bin\\Demo.exe"), 12, "Pkg.bpl");
  Write("Pkg.bpk", package);
  action_->SetProjectFile("%PRJ%/Pkg.bpk");
  fs::remove(dir_ / "MxTemp.BPR");
  EXPECT_TRUE(action_->Execute());
  EXPECT_TRUE(fs::exists(dir_ / "MxTemp.BPK"));
  EXPECT_FALSE(fs::exists(dir_ / "MxTemp.BPR"));
}

TEST_F(PipelineTest, BuildNumberGrowsOnlyWithVersionInformationAndOverflowFails) {
  action_->SetAutoIncBuild(true);
  action_->SetBuildVersion(41);
  EXPECT_TRUE(action_->Execute());
  EXPECT_EQ(action_->GetBuildVersion(), 41);  // without version information nothing changes

  action_->SetIncludeVerInfo(true);
  action_->SetLinkProductVersionToFileVersion(true);
  action_->SetMajorVersion(1);
  EXPECT_TRUE(action_->Execute());
  EXPECT_EQ(action_->GetBuildVersion(), 42);
  EXPECT_EQ(action_->GetVersionInfoKey("FileVersion"), "1.0.0.42");
  const std::string rc = Read(dir_ / "Demo.rc");
  EXPECT_NE(rc.find("FILEVERSION 1,0,0,41\r\n"), std::string::npos)
      << rc;  // the script shows the built number

  mx::platform::SetEnvironmentVariable("MX_STANDIN_EXIT_MAKE", "1");
  EXPECT_FALSE(action_->Execute());
  EXPECT_EQ(action_->GetBuildVersion(), 42);
  mx::platform::RemoveEnvironmentVariable("MX_STANDIN_EXIT_MAKE");

  action_->SetBuildVersion(std::numeric_limits<std::int32_t>::max());
  EXPECT_FALSE(action_->Execute());
  const auto make = Entry("Running MAKE with command line :");
  ASSERT_GE(make.size(), 3u);
  EXPECT_EQ(std::vector<std::string>(make.end() - 3, make.end()),
            (std::vector<std::string>{"Make completed OK", "MAKE failed!", "Integer overflow"}));
}

TEST_F(PipelineTest, StopRequestsBeforeARunAreDiscardedDuringAToolTheyEndIt) {
  action_->TerminateAction();
  EXPECT_TRUE(action_->Execute());

  mx::platform::SetEnvironmentVariable("MX_STANDIN_WAIT_BRCC32", "60000");
  std::thread stopper = StopOnceRunning("BRCC32");
  const auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(action_->Execute());
  stopper.join();
  EXPECT_LT(std::chrono::steady_clock::now() - start, 30s);
  EXPECT_TRUE(Logged("BRCC32 Terminated by user"));
}

TEST_F(PipelineTest, PropertySetsAreLoadedFirst) {
  action_->SetUsePropertySet(true);
  EXPECT_FALSE(action_->Execute());
  EXPECT_EQ(Lines().back(), "PropertySet name is blank");
  action_->SetVersionInfoPropertySetName("Release");
  EXPECT_FALSE(action_->Execute());
  EXPECT_EQ(Lines().back(), "Unable to find property set: Release");
  EXPECT_TRUE(ToolRuns().empty());  // the build failed before the project was loaded

  script_.AddPropertySet("Release", "Win32 Version Info")
      ->ValueObject()
      .SetValue("MajorVersion", "5");
  action_->SetIncludeVerInfo(true);
  action_->SetLinkProductVersionToFileVersion(true);
  EXPECT_TRUE(action_->Execute());
  EXPECT_EQ(action_->GetVersionInfoKey("FileVersion"), "5.0.0.0");
}
