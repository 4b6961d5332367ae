// The moxtal executable end to end: real processes on small build scripts.
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
#include "tests/support/Corpus.h"

using namespace mx::platform;
using mx::test::MoxtalCliTest;
using mx::test::TResult;

TEST_F(MoxtalCliTest, ActionsListsHostActionsAndLoadedPackages) {
  const auto r = Moxtal("actions");
  EXPECT_EQ(r.Code, 0) << r.Err;
  EXPECT_NE(r.Out.find("TMxRunScriptAction\tRun Script\tScripting"), std::string::npos) << r.Out;
  EXPECT_NE(r.Out.find("Moxtal 5.0 - C++Builder Support Package"), std::string::npos) << r.Out;
  EXPECT_EQ(Moxtal("vars").Code, 0);
  EXPECT_EQ(Moxtal("frobnicate").Code, 2);
  EXPECT_EQ(Moxtal("run --help").Code, 0);
}

#ifndef _WIN32
// Without /proc (a chroot, a container without it) moxtal still finds its own folder, and never
// takes packages from the current one. The test hides /proc in a mount namespace of its own,
// which needs the privilege to make one.
TEST_F(MoxtalCliTest, WithoutProcTheExecutableIsStillFoundAndTheCurrentFolderIsNotUsed) {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
  GTEST_SKIP() << "the sanitizers' run-time needs /proc";
#endif
  TProcessRequest probe;
  probe.Executable = "/usr/bin/unshare";
  probe.Parameters = "--mount --propagation private true";
  probe.WorkingDirectory = dir_.string();
  if (!std::filesystem::exists(probe.Executable) || RunProcess(probe) != 0)
    GTEST_SKIP() << "no mount namespace can be made here (unshare --mount needs privileges)";
  // A packages folder in the current folder with a module that would fail to load.
  std::filesystem::create_directories(dir_ / "packages");
  std::ofstream(dir_ / "packages" / "libEvil.so") << "not a module";
  const auto r = Moxtal(
      "--mount --propagation private /bin/sh -c \"mount -t tmpfs none /proc && "
      "exec '" MX_MOXTAL_EXE "' actions\"",
      "/usr/bin/unshare");
  EXPECT_EQ(r.Code, 0) << r.Err;
  EXPECT_NE(r.Out.find("TCBuilder2006Action"), std::string::npos) << r.Out;
  EXPECT_EQ(r.Out.find("libEvil"), std::string::npos) << r.Out;
}
#endif

TEST_F(MoxtalCliTest, NewSetShowAndRunAScript) {
  ASSERT_EQ(Moxtal("new build.mxs --action \"Run Script\" --name Greet --set \"Script=print('hi ' "
                   ".. Expand('%WHO%'))\"")
                .Code,
            0);
  ASSERT_EQ(
      Moxtal(
          "new build.mxs --action TMxRunScriptAction --name Count --set \"Script=print(tdFull)\"")
          .Code,
      0);

  auto r = Moxtal("run build.mxs --var WHO=builder");
  EXPECT_EQ(r.Code, 0) << r.Out << r.Err;
  EXPECT_NE(r.Out.find("[Greet] hi builder"), std::string::npos) << r.Out;
  EXPECT_NE(r.Out.find("[Count] 2"), std::string::npos) << r.Out;

  ASSERT_EQ(Moxtal("set build.mxs --action greet \"Script=error('broken')\"").Code, 0);
  r = Moxtal("run build.mxs --log-format json");
  EXPECT_EQ(r.Code, 1);
  TStringList lines(r.Out);
  bool sawError = false;
  for (const auto& line : lines) {
    const auto entry = nlohmann::json::parse(line);
    // The run ends with the summary of the tools' messages.
    if (entry.contains("summary")) {
      EXPECT_EQ(line, lines[lines.Count() - 1]);
      continue;
    }
    EXPECT_TRUE(entry.contains("time") && entry.contains("action") && entry.contains("id"));
    EXPECT_TRUE(entry.contains("line") != entry.contains("end")) << line;
    sawError = sawError || entry.value("line", "") == "Script error : Greet:1: broken";
  }
  EXPECT_TRUE(sawError) << r.Out;
  EXPECT_EQ(r.Out.find("[Count]"), std::string::npos);  // stopped at the first failure

  r = Moxtal("run build.mxs --action Count");
  EXPECT_EQ(r.Code, 0) << r.Out;

  r = Moxtal("show build.mxs --action Count --json");
  ASSERT_EQ(r.Code, 0);
  const auto shown = nlohmann::json::parse(r.Out);
  EXPECT_EQ(shown["class"], "TMxRunScriptAction");
  EXPECT_EQ(shown["properties"]["Script"], "print(tdFull)");
  EXPECT_EQ(shown["enabled"], true);

  r = Moxtal("set build.mxs --action Count Nope=1");
  EXPECT_EQ(r.Code, 2);
  EXPECT_NE(r.Err.find("TMxRunScriptAction has no property 'Nope'"), std::string::npos) << r.Err;
}

