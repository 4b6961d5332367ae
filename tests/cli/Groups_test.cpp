// Project groups end to end: "moxtal import" of each kind of group, the dependencies it finds,
// and "moxtal run --jobs" building a group's projects at once with the stand-in tools.

#include <nlohmann/json.hpp>

#include <map>
#include <regex>
#include <set>
#include <sstream>

#include "tests/cli/CliTest.h"

namespace mx::test {

namespace {

class GroupsTest : public MoxtalCliTest {
 protected:
  void Write(const std::string& name, const std::string& text) const {
    const auto path = dir_ / name;
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
  }
  // A C++Builder 6 project that builds `output` and links `libfiles` and `packages`.
  void WriteBpr(const std::string& name, const std::string& output,
                const std::string& libfiles = "", const std::string& packages = "",
                const std::string& lflags = "-aa -Tpe -x -Gn") const {
    Write(name,
          "<?xml version='1.0' encoding='utf-8' ?>\n<PROJECT>\n<MACROS>\n"
          "<VERSION value=\"BCB.06.00\"/>\n<PROJECT value=\"" +
              output + "\"/>\n<LIBFILES value=\"" + libfiles +
              "\"/>\n<LIBRARIES value=\"\"/>\n<SPARELIBS value=\"rtl.lib\"/>\n"
              "<PACKAGES value=\"" +
              packages + "\"/>\n<SYSDEFINES value=\"NO_STRICT" +
              (packages.empty() ? "" : ";USEPACKAGES") +
              "\"/>\n</MACROS>\n<OPTIONS>\n<LFLAGS value=\"" + lflags +
              "\"/>\n</OPTIONS>\n</PROJECT>\n");
  }
  // A product of C++Builder 6 projects under src/ and its group src/Product.bpg: a static
  // library, a package, a program that links both, a test program in the library's folder, two
  // tools of one name, a Delphi project and a project that is not there.
  void WriteProduct() const {
    WriteBpr("src/core/Core.bpr", "..\\..\\out\\Core.lib");
    WriteBpr("src/core/CoreTests.bpr", "CoreTests.exe");
    WriteBpr("src/widgets/Widgets.bpk", "Widgets.bpl", "", "rtl.bpi",
             "-l..\\..\\out -aa -Tpp -x -Gn -Gl -Gi");
    WriteBpr("src/app/App.bpr", "..\\..\\out\\App.exe", "..\\..\\out\\Core.lib",
             "rtl.bpi widgets.bpi");
    WriteBpr("src/tool/Tool.bpr", "Tool.exe");
    WriteBpr("tool2/Tool.bpr", "Tool.exe");  // outside the group's folder
    Write("src/legacy/Legacy.dpr", "program Legacy;\nbegin\nend.\n");
    Write("src/Product.bpg",
          "#--------------------------------------------------------------------\n"
          "VERSION = BWS.01\n"
          "!ifndef ROOT\n"
          "ROOT = $(MAKEDIR)\\..\n"
          "!endif\n"
          "MAKE = $(ROOT)\\bin\\make.exe -$(MAKEFLAGS) -f$**\n"
          "PROJECTS = Core.lib CoreTests.exe Widgets.bpl \\\n"
          "  App.exe Tool.exe Tool2.exe \\\n"
          "  Legacy.exe Gone.exe\n"
          "default: $(PROJECTS)\n\n"
          "Core.lib: core\\Core.bpr\n  $(ROOT)\\bin\\bpr2mak $**\n  $(MAKE)\n\n"
          "CoreTests.exe: core\\CoreTests.bpr\n  $(ROOT)\\bin\\bpr2mak $**\n\n"
          "Widgets.bpl: widgets\\Widgets.bpk\n  $(ROOT)\\bin\\bpr2mak $**\n\n"
          "App.exe: app\\App.bpr\n  $(ROOT)\\bin\\bpr2mak $**\n\n"
          "# The group says that the tool needs the library.\n"
          "Tool.exe: tool\\Tool.bpr Core.lib\n  $(ROOT)\\bin\\bpr2mak $**\n\n"
          "Tool2.exe: ..\\tool2\\Tool.bpr\n  $(ROOT)\\bin\\bpr2mak $**\n\n"
          "Legacy.exe: legacy\\Legacy.dpr\n  $(DCC)\n\n"
          "Gone.exe: gone\\Gone.bpr\n  $(ROOT)\\bin\\bpr2mak $**\n");
  }
  nlohmann::json Show(const std::string& script) {
    const auto r = Moxtal("show " + script + " --json");
    EXPECT_EQ(r.Code, 0) << r.Err;
    return nlohmann::json::parse(r.Out);
  }
  static std::string Native(std::string path) {
#ifdef _WIN32
    std::replace(path.begin(), path.end(), '/', '\\');
#endif
    return path;
  }
  static bool Has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
  }
};

// The runs of the stand-in make by their projects' folder names, in the order they started,
// from the stand-in tools' "START|tool|folder|ms" and "END|..." lines.
struct TSpan {
  long long Start = -1;
  long long End = -1;
};
std::map<std::string, std::vector<TSpan>> MakeSpans(const std::string& text) {
  std::map<std::string, std::vector<TSpan>> spans;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    std::vector<std::string> parts;
    std::stringstream fields(line);
    for (std::string f; std::getline(fields, f, '|');)
      parts.push_back(f);
    if (parts.size() != 4 || parts[1] != "MAKE") continue;
    auto& runs = spans[std::filesystem::path(parts[2]).filename().string()];
    if (parts[0] == "START") {
      runs.push_back({std::stoll(parts[3]), -1});
    } else if (!runs.empty()) {
      runs.back().End = std::stoll(parts[3]);
    }
  }
  return spans;
}
bool Overlap(const TSpan& a, const TSpan& b) {
  return a.Start < b.End && b.Start < a.End;
}

}  // namespace

