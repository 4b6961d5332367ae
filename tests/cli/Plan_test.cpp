// "moxtal plan": the build graph of a script as a GitHub workflow, a GitLab pipeline and JSON,
// checked against each other, the graph and the published workflow schema.

#include <nlohmann/json.hpp>

#include "tests/cli/CliTest.h"

namespace mx::test {

namespace {

class PlanTest : public MoxtalCliTest {
 protected:
  void WriteBpr(const std::string& name, const std::string& output,
                const std::string& lflags = "-aa -Tpe -x -Gn") const {
    const auto path = dir_ / name;
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary)
        << "<?xml version='1.0' encoding='utf-8' ?>\n<PROJECT>\n<MACROS>\n"
           "<VERSION value=\"BCB.06.00\"/>\n<PROJECT value=\""
        << output << "\"/>\n</MACROS>\n<OPTIONS>\n<LFLAGS value=\"" << lflags
        << "\"/>\n</OPTIONS>\n</PROJECT>\n";
  }
  // Five actions on two levels and one on its own: Core and Widgets, then App (needs both) and
  // Tool (needs Core), and Docs, which needs nothing.
  void WriteScript() {
    WriteBpr("core/Core.bpr", "..\\out\\lib\\Core.lib");
    WriteBpr("widgets/Widgets.bpk", "..\\out\\bin\\Widgets.bpl", "-l..\\out\\lib -Tpp -Gl -Gi");
    WriteBpr("app/App.bpr", "..\\out\\bin\\App.exe");
    WriteBpr("tool/Tool.bpr", "Tool.exe");
    WriteBpr("docs/Docs Build.bpr", "Docs.exe");
    std::filesystem::create_directories(dir_ / "ci");
    std::filesystem::create_directories(dir_ / ".git");  // the repository's root
    for (const auto& [name, project] :
         std::vector<std::pair<std::string, std::string>>{{"Core", "core/Core.bpr"},
                                                          {"Widgets", "widgets/Widgets.bpk"},
                                                          {"App", "app/App.bpr"},
                                                          {"Tool", "tool/Tool.bpr"},
                                                          {"Docs Build", "docs/Docs Build.bpr"}}) {
      ASSERT_EQ(Moxtal("new ci/build.mxs --action TMxCBuilderAction --name \"" + name +
                       "\" --set \"ProjectFile=../" + project + "\"")
                    .Code,
                0);
    }
    ASSERT_EQ(Moxtal("set ci/build.mxs --action App DependsOn=Core,Widgets").Code, 0);
    ASSERT_EQ(Moxtal("set ci/build.mxs --action Tool DependsOn=Core").Code, 0);
  }
  TResult Plan(const std::string& format, const std::string& more = "") {
    return Moxtal("plan ci/build.mxs --format " + format + more);
  }
  void Save(const std::string& name, const std::string& text) const {
    std::ofstream(dir_ / name, std::ios::binary) << text;
  }
};

}  // namespace

TEST_F(PlanTest, ThePipelinesFollowTheGraphAndHandOnEachOutput) {
  WriteScript();
  const auto json = Plan("json");
  ASSERT_EQ(json.Code, 0) << json.Err;
  const auto plan = nlohmann::json::parse(json.Out);
  EXPECT_EQ(plan["script"], "ci/build.mxs");
  std::map<std::string, nlohmann::json> actions;
  for (const auto& a : plan["actions"])
    actions[a["name"]] = a;
  ASSERT_EQ(actions.size(), 5u);
  EXPECT_EQ(actions["Core"]["level"], 0);
  EXPECT_EQ(actions["App"]["level"], 1);
  EXPECT_EQ(actions["Tool"]["level"], 1);
  EXPECT_EQ(actions["Docs Build"]["level"], 0);
  EXPECT_EQ(actions["Docs Build"]["job"], "docs-build");
  EXPECT_EQ(actions["App"]["needs"], (std::vector<std::string>{"Core", "Widgets"}));
  EXPECT_EQ(actions["Widgets"]["project"], "widgets/Widgets.bpk");
  EXPECT_EQ(actions["Widgets"]["outputs"],
            (std::vector<std::string>{"out/bin/Widgets.bpl", "out/lib/Widgets.bpi",
                                      "out/lib/Widgets.lib"}));
  EXPECT_EQ(actions["Core"]["outputs"], (std::vector<std::string>{"out/lib/Core.lib"}));

  const auto github = Plan("github");
  const auto gitlab = Plan("gitlab");
  ASSERT_EQ(github.Code, 0) << github.Err;
  ASSERT_EQ(gitlab.Code, 0) << gitlab.Err;
  // The same script gives the same bytes.
  EXPECT_EQ(Plan("github").Out, github.Out);
  EXPECT_EQ(Plan("gitlab").Out, gitlab.Out);
  EXPECT_NE(github.Out.find("runs-on:\n      - \"windows-latest\""), std::string::npos);
  EXPECT_NE(github.Out.find("run: \"moxtal run 'ci/build.mxs' --action 'Docs Build' --sarif "
                            "'moxtal-docs-build.sarif'\""),
            std::string::npos)
      << github.Out;
  const auto wine = Plan("github", " --wine-runners /opt/cbuilder --runs-on self-hosted");
  EXPECT_NE(wine.Out.find("--wine-prefix '/opt/cbuilder'"), std::string::npos) << wine.Out;
  EXPECT_NE(wine.Out.find("shell: bash"), std::string::npos);
  EXPECT_NE(wine.Out.find("- \"self-hosted\""), std::string::npos);

  // Each against the graph and, for GitHub, against the published schema.
  Save("plan.json", json.Out);
  Save("workflow.yml", github.Out);
  Save("gitlab.yml", gitlab.Out);
  // The shared folder beside the corpus holds the published workflow schema.
  const auto schema = kCorpus.parent_path() / "schemas" / "github-workflow.json";
  const std::string python = MX_PYTHON;
  if (python.empty() || python.ends_with("NOTFOUND") ||
      Moxtal("-c \"import jsonschema, yaml\"", python).Code != 0) {
    GTEST_SKIP() << "python3 with jsonschema and yaml is not installed (scripts/setup installs "
                    "them): the pipelines were not checked";
  }
  std::string check =
      std::string(MX_TESTS_DIR) + "/ci/check_plan.py plan.json workflow.yml gitlab.yml";
  if (std::filesystem::exists(schema)) {
    check += " " + schema.string();
  } else {
    std::cout << "the GitHub workflow schema is not in " << schema << ": not validated\n";
  }
  const auto checked = Moxtal(check, python);
  EXPECT_EQ(checked.Code, 0) << checked.Out << checked.Err;
}

