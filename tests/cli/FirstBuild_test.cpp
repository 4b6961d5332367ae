// A new user's first builds of real projects: taking a project, the checks before a build,
// and messages that lead to the fix.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <nlohmann/json.hpp>

#include "platform/CommandLine.h"
#include "platform/Environment.h"
#include "platform/ProcessRunner.h"
#include "platform/StringList.h"
#include "platform/WholeFile.h"
#include "tests/cli/CliTest.h"
#include "tests/support/AddressLayout.h"
#include "tests/support/Corpus.h"

using namespace mx::platform;
using mx::test::MoxtalCliTest;
using mx::test::TResult;

namespace {

// A new user's first hour: mistakes are found before a build, and every message names the
// script, the action or the file it is about; what moxtal did is said.
TEST_F(MoxtalCliTest, MistakesAreFoundEarlyAndNameWhatTheyAreAbout) {
  WriteBcb6Project(dir_);
  // A project that is not there cannot be taken: the script is not even made.
  auto r = Moxtal("new s.mxs --action TMxCBuilderAction --name A --set ProjectFile=Missing.bpr");
  EXPECT_EQ(r.Code, 2);
  EXPECT_EQ(r.Err, "moxtal: s.mxs: action \"A\": " + Path("Missing.bpr") +
                       " does not exist; s.mxs is unchanged\n");
  EXPECT_FALSE(std::filesystem::exists(Path("s.mxs")));
  r = Moxtal(
      "new s.mxs --action TMxCBuilderAction --name A --set ProjectFile=Missing.bpr "
      "--no-reload");
  ASSERT_EQ(r.Code, 0) << r.Err;
  EXPECT_NE(r.Out.find("add to .gitignore:\n  MxTemp.BPR\n  MxTemp.BPK\n  MxTemp.MAK\n"
                       "  Missing.rc\n  Missing.res\n"),
            std::string::npos)
      << r.Out;
  const std::string missing = Path("Missing.bpr");
  r = Moxtal("validate s.mxs");
  EXPECT_EQ(r.Code, 2);
  EXPECT_EQ(r.Out,
            "A: ProjectFile: " + missing + " does not exist\ns.mxs: the build script has errors\n");
  // The reload looks for the project before it asks.
  r = Moxtal("edit s.mxs --action A --reload");
  EXPECT_EQ(r.Code, 2);
  EXPECT_EQ(r.Err,
            "moxtal: s.mxs: action \"A\": " + missing + " does not exist; nothing was reloaded\n");
  EXPECT_EQ(Moxtal("run s.mxs --action Nope").Err,
            "moxtal: s.mxs: the build script has no action named \"Nope\"; its actions are A\n");
  // Slips are answered with the name meant.
  EXPECT_EQ(Moxtal("run s.mxs --action a2").Err,
            "moxtal: s.mxs: the build script has no action named \"a2\"; did you mean A?; its "
            "actions are A\n");
  EXPECT_TRUE(Moxtal("set s.mxs --action A BuildAl=False")
                  .Err.starts_with("moxtal: s.mxs: action \"A\": TMxCBuilderAction has no "
                                   "property 'BuildAl'; did you mean BuildAll?; its properties "
                                   "are ProjectFile, ProjectType, BuildAll, "));
  EXPECT_EQ(Moxtal("set s.mxs --action A BuildAll=yes").Err,
            "moxtal: s.mxs: action \"A\": BuildAll: 'yes' is not a Boolean value: give True or "
            "False\n");
  EXPECT_TRUE(Moxtal("new s.mxs --action TMxCBuilderActoin")
                  .Err.starts_with("moxtal: unknown action class \"TMxCBuilderActoin\"; did you "
                                   "mean TMxCBuilderAction?; the action classes are "));
  EXPECT_TRUE(Moxtal("set s.mxs --action A CompilerOpt.PreCompiledHeaders=pcCach")
                  .Err.ends_with("'pcCach' is not a valid TBCBCompilerPreCompiledHeader value; "
                                 "did you "
                                 "mean pcCache?; its values are pcNone, pcUse, pcCache\n"));
  r = Moxtal("set s.mxs --action A ProjectFile=App.bpr");
  EXPECT_EQ(r.Out,
            "A: ProjectFile=App.bpr\nA: the action keeps its own settings; add --reload to take "
            "the project's (its option families, icon and version information)\nSaved s.mxs\n");
  EXPECT_EQ(Moxtal("validate s.mxs --registry machine.reg").Out, "The build script is valid\n");
  r = Moxtal("frob");
  EXPECT_EQ(r.Code, 2);
  EXPECT_TRUE(r.Err.starts_with("moxtal: \"frob\" is not a command; the commands are run, "))
      << r.Err;

  // A file an earlier action may make is a warning.
  ASSERT_EQ(Moxtal("new m.mxs --action \"Run Script\" --name Make --set \"Script=print(1)\"").Code,
            0);
  ASSERT_EQ(Moxtal("new m.mxs --action TMxCBuilderAction --name A --set ProjectFile=Made.bpr "
                   "--no-reload")
                .Code,
            0);
  r = Moxtal("validate m.mxs");
  EXPECT_EQ(r.Code, 0);
  EXPECT_EQ(r.Out, "A: warning: ProjectFile: " + Path("Made.bpr") +
                       " does not exist (an earlier action may make it)\n"
                       "m.mxs: the build script is valid, with 1 warning\n");

  // A C++Builder 2007 project takes its version from its name; a contradiction is a warning.
  std::filesystem::copy_file(MX_EXAMPLES_DIR "/cb2006/Stock.cbproj", dir_ / "Stock.cbproj");
  r = Moxtal("new t.mxs --action TCBuilder2006Action --name S --set ProjectFile=Stock.cbproj");
  EXPECT_NE(r.Out.find("  set CBuilderVersion=cb2007 (from the extension of Stock.cbproj)\n"),
            std::string::npos)
      << r.Out;
  EXPECT_NE(Moxtal("show t.mxs --action S").Out.find("CBuilderVersion=cb2007\n"),
            std::string::npos);
  ASSERT_EQ(Moxtal("set t.mxs --action S CBuilderVersion=cb2006").Code, 0);
  // The version the build needs must be on this machine: the machine names the one it has.
  r = Moxtal("validate t.mxs --registry machine.reg");
  EXPECT_EQ(r.Code, 2);
  EXPECT_EQ(r.Out,
            "S: warning: CBuilderVersion: cb2006 builds C++Builder 2006 projects (.bdsproj) with "
            "bdsproj2mak and make, but the project file Stock.cbproj is a 2007 project\n"
            "S: CBuilderVersion: the build needs C++Builder 2006; this machine has C++Builder 6 "
            "(registry: machine.reg)\n"
            "t.mxs: the build script has errors\n");
}

}  // namespace

