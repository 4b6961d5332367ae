// The tools' messages as SARIF, CI annotations and a summary, and what a hostile tool cannot
// do to them.
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

namespace {

// A build whose make prints a realistic transcript: the log keeps it as it is, and the SARIF
// log, the annotations and the summary say what it said.
TEST_F(MoxtalCliTest, ToolMessagesBecomeSarifAnnotationsAndASummary) {
  WriteBcb6Project(dir_);
  ASSERT_EQ(
      Moxtal("new build.mxs --action TMxCBuilderAction --name Build --set ProjectFile=App.bpr "
             "--set RegenerateResource=False")
          .Code,
      0);
  const std::string transcript =
      "MAKE Version 5.2  Copyright (c) 1987, 2000 Borland\n"
      "        bcc32 -c -tW src\\Unit1.cpp\n"
      "Borland C++ 5.6.4 for Win32 Copyright (c) 1993, 2002 Borland\n"
      "src\\Unit1.cpp:\n"
      "Warning W8004 src\\Unit1.cpp 20: 'i' is assigned a value that is never used in function "
      "f(int)\n"
      "Warning W8004 src\\Unit 2.cpp 7: 'j' is assigned a value that is never used\n"
      "Error E2451 src\\Unit1.cpp 12: Undefined symbol 'x' in function TForm1::Go(TObject *)\n"
      "        ilink32 -aa c0w32.obj Unit1.obj, App.exe\n"
      "Turbo Incremental Link 5.65 Copyright (c) 1997-2002 Borland\n"
      "Warning: Public symbol '_x' defined in both module A.OBJ and B.OBJ\n";
  { std::ofstream(Path("make.txt"), std::ios::binary) << transcript; }
  SetEnvironmentVariable("MX_STANDIN_TRANSCRIPT_MAKE", Path("make.txt"));
  auto r = Moxtal("run build.mxs --registry machine.reg --sarif out.sarif --annotations github");
  ASSERT_EQ(r.Code, 0) << r.Out << r.Err;
  // The log holds every line as make wrote it.
  for (const auto& line : TStringList(transcript))
    EXPECT_NE(r.Out.find(line + "\n"), std::string::npos) << line;
  EXPECT_NE(r.Out.find("::warning file=src/Unit1.cpp,line=20,title=W8004::[Build] 'i' is assigned "
                       "a value that is never used in function f(int)\n"),
            std::string::npos)
      << r.Out;
  EXPECT_NE(r.Out.find("::error file=src/Unit1.cpp,line=12,title=E2451::[Build] Undefined symbol "
                       "'x' in function TForm1::Go(TObject *)\n"),
            std::string::npos)
      << r.Out;
  EXPECT_NE(r.Out.find("::warning title=ilink32::[Build] Public symbol '_x' defined in both "
                       "module A.OBJ and B.OBJ\n"),
            std::string::npos)
      << r.Out;
  EXPECT_NE(r.Out.find("; 1 error, 3 warnings\n"
                       "    most frequent warnings: W8004 (2), ilink32 (1)\n"
                       "    first error: src\\Unit1.cpp(12): E2451 Undefined symbol 'x' in "
                       "function TForm1::Go(TObject *)\n"),
            std::string::npos)
      << r.Out;

  // The SARIF log: what its readers look at.
  const auto sarif = nlohmann::json::parse(Read("out.sarif"));
  EXPECT_EQ(sarif["version"], "2.1.0");
  EXPECT_EQ(sarif["$schema"], "https://json.schemastore.org/sarif-2.1.0.json");
  ASSERT_EQ(sarif["runs"].size(), 1u);
  const auto& run = sarif["runs"][0];
  EXPECT_EQ(run["tool"]["driver"]["name"], "Compile C++Builder Project");
  std::vector<std::string> rules;
  for (const auto& rule : run["tool"]["driver"]["rules"])
    rules.push_back(rule["id"]);
  EXPECT_EQ(rules, (std::vector<std::string>{"W8004", "E2451", "ilink32"}));
  const std::string root = run["originalUriBaseIds"]["PROJECTROOT"]["uri"];
  EXPECT_TRUE(root.starts_with("file:///")) << root;
  EXPECT_TRUE(root.ends_with("/")) << root;
  const auto& results = run["results"];
  ASSERT_EQ(results.size(), 4u);
  EXPECT_EQ(results[1]["ruleId"], "W8004");
  EXPECT_EQ(results[1]["level"], "warning");
  EXPECT_EQ(results[1]["message"]["text"], "'j' is assigned a value that is never used");
  const auto& location = results[1]["locations"][0]["physicalLocation"];
  EXPECT_EQ(location["artifactLocation"]["uri"], "src/Unit%202.cpp");
  EXPECT_EQ(location["artifactLocation"]["uriBaseId"], "PROJECTROOT");
  EXPECT_EQ(location["region"]["startLine"], 7);
  EXPECT_EQ(results[2]["level"], "error");
  EXPECT_FALSE(results[3].contains("locations"));

  // The JSON log carries the fields on the lines that are diagnostics; warnings can fail a
  // build that succeeded when asked.
  r = Moxtal(
      "run build.mxs --registry machine.reg --log-format json --fail-on-warnings "
      "--annotations none");
  EXPECT_EQ(r.Code, 1) << r.Err;
  int diagnosticLines = 0;
  for (const auto& line : TStringList(r.Out)) {
    const auto event = nlohmann::json::parse(line);
    if (event.contains("summary")) {
      EXPECT_EQ(event["summary"][0]["errors"], 1);
      EXPECT_EQ(event["summary"][0]["firstError"]["code"], "E2451");
      continue;
    }
    if (!event.contains("diagnostics")) continue;
    ++diagnosticLines;
    EXPECT_EQ(event["diagnostics"][0]["severity"] == "error",
              event["line"].get<std::string>().starts_with("Error"))
        << line;
  }
  EXPECT_EQ(diagnosticLines, 4);

  // With SARIF and annotations too, standard output stays JSON, line by line; the annotations
  // name files relative to the workspace GitHub checked out, as it needs to place them.
  SetEnvironmentVariable("GITHUB_WORKSPACE", dir_.parent_path().string());
  r = Moxtal(
      "run build.mxs --registry machine.reg --log-format json --sarif out.sarif "
      "--annotations github");
  RemoveEnvironmentVariable("GITHUB_WORKSPACE");
  ASSERT_EQ(r.Code, 0) << r.Err;
  bool sarifNoted = false;
  for (const auto& line : TStringList(r.Out)) {
    const auto event = nlohmann::json::parse(line);  // throws on a line that is not JSON
    sarifNoted = sarifNoted || event.value("sarif", "") == "out.sarif";
  }
  EXPECT_TRUE(sarifNoted) << r.Out;
  EXPECT_NE(r.Err.find("::error file=" + dir_.filename().string() +
                       "/src/Unit1.cpp,line=12,title=E2451::"),
            std::string::npos)
      << r.Err;
  RemoveEnvironmentVariable("MX_STANDIN_TRANSCRIPT_MAKE");
  EXPECT_EQ(Moxtal("run build.mxs --registry machine.reg --fail-on-warnings").Code, 0);
}

}  // namespace

