// moxtal edit without a desktop: the pages as JSON, the reload of a project, the screenshots.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <nlohmann/json.hpp>
#include <set>

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

TEST_F(MoxtalCliTest, EditShowsThePagesHeadlessAndSaysWhatItNeedsForTheDesktop) {
  WriteBcb6Project(dir_);
  ASSERT_EQ(Moxtal("new build.mxs --action TMxCBuilderAction --name App --set ProjectFile=App.bpr "
                   "--set UseCorbaSettings=False")
                .Code,
            0);
  const std::string before = Read("build.mxs");

  auto r = Moxtal("edit build.mxs --action App --dump");
  ASSERT_EQ(r.Code, 0) << r.Err;
  const auto pages = nlohmann::json::parse(r.Out);
  EXPECT_EQ(pages["class"], "TMxCBuilderAction");
  EXPECT_EQ(pages["pages"][0]["caption"], "Project");
  EXPECT_EQ(pages["pages"][0]["controls"][0]["controls"][1]["name"], "txtProject");
  EXPECT_EQ(pages["pages"][0]["controls"][0]["controls"][1]["value"], "App.bpr");

  // The layout: every shown control inside its container, shown neighbours apart, and what a
  // front end needs to draw the rest (buttons, masks, ranges, grid columns).
  std::set<std::string> fields;
  const std::function<void(const nlohmann::json&, const nlohmann::json&)> inside =
      [&](const nlohmann::json& controls, const nlohmann::json& outer) {
        std::vector<nlohmann::json> shown;
        for (const auto& c : controls) {
          for (const char* field : {"buttons", "mask", "range", "columns"})
            if (c.contains(field)) fields.insert(field);
          if (!c.contains("bounds")) continue;
          const auto& b = c["bounds"];
          EXPECT_GE(b["x"], outer["x"]) << c["name"];
          EXPECT_GE(b["y"], outer["y"]) << c["name"];
          EXPECT_LE(b["x"].get<int>() + b["width"].get<int>(),
                    outer["x"].get<int>() + outer["width"].get<int>())
              << c["name"];
          EXPECT_LE(b["y"].get<int>() + b["height"].get<int>(),
                    outer["y"].get<int>() + outer["height"].get<int>())
              << c["name"];
          for (const auto& o : shown) {
            const bool apart = b["x"].get<int>() >= o["x"].get<int>() + o["width"].get<int>() ||
                               o["x"].get<int>() >= b["x"].get<int>() + b["width"].get<int>() ||
                               b["y"].get<int>() >= o["y"].get<int>() + o["height"].get<int>() ||
                               o["y"].get<int>() >= b["y"].get<int>() + b["height"].get<int>();
            EXPECT_TRUE(apart) << c["name"];
          }
          shown.push_back(b);
          if (c.contains("controls")) inside(c["controls"], b);
        }
      };
  for (const auto& page : pages["pages"]) {
    const nlohmann::json whole{
        {"x", 0}, {"y", 0}, {"width", page["size"]["width"]}, {"height", page["size"]["height"]}};
    inside(page["controls"], whole);
  }
  EXPECT_EQ(fields, (std::set<std::string>{"buttons", "mask", "range", "columns"}));

#ifdef _WIN32
  // Windows always has a desktop: the editor draws every page of both actions into pictures.
  ASSERT_EQ(Moxtal("new b.mxs --action TCBuilder2006Action --name S --set ProjectFile=S.cbproj "
                   "--no-reload")
                .Code,
            0);
  const auto pictures = [&](const char* folder) {
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir_ / folder)) {
      EXPECT_GT(std::filesystem::file_size(entry.path()), 4000u) << entry.path();
      ++count;
    }
    return count;
  };
  r = Moxtal("edit build.mxs --action App --screenshots shots");
  ASSERT_EQ(r.Code, 0) << r.Err;
  EXPECT_EQ(pictures("shots"), 12);  // not TLIB: the project is not a library
  EXPECT_TRUE(std::filesystem::exists(dir_ / "shots" / "01-Project.png"));
  r = Moxtal("edit b.mxs --action S --screenshots shots2006");
  ASSERT_EQ(r.Code, 0) << r.Err;
  EXPECT_EQ(pictures("shots2006"), 3);
#else
  // Without a display the dialog cannot open; the message says what works instead.
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
    SetEnvironmentVariable(name, "");
  r = Moxtal("edit build.mxs --action App");
  EXPECT_EQ(r.Code, 2);