TEST_F(GroupsTest, ImportTakesEveryProjectOfAGroupWithTheDependenciesItFinds) {
  WriteProduct();
  std::filesystem::create_directories(dir_ / "ci");
  auto r = Moxtal("import src/Product.bpg ci/build.mxs");
  ASSERT_EQ(r.Code, 0) << r.Out << r.Err;
  const auto actions = Show("ci/build.mxs");
  std::vector<std::string> names;
  for (const auto& a : actions)
    names.push_back(a["name"]);
  EXPECT_EQ(names,
            (std::vector<std::string>{"Core", "CoreTests", "Widgets", "App", "Tool", "Tool 2"}));
  // Relative to the script's folder: the script works from any clone.
  EXPECT_EQ(actions[0]["properties"]["ProjectFile"], Native("../src/core/Core.bpr"));
  EXPECT_EQ(actions[5]["properties"]["ProjectFile"], Native("../tool2/Tool.bpr"));
  EXPECT_EQ(actions[2]["class"], "TMxCBuilderAction");
  EXPECT_EQ(actions[3]["dependsOn"], (std::vector<std::string>{"Core", "Widgets"}));
  EXPECT_EQ(actions[4]["dependsOn"], (std::vector<std::string>{"Core"}));
  EXPECT_TRUE(actions[1]["dependsOn"].empty());
  EXPECT_TRUE(actions[5]["dependsOn"].empty());
  for (const std::string& line : std::vector<std::string>{
           "Imported 6 of the 8 projects of src/Product.bpg into ci/build.mxs:\n", "Skipped 2:\n",
           "Legacy.dpr: a Delphi project: this package builds C++Builder projects only\n",
           "Gone.bpr: the file does not exist\n",
           "  App depends on Core: it links ..\\..\\out\\Core.lib, which Core builds\n",
           "  App depends on Widgets: it links widgets.bpi, which Widgets builds\n",
           "  Tool depends on Core: the group says so\n",
           "note: " + Native("../tool2/Tool.bpr") + " lies outside the group's folder "}) {
    EXPECT_TRUE(Has(r.Out, line)) << line << r.Out;
  }
  WriteStandInRegistry("machine.reg", {"C++Builder\\6.0"});
  EXPECT_EQ(Moxtal("validate ci/build.mxs --registry machine.reg").Code, 0);

  // A second import adds nothing: each project is built once.
  const std::string before = Read("ci/build.mxs");
  r = Moxtal("import src/Product.bpg ci/build.mxs");
  EXPECT_EQ(r.Code, 2);
  EXPECT_TRUE(Has(r.Err, "core" + Native("/") + "Core.bpr: already built by the action \"Core\""))
      << r.Err;
  EXPECT_EQ(Read("ci/build.mxs"), before);
}