namespace {

// What a tool prints cannot break the logs or command the CI service: bytes of a German code
// page, workflow commands in its output, a line number with fourteen digits. The SARIF log and
// the JSON log stay valid, the exit status stays the build's, and moxtal's own annotations come
// after the end of a stop-commands block that no tool can end.
TEST_F(MoxtalCliTest, HostileToolOutputNeverBreaksTheLogsOrActsAsACommand) {
  WriteBcb6Project(dir_);
  ASSERT_EQ(
      Moxtal("new build.mxs --action TMxCBuilderAction --name Build --set ProjectFile=App.bpr "
             "--set RegenerateResource=False")
          .Code,
      0);
  {
    std::ofstream(Path("make.txt"), std::ios::binary)
        << "Warning W8004 src\\f\xFCr.cpp 3: 'n' ist f\xFCr nichts\n"
           "::stop-commands::forged\n"
           "  ::error::forged by a tool\n"
           "Error E2451 src\\Unit1.cpp 12345678901234: Undefined symbol 'x'\n";
  }
  SetEnvironmentVariable("MX_STANDIN_TRANSCRIPT_MAKE", Path("make.txt"));
  auto r = Moxtal("run build.mxs --registry machine.reg --sarif out.sarif --annotations github");
  EXPECT_EQ(r.Code, 0) << r.Out << r.Err;
  EXPECT_NE(r.Out.find("'n' ist f\xC3\xBCr nichts"), std::string::npos) << r.Out;
  EXPECT_NE(r.Out.find("SARIF log written to out.sarif\n"), std::string::npos) << r.Out;
  const auto sarif = nlohmann::json::parse(Read("out.sarif"));
  const auto& results = sarif["runs"][0]["results"];
  ASSERT_EQ(results.size(), 2u);
  EXPECT_EQ(results[0]["message"]["text"], "'n' ist f\xC3\xBCr nichts");
  EXPECT_EQ(results[0]["locations"][0]["physicalLocation"]["artifactLocation"]["uri"],
            "src/f%C3%BCr.cpp");
  // A line number that does not fit is dropped; the file stays.
  EXPECT_EQ(results[1]["locations"][0]["physicalLocation"]["artifactLocation"]["uri"],
            "src/Unit1.cpp");
  EXPECT_FALSE(results[1]["locations"][0]["physicalLocation"].contains("region"));

  // The block opens before the first tool line and closes, with moxtal's token, before the
  // first of moxtal's annotations.
  const auto lines = TStringList(r.Out);
  ASSERT_GT(lines.Count(), 0);
  ASSERT_TRUE(lines[0].starts_with("::stop-commands::moxtal-")) << r.Out;
  const std::string end = "::" + lines[0].substr(17) + "::";
  const auto forged = r.Out.find("::stop-commands::forged");
  const auto closed = r.Out.find("\n" + end + "\n");
  const auto annotation = r.Out.find("\n::warning file=src/f\xC3\xBCr.cpp,line=3,title=W8004::");
  EXPECT_NE(forged, std::string::npos);
  EXPECT_LT(forged, closed);
  EXPECT_LT(closed, annotation) << r.Out;

  // With a JSON log on GitHub, standard output is JSON line by line and the annotations go to
  // standard error.
  SetEnvironmentVariable("GITHUB_ACTIONS", "true");
  r = Moxtal("run build.mxs --registry machine.reg --log-format json");
  RemoveEnvironmentVariable("GITHUB_ACTIONS");
  RemoveEnvironmentVariable("MX_STANDIN_TRANSCRIPT_MAKE");
  EXPECT_EQ(r.Code, 0) << r.Err;
  for (const auto& line : TStringList(r.Out))
    EXPECT_TRUE(nlohmann::json::accept(line)) << line;
  EXPECT_NE(r.Err.find("::error file=src/Unit1.cpp,title=E2451::[Build] Undefined symbol 'x'\n"),
            std::string::npos)
      << r.Err;
}

}  // namespace