#ifdef MX_HAVE_GUI
  EXPECT_NE(r.Err.find("needs a desktop"), std::string::npos) << r.Err;
  EXPECT_NE(r.Err.find("--reload"), std::string::npos) << r.Err;
  r = Moxtal("edit build.mxs --action App --screenshots shots");
  EXPECT_EQ(r.Code, 0) << r.Err;
  EXPECT_TRUE(std::filesystem::exists(dir_ / "shots" / "01-Project.png"));
#else
  EXPECT_NE(r.Err.find("built without the desktop editor"), std::string::npos) << r.Err;
#endif
#endif
  EXPECT_EQ(Read("build.mxs"), before);

  // A reload asks first; No leaves the script alone, --yes takes the project in.
  r = Moxtal("edit build.mxs --action App --reload");
  EXPECT_EQ(r.Code, 1);
  EXPECT_NE(r.Err.find("Reload settings from Project/Package file?"), std::string::npos) << r.Err;
  EXPECT_EQ(Read("build.mxs"), before);
  r = Moxtal("edit build.mxs --action App --reload --yes");
  EXPECT_EQ(r.Code, 0) << r.Err;
  EXPECT_EQ(nlohmann::json::parse(
                Moxtal("show build.mxs --action App --json").Out)["properties"]["UseCorbaSettings"],
            true);
  r = Moxtal("edit build.mxs --action Nope --dump");
  EXPECT_EQ(r.Code, 2);
  EXPECT_EQ(r.Err,
            "moxtal: build.mxs: the build script has no action named \"Nope\"; its actions are "
            "App\n");

  // Pages and property editors are listed only when asked for.
  r = Moxtal("actions --pages");
  EXPECT_NE(r.Out.find("TMxCBuilderAction\tCompile C++Builder Project\tCompilers\n"
                       "  page TMxCBuilderProjectFrame\n"
                       "  page TMxBCBCompilerFrame\n"
                       "  page TMxBCBAdvCompilerFrame\n"
                       "  page TMxBCBTLibFrame\n"
                       "  page TMxBCBLinkerFrame\n"),
            std::string::npos)
      << r.Out;
  EXPECT_NE(
      r.Out.find("  editor ProjectFile (string): TShowActionPropertiesEditor\n"
                 "  editor IconFile (string): TBCBProjectIconEdit, default extension \"ico\""),
      std::string::npos)
      << r.Out;
  EXPECT_EQ(Moxtal("actions").Out.find("page "), std::string::npos);
}

// Every real C++Builder 5/6 project taken into an action headless: the project page's
// properties agree with what the parser reads.
#ifndef _WIN32
// The reload of a C++Builder 2006 project takes the manifest out of its .res file into
// <Project>Manifest.xml; when the checkout holds that name as a link (dangling, to a file the
// user owns elsewhere), nothing is written through it and the reload says which file it refused.
TEST_F(MoxtalCliTest, EditReloadNeverWritesThroughALinkInTheProject) {
  const auto res = mx::test::kCorpus / "res" / "winscp__winscp__Manifest.res";
  if (!std::filesystem::exists(res)) GTEST_SKIP() << "no corpus at " << res;
  std::filesystem::create_directories(dir_ / "checkout");
  std::filesystem::copy_file(MX_EXAMPLES_DIR "/cb2006/Stock.bdsproj",
                             dir_ / "checkout" / "Stock.bdsproj");
  WriteWholeFile((dir_ / "checkout" / "Stock.res").string(), ReadWholeFile(res.string()));
  std::filesystem::create_symlink(dir_ / "home" / ".bash_aliases",
                                  dir_ / "checkout" / "StockManifest.xml");
  ASSERT_EQ(Moxtal("new s.mxs --action TCBuilder2006Action --name S "
                   "--set ProjectFile=checkout/Stock.bdsproj")
                .Code,
            0);
  const auto r = Moxtal("edit s.mxs --action S --reload --yes");
  EXPECT_EQ(r.Code, 0) << r.Out << r.Err;
  EXPECT_FALSE(std::filesystem::exists(dir_ / "home"));
  EXPECT_NE(
      r.Err.find("Cannot create file \"" + (dir_ / "checkout" / "StockManifest.xml").string() +
                 "\". It is a symbolic link"),
      std::string::npos)
      << r.Out << r.Err;
}
#endif