TEST_F(GroupsTest, ImportReadsThe2006And2007GroupsAndTheirProjects) {
  const auto bdsproj = [](const std::string& personality, const std::string& properties) {
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<BorlandProject>\n<PersonalityInfo>"
           "<Option><Option Name=\"Personality\">" +
           personality +
           "</Option></Option></PersonalityInfo>\n<CPlusPlusBuilder.Personality><BCBPROJECT>"
           "<project version=\"10.0\">\n" +
           properties +
           "</project></BCBPROJECT></CPlusPlusBuilder.Personality>\n</BorlandProject>\n";
  };
  Write("b/lib/Lib.bdsproj",
        bdsproj("CPlusPlusBuilder.Personality",
                "<property category=\"build.node\" name=\"name\" value=\"Lib.lib\"/>\n"));
  Write("b/exe/Exe.bdsproj",
        bdsproj("CPlusPlusBuilder.Personality",
                "<property category=\"build.node\" name=\"name\" value=\"Exe.exe\"/>\n"
                "<property category=\"win32.*.win32b.ilink32\" name=\"param.libfiles.1\" "
                "value=\"..\\lib\\Lib.lib\"/>\n"));
  Write("b/pas/Pas.bdsproj", bdsproj("Delphi.Personality", ""));
  Write("b/B.bdsgroup",
        "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<BorlandProject>\n<PersonalityInfo><Option>"
        "<Option Name=\"Personality\">Default.Personality</Option></Option></PersonalityInfo>\n"
        "<Default.Personality><Projects>\n"
        "<Projects Name=\"Lib.lib\">lib\\Lib.bdsproj</Projects>\n"
        "<Projects Name=\"Exe.exe\">exe\\Exe.bdsproj</Projects>\n"
        "<Projects Name=\"Pas.exe\">pas\\Pas.bdsproj</Projects>\n"
        "<Projects Name=\"Targets\">Lib.lib Exe.exe Pas.exe</Projects>\n"
        "</Projects></Default.Personality>\n</BorlandProject>\n");

  const auto cbproj = [](const std::string& groups) {
    return "<Project xmlns=\"http://schemas.microsoft.com/developer/msbuild/2003\">\n"
           "<PropertyGroup><Config Condition=\"'$(Config)'==''\">Debug</Config></PropertyGroup>\n"
           "<PropertyGroup Condition=\"'$(Config)'=='Base' or '$(Base)'!=''\"><Base>true</Base>"
           "</PropertyGroup>\n"
           "<PropertyGroup Condition=\"'$(Config)'=='Debug' or '$(Cfg_1)'!=''\"><Base>true</Base>"
           "<Cfg_1>true</Cfg_1></PropertyGroup>\n" +
           groups +
           "<ProjectExtensions><Borland.Personality>CPlusPlusBuilder.Personality"
           "</Borland.Personality><BorlandProject><BorlandProject><CPlusPlusBuilder.Personality/>"
           "</BorlandProject></BorlandProject></ProjectExtensions>\n</Project>\n";
  };
  // The library's output is decided by conditions on the configuration.
  Write("c/base/Base.cbproj",
        cbproj("<PropertyGroup Condition=\"'$(Base)'!=''\"><OutputExt>lib</OutputExt>"
               "<FinalOutputDir>..\\out</FinalOutputDir></PropertyGroup>\n"
               "<PropertyGroup Condition=\"'$(Cfg_2)'!=''\"><FinalOutputDir>elsewhere"
               "</FinalOutputDir></PropertyGroup>\n"));
  Write("c/pkg/Pkg.cbproj",
        cbproj("<PropertyGroup Condition=\"'$(Base)'!=''\"><ProjectType>CppPackage</ProjectType>"
               "<OutputExt>bpl</OutputExt></PropertyGroup>\n"
               "<ItemGroup><LibFiles Include=\"..\\out\\Base.lib\"/></ItemGroup>\n"));
  Write("c/exe/Exe.cbproj", cbproj(""));
  Write("c/C.groupproj",
        "<Project xmlns=\"http://schemas.microsoft.com/developer/msbuild/2003\">\n<ItemGroup>\n"
        "<Projects Include=\"base\\Base.cbproj\"><Dependencies/></Projects>\n"
        "<Projects Include=\"pkg\\Pkg.cbproj\"><Dependencies/></Projects>\n"
        "<Projects Include=\"exe\\Exe.cbproj\"><Dependencies>pkg\\Pkg.cbproj</Dependencies>"
        "</Projects>\n</ItemGroup>\n</Project>\n");

  auto r = Moxtal("import b/B.bdsgroup b.mxs");
  ASSERT_EQ(r.Code, 0) << r.Out << r.Err;
  EXPECT_TRUE(Has(r.Out, "Pas.bdsproj: a Delphi project")) << r.Out;
  EXPECT_TRUE(Has(r.Out, "Exe depends on Lib: it links ..\\lib\\Lib.lib, which Lib builds"))
      << r.Out;
  auto actions = Show("b.mxs");
  ASSERT_EQ(actions.size(), 2u);
  EXPECT_EQ(actions[0]["class"], "TCBuilder2006Action");
  EXPECT_EQ(actions[0]["properties"]["CBuilderVersion"], "cb2006");

  r = Moxtal("import c/C.groupproj c.mxs");
  ASSERT_EQ(r.Code, 0) << r.Out << r.Err;
  EXPECT_TRUE(Has(r.Out, "Pkg depends on Base: it links ..\\out\\Base.lib, which Base builds"))
      << r.Out;
  EXPECT_TRUE(Has(r.Out, "Exe depends on Pkg: the group says so")) << r.Out;
  actions = Show("c.mxs");
  ASSERT_EQ(actions.size(), 3u);
  EXPECT_EQ(actions[2]["properties"]["CBuilderVersion"], "cb2007");
  EXPECT_EQ(actions[2]["dependsOn"], (std::vector<std::string>{"Pkg"}));
}