TEST_F(MoxtalCliTest, InputErrorsNameTheFileAndLeaveItAlone) {
  {
    std::ofstream(Path("bad.mxs"))
        << "<BuildScript>\n<Actions>\n<Action class=\"TNope\"/>\n</Actions>\n</BuildScript>\n";
  }
  const std::string before = Read("bad.mxs");
  auto r = Moxtal("run bad.mxs");
  EXPECT_EQ(r.Code, 2);
  EXPECT_EQ(r.Err,
            "moxtal: bad.mxs:3: unknown action class \"TNope\"; the action classes are "
            "TMxRunScriptAction, TMxCBuilderAction, TCBuilder2006Action\n");
  r = Moxtal("set bad.mxs --action X A=1");
  EXPECT_EQ(r.Code, 2);
  EXPECT_EQ(Read("bad.mxs"), before);
  r = Moxtal("run missing.mxs");
  EXPECT_EQ(r.Code, 2);
  EXPECT_NE(r.Err.find("missing.mxs: cannot open the build script"), std::string::npos);
  r = Moxtal("run x.mxs --packages /nonexistent");
  EXPECT_EQ(r.Code, 2);
  EXPECT_NE(r.Err.find("The package folder /nonexistent does not exist"), std::string::npos)
      << r.Err;
  // A registry file that is named but missing is a typo, not a machine without compilers.
  r = Moxtal("vars --registry typo.reg");
  EXPECT_EQ(r.Code, 2);
  EXPECT_EQ(r.Err, "moxtal: The registry file typo.reg does not exist\n");
  // A folder where a file is expected.
  std::filesystem::create_directories(dir_ / "folder.mxs");
  r = Moxtal("validate folder.mxs");
  EXPECT_EQ(r.Code, 2);
  EXPECT_EQ(r.Err.rfind("moxtal: folder.mxs: cannot open the build script (", 0), 0u) << r.Err;
}

TEST_F(MoxtalCliTest, ValidateReportsEveryProblem) {
  ASSERT_EQ(Moxtal("new v.mxs --action \"Run Script\" --name Empty").Code, 0);
  const auto r = Moxtal("validate v.mxs");
  EXPECT_EQ(r.Code, 2);
  EXPECT_NE(r.Out.find("Empty: Script: The script is empty"), std::string::npos) << r.Out;
}

TEST_F(MoxtalCliTest, ChangesMadeDuringASuccessfulRunAreSaved) {
  ASSERT_EQ(
      Moxtal("new s.mxs --action \"Run Script\" --name Note --set \"Script=print('first')\"").Code,
      0);
  ASSERT_EQ(Moxtal("new s.mxs --action \"Run Script\" --name Edit --set "
                   "\"Script=Actions.Note.Script = \\\"print('second')\\\"\"")
                .Code,
            0);
  ASSERT_EQ(Moxtal("run s.mxs --action Edit --no-save-dynamic").Code, 0);
  EXPECT_NE(Read("s.mxs").find("print('first')"), std::string::npos);
  ASSERT_EQ(Moxtal("run s.mxs --action Edit").Code, 0);
  EXPECT_NE(Read("s.mxs").find("print('second')"), std::string::npos);
  const auto r = Moxtal("run s.mxs --action Note");
  EXPECT_NE(r.Out.find("[Note] second"), std::string::npos) << r.Out;
}

TEST_F(MoxtalCliTest, RelativeNamesInAScriptAreTakenAgainstItsFolder) {
  const std::filesystem::path project = dir_ / "proj";
  WriteBcb6Project(project);
  std::ofstream(project / "app.ico", std::ios::binary) << "icon";
  // The script names its project and icon relative to its own folder, and runs from another.
  ASSERT_EQ(Moxtal("new proj/build.mxs --action TMxCBuilderAction --name Build --set "
                   "ProjectFile=App.bpr --set IconFile=app.ico --no-reload")
                .Code,
            0);
  ASSERT_EQ(Moxtal("new proj/build.mxs --action \"Run Script\" --name Where --set "
                   "\"Script=print(Expand('%SCRIPTDIR%'))\"")
                .Code,
            0);
  const std::string log = Path("tools.log");
  SetEnvironmentVariable("MX_STANDIN_LOG", log);
  const auto r = Moxtal("run proj/build.mxs --registry machine.reg");
  RemoveEnvironmentVariable("MX_STANDIN_LOG");
  ASSERT_EQ(r.Code, 0) << r.Out << r.Err;
  EXPECT_NE(r.Out.find("[Where] " + project.string() + "\n"), std::string::npos) << r.Out;
  // Every tool runs in the project's folder and is given absolute paths.
  const std::string p = project.string();
  const char d = std::filesystem::path::preferred_separator;
  EXPECT_EQ(TStringList(Read("tools.log")).Lines(),
            (std::vector<std::string>{"BPR2MAK|" + p + "|" + p + d + "MxTemp.BPR",
                                      "BRCC32|" + p + "|-v|App.rc",
                                      "MAKE|" + p + "|-B|-f" + p + d + "MxTemp.MAK"}));
  std::ifstream script(project / "App.rc", std::ios::binary);
  std::string first;
  std::getline(script, first);
  EXPECT_EQ(first, "MAINICON ICON \"" + p + d + "app.ico\"\r");
  EXPECT_TRUE(std::filesystem::exists(project / "App.exe"));
}

