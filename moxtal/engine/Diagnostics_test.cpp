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

TEST(DiagnosticsTest, CollectedPerActionAndWrittenForTheirReaders) {
  TDiagnosticsCollector collector;
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
  ASSERT_EQ(actions[0].Diagnostics.size(), 3u);

  const auto sarif = SarifLog(actions, "5.0");
  const auto& results = sarif["runs"][0]["results"];
  EXPECT_EQ(results[0]["locations"][0]["physicalLocation"]["artifactLocation"]["uri"],
            "src/a%20b.cpp");
  EXPECT_EQ(sarif["runs"][0]["originalUriBaseIds"]["PROJECTROOT"]["uri"], "file:///work/my%20app/");
  EXPECT_EQ(results[1]["locations"][0]["physicalLocation"]["artifactLocation"]["uri"],
            "file:///C:/Program%20Files/x.h");
  EXPECT_FALSE(results[1]["locations"][0]["physicalLocation"].contains("region"));
  EXPECT_EQ(results[1]["ruleId"], "bcc32");
  EXPECT_EQ(results[2]["level"], "note");

  const auto annotations = GitHubAnnotations(actions, "/work");
  ASSERT_EQ(annotations.size(), 3u);
  EXPECT_EQ(annotations[0],
            "::warning file=my app/src/a b.cpp,line=4,title=W8004::[Build] 100%25 sure, a:b");
  EXPECT_EQ(annotations[1], "::error file=C%3A/Program Files/x.h,title=bcc32::[Build] boom%0Anext");
  EXPECT_EQ(annotations[2], "::notice title=H2077::[Build] hint");

  EXPECT_EQ(DiagnosticsSummary(actions),
            (std::vector<std::string>{"Build: 1 error, 1 warning, 1 note",
                                      "  most frequent warnings: W8004 (1)",
                                      "  first error: C:\\Program Files\\x.h: boom\nnext"}));
  EXPECT_EQ(DiagnosticsSummary({{"Quiet", "Run Script", {}}}),
            (std::vector<std::string>{"Quiet: no errors or warnings from the tools"}));
}

}  // namespace