TEST_F(GroupsTest, ABadGroupNamesItsLineAndLeavesTheScriptAsItWas) {
  Write("legacy/Legacy.dpr", "program Legacy;\nbegin\nend.\n");
  Write("open.bpg", "VERSION = BWS.01\nPROJECTS = A.exe\n!ifndef ROOT\nROOT = ..\n");
  Write("norule.bpg", "PROJECTS = A.exe \\\n  B.exe\n\nA.exe: a\\A.bpr\n");
  Write("broken.groupproj",
        "<Project xmlns=\"http://schemas.microsoft.com/developer/msbuild/2003\">\n"
        "<ItemGroup>\n<Projects Include=\"a.cbproj\">\n</ItemGroup>\n</Project>\n");
  Write("delphi.bpg", "PROJECTS = Legacy.exe\nLegacy.exe: legacy\\Legacy.dpr\n  $(DCC)\n");
  ASSERT_EQ(Moxtal("new keep.mxs --action \"Run Script\" --name Keep").Code, 0);
  const std::string before = Read("keep.mxs");

  for (const auto& [group, message] : std::vector<std::pair<std::string, std::string>>{
           {"open.bpg", "open.bpg(3): this block has no !endif"},
           {"norule.bpg", "norule.bpg(1): no rule names the project of \"B.exe\""},
           {"broken.groupproj", "broken.groupproj(4): "},
           {"delphi.bpg",
            "delphi.bpg: nothing to import:\n  legacy" + Native("/") +
                "Legacy.dpr: a Delphi project: this package builds C++Builder projects only\n"
                "keep.mxs is unchanged"},
           {"keep.mxs", "keep.mxs: not a project group moxtal reads; give one of .bpg"}}) {
    const auto r = Moxtal("import " + group + " keep.mxs");
    EXPECT_EQ(r.Code, 2) << group;
    EXPECT_TRUE(Has(r.Err, message)) << message << "\n" << r.Err;
    EXPECT_EQ(Read("keep.mxs"), before) << group;
  }
}