TEST_F(MoxtalCliTest, HelpVersionAndWhereNothingWasFound) {
  auto r = Moxtal("--help");
  EXPECT_EQ(r.Code, 0);
  EXPECT_NE(r.Out.find("Usage: moxtal [OPTIONS] COMMAND"), std::string::npos) << r.Out;
  for (const char* text : {"--registry FILE", "--packages DIR", "--var NAME=VALUE",
                           "--read-bcb6-vars", "--version", "\n  run ", "\n  bpr "})
    EXPECT_NE(r.Out.find(text), std::string::npos) << text;
  // Each command lists its options, the host's among them, and shows an example.
  const std::pair<const char*, const char*> commands[] = {
      {"run", "--log-format"},      {"validate", "script"}, {"new", "--set PROP=VALUE"},
      {"set", "--event NAME=FILE"}, {"show", "--json"},     {"actions", "--packages"},
      {"vars", "--read-bcb6-vars"}, {"bpr apply", "--diff"}};
  for (const auto& [command, option] : commands) {
    r = Moxtal(std::string(command) + " --help");
    EXPECT_EQ(r.Code, 0) << command;
    EXPECT_NE(r.Out.find(option), std::string::npos) << command << "\n" << r.Out;
    EXPECT_NE(r.Out.find("Example:\n  moxtal " + std::string(command)), std::string::npos)
        << command << "\n"
        << r.Out;
  }

  r = Moxtal("--version");
  EXPECT_EQ(r.Code, 0);
  EXPECT_EQ(r.Out.rfind("moxtal 5.0\nMx50BCC (", 0), 0u) << r.Out;
  EXPECT_NE(r.Out.find("): Moxtal 5.0 - C++Builder Support Package\n"), std::string::npos) << r.Out;

  std::filesystem::create_directories(dir_ / "empty");
  std::ofstream(Path("none.reg")) << "REGEDIT4\n";
  r = Moxtal("actions --packages empty");
  EXPECT_EQ(r.Code, 0);
  EXPECT_EQ(r.Err,
            "moxtal: no package was loaded from empty (give --packages DIR for another "
            "folder)\n");
  r = Moxtal("vars --registry none.reg");
  EXPECT_EQ(r.Code, 0);
  EXPECT_EQ(r.Out, "");
  EXPECT_EQ(r.Err,
            "moxtal: the packages published no variable: they found no compiler in the registry "
            "file none.reg\n");
}

#ifndef _WIN32
// C++Builder installed in a Wine prefix, found through the prefix's own registry files, with
// Windows paths as on Windows.
TEST_F(MoxtalCliTest, VarsListTheCompilersOfAWinePrefix) {
  std::filesystem::create_directories(dir_ / "prefix");
  std::ofstream(dir_ / "prefix" / "system.reg", std::ios::binary)
      << "WINE REGISTRY Version 2\n#arch=win64\n\n"
         "[Software\\\\Wow6432Node\\\\Borland\\\\C++Builder\\\\6.0] 1\n"
         "\"RootDir\"=\"C:\\\\Program Files (x86)\\\\Borland\\\\CBuilder6\\\\\"\n\n"
         "[Software\\\\Wow6432Node\\\\Borland\\\\BDS\\\\4.0] 1\n"
         "\"RootDir\"=\"C:\\\\Program Files (x86)\\\\Borland\\\\BDS\\\\4.0\\\\\"\n\n"
         "[Software\\\\Wow6432Node\\\\Borland\\\\BDS\\\\5.0] 1\n"
         "\"RootDir\"=\"C:\\\\Program Files (x86)\\\\CodeGear\\\\RAD Studio\\\\5.0\\\\\"\n";
  const std::string before = Read("prefix/system.reg");
  auto r = Moxtal("vars --wine-prefix prefix");
  ASSERT_EQ(r.Code, 0) << r.Err;
  for (const char* line :
       {"BCB6=C:\\Program Files (x86)\\Borland\\CBuilder6\\\\bin\\make.exe\n",
        "BCB2006_BRCC32=C:\\Program Files (x86)\\Borland\\BDS\\4.0\\bin\\brcc32.exe\n",
        "CB2007DIR=C:\\Program Files (x86)\\CodeGear\\RAD Studio\\5.0\n"}) {
    EXPECT_NE(r.Out.find(line), std::string::npos) << line << r.Out;
  }
  // WINEPREFIX names the prefix when no registry is given; a registry file given wins.
  SetEnvironmentVariable("WINEPREFIX", Path("prefix"));
  EXPECT_EQ(Moxtal("vars").Out, r.Out);
  std::ofstream(Path("none.reg")) << "REGEDIT4\n";
  EXPECT_EQ(Moxtal("vars --registry none.reg").Out, "");
  RemoveEnvironmentVariable("WINEPREFIX");
  EXPECT_EQ(Read("prefix/system.reg"), before);
  r = Moxtal("vars --wine-prefix nowhere");
  EXPECT_EQ(r.Code, 2);
  EXPECT_NE(r.Err.find("nowhere is not a Wine prefix"), std::string::npos) << r.Err;
}
#endif