TEST_F(PlanTest, CheckPlansAgainAsTheFileWasPlannedAndFailsWithADiffOnceTheGraphChanges) {
  WriteScript();
  auto r = Plan("github", " --runs-on self-hosted --runs-on cbuilder6 --out workflow.yml");
  ASSERT_EQ(r.Code, 0) << r.Err;
  EXPECT_EQ(r.Out, "Planned ci/build.mxs into workflow.yml\n");
  r = Plan("github", " --check workflow.yml");
  EXPECT_EQ(r.Code, 0) << r.Out << r.Err;
  EXPECT_EQ(r.Out, "workflow.yml is what ci/build.mxs plans\n");

  ASSERT_EQ(Moxtal("set ci/build.mxs --action Tool DependsOn=Core,Widgets").Code, 0);
  r = Plan("github", " --check workflow.yml");
  EXPECT_EQ(r.Code, 1) << r.Out << r.Err;
  EXPECT_NE(r.Out.find("workflow.yml is not what ci/build.mxs plans now; plan it again with\n"
                       "  moxtal plan ci/build.mxs --format github --runs-on self-hosted "
                       "--runs-on cbuilder6 --out workflow.yml\n"),
            std::string::npos)
      << r.Out;
  EXPECT_NE(r.Out.find("      - \"widgets\""), std::string::npos) << r.Out;

  // One action alone: what it depends on is not planned, and the plan says so.
  r = Plan("json", " --action Tool");
  EXPECT_EQ(r.Code, 0) << r.Err;
  EXPECT_NE(r.Err.find("Tool depends on Core, which is not planned"), std::string::npos) << r.Err;
  EXPECT_TRUE(nlohmann::json::parse(r.Out)["actions"][0]["needs"].empty());

  // A cycle cannot be planned; a file that is not there is named, with how to make it.
  ASSERT_EQ(Moxtal("set ci/build.mxs --action Core DependsOn=Tool").Code, 0);
  r = Plan("json");
  EXPECT_EQ(r.Code, 2);
  EXPECT_NE(r.Err.find("Core -> Tool -> Core"), std::string::npos) << r.Err;
  ASSERT_EQ(Moxtal("set ci/build.mxs --action Core DependsOn=").Code, 0);
  r = Plan("github", " --check nowhere.yml");
  EXPECT_EQ(r.Code, 2);
  EXPECT_NE(r.Err.find("nowhere.yml: cannot read the planned pipeline"), std::string::npos);
  EXPECT_NE(r.Err.find("write it first with moxtal plan"), std::string::npos) << r.Err;

  // A name GitHub would evaluate never reaches a workflow.
  ASSERT_EQ(Moxtal("new ci/build.mxs --action \"Run Script\" --name \"x ${{ github.token }}\" "
                   "--set Script=print(1)")
                .Code,
            0);
  r = Plan("github");
  EXPECT_EQ(r.Code, 2);
  EXPECT_NE(r.Err.find("cannot go into a pipeline"), std::string::npos) << r.Err;

  r = Moxtal("show ci/build.mxs --outputs --action Widgets");
  EXPECT_EQ(r.Out,
            "Widgets:\n  out/bin/Widgets.bpl\n  out/lib/Widgets.bpi\n  out/lib/Widgets.lib\n");
}

}  // namespace mx::test