TEST_F(MoxtalCliTest, EditReloadTakesEveryCorpusProjectAsTheParserReadsIt) {
  // Absolute with its drive: moxtal runs in a folder that may be on another drive.
  const auto corpus = std::filesystem::absolute(mx::test::kCorpus / "bcb56");
  if (!std::filesystem::exists(corpus)) GTEST_SKIP() << "no corpus at " << corpus;
  int projects = 0;
  for (const auto& entry : std::filesystem::directory_iterator(corpus)) {
#ifdef _WIN32
    // Four processes a project: the Windows lane, under Wine, takes a sample.
    if (projects == 8) break;
#endif
    const std::string project = entry.path().string();
    SCOPED_TRACE(project);
    std::filesystem::remove(dir_ / "build.mxs");
    ASSERT_EQ(Moxtal("new build.mxs --action TMxCBuilderAction --name P --set \"ProjectFile=" +
                     project + "\"")
                  .Code,
              0);
    const auto inspect = Moxtal("bpr inspect \"" + project + "\" --json");
    const auto reload = Moxtal("edit build.mxs --action P --reload --yes");
    ASSERT_EQ(reload.Code, inspect.Code) << reload.Err << inspect.Err;
    if (inspect.Code != 0) continue;
    const auto parsed = nlohmann::json::parse(inspect.Out);
    const auto action =
        nlohmann::json::parse(Moxtal("show build.mxs --action P --json").Out)["properties"];
    std::string packages;
    for (const auto& p : parsed["Packages"])
      packages += (packages.empty() ? "" : ";") + p.get<std::string>();
    EXPECT_EQ(action["Packages"], packages);
    EXPECT_EQ(action["UsePackages"], parsed["UsePackages"]);
    EXPECT_EQ(action["CBuilderVersion"], parsed["CBuilderVersion"]);
    EXPECT_EQ(action["ProjectType"], parsed["ProjectType"]);
    for (const char* flag :
         {"UsePackageSettings", "UseDirectorySettings", "UseCompilerSettings",
          "UseAdvCompilerSettings", "UseLinkerSettings", "UseAdvLinkerSettings", "UseTLibSettings",
          "UseVersionInfo", "UseCPPSettings", "UsePascalSettings", "UseTASMSettings",
          "UseCorbaSettings", "UseCodeGuardSettings"}) {
      EXPECT_EQ(action[flag], true) << flag;
    }
    // The option records went through the pages; what the parser read is what they hold,
    // except where a page changes a value by design.
    const bool library = parsed["ProjectType"] == "ptLIB";
    const bool bcb6 = parsed["CBuilderVersion"] == "cvBCB6";
    auto expected = parsed;
    // The linker page's "Use debug libraries" box is bound to nothing: the action keeps its own.
    expected["LinkerOpt"]["UseDebugLibraries"] = action["LinkerOpt"]["UseDebugLibraries"];
    // "All" linker warnings keep no selection.
    if (expected["LinkerOpt"]["LinkerWarnings"] == "lwAll")
      expected["LinkerOpt"]["Warnings"] = nlohmann::json::array();
    // The TLIB page takes a project's librarian options only for static libraries.
    if (!library) expected["TLibOpt"] = action["TLibOpt"];
    // The CORBA page shows the source extension and stores none.
    expected["CorbaOpt"]["SourceExtension"] = action["CorbaOpt"]["SourceExtension"];
    // Up to C++Builder 5, record alignment is one box: aligned (8) or not (1).
    if (!bcb6) {
      expected["PascalOpt"]["AlignFields"] =
          expected["PascalOpt"]["AlignFields"] == "fa1" ? "fa1" : "fa8";
    }
    // Spin edits keep their values inside their ranges.
    const auto clamp = [](nlohmann::json& value, int low, int high) {
      value = std::min(std::max(value.get<int>(), low), high);
    };
    clamp(expected["AdvCompilerOpt"]["IdentifierLength"], 8, 255);
    if (library) clamp(expected["TLibOpt"]["PageSize"], 16, 32768);
    for (const char* record :
         {"CompilerOpt", "AdvCompilerOpt", "LinkerOpt", "AdvLinkerOpt", "CppOpt", "PascalOpt",
          "TASMOpt", "CorbaOpt", "CodeGuardOpt", "TLibOpt"})
      EXPECT_EQ(action[record], expected[record]) << record;
    for (const char* path : {"IncludePath", "LibraryPath", "IntermediateOutputPath",
                             "FinalOutputPath", "BPILIBOutputPath", "Conditionals"})
      EXPECT_EQ(action[path], parsed[path]) << path;
    ++projects;
  }
#ifdef _WIN32
  EXPECT_EQ(projects, 8);
#else
  EXPECT_GT(projects, 30);
#endif
}

}  // namespace