#ifndef _WIN32
TEST_F(MoxtalCliTest, InterruptStopsTheRunningAction) {
  ASSERT_EQ(
      Moxtal("new loop.mxs --action \"Run Script\" --name Spin --set \"Script=while true do end\"")
          .Code,
      0);
  const std::string before = Read("loop.mxs");
  const auto r = Moxtal(
      "--preserve-status -s INT 1 " + std::string(MX_MOXTAL_EXE) + " run loop.mxs", "timeout");
  EXPECT_EQ(r.Code, 130) << r.Out << r.Err;  // a stop, as a shell reports Ctrl+C
  EXPECT_NE(r.Out.find("Stop requested"), std::string::npos) << r.Out;
  EXPECT_NE(r.Out.find("[Spin] Script error : Terminated by user"), std::string::npos) << r.Out;
  EXPECT_EQ(Read("loop.mxs"), before);
}

// An event script that never ends is stopped by the first Ctrl+C like any tool.
TEST_F(MoxtalCliTest, InterruptStopsALoopingEventScript) {
  std::string root = MX_STANDIN_ROOT;
  std::ofstream(Path("bds.reg"), std::ios::binary)
      << "REGEDIT4\n[HKEY_LOCAL_MACHINE\\Software\\Borland\\BDS\\4.0]\n\"RootDir\"=\"" << root
      << "\"\n";
  std::ofstream(Path("App.bdsproj"))
      << "<BorlandProject><PersonalityInfo><Option><Option Name=\"Personality\">"
         "CPlusPlusBuilder.Personality</Option></Option></PersonalityInfo></BorlandProject>";
  std::ofstream(Path("spin.lua"), std::ios::binary)
      << "while true do pcall(function() while true do end end) end\n";
  ASSERT_EQ(Moxtal("new e.mxs --action \"C++Builder 2006/7 Project\" --name B --set "
                   "ProjectFile=App.bdsproj --set RegenerateResource=False")
                .Code,
            0);
  ASSERT_EQ(Moxtal("set e.mxs --action B --event OnMakeFileGenerated=spin.lua").Code, 0);
  const auto started = std::chrono::steady_clock::now();
  const auto r = Moxtal(
      "--preserve-status -s INT 1 " + std::string(MX_MOXTAL_EXE) + " run e.mxs --registry bds.reg",
      "timeout");
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(20));
  EXPECT_EQ(r.Code, 130) << r.Out << r.Err;
  EXPECT_NE(r.Out.find("Error during OnMakeFileGenerated event : Terminated by user"),
            std::string::npos)
      << r.Out;
}
#endif

#ifndef _WIN32
TEST_F(MoxtalCliTest, TerminateAndHangUpStopTheBuildLikeTheFirstInterrupt) {
  WriteBcb6Project(dir_);
  ASSERT_EQ(Moxtal("new b.mxs --action TMxCBuilderAction --name Build --set ProjectFile=App.bpr "
                   "--set RegenerateResource=False")
                .Code,
            0);
  const std::string before = Read("b.mxs");
  SetEnvironmentVariable("MX_STANDIN_WAIT_MAKE", "60000");
  for (const auto& [signal, status] : {std::pair("TERM", 143), std::pair("HUP", 129)}) {
    const auto started = std::chrono::steady_clock::now();
    const auto r = Moxtal(std::string("--preserve-status -s ") + signal + " 1 " + MX_MOXTAL_EXE +
                              " run b.mxs --registry machine.reg",
                          "timeout");
    // make is ended with the action, long before its minute is up.
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(20)) << signal;
    EXPECT_EQ(r.Code, status) << signal << r.Out << r.Err;
    EXPECT_NE(r.Out.find("Stop requested"), std::string::npos) << r.Out;
    EXPECT_NE(r.Out.find("MAKE Terminated by user"), std::string::npos) << r.Out;
  }
  RemoveEnvironmentVariable("MX_STANDIN_WAIT_MAKE");
  EXPECT_EQ(Read("b.mxs"), before);
}