TEST_F(GroupsTest, ValidateAndRunRefuseUnknownDependenciesAndCycles) {
  for (const char* name : {"A", "B", "C"}) {
    ASSERT_EQ(Moxtal(std::string("new d.mxs --action \"Run Script\" --name ") + name +
                     " --set \"Script=print(1)\"")
                  .Code,
              0);
  }
  ASSERT_EQ(Moxtal("set d.mxs --action A DependsOn=B,C").Code, 0);
  auto r = Moxtal("set d.mxs --action B DependsOn=A");
  ASSERT_EQ(r.Code, 0);
  EXPECT_TRUE(Has(r.Out, "warning: A: DependsOn: these actions depend on each other in a cycle"))
      << r.Out;
  r = Moxtal("validate d.mxs");
  EXPECT_EQ(r.Code, 2);
  EXPECT_TRUE(Has(r.Out, "A -> B -> A")) << r.Out;
  r = Moxtal("run d.mxs");
  EXPECT_EQ(r.Code, 2);
  EXPECT_TRUE(Has(r.Err, "A -> B -> A")) << r.Err;
  EXPECT_TRUE(Has(r.Err, "nothing was built")) << r.Err;

  ASSERT_EQ(Moxtal("set d.mxs --action B DependsOn=Cee").Code, 0);
  r = Moxtal("validate d.mxs");
  EXPECT_EQ(r.Code, 2);
  EXPECT_TRUE(Has(r.Out, "no action is named \"Cee\"")) << r.Out;
  EXPECT_TRUE(Has(r.Out, "the actions are A, B, C")) << r.Out;
  EXPECT_EQ(Show("d.mxs")[1]["dependsOn"], (std::vector<std::string>{"Cee"}));

  ASSERT_EQ(Moxtal("set d.mxs --action B DependsOn=").Code, 0);
  EXPECT_TRUE(Show("d.mxs")[1]["dependsOn"].empty());
  EXPECT_EQ(Moxtal("validate d.mxs").Code, 0);
}

TEST_F(GroupsTest, AParallelRunBuildsInDependencyOrderWithWholeLinesAndOneSarifLog) {
  WriteProduct();
  WriteStandInRegistry("machine.reg", {"C++Builder\\6.0"});
  ASSERT_EQ(Moxtal("import src/Product.bpg build.mxs").Code, 0);
  for (const char* action : {"Core", "App", "Tool 2"}) {
    ASSERT_EQ(Moxtal(std::string("set build.mxs --action \"") + action +
                     "\" IncludeVerInfo=True AutoIncBuild=True BuildVersion=41 "
                     "VersionInfoKeys=ProductVersion=1.0.0.0")
                  .Code,
              0);
  }
  SetEnvironmentVariable("MX_STANDIN_SPANS", Path("spans.txt"));
  // Each make waits until two have started: the two independent projects' makes then run at once
  // however slowly a busy machine starts them, and a run that builds one project at a time leaves
  // the first make waiting alone until it gives up.
  SetEnvironmentVariable("MX_STANDIN_MEET_MAKE", "2");
  // The stand-in linker fails when a library it links is not built yet.
  SetEnvironmentVariable("MX_STANDIN_LINK_CHECK", "1");
  const auto r = Moxtal("run build.mxs --registry machine.reg --jobs 2 --sarif out.sarif");
  RemoveEnvironmentVariable("MX_STANDIN_SPANS");
  RemoveEnvironmentVariable("MX_STANDIN_MEET_MAKE");
  RemoveEnvironmentVariable("MX_STANDIN_LINK_CHECK");
  ASSERT_EQ(r.Code, 0) << r.Out << r.Err;

  auto spans = MakeSpans(Read("spans.txt"));
  ASSERT_EQ(spans.size(), 5u) << Read("spans.txt");
  ASSERT_EQ(spans["core"].size(), 2u);  // Core and CoreTests share a folder
  const TSpan core = spans["core"][0];
  const TSpan widgets = spans["widgets"][0];
  EXPECT_TRUE(Overlap(core, widgets));
  EXPECT_FALSE(Overlap(core, spans["core"][1]));
  EXPECT_GE(spans["app"][0].Start, core.End);
  EXPECT_GE(spans["app"][0].Start, widgets.End);
  EXPECT_GE(spans["tool"][0].Start, core.End);
  // Every line names its action and is whole; the summary lists every action.
  const std::regex logLine(R"(^\d\d:\d\d:\d\d \[[^\]]+\] \S.*$)");
  std::istringstream out(r.Out);
  std::string line;
  int logLines = 0;
  while (std::getline(out, line) && !line.starts_with("Summary of the run")) {
    EXPECT_TRUE(std::regex_match(line, logLine)) << line;
    ++logLines;
  }
  EXPECT_GT(logLines, 30);
  EXPECT_TRUE(Has(r.Out, "Summary of the run: 6 of 6 actions succeeded in ")) << r.Out;
  EXPECT_TRUE(std::regex_search(r.Out, std::regex(R"(\n  Tool 2: succeeded in \d+\.\d s; )")))
      << r.Out;

  const auto sarif = nlohmann::json::parse(Read("out.sarif"));
  ASSERT_EQ(sarif["runs"].size(), 6u);
  std::set<std::string> ids;
  for (const auto& run : sarif["runs"])
    ids.insert(run["automationDetails"]["id"].get<std::string>());
  EXPECT_EQ(ids.size(), 6u);
  EXPECT_TRUE(ids.contains("moxtal/build.mxs/Tool 2/"));

  // What every action changed is saved, none lost to another.
  const auto actions = Show("build.mxs");
  for (const auto& a : actions) {
    const std::string name = a["name"];
    if (name == "Core" || name == "App" || name == "Tool 2") {
      EXPECT_EQ(a["properties"]["BuildVersion"], 42) << name;
    }
  }
}