namespace {

// A real project with its resource file, in "app/", and a build script in "ci/" beside it.
struct TCorpusProject {
  const char* Project;
  const char* Resource;
  const char* Took;  // what `new` says it took, after "Took from ../app/P.bpr: "
};

const TCorpusProject kTaken[] = {
    {"bcb56/ARR0III__PlexusTCL-Crypter__PlexusTCL_Crypter.bpr",
     "res/ARR0III__PlexusTCL-Crypter__PlexusTCL_Crypter.res",
     "C++Builder 6 executable, 10 option families, the directories and conditionals, no runtime "
     "packages, version 5.0.1.4 and the icon ../app/mainicon.ico from P.res"},
    {"bcb56/pleriche__FastMM4__Replacement BorlndMM DLL__BCB6__BorlndMM.bpr",
     "res/pleriche__FastMM4__BorlndMM.res",
     "C++Builder 6 DLL, 10 option families, the directories and conditionals, 23 runtime "
     "packages, no version information and the icon ../app/mainicon.ico from P.res"},
};

// Taking a project from the command line is picking it in the editor: the same settings as a
// reload, the icon out of the project's resources, and the project's own files untouched.
TEST_F(MoxtalCliTest, NewTakesAProjectAsPickingItInTheEditorDoes) {
  WriteStandInRegistry("machine.reg", {"C++Builder\\6.0"});
  for (const auto& corpus : kTaken) {
    if (!CopyFromCorpus(corpus.Project, "app/P.bpr") ||
        !CopyFromCorpus(corpus.Resource, "app/P.res"))
      GTEST_SKIP() << "the corpus is not at " << mx::test::kCorpus;
    std::filesystem::remove(Path("app/P.rsb"));
    std::filesystem::remove(Path("app/mainicon.ico"));
    std::filesystem::create_directories(Path("ci"));
    const std::string project = Read("app/P.bpr");
    const std::string resource = Read("app/P.res");

    // A command that fails after the take puts back what the take wrote beside the project:
    // the icon it replaced, and no copy of the resource file.
    std::filesystem::create_directories(Path("ci/dir.mxs"));
    std::ofstream(Path("app/mainicon.ico"), std::ios::binary) << "the icon that was there";
    EXPECT_EQ(
        Moxtal("new ci/dir.mxs --action TMxCBuilderAction --set ProjectFile=../app/P.bpr").Code, 2);
    EXPECT_FALSE(std::filesystem::exists(Path("app/P.rsb")));
    EXPECT_EQ(Read("app/mainicon.ico"), "the icon that was there");
    std::filesystem::remove(Path("app/mainicon.ico"));

    auto r = Moxtal(
        "new ci/a.mxs --action TMxCBuilderAction --name A --set "
        "ProjectFile=../app/P.bpr");
    ASSERT_EQ(r.Code, 0) << r.Err;
    EXPECT_NE(r.Out.find("  Took from ../app/P.bpr: " + std::string(corpus.Took) + "\n"),
              std::string::npos)
        << r.Out;
    // The icon is named as the project is, so the script works from any clone.
    EXPECT_NE(Moxtal("show ci/a.mxs").Out.find("  IconFile=../app/mainicon.ico\n"),
              std::string::npos);
    EXPECT_EQ(Read("app/P.rsb"), resource);
    EXPECT_TRUE(std::filesystem::file_size(Path("app/mainicon.ico")) > 0);

    // The defaults, then the editor's reload: what a build applies is the same.
    ASSERT_EQ(Moxtal("new ci/b.mxs --action TMxCBuilderAction --name B --set "
                     "ProjectFile=../app/P.bpr --no-reload")
                  .Code,
              0);
    const auto defaults = Moxtal("show ci/b.mxs --json").Out;
    EXPECT_NE(defaults.find("\"PreCompFile\": \"$(BCB)\\\\lib\\\\vcl50.csm\""), std::string::npos);
    EXPECT_NE(defaults.find("\"IconFile\": \"\""), std::string::npos);
    ASSERT_EQ(Moxtal("edit ci/b.mxs --action B --reload --yes").Code, 0);
    ASSERT_EQ(Moxtal("bpr apply app/P.bpr --script ci/a.mxs --action A --out a.bpr").Code, 0);
    ASSERT_EQ(Moxtal("bpr apply app/P.bpr --script ci/b.mxs --action B --out b.bpr").Code, 0);
    EXPECT_EQ(Read("a.bpr"), Read("b.bpr")) << corpus.Project;

    // The build writes the icon it took into the resource script.
    r = Moxtal("run ci/a.mxs --registry machine.reg");
    ASSERT_EQ(r.Code, 0) << r.Out << r.Err;
    const std::string rc = Read("app/P.rc");
    ASSERT_TRUE(rc.starts_with("MAINICON ICON \"")) << rc;
    const std::string icon = rc.substr(15, rc.find('"', 15) - 15);
    EXPECT_TRUE(std::filesystem::equivalent(icon, Path("app/mainicon.ico"))) << icon;
    EXPECT_EQ(Read("app/P.bpr"), project);
    for (const char* script : {"ci/a.mxs", "ci/b.mxs"})
      std::filesystem::remove(Path(script));
  }
}

// A C++Builder 2006 project is taken as its project page takes it: its icon, then its
// configurations and version information; set --reload takes another project the same way.
TEST_F(MoxtalCliTest, NewAndSetTakeA2006Project) {
  if (!CopyFromCorpus("bds2006/LukStankovic__VCL-Grafy__Project1.bdsproj", "P.bdsproj") ||
      !CopyFromCorpus("res/LukStankovic__VCL-Grafy__Project1.res", "P.res") ||
      !CopyFromCorpus("bcb56/ARR0III__PlexusTCL-Crypter__PlexusTCL_Crypter.bpr", "Q.bpr"))
    GTEST_SKIP() << "the corpus is not at " << mx::test::kCorpus;
  auto r = Moxtal("new s.mxs --action TCBuilder2006Action --name S --set ProjectFile=P.bdsproj");
  ASSERT_EQ(r.Code, 0) << r.Err;
  EXPECT_NE(r.Out.find("  Took from P.bdsproj: C++Builder 2006, the configuration Debug_Build, "
                       "no version information and the icon mainicon.ico from P.res\n"),
            std::string::npos)
      << r.Out;
  // set without --reload says how to take the project; with it, the project is taken.
  ASSERT_EQ(Moxtal("new s.mxs --action TMxCBuilderAction --name Q --no-reload").Code, 0);
  r = Moxtal("set s.mxs --action Q ProjectFile=Q.bpr");
  EXPECT_NE(r.Out.find("add --reload to take the project's"), std::string::npos) << r.Out;
  EXPECT_NE(Moxtal("show s.mxs --action Q").Out.find("  UseTLibSettings=False\n"),
            std::string::npos);
  r = Moxtal("set s.mxs --action Q ProjectFile=Q.bpr BuildAll=False --reload");
  ASSERT_EQ(r.Code, 0) << r.Err;
  EXPECT_NE(r.Out.find("Q: Took from Q.bpr: C++Builder 6 executable, "), std::string::npos)
      << r.Out;
  const std::string shown = Moxtal("show s.mxs --action Q").Out;
  EXPECT_NE(shown.find("  UseTLibSettings=True\n"), std::string::npos);
  EXPECT_NE(shown.find("  BuildAll=False\n"), std::string::npos);  // what was given wins
  // A project of another kind is refused and the script stays as it was.
  const std::string before = Read("s.mxs");
  r = Moxtal("set s.mxs --action Q ProjectFile=P.bdsproj --reload");
  EXPECT_EQ(r.Code, 2);
  EXPECT_EQ(r.Err,
            "moxtal: s.mxs: action \"Q\": P.bdsproj is a C++Builder 2006 project: build it with a "
            "\"C++Builder 2006/7 Project\" action (TCBuilder2006Action); s.mxs is unchanged\n");
  EXPECT_EQ(Read("s.mxs"), before);
}

// What would make a build fail is found by validate, before any tool runs, and run stops on the
// same findings with the same words: the project's kind, the C++Builder version it needs, and
// every tool the build starts.
TEST_F(MoxtalCliTest, ValidateAndRunRefuseWhatABuildCannotDo) {
  const std::pair<const char*, const char*> corpus[] = {
      {"bds2006/Caloni__cppbuilder-forms__Project1.bdsproj", "C.bdsproj"},
      {"cb2007/Crayon2000__RPS-Online__RPS.cbproj", "Later.cbproj"},
      {"bcb34/apache__xerces-c__XercesLib.bpr", "Old.bpr"},
      {"bcb56/pleriche__FastMM4__Replacement BorlndMM DLL__BCB5__BorlndMM.bpr", "Five.bpr"},
      {"bcb56/ARR0III__PlexusTCL-Crypter__PlexusTCL_Crypter.bpr", "Six.bpr"}};
  for (const auto& [from, to] : corpus) {
    if (!CopyFromCorpus(from, to)) GTEST_SKIP() << "the corpus is not at " << mx::test::kCorpus;
  }
  // An installation that has make but not bpr2mak.
  std::filesystem::create_directories(Path("half/bin"));
  std::filesystem::copy_file(std::filesystem::path(MX_STANDIN_ROOT) / "bin" / "make.exe",
                             Path("half/bin/make.exe"));
  WriteStandInRegistry("half.reg", {"C++Builder\\6.0"}, Path("half"));
  const std::pair<const char*, const char*> actions[] = {
      {"TMxCBuilderAction", "C.bdsproj"}, {"TMxCBuilderAction", "Later.cbproj"},
      {"TMxCBuilderAction", "Old.bpr"},   {"TCBuilder2006Action", "Six.bpr"},
      {"TMxCBuilderAction", "Five.bpr"},  {"TMxCBuilderAction", "Six.bpr"}};
  for (const auto& [cls, project] : actions) {
    ASSERT_EQ(Moxtal(std::string("new s.mxs --no-reload --action ") + cls + " --name " + cls[1] +
                     project + " --set ProjectFile=" + project + " --set RegenerateResource=False")
                  .Code,
              0);
  }
  const std::string bpr2mak = (dir_ / "half" / "bin" / "bpr2mak.exe").string();
  const std::vector<std::string> problems = {
      "MC.bdsproj: ProjectFile: C.bdsproj is a C++Builder 2006 project: build it with a "
      "\"C++Builder 2006/7 Project\" action (TCBuilder2006Action)",
      "MLater.cbproj: ProjectFile: Later.cbproj is a C++Builder 2009 or later project "
      "(ProjectVersion 17.2): no action of this package builds it: the C++Builder 2006/7 action "
      "builds only C++Builder 2006 (.bdsproj) and 2007 (.cbproj) projects; build it with the "
      "MSBuild of its own C++Builder version",
      "MOld.bpr: ProjectFile: Old.bpr is a C++Builder 4 project: open it once in C++Builder 5 or "
      "6, which converts it to their XML project format, then build it with a \"Compile "
      "C++Builder Project\" action (TMxCBuilderAction)",
      "CSix.bpr: ProjectFile: Six.bpr is a C++Builder 6 project: build it with a \"Compile "
      "C++Builder Project\" action (TMxCBuilderAction)",
      "MFive.bpr: CBuilderVersion: Five.bpr is a C++Builder 5 project: the build needs C++Builder "
      "5; this machine has C++Builder 6 (registry: half.reg)",
      "MSix.bpr: bpr2mak: " + bpr2mak +
          " does not exist: install the C++Builder version it belongs to there, or describe "
          "where it is installed in the registry file (moxtal vars shows what was found)"};
  auto r = Moxtal("validate s.mxs --registry half.reg");
  EXPECT_EQ(r.Code, 2);
  std::string expected;
  for (const auto& line : problems)
    expected += line + "\n";
  EXPECT_EQ(r.Out, expected + "s.mxs: the build script has errors\n");

  // run finds the same before any tool starts.
  SetEnvironmentVariable("MX_STANDIN_LOG", Path("tools.log"));
  r = Moxtal("run s.mxs --registry half.reg --log-format json");
  RemoveEnvironmentVariable("MX_STANDIN_LOG");
  EXPECT_EQ(r.Code, 2);
  EXPECT_EQ(r.Out, "");
  std::string stopped;
  for (const auto& line : problems)
    stopped += "moxtal: " + line + "\n";
  EXPECT_EQ(r.Err, stopped + "moxtal: s.mxs: nothing was built (moxtal validate shows the same)\n");
  EXPECT_FALSE(std::filesystem::exists(Path("tools.log")));
}

// A project whose name holds a blank reaches every tool as one argument.
TEST_F(MoxtalCliTest, AProjectNamedWithABlankBuilds) {
  WriteBcb6Project(dir_);
  std::filesystem::rename(Path("App.bpr"), Path("My App.bpr"));
  ASSERT_EQ(
      Moxtal("new s.mxs --action TMxCBuilderAction --name A --no-reload --set \"ProjectFile=My "
             "App.bpr\"")
          .Code,
      0);
  SetEnvironmentVariable("MX_STANDIN_LOG", Path("tools.log"));
  const auto r = Moxtal("run s.mxs --registry machine.reg");
  RemoveEnvironmentVariable("MX_STANDIN_LOG");
  ASSERT_EQ(r.Code, 0) << r.Out << r.Err;
  const std::string folder = dir_.string();
  EXPECT_NE(Read("tools.log").find("BRCC32|" + folder + "|-v|My App.rc\n"), std::string::npos)
      << Read("tools.log");
}

#ifndef _WIN32
// A 32-bit Windows tool needs a Wine that runs 32-bit programs, and a kernel that does: either
// lack is named, with the fix, before the build.
TEST_F(MoxtalCliTest, A32BitToolThroughWineIsCheckedBeforeTheBuild) {
  WriteBcb6Project(dir_ / "p");
  WriteWindowsTools("\x4C\x01");  // 32-bit: the i386 machine
  // A 64-bit-only Wine: a loader with no 32-bit loader beside it.
  std::filesystem::create_directories(Path("wine64"));
  std::ofstream(Path("wine64/wine64")) << "#!/bin/sh\nexit 0\n";
  std::filesystem::permissions(Path("wine64/wine64"), std::filesystem::perms::owner_all);
  ASSERT_EQ(Moxtal("new s.mxs --no-reload --action TMxCBuilderAction --name A --set "
                   "ProjectFile=p/App.bpr --set RegenerateResource=False")
                .Code,
            0);
  const bool debianWine32 = std::filesystem::exists("/usr/lib/wine/wine");
  auto r = Moxtal("validate s.mxs --registry cb.reg --wine " + Path("wine64/wine64"));
  EXPECT_EQ(r.Code, 2);
  if (!debianWine32) {
    EXPECT_NE(r.Out.find("A: bpr2mak: " + Path("cb/bin/bpr2mak.exe") +
                         " is a 32-bit Windows program, and the Wine at " + Path("wine64/wine64") +
                         " has no 32-bit support (no 32-bit Wine loader is installed); on Debian: "
                         "sudo dpkg --add-architecture i386 && sudo apt update && sudo apt "
                         "install wine32\n"),
              std::string::npos)
        << r.Out;
  }
  // A 32-bit loader this kernel cannot start (here: an ELF header of the 32-bit class and
  // nothing else).
  std::ofstream(Path("wine64/wine"), std::ios::binary) << std::string(
      "\x7f"
      "ELF\x01\x01\x01",
      7);
  std::filesystem::permissions(Path("wine64/wine"), std::filesystem::perms::owner_all);
  r = Moxtal("validate s.mxs --registry cb.reg --wine " + Path("wine64/wine64"));
  EXPECT_EQ(r.Code, 2);
  EXPECT_NE(r.Out.find("A: make: " + Path("cb/bin/make.exe") +
                       " is a 32-bit Windows program, and this machine's kernel cannot run "
                       "32-bit programs, so no Wine here can start a 32-bit Windows program ("),
            std::string::npos)
      << r.Out;
}
#endif

#ifdef __linux__
// Windows tools start through the Wine loader without address-space randomisation: Wine as
// Debian ships it has no preloader, and a heap placed at random now and then takes the address
// every Windows program maps its shared data at, so that the tool ends as it starts.
TEST_F(MoxtalCliTest, ToolsThroughWineStartWithAFixedAddressLayout) {
  if (const auto why = mx::test::WhyAddressLayoutCannotBeTold(); !why.empty()) GTEST_SKIP() << why;
  WriteBcb6Project(dir_ / "p");
  WriteWindowsTools("\x64\x86");
  std::filesystem::create_directories(Path("prefix/dosdevices"));
  std::filesystem::create_directory_symlink("/", Path("prefix/dosdevices/z:"));
  // A loader that says how it was started.
  std::ofstream(Path("wine")) << "#!/bin/sh\ncat /proc/self/personality >>'" << Path("started")
                              << "'\n";
  std::filesystem::permissions(Path("wine"), std::filesystem::perms::owner_all);
  ASSERT_EQ(Moxtal("new s.mxs --no-reload --action TMxCBuilderAction --name A --set "
                   "ProjectFile=p/App.bpr --set RegenerateResource=False")
                .Code,
            0);
  // The build itself fails: this loader runs no tool.
  const auto r = Moxtal("run s.mxs --registry cb.reg --wine " + Path("wine") + " --wine-prefix " +
                        Path("prefix"));
  unsigned long started = 0;
  ASSERT_TRUE(std::ifstream(Path("started")) >> std::hex >> started) << r.Out << r.Err;
  EXPECT_EQ(started & ADDR_NO_RANDOMIZE, ADDR_NO_RANDOMIZE);
}
#endif

}  // namespace

