// What the host makes of collected diagnostics: SARIF locations, annotation escaping, the
// summary, and the collector that takes them from the log.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "moxtal/engine/Diagnostics.h"

using namespace mx;
using namespace mx::engine;

namespace {

TDiagnostic Diagnostic(TDiagnosticSeverity severity, std::string code, std::string file,
                       std::string relative, int line, std::string message) {
  TDiagnostic d;
  d.Tool = "bcc32";
  d.Severity = severity;
  d.Code = std::move(code);
  d.File = std::move(file);
  d.RelativeFile = std::move(relative);
  d.ProjectFolder = "/work/my app";
  d.Line = line;
  d.Message = std::move(message);
  d.LogLine = "the line";
  return d;
}

nlohmann::json Sarif(const TDiagnosticsCollector& collector) {
  std::string text;
  WriteSarifLog(collector, "5.0", "moxtal/build.mxs/",
                [&text](std::string_view piece) { text += piece; });
  return nlohmann::json::parse(text);
}

std::vector<std::string> Annotations(const TDiagnosticsCollector& collector,
                                     const std::string& folder) {
  std::vector<std::string> lines;
  WriteGitHubAnnotations(collector, folder, [&lines](const std::string& l) { lines.push_back(l); });
  return lines;
}

TEST(DiagnosticsTest, CollectedPerActionAndWrittenForTheirReaders) {
  TDiagnosticsCollector collector(true);
  collector.Begin({1, "moxtal", "", {}});
  collector.Begin({2, "Build", "Compile C++Builder Project", {}});
  collector.DiagnosticLine(2, "x",
                           {Diagnostic(TDiagnosticSeverity::dsWarning, "W8004", "src\\a b.cpp",
                                       "src/a b.cpp", 4, "100% sure, a:b")});
  collector.End(2);
  collector.Begin({3, "Build", "Compile C++Builder Project", {}});
  collector.DiagnosticLine(
      3, "y",
      {Diagnostic(TDiagnosticSeverity::dsError, "", "C:\\Program Files\\x.h", "", 0, "boom\nnext"),
       Diagnostic(TDiagnosticSeverity::dsNote, "H2077", "", "", 0, "hint")});
  collector.DiagnosticLine(1, "z", {Diagnostic(TDiagnosticSeverity::dsError, "", "", "", 0, "")});
  const auto actions = collector.Actions();
  ASSERT_EQ(actions.size(), 1u);  // the host's own entries are not an action's
  EXPECT_EQ(actions[0].Counts.Errors + actions[0].Counts.Warnings + actions[0].Counts.Notes, 3);

  const auto sarif = Sarif(collector);
  const auto& results = sarif["runs"][0]["results"];
  ASSERT_EQ(results.size(), 3u);
  EXPECT_EQ(results[0]["locations"][0]["physicalLocation"]["artifactLocation"]["uri"],
            "src/a%20b.cpp");
  EXPECT_EQ(sarif["runs"][0]["originalUriBaseIds"]["PROJECTROOT"]["uri"], "file:///work/my%20app/");
  EXPECT_EQ(results[1]["locations"][0]["physicalLocation"]["artifactLocation"]["uri"],
            "file:///C:/Program%20Files/x.h");
  EXPECT_FALSE(results[1]["locations"][0]["physicalLocation"].contains("region"));
  EXPECT_EQ(results[1]["ruleId"], "bcc32");
  EXPECT_EQ(results[2]["level"], "note");
  EXPECT_EQ(sarif["runs"][0]["tool"]["driver"]["rules"][results[2]["ruleIndex"].get<int>()]["id"],
            "H2077");

  const auto annotations = Annotations(collector, "/work");
  ASSERT_EQ(annotations.size(), 3u);
  EXPECT_EQ(annotations[0],
            "::warning file=my app/src/a b.cpp,line=4,title=W8004::[Build] 100%25 sure, a:b");
  EXPECT_EQ(annotations[1], "::error file=C%3A/Program Files/x.h,title=bcc32::[Build] boom%0Anext");
  EXPECT_EQ(annotations[2], "::notice title=H2077::[Build] hint");

  EXPECT_EQ(DiagnosticsSummary(actions),
            (std::vector<std::string>{"Build: 1 error, 1 warning, 1 note",
                                      "  most frequent warnings: W8004 (1)",
                                      "  first error: C:\\Program Files\\x.h: boom\nnext"}));
  TActionDiagnostics quiet;
  quiet.Action = "Quiet";
  EXPECT_EQ(DiagnosticsSummary({quiet}),
            (std::vector<std::string>{"Quiet: no errors or warnings from the tools"}));
}

// What a tool or a project could put into a message: bytes that are not UTF-8, a file name
// that looks like a URI scheme, a UNC name, numbers at their limits. The SARIF log stays valid
// JSON and the names stay what they are.
TEST(DiagnosticsTest, HostileTextAndNamesKeepTheLogsValid) {
  TDiagnosticsCollector collector(true);
  collector.Begin({1, "Build", "Compile C++Builder Project", {}});
  auto latin = Diagnostic(TDiagnosticSeverity::dsWarning, "W8004", "f\xFCr.cpp", "f\xFCr.cpp", 7,
                          "f\xFCr x");
  latin.LogLine = "Warning W8004 f\xFCr.cpp 7: f\xFCr x";
  const auto colon = Diagnostic(TDiagnosticSeverity::dsError, "E2451", "foo:bar.cpp", "foo:bar.cpp",
                                2147483647, "undefined");
  const auto unc = Diagnostic(TDiagnosticSeverity::dsError, "E2451", "\\\\server\\share\\x.cpp", "",
                              1, "undefined");
  // A relative name that leads out of the project is not made relative to the project's root.
  const auto outside = Diagnostic(TDiagnosticSeverity::dsWarning, "W8057",
                                  "..\\..\\..\\etc\\shadow", "", 3, "never used");
  collector.DiagnosticLine(1, "l", {latin, colon, unc, outside});
  const auto sarif = Sarif(collector);
  const auto& results = sarif["runs"][0]["results"];
  ASSERT_EQ(results.size(), 4u);
  const auto& away = results[3]["locations"][0]["physicalLocation"]["artifactLocation"];
  EXPECT_EQ(away["uri"], "file:///etc/shadow");
  EXPECT_FALSE(away.contains("uriBaseId"));
  EXPECT_EQ(results[0]["message"]["text"], "f\xEF\xBF\xBDr x");
  EXPECT_EQ(results[1]["locations"][0]["physicalLocation"]["artifactLocation"]["uri"],
            "./foo:bar.cpp");
  EXPECT_EQ(results[1]["locations"][0]["physicalLocation"]["region"]["startLine"], 2147483647);
  EXPECT_EQ(results[2]["locations"][0]["physicalLocation"]["artifactLocation"]["uri"],
            "file://server/share/x.cpp");
  const auto annotations = Annotations(collector, "/work");
  ASSERT_EQ(annotations.size(), 4u);
  EXPECT_EQ(annotations[2],
            "::error file=//server/share/x.cpp,line=1,title=E2451::[Build] undefined");
  // The summary event is JSON however the message was spelt.
  EXPECT_NO_THROW(DiagnosticsSummaryJson(collector.Actions())
                      .dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace));
}