namespace {

// Paths moxtal builds reach the tools, the log and SARIF without ".." segments or doubled
// separators, though the script names its project "../proj/App.bpr" and the registry ends the
// installation folder with a separator.
TEST_F(MoxtalCliTest, PathsInTheLogAndSarifAreNormalised) {
  WriteBcb6Project(dir_ / "proj");
  std::string root = MX_STANDIN_ROOT;
  for (std::size_t at = root.find('\\'); at != std::string::npos; at = root.find('\\', at + 2))
    root.insert(at, 1, '\\');
  {
    std::ofstream(Path("slash.reg"), std::ios::binary)
        << "REGEDIT4\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Borland\\C++Builder\\6.0]\n\"RootDir\"=\""
        << root << (root.ends_with("\\\\") ? "" : "/") << "\"\n";
    std::ofstream(Path("make.txt"), std::ios::binary) << "Warning W8004 Unit1.cpp 3: unused\n";
  }
  std::filesystem::create_directories(dir_ / "ci");
  ASSERT_EQ(Moxtal("new ci/s.mxs --action TMxCBuilderAction --name A --set "
                   "ProjectFile=../proj/App.bpr --set RegenerateResource=False")
                .Code,
            0);
  SetEnvironmentVariable("MX_STANDIN_TRANSCRIPT_MAKE", Path("make.txt"));
  const auto r = Moxtal("run ci/s.mxs --registry slash.reg --sarif out.sarif");
  RemoveEnvironmentVariable("MX_STANDIN_TRANSCRIPT_MAKE");
  ASSERT_EQ(r.Code, 0) << r.Out << r.Err;
  EXPECT_EQ(r.Out.find("/../"), std::string::npos) << r.Out;
  EXPECT_EQ(r.Out.find("//"), std::string::npos) << r.Out;
  EXPECT_NE(r.Out.find("SARIF log written to out.sarif\n"), std::string::npos);
  const auto sarif = nlohmann::json::parse(Read("out.sarif"));
  const std::string base = sarif["runs"][0]["originalUriBaseIds"]["PROJECTROOT"]["uri"];
  EXPECT_EQ(base.find(".."), std::string::npos) << base;
  EXPECT_TRUE(base.ends_with("/proj/")) << base;
}

}  // namespace