TEST_F(MoxtalCliTest, AFullDiskFailsTheSaveAndKeepsTheScript) {
  ASSERT_EQ(Moxtal("new s.mxs --action \"Run Script\" --name Note --set Script=print(1)").Code, 0);
  const std::string before = Read("s.mxs");
  // Files may not grow beyond 4 KB, as on a disk that is full; the new script needs more.
  const auto r = Moxtal("--fsize=4096 " + std::string(MX_MOXTAL_EXE) +
                            " set s.mxs --action Note Script=" + std::string(8000, 'x'),
                        "prlimit");
  EXPECT_EQ(r.Code, 2) << r.Err;
  EXPECT_EQ(r.Err, "moxtal: s.mxs: cannot write the build script (File too large)\n");
  EXPECT_EQ(Read("s.mxs"), before);
  std::vector<std::string> files;
  for (const auto& entry : std::filesystem::directory_iterator(dir_))
    files.push_back(entry.path().filename().string());
  EXPECT_EQ(files, std::vector<std::string>{"s.mxs"});
}
#endif

#ifndef _WIN32
// Users keep build scripts under version control, edit them by hand and link them: a run that
// raises the build number changes that number, and the file stays what it was.
TEST_F(MoxtalCliTest, ARunChangesOnlyTheChangedValueOfAScript) {
  WriteBcb6Project(dir_);
  ASSERT_EQ(Moxtal("new real.mxs --action TMxCBuilderAction --name Build --no-reload --set "
                   "ProjectFile=App.bpr "
                   "--set RegenerateResource=False --set IncludeVerInfo=True --set "
                   "AutoIncBuild=True --set BuildVersion=7")
                .Code,
            0);
  // Hand edits: a comment, a blank line, single quotes.
  std::string text = Read("real.mxs");
  text.insert(text.find("<Actions>"), "<!-- nightly -->\n\n  ");
  const std::string doubleQuoted = "\"BuildVersion\" value=\"7\"";
  text.replace(text.find(doubleQuoted), doubleQuoted.size(), "'BuildVersion' value='7'");
  { std::ofstream(Path("real.mxs"), std::ios::binary) << text; }
  std::filesystem::permissions(Path("real.mxs"), std::filesystem::perms::owner_read |
                                                     std::filesystem::perms::owner_write |
                                                     std::filesystem::perms::group_read);
  std::filesystem::create_symlink("real.mxs", Path("build.mxs"));

  const auto r = Moxtal("run build.mxs --registry machine.reg");
  ASSERT_EQ(r.Code, 0) << r.Out << r.Err;
  std::string expected = text;
  expected.replace(expected.find("value='7'"), 9, "value='8'");
  const std::string keys = "\"VersionInfoKeys\" value=\"\"";
  expected.replace(expected.find(keys), keys.size(),
                   "\"VersionInfoKeys\" value=\"FileVersion=0.0.0.8&#13;&#10;\"");
  EXPECT_EQ(Read("real.mxs"), expected);
  EXPECT_TRUE(std::filesystem::is_symlink(Path("build.mxs")));
  EXPECT_EQ(std::filesystem::status(Path("real.mxs")).permissions(),
            std::filesystem::perms::owner_read | std::filesystem::perms::owner_write |
                std::filesystem::perms::group_read);
}
#endif

// Hostile files end with a clear error, not a crash: nesting deep enough to exhaust a stack,
// entities that expand into each other.
TEST_F(MoxtalCliTest, HostileFilesAreRefusedWithExitStatusTwo) {
  std::string deep;
  for (int i = 0; i < 20000; ++i)
    deep += "<Child class=\"TMxCBuilderLinkerOptions\">";
  {
    std::ofstream(Path("deep.mxs"), std::ios::binary)
        << "<BuildScript><Actions><Action class=\"TMxCBuilderAction\">" << deep;
    std::ofstream(Path("deep.bpr"), std::ios::binary)
        << "<?xml version='1.0'?>\n<PROJECT><MACROS><VERSION value='BCB.06.00'/></MACROS>" << deep;
    std::ofstream(Path("laughs.mxs"), std::ios::binary)
        << "<?xml version='1.0'?>\n<!DOCTYPE BuildScript [<!ENTITY a 'aaaaaaaaaa'>"
           "<!ENTITY b '&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;'><!ENTITY c '&b;&b;&b;&b;&b;&b;&b;&b;'>]>\n"
           "<BuildScript><Variables><Variable name='X' value='&c;'/></Variables></BuildScript>\n";
  }
  auto r = Moxtal("validate deep.mxs");
  EXPECT_EQ(r.Code, 2);
  EXPECT_EQ(r.Err, "moxtal: deep.mxs:1: elements are nested more than 256 levels deep\n");
  r = Moxtal("bpr apply deep.bpr --out out.bpr --diff");
  EXPECT_EQ(r.Code, 2);
  EXPECT_NE(r.Err.find("elements are nested more than 256 levels deep"), std::string::npos)
      << r.Err;
  r = Moxtal("validate laughs.mxs");
  EXPECT_EQ(r.Code, 2);
  EXPECT_EQ(r.Err, "moxtal: laughs.mxs:2: entity declarations are not allowed (\"a\")\n");
}