// A build with more warnings than a CI service shows annotates the first few and counts the
// rest; the summary and the SARIF log still have every one, without keeping them in memory.
TEST(DiagnosticsTest, ManyMessagesAreCountedAndKeptOutsideMemory) {
  TDiagnosticsCollector collector(true);
  collector.Begin({1, "Build", "Compile C++Builder Project", {}});
  constexpr int kWarnings = 20000;
  for (int i = 0; i < kWarnings; ++i) {
    collector.DiagnosticLine(1, "w",
                             {Diagnostic(TDiagnosticSeverity::dsWarning, i % 3 ? "W8004" : "W8057",
                                         "a.cpp", "a.cpp", i + 1, "never used")});
  }
  collector.DiagnosticLine(
      1, "e",
      {Diagnostic(TDiagnosticSeverity::dsError, "E2451", "a.cpp", "a.cpp", 9, "undefined")});
  const auto actions = collector.Actions();
  EXPECT_EQ(actions[0].Counts.Warnings, kWarnings);
  EXPECT_EQ(actions[0].WarningRules.at("W8004"), kWarnings - (kWarnings + 2) / 3);
  EXPECT_EQ(DiagnosticsSummary(actions)[1],
            "  most frequent warnings: W8004 (13333), W8057 (6667)");
  const auto annotations = Annotations(collector, "/work");
  ASSERT_EQ(annotations.size(), static_cast<std::size_t>(kAnnotationsPerSeverity + 2));
  EXPECT_EQ(annotations.back(),
            "::notice title=moxtal::0 more errors, 19950 more warnings and 0 more notes are not "
            "annotated; the summary counts them and a SARIF log (--sarif) holds them all");
  const auto sarif = Sarif(collector);
  EXPECT_EQ(sarif["runs"][0]["results"].size(), kWarnings + 1u);
  EXPECT_EQ(sarif["runs"][0]["tool"]["driver"]["rules"].size(), 3u);
  EXPECT_EQ(sarif["runs"][0]["results"][kWarnings]["ruleIndex"], 2);

  // Without SARIF or annotations nothing but the counts is kept.
  TDiagnosticsCollector counting;
  counting.Begin({1, "Build", "Compile C++Builder Project", {}});
  counting.DiagnosticLine(
      1, "e",
      {Diagnostic(TDiagnosticSeverity::dsError, "E2451", "a.cpp", "a.cpp", 9, "undefined")});
  EXPECT_EQ(counting.Actions()[0].Counts.Errors, 1);
  EXPECT_EQ(Sarif(counting)["runs"][0]["results"].size(), 0u);
}

}  // namespace