namespace {

// Version texts that would break the resource script, or that no resource compiler takes, are
// found by validate, naming the action, the entry and the character.
TEST_F(MoxtalCliTest, ValidateRefusesVersionTextsTheResourceScriptCannotHold) {
  WriteBcb6Project(dir_);
  const std::pair<const char*, const char*> cases[] = {
      {"CompanyName=a\\\" VALUE \\\"Evil\\\", \\\"x\\\\\" --set "
       "\"LinkProductVersionToFileVersion=True",
       "A: VersionInfoKeys: the version entry CompanyName holds a double quote (\"), which a "
       "resource script cannot hold between quotes: a\" VALUE \"Evil\", \"x\\\n"},
      {"CompanyName=Acme",
       "A: VersionInfoKeys: there is no product version for PRODUCTVERSION: give the entry "
       "ProductVersion (such as 1.0.0.0), or link the product version to the file version\n"},
      {"ProductVersion=1.0 beta",
       "A: VersionInfoKeys: the product version \"1.0 beta\" (the entry ProductVersion) is not up "
       "to four numbers such as 1.0.0.0, which PRODUCTVERSION must be\n"},
  };
  for (const auto& [keys, problem] : cases) {
    std::filesystem::remove(Path("s.mxs"));
    ASSERT_EQ(Moxtal(std::string("new s.mxs --action TMxCBuilderAction --name A --no-reload --set "
                                 "ProjectFile=App.bpr --set IncludeVerInfo=True --set \"") +
                     "VersionInfoKeys=" + keys + "\"")
                  .Code,
              0)
        << keys;
    const auto r = Moxtal("validate s.mxs --registry machine.reg");
    EXPECT_EQ(r.Code, 2) << keys;
    EXPECT_EQ(r.Out, std::string(problem) + "s.mxs: the build script has errors\n") << keys;
  }
}

// Every resource script a build writes for the corpus's projects, taken as a user takes them,
// is one a real resource compiler (binutils' windres) compiles; the projects whose version
// texts no resource compiler takes are refused before the build instead.
TEST_F(MoxtalCliTest, EveryResourceScriptOfTheCorpusCompiles) {
#ifdef _WIN32
  GTEST_SKIP() << "binutils' windres runs on Linux";
#endif
  const std::string windres = "/usr/bin/x86_64-w64-mingw32-windres";
  if (!std::filesystem::exists(windres)) GTEST_SKIP() << windres << " is not installed";
  if (!std::filesystem::exists(mx::test::kCorpus / "bcb56"))
    GTEST_SKIP() << "the corpus is not at " << mx::test::kCorpus;
  WriteStandInRegistry("machine.reg",
                       {"C++Builder\\5.0", "C++Builder\\6.0", "BDS\\4.0", "BDS\\5.0"});
  int projects = 0;
  int compiled = 0;
  int refused = 0;
  for (const char* folder : {"bcb56", "bds2006", "cb2007"}) {
    for (const auto& entry : std::filesystem::directory_iterator(mx::test::kCorpus / folder)) {
      const std::string stem = entry.path().stem().string();
      const std::string ext = entry.path().extension().string();
      const std::string dir = "p" + std::to_string(++projects);
      CopyFromCorpus(entry.path().lexically_relative(mx::test::kCorpus), dir + "/P" + ext);
      CopyFromCorpus(std::filesystem::path("res") / (stem + ".res"), dir + "/P.res");
      const std::string cls =
          ext == ".bpr" || ext == ".bpk" ? "TMxCBuilderAction" : "TCBuilder2006Action";
      const std::string script = dir + "/s.mxs";
      // Projects of kinds no action builds are not taken; they are another test's business.
      if (Moxtal("new " + script + " --action " + cls + " --name A --set ProjectFile=P" + ext +
                 " --set RegenerateResource=True")
              .Code != 0)
        continue;
      const auto run = Moxtal("run " + script + " --registry machine.reg");
      if (run.Code == 2) {
        // Refused before the build: only for what no resource compiler takes.
        EXPECT_NE(run.Err.find("A: VersionInfoKeys: "), std::string::npos) << stem << run.Err;
        ++refused;
        continue;
      }
      ASSERT_EQ(run.Code, 0) << stem << run.Out << run.Err;
      // A project without icon or version information has an empty script: nothing to compile.
      if (Read(dir + "/P.rc").empty()) continue;
      TProcessRequest compile;
      compile.Executable = windres;
      compile.Parameters = "-c 1252 -i P.rc -o compiled.res -O res";
      compile.WorkingDirectory = Path(dir);
      std::string said;
      compile.OnLine = [&said](std::string_view line) { said += std::string(line) + "\n"; };
      EXPECT_EQ(RunProcess(compile), 0) << stem << "\n" << said << Read(dir + "/P.rc");
      ++compiled;
    }
  }
  EXPECT_GT(compiled, 15);  // the rest have neither icon nor version information
  EXPECT_GT(refused, 0);
}

}  // namespace