TEST_F(MoxtalCliTest, BprInspectShowsWhatTheParserReads) {
  {
    std::ofstream(Path("App.bpr"))
        << "<?xml version='1.0' encoding='utf-8' ?>\n<PROJECT>\n<MACROS>\n<VERSION "
           "value=\"BCB.05.03\"/>\n"
           "<PROJECT value=\"..\\out\\App.dll\"/>\n</MACROS>\n</PROJECT>\n";
    std::ofstream(Path("Old.bpr")) << "VERSION = BCB.03\nPROJECT = x.exe\n";
  }
  auto r = Moxtal("bpr inspect App.bpr --json");
  ASSERT_EQ(r.Code, 0) << r.Err;
  const auto shown = nlohmann::ordered_json::parse(r.Out);
  std::vector<std::string> keys;
  for (const auto& item : shown.items())
    keys.push_back(item.key());
  EXPECT_EQ(keys,
            (std::vector<std::string>{
                "CBuilderVersion",  "ProjectType", "FinalOutputPath", "IntermediateOutputPath",
                "BPILIBOutputPath", "IncludePath", "LibraryPath",     "Conditionals",
                "Packages",         "UsePackages", "VersionInfo",     "CompilerOpt",
                "AdvCompilerOpt",   "LinkerOpt",   "AdvLinkerOpt",    "CppOpt",
                "PascalOpt",        "TASMOpt",     "CorbaOpt",        "CodeGuardOpt",
                "TLibOpt"}));
  EXPECT_EQ(shown["CBuilderVersion"], "cvBCB5");
  EXPECT_EQ(shown["ProjectType"], "ptDLL");
  EXPECT_EQ(shown["FinalOutputPath"], "..\\out\\");
  EXPECT_TRUE(shown["Packages"].is_array());
  EXPECT_EQ(shown["CompilerOpt"]["PreCompiledHeaders"], "pcCache");
  EXPECT_EQ(shown["TASMOpt"]["HashTableCapacity"], 8192);

  r = Moxtal("bpr inspect Old.bpr");
  EXPECT_EQ(r.Code, 2);
  EXPECT_EQ(r.Err,
            "moxtal: Old.bpr: BCB3 is not currently supported, it may be supported in a future "
            "version\n");
  r = Moxtal("bpr inspect Missing.bpr");
  EXPECT_EQ(r.Code, 2);
  EXPECT_EQ(r.Err, "moxtal: File : Missing.bpr - does not exist!\n");
}

TEST_F(MoxtalCliTest, BprApplyWritesTheOutputAndNeverTheProject) {
  {
    std::ofstream(Path("App.bpr"))
        << "<?xml version='1.0' encoding='utf-8' ?>\n<PROJECT>\n<MACROS>\n<VERSION "
           "value=\"BCB.06.00\"/>\n"
           "<PROJECT value=\"App.exe\"/>\n<LIBPATH value=\"C:\\lib\\;&quot;C:\\My Lib\\&quot;\"/>\n"
           "</MACROS>\n</PROJECT>\n";
  }
  const std::string before = Read("App.bpr");
  ASSERT_EQ(Moxtal("new s.mxs --action \"Compile C++Builder Project\" --name Build --set "
                   "PreProcessProjectFile=True")
                .Code,
            0);
  auto r = Moxtal("bpr apply App.bpr --out Preview.bpr --script s.mxs --action Build --diff");
  ASSERT_EQ(r.Code, 0) << r.Err;
  // The folders are the same for the tools: a closing backslash is layout.
  EXPECT_EQ(r.Out, "/PROJECT/MACROS/LIBPATH: only its layout changed\n");
  EXPECT_EQ(Read("App.bpr"), before);
  EXPECT_NE(Read("Preview.bpr").find("C:\\lib;&quot;C:\\My Lib&quot;"), std::string::npos)
      << Read("Preview.bpr");

  r = Moxtal("bpr apply App.bpr --out Preview.bpr --diff");
  EXPECT_EQ(r.Out, "No element changed\n");
  r = Moxtal("bpr apply App.bpr --out App.bpr");
  EXPECT_EQ(r.Code, 2);
  EXPECT_EQ(Read("App.bpr"), before);
  // The same file under another name is the same file.
  std::filesystem::create_hard_link(Path("App.bpr"), Path("Same.bpr"));
  r = Moxtal("bpr apply App.bpr --out Same.bpr");
  EXPECT_EQ(r.Code, 2);
  EXPECT_EQ(r.Err, "moxtal: App.bpr: the output file must not be the project file itself\n");
  EXPECT_EQ(Read("App.bpr"), before);
  // The preview expands as the build does: with the variables of the action's build script.
  {
    std::ofstream(Path("vars.mxs"), std::ios::binary)
        << "<BuildScript version=\"1\"><Variables><Variable name=\"OUT\" value=\"C:\\Out\"/>"
           "</Variables><Actions><Action class=\"TMxCBuilderAction\" name=\"Build\">"
           "<Property name=\"BPILIBOutputPath\" value=\"%OUT%\\lib\"/>"
           "</Action></Actions></BuildScript>\n";
    std::ofstream(Path("Lib.bpr"), std::ios::binary)
        << "<?xml version='1.0' encoding='utf-8' ?>\n<PROJECT>\n<MACROS>\n<VERSION "
           "value=\"BCB.06.00\"/>\n<PROJECT value=\"App.exe\"/>\n</MACROS>\n<OPTIONS>\n"
           "<LFLAGS value=\"-D&quot;&quot; -aa\"/>\n</OPTIONS>\n</PROJECT>\n";
  }
  r = Moxtal("bpr apply Lib.bpr --out LibPreview.bpr --script vars.mxs --action Build --diff");
  EXPECT_EQ(r.Code, 0) << r.Err;
  EXPECT_NE(r.Out.find("-l\"C:\\Out\\lib\""), std::string::npos) << r.Out;
  r = Moxtal("bpr apply App.bpr --out x.bpr --set Nope=1");
  EXPECT_EQ(r.Code, 2);
  EXPECT_NE(r.Err.find("TMxCBuilderAction has no property 'Nope'"), std::string::npos) << r.Err;
}