#ifndef _WIN32
TEST_F(GroupsTest, AStopDuringTwoMakesEndsBothAndLeavesNoProcess) {
  WriteProduct();
  WriteStandInRegistry("machine.reg", {"C++Builder\\6.0"});
  ASSERT_EQ(Moxtal("import src/Product.bpg build.mxs").Code, 0);
  const std::string before = Read("build.mxs");
  SetEnvironmentVariable("MX_STANDIN_SPANS", Path("spans.txt"));
  SetEnvironmentVariable("MX_STANDIN_WAIT_MAKE", "60000");
  // The stop comes once both makes have started, however long a busy machine takes for that.
  Write(
      "stop.sh",
      "set -m\n\"" + std::string(MX_MOXTAL_EXE) +
          "\" run build.mxs --registry machine.reg -j 2 &\n"
          "run=$!\ni=0\n"
          "while [ \"$(grep -c 'START|MAKE' spans.txt 2>/dev/null)\" != 2 ] && [ $i -lt 300 ]; do\n"
          "  sleep 0.05; i=$((i + 1))\ndone\n"
          "kill -INT $run\nwait $run\n");
  const auto started = std::chrono::steady_clock::now();
  const auto r = Moxtal("stop.sh", "/bin/sh");
  RemoveEnvironmentVariable("MX_STANDIN_SPANS");
  RemoveEnvironmentVariable("MX_STANDIN_WAIT_MAKE");
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(20));
  EXPECT_EQ(r.Code, 130) << r.Out << r.Err;
  const auto spans = MakeSpans(Read("spans.txt"));
  ASSERT_EQ(spans.size(), 2u) << Read("spans.txt");
  for (const auto& [folder, runs] : spans)
    EXPECT_EQ(runs.at(0).End, -1) << folder;  // ended by the stop, not finished
  EXPECT_TRUE(Has(r.Out, "the run was stopped")) << r.Out;
  // No process of the run is left: none has its working folder in the test's.
  for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
    std::error_code error;
    const auto cwd = std::filesystem::read_symlink(entry.path() / "cwd", error);
    if (!error) {
      EXPECT_FALSE(cwd.string().starts_with(dir_.string())) << entry.path();
    }
  }
  EXPECT_EQ(Read("build.mxs"), before);
}
#endif

}  // namespace mx::test