namespace {

// A build script from someone else's repository may carry Lua that does anything: only run
// executes it. Looking at the script never does.
TEST_F(MoxtalCliTest, OnlyRunExecutesTheScriptsLua) {
  WriteBcb6Project(dir_);
  const std::string mark = Path("ran.txt");
  const std::string lua = "io.open([[" + mark + "]], 'w'):write('ran')";
  std::ofstream(Path("event.lua"), std::ios::binary) << lua << "\n";
  ASSERT_EQ(
      Moxtal("new s.mxs --action \"Run Script\" --name Lua --set \"Script=" + lua + "\"").Code, 0);
  std::ofstream(Path("App.bdsproj"))
      << "<BorlandProject><PersonalityInfo><Option><Option Name=\"Personality\">"
         "CPlusPlusBuilder.Personality</Option></Option></PersonalityInfo></BorlandProject>";
  ASSERT_EQ(Moxtal("new s.mxs --action TCBuilder2006Action --name E --no-reload --set "
                   "ProjectFile=App.bdsproj")
                .Code,
            0);
  ASSERT_EQ(Moxtal("set s.mxs --action E --event OnMakeFileGenerated=event.lua").Code, 0);
  for (const char* look :
       {"validate s.mxs", "show s.mxs", "show s.mxs --json", "edit s.mxs --action Lua --dump",
        "edit s.mxs --action E --dump", "set s.mxs --action E MakeOptions=-s"}) {
    Moxtal(look);
    EXPECT_FALSE(std::filesystem::exists(mark)) << look;
  }
  EXPECT_EQ(Moxtal("run s.mxs --action Lua").Code, 0);
  EXPECT_EQ(Read("ran.txt"), "ran");
}

}  // namespace