// Inspect shows the version information as values; the preview of an action reloaded from a
// real project shows what the action really changes:
// one line for each element whose switches are only re-spaced, re-quoted or re-ordered, and the
// switches it adds or takes away.
TEST_F(MoxtalCliTest, BprInspectAndDiffOfARealProjectAreReadable) {
  const auto corpus = mx::test::kCorpus / "bcb56" / "zoro-008__Builder6__pHRD_220a.bpr";
  if (!std::filesystem::exists(corpus)) GTEST_SKIP() << "no corpus at " << corpus;
  WriteWholeFile(Path("p.bpr"), ReadWholeFile(corpus.string()));
  ASSERT_EQ(Moxtal("new s.mxs --action TMxCBuilderAction --name A --set ProjectFile=p.bpr").Code,
            0);
  ASSERT_EQ(Moxtal("edit s.mxs --action A --reload --yes").Code, 0);
  // Inspect shows what the parser read of the version information, one value per line.
  const auto inspected = Moxtal("bpr inspect p.bpr");
  EXPECT_NE(inspected.Out.find("VersionInfo.IncludeVerInfo=True\nVersionInfo.MajorVer=1\n"
                               "VersionInfo.MinorVer=0\nVersionInfo.Release=1\n"
                               "VersionInfo.Build=1\n"),
            std::string::npos)
      << inspected.Out;
  EXPECT_NE(inspected.Out.find("VersionInfo.Locale=1042\nVersionInfo.CodePage=949\n"
                               "VersionInfo.Keys.CompanyName=\n"),
            std::string::npos);
  EXPECT_NE(inspected.Out.find("VersionInfo.Keys.FileVersion=1.0.1.1\n"), std::string::npos);
  EXPECT_EQ(inspected.Out.find("[Version Info]"), std::string::npos);

  const auto r = Moxtal("bpr apply p.bpr --out o.bpr --script s.mxs --action A --diff");
  ASSERT_EQ(r.Code, 0) << r.Err;
  EXPECT_EQ(r.Out,
            "/PROJECT/MACROS/OBJFILES: only its layout changed\n"
            "/PROJECT/MACROS/INCLUDEPATH: only its layout changed\n"
            "/PROJECT/MACROS/LIBPATH: only its layout changed\n"
            "/PROJECT/MACROS/WARNINGS: only its layout changed\n"
            "/PROJECT/OPTIONS/CFLAG1: the same items in another order\n"
            "/PROJECT/OPTIONS/PFLAGS\n"
            "  + /Q\n"
            "/PROJECT/OPTIONS/AFLAGS: the same items in another order\n"
            "/PROJECT/OPTIONS/LFLAGS: the same items in another order\n"
            "/PROJECT/IDEOPTIONS: only its layout changed\n");
  // A real change shows as the switches it takes away and adds.
  ASSERT_EQ(Moxtal("set s.mxs --action A CompilerOpt.DebugInfo=False").Code, 0);
  const auto changed = Moxtal("bpr apply p.bpr --out o.bpr --script s.mxs --action A --diff");
  EXPECT_NE(changed.Out.find("/PROJECT/OPTIONS/CFLAG1\n  - -v\n  + -v-\n"), std::string::npos)
      << changed.Out;
}

TEST_F(MoxtalCliTest, EventScriptsAreSetFromLuaFiles) {
  ASSERT_EQ(Moxtal("new e.mxs --action \"C++Builder 2006/7 Project\" --name B").Code, 0);
  { std::ofstream(Path("event.lua"), std::ios::binary) << "MakeFileModified = true\n"; }
  ASSERT_EQ(Moxtal("set e.mxs --action B --event OnMakeFileGenerated=event.lua").Code, 0);
  auto shown = nlohmann::json::parse(Moxtal("show e.mxs --action B --json").Out);
  EXPECT_EQ(shown["events"]["OnMakeFileGenerated"], "MakeFileModified = true\n");
  EXPECT_EQ(shown["properties"]["MSBuildProperties"], nlohmann::json::array());
  ASSERT_EQ(Moxtal("set e.mxs --action B --event OnMakeFileGenerated=").Code, 0);
  shown = nlohmann::json::parse(Moxtal("show e.mxs --action B --json").Out);
  EXPECT_EQ(shown["events"]["OnMakeFileGenerated"], "");
  auto r = Moxtal("set e.mxs --action B --event OnNothing=event.lua");
  EXPECT_EQ(r.Code, 2);
  EXPECT_EQ(r.Err, "moxtal: TCBuilder2006Action has no event \"OnNothing\"\n");
  // An event script saved in a Windows code page is refused where it enters, not on the next
  // load of the whole script.
  { std::ofstream(Path("latin.lua"), std::ios::binary) << "print('caf\xe9')\n"; }
  const std::string before = Read("e.mxs");
  r = Moxtal("set e.mxs --action B --event OnMakeFileGenerated=latin.lua");
  EXPECT_EQ(r.Code, 2);
  EXPECT_EQ(r.Err,
            "moxtal: latin.lua: the byte 0xE9 at offset 10 is not UTF-8 text; save the event "
            "script as UTF-8 text\n");
  EXPECT_EQ(Read("e.mxs"), before);
  EXPECT_EQ(Moxtal("validate e.mxs").Code, 0);
}

#ifdef _WIN32
// On Windows the host reads the compiler locations from the registry itself, where an installer
// records them. The test registers the stand-in installation with reg.exe in the 32-bit view, as
// the 32-bit C++Builder installer does, and removes it again; a machine with a real C++Builder 6
// registration keeps it, and the test is skipped there. A run that was killed before it removed
// its registration left the stand-in's: that one is the test's own, and taken over.
TEST_F(MoxtalCliTest, WindowsBuildUsesTheCompilerTheRegistryNames) {
  const auto reg = [this](const std::string& parameters, std::string* output = nullptr) {
    TProcessRequest request;
    request.Executable = "reg.exe";
    request.Parameters = parameters + " /reg:32";
    request.WorkingDirectory = dir_.string();
    if (output) request.OnStdOut = [output](std::string_view text) { output->append(text); };
    return RunProcess(request);
  };
  const std::string key = "\"HKLM\\SOFTWARE\\Borland\\C++Builder\\6.0\"";
  const std::string root = std::filesystem::absolute(MX_STANDIN_ROOT).make_preferred().string();
  if (reg("query " + key) == 0) {
    std::string registered;
    reg("query " + key + " /v RootDir", &registered);
    if (registered.find(root) == std::string::npos) {
      GTEST_SKIP() << "C++Builder 6 is registered on this machine: " << registered;
    }
  }
  ASSERT_EQ(reg("add " + key + " /v RootDir /t REG_SZ /d \"" + root + "\" /f"), 0);
  struct TUnregister {
    std::function<int(const std::string&)> Reg;
    std::string Key;
    ~TUnregister() { Reg("delete " + Key + " /f"); }
  } unregister{reg, key};

  auto r = Moxtal("vars");
  EXPECT_NE(r.Out.find("BCB6=" + root + "\\bin\\make.exe\n"), std::string::npos) << r.Out;

  {
    std::ofstream(Path("App.bpr"), std::ios::binary)
        << "<?xml version='1.0' encoding='utf-8' ?>\r\n<PROJECT>\r\n  <MACROS>\r\n"
           "    <VERSION value=\"BCB.06.00\"/>\r\n    <PROJECT value=\"App.exe\"/>\r\n"
           "  </MACROS>\r\n</PROJECT>\r\n";
  }
  const std::string project = Read("App.bpr");
  ASSERT_EQ(Moxtal("new build.mxs --action TMxCBuilderAction --name Build --set \"ProjectFile=" +
                   Path("App.bpr") + "\" --set RegenerateResource=False")
                .Code,
            0);
  r = Moxtal("run build.mxs");
  EXPECT_EQ(r.Code, 0) << r.Out << r.Err;
  EXPECT_NE(r.Out.find("MAKE (stand-in tool)"), std::string::npos) << r.Out;
  EXPECT_NE(r.Out.find("Make completed OK"), std::string::npos) << r.Out;
  EXPECT_EQ(Read("App.bpr"), project);
}
#endif
