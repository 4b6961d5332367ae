// The C++Builder 2006/2007 project and resource compiler pages, and the project files they read.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "moxtal/api/XmlValues.h"
#include "moxtal/engine/DesignServices.h"
#include "moxtal/engine/Host.h"
#include "moxtal/engine/ScriptedDesignServices.h"
#include "package/action2006/CBuilder2006Action.h"
#include "package/pages/CBResourceCompilerFrame.h"
#include "package/pages/CBuilder2006ProjectFrame.h"
#include "package/pages/CBuilder2006VersionInfoFrame.h"
#include "platform/ResourceFile.h"
#include "platform/WholeFile.h"
#include "tests/support/Corpus.h"

using namespace mx;
using namespace mx::bcc;
namespace fs = std::filesystem;

using mx::test::kCorpus;

namespace {

// The three pages of the action in a dialog of the test's own.
class TDialog2006 : public IMxComponent, public IMxPageContainer {
 public:
  TDialog2006()
      : project(std::make_shared<TCBuilder2006ProjectFrame>(this)),
        version(std::make_shared<TCBuilder2006VersionInfoFrame>(this)),
        compiler(std::make_shared<TCBResourceCompilerFrame>(this)) {}
  std::shared_ptr<IMxPropertyPage> GetPage(int index) override {
    const std::shared_ptr<IMxPropertyPage> pages[] = {project, version, compiler};
    return pages[index];
  }
  int GetPageCount() override { return 3; }
  void SetPageVisible(int, bool) override {}

  std::shared_ptr<TCBuilder2006ProjectFrame> project;
  std::shared_ptr<TCBuilder2006VersionInfoFrame> version;
  std::shared_ptr<TCBResourceCompilerFrame> compiler;
};

class Pages2006Test : public ::testing::Test {
 protected:
  void SetUp() override {
    before_ = engine::SetDesignServices(&desk_);
    dir_ =
        fs::temp_directory_path() /
        ("mx_2006_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    for (int i = 0; i < dialog_.GetPageCount(); ++i)
      dialog_.GetPage(i)->InitPage(action_);
    for (int i = 0; i < dialog_.GetPageCount(); ++i)
      dialog_.GetPage(i)->ReadActionData(action_);
  }
  void TearDown() override {
    engine::SetDesignServices(before_);
    fs::remove_all(dir_);
  }

  // A .bdsproj with build configurations numbered as given.
  std::string Bdsproj(const std::string& name, const std::vector<int>& configs,
                      const std::string& personality = "CPlusPlusBuilder.Personality") {
    std::string xml =
        "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<BorlandProject><PersonalityInfo><Option>"
        "<Option Name=\"Personality\">" +
        personality +
        "</Option></Option></PersonalityInfo><CPlusPlusBuilder.Personality><BCBPROJECT>"
        "<project>";
    for (int n : configs) {
      xml += "<property category=\"build.config." + std::to_string(n) +
             "\" name=\"key\" value=\"Cfg" + std::to_string(n) + "\"/>";
    }
    xml +=
        "</project><IDEOPTIONS><VersionInfo><VersionInfo Name=\"IncludeVerInfo\">True"
        "</VersionInfo><VersionInfo Name=\"MajorVer\">5</VersionInfo></VersionInfo>"
        "<VersionInfoKeys><VersionInfoKeys Name=\"CompanyName\">Acme</VersionInfoKeys>"
        "</VersionInfoKeys></IDEOPTIONS></BCBPROJECT></CPlusPlusBuilder.Personality>"
        "</BorlandProject>\n";
    const fs::path path = dir_ / name;
    std::ofstream(path, std::ios::binary) << xml;
    return path.string();
  }

  engine::TScriptedDesignServices desk_;
  IMxDesignServices* before_ = nullptr;
  TCBuilder2006Action action_;
  TDialog2006 dialog_;
  fs::path dir_;
};

TEST_F(Pages2006Test, ReloadListsTheConfigurationsAndFillsTheOtherPages) {
  TCBuilder2006ProjectFrame& page = *dialog_.project;
  page.Get<TEdit>("txtProject").SetText(Bdsproj("App.bdsproj", {0, 1, 3}));
  desk_.Answer(TModalResult::mrYes);
  page.Get<TEdit>("txtProject").ClickCustomButton();
  EXPECT_EQ(desk_.Calls().back().Text,
            "Reload settings from Project file?\r\nNote that this will overwrite any settings you "
            "have changed \r\nin Moxtal");
  // Configurations up to the first gap; the first is taken when none was typed.
  EXPECT_EQ(page.Get<TComboBox>("cboConfigs").Items().Text(), "Cfg0\r\nCfg1\r\n");
  EXPECT_EQ(page.Get<TComboBox>("cboConfigs").Text(), "Cfg0");
  EXPECT_TRUE(dialog_.version->Get<TCheckBox>("cbIncludeVerInfo").Checked());
  EXPECT_EQ(dialog_.version->Get<TSpinEdit>("spMajorVer").Value(), 5);
  EXPECT_EQ(dialog_.version->Get<TStringGrid>("VersionKeyGrid").Cell(1, 1), "Acme");

  // A configuration the user typed stays, listed or not.
  page.Get<TComboBox>("cboConfigs").Type("Mine");
  desk_.Answer(TModalResult::mrYes);
  EXPECT_TRUE(page.ReloadFromProject());
  EXPECT_EQ(page.Get<TComboBox>("cboConfigs").Text(), "Mine");
  page.WriteActionData(action_);
  EXPECT_EQ(action_.GetConfig(), "Mine");

  // No other answer than Yes reads anything.
  desk_.Answer(TModalResult::mrNo);
  EXPECT_FALSE(page.ReloadFromProject());
}

TEST_F(Pages2006Test, ProjectsThatAreNotCBuilderProjectsAreRefused) {
  TCBuilder2006ProjectFrame& page = *dialog_.project;
  const std::string delphi = Bdsproj("Delphi.bdsproj", {0}, "Delphi.Personality");
  const fs::path broken = dir_ / "Broken.cbproj";
  std::ofstream(broken) << "<Project><unclosed></Project>";
  const fs::path msbuild = dir_ / "Other.cbproj";
  std::ofstream(msbuild) << "<Project xmlns=\"http://schemas.microsoft.com/developer/msbuild/"
                            "2003\"><ProjectExtensions/></Project>";
  for (const auto& [file, message] : std::vector<std::pair<std::string, std::string>>{
           {delphi, "This project is not a C++Builder Project!\r\n" + delphi +
                        ": a C++Builder 2006 project (.bdsproj) has the personality "
                        "CPlusPlusBuilder.Personality; this file has Delphi.Personality"},
           {msbuild.string(), "This project is not a C++Builder Project!\r\n" + msbuild.string() +
                                  ": a C++Builder 2007 project (.cbproj) is an MSBuild project"},
           {broken.string(), "Error parsing project file : "}}) {
    page.Get<TEdit>("txtProject").SetText(file);
    desk_.Answer(TModalResult::mrYes);
    try {
      page.ReloadFromProject();
      ADD_FAILURE() << file << " was accepted";
    } catch (const Exception& e) {
      EXPECT_EQ(std::string(e.what()).rfind(message, 0), 0u) << e.what();
    }
    EXPECT_EQ(page.Get<TComboBox>("cboConfigs").Items().Count(), 0) << file;
  }
}

TEST_F(Pages2006Test, VersionDecidesMakeOptionsNoteAndTheDialogsFileType) {
  TCBuilder2006ProjectFrame& page = *dialog_.project;
  page.Get<TComboBox>("cboVersion").Choose(1);
  EXPECT_FALSE(page.Get<TEdit>("txtMakeOptions").Enabled());
  EXPECT_FALSE(page.Get<TLabel>("lblAllConfigs").Visible());
  desk_.Cancel();
  page.Get<TEdit>("txtProject").ClickFolderButton();
  EXPECT_EQ(desk_.Calls().back().Dialog.FilterIndex, 2);
  page.Get<TComboBox>("cboVersion").Choose(0);
  EXPECT_TRUE(page.Get<TEdit>("txtMakeOptions").Enabled());
  EXPECT_TRUE(page.Get<TLabel>("lblAllConfigs").Visible());
  page.WriteActionData(action_);
  EXPECT_EQ(action_.GetCBuilderVersion(), cb2006::TCBuilderVersion::cb2006);

  // Reading the action shows the note by version but leaves the make options alone.
  action_.SetCBuilderVersion(cb2006::TCBuilderVersion::cb2007);
  page.ReadActionData(action_);
  EXPECT_FALSE(page.Get<TLabel>("lblAllConfigs").Visible());
  EXPECT_TRUE(page.Get<TEdit>("txtMakeOptions").Enabled());
}

TEST_F(Pages2006Test, TheResourceCompilerPageFillsParametersAndFindsTheManifest) {
  TCBResourceCompilerFrame& page = *dialog_.compiler;
  EXPECT_FALSE(page.Get<TEdit>("txtCompilerParams").Enabled());
  page.Get<TEdit>("txtCompilerParams").SetText("  ");
  page.Get<TComboBox>("cboCompiler").Choose(2);
  EXPECT_TRUE(page.Get<TEdit>("txtCompilerParams").Enabled());
  EXPECT_EQ(page.Get<TEdit>("txtCompilerParams").Text(), "%1%");
  page.Get<TEdit>("txtCompilerParams").SetText("-x %1%");
  page.Get<TComboBox>("cboCompiler").Choose(0);
  EXPECT_EQ(page.Get<TEdit>("txtCompilerParams").Text(), "-x %1%");
  EXPECT_FALSE(page.Get<TEdit>("txtCompilerLocation").Enabled());
  page.Get<TComboBox>("cboCompiler").Choose(2);
  page.WriteActionData(action_);
  EXPECT_EQ(action_.GetResourceCompilerType(), TMxCBResourceCompiler::rcOther);
  page.ReadActionData(action_);
  EXPECT_EQ(page.Get<TComboBox>("cboCompiler").Text(), "Other");
  EXPECT_TRUE(page.Get<TEdit>("txtCompilerLocation").Enabled());

  // A manifest beside the project is taken and included.
  const std::string project = (dir_ / "App.bdsproj").string();
  const auto document = platform::TXmlDocument::LoadFromText("<BorlandProject/>");
  platform::WriteWholeFile((dir_ / "AppManifest.xml").string(), "<assembly/>");
  page.ReloadFromBDSPRoj(project, document, 0);
  EXPECT_EQ(page.Get<TEdit>("txtManifestFile").Text(), (dir_ / "AppManifest.xml").string());
  EXPECT_TRUE(page.Get<TCheckBox>("chkIncludeManifest").Checked());

  // Otherwise the project's .res file gives it; the include box keeps its state.
  const fs::path res = kCorpus / "res" / "winscp__winscp__Manifest.res";
  if (!fs::exists(res)) GTEST_SKIP() << "no corpus at " << res;
  fs::remove(dir_ / "AppManifest.xml");
  // A copy of its own: the corpus files may be read-only, which Windows would not delete.
  platform::WriteWholeFile((dir_ / "App.res").string(), platform::ReadWholeFile(res.string()));
  page.Get<TEdit>("txtManifestFile").SetText("");
  page.Get<TCheckBox>("chkIncludeManifest").SetChecked(false);
  page.ReloadFromBDSPRoj(project, document, 0);
  EXPECT_EQ(page.Get<TEdit>("txtManifestFile").Text(), (dir_ / "AppManifest.xml").string());
  EXPECT_FALSE(page.Get<TCheckBox>("chkIncludeManifest").Checked());
  EXPECT_EQ(platform::ReadWholeFile((dir_ / "AppManifest.xml").string()),
            *platform::TResourceFile::LoadFromFile(res.string()).Manifest());
  // A manifest already named is left alone.
  page.Get<TEdit>("txtManifestFile").SetText("mine.xml");
  page.ReloadFromBDSPRoj(project, document, 0);
  EXPECT_EQ(page.Get<TEdit>("txtManifestFile").Text(), "mine.xml");
}

TEST(XmlValuesTest, NodeTextsConvertWithTheirDefaults) {
  const auto doc = platform::TXmlDocument::LoadFromText(
      "<r><v Name=\"a\"> TRUE </v><v Name=\"b\">no</v><v Name=\"c\">maybe</v>"
      "<v Name=\"d\">-12</v><v Name=\"e\">1.5</v><v Name=\"f\"></v><v>x</v></r>");
  const auto at = [](const char* name) { return GetXPath("/r/v[@Name=\"%s\"]", {name}); };
  EXPECT_TRUE(GetBooleanNodeValue(doc, at("a"), false));
  EXPECT_FALSE(GetBooleanNodeValue(doc, at("b"), true));
  EXPECT_TRUE(GetBooleanNodeValue(doc, at("c"), true));
  EXPECT_FALSE(GetBooleanNodeValue(doc, at("missing"), false));
  EXPECT_EQ(GetIntNodeValue(doc, at("d"), 7), -12);
  EXPECT_EQ(GetIntNodeValue(doc, at("e"), 7), 7);
  EXPECT_EQ(GetStringNodeValue(doc, at("f"), "default"), "");
  EXPECT_EQ(GetStringNodeValue(doc, at("missing"), "default"), "default");
  EXPECT_EQ(GetStringListNodeValue(doc, "/r/v").Text(),
            "a= TRUE \r\nb=no\r\nc=maybe\r\nd=-12\r\ne=1.5\r\nf=\r\nv=x\r\n");
  EXPECT_EQ(GetXPath("%s[@Name=\"%s\"] 100%%", {"A/B", "C"}), "A/B[@Name=\"C\"] 100%");
}

// Every C++Builder 2006 and 2007 project of the corpus, and the Delphi and C# projects among
// them: the personality check, the configurations and the version information, each against a
// query of the test's own.
TEST(CorpusProjects2006Test, PersonalityConfigurationsAndVersionInformation) {
  int projects = 0;
  int refused = 0;
  for (const char* folder : {"bds2006", "cb2007"}) {
    const fs::path dir = kCorpus / folder;
    if (!fs::exists(dir)) GTEST_SKIP() << "no corpus at " << dir;
    for (const auto& entry : fs::directory_iterator(dir)) {
      const std::string file = entry.path().string();
      SCOPED_TRACE(file);
      const bool bds = entry.path().extension() == ".bdsproj";
      auto raw = platform::TXmlDocument::LoadFromFile(file);
      raw.RegisterNamespace("m", kMSBuildNamespace);
      const bool cbuilder =
          bds ? static_cast<bool>(raw.SelectSingleNode(
                    "/BorlandProject/PersonalityInfo/Option/"
                    "Option[@Name='Personality'][.='CPlusPlusBuilder.Personality']"))
              : static_cast<bool>(raw.SelectSingleNode(
                    "/m:Project/m:ProjectExtensions/m:BorlandProject/m:BorlandProject/"
                    "m:CPlusPlusBuilder.Personality"));
      std::shared_ptr<platform::TXmlDocument> doc;
      try {
        doc = OpenBDSProj(file);
      } catch (const Exception& e) {
        EXPECT_FALSE(cbuilder) << e.what();
        EXPECT_EQ(
            std::string(e.what()).rfind("This project is not a C++Builder Project!\r\n" + file, 0),
            0u)
            << e.what();
        ++refused;
        continue;
      }
      ASSERT_TRUE(cbuilder);
      const int version = bds ? 0 : 1;
      std::vector<std::string> expected;
      if (bds) {
        for (const auto& node : raw.SelectNodes("//property[@name='key']")) {
          const std::string category = node.Attribute("category").value_or("");
          if (category == "build.config." + std::to_string(expected.size()))
            expected.push_back(*node.Attribute("value"));
        }
      } else {
        for (const auto& node : raw.SelectNodes("//m:BuildConfiguration"))
          expected.push_back(*node.Attribute("Include"));
      }
      EXPECT_EQ(BuildConfigurations(*doc, version), expected);

      const std::string prefix = bds ? "" : "m:";
      const auto named = [&](const char* name) {
        const auto node = raw.SelectSingleNode("//" + prefix + "VersionInfo/" + prefix +
                                               "VersionInfo[@Name='" + name + "']");
        return node ? std::optional<std::string>(node.Data()) : std::nullopt;
      };
      EXPECT_EQ(GetStringNodeValue(*doc, VersionValuePath(version, "MajorVer"), "(none)"),
                named("MajorVer").value_or("(none)"));
      EXPECT_EQ(GetStringNodeValue(*doc, VersionValuePath(version, "Locale"), "(none)"),
                named("Locale").value_or("(none)"));
      EXPECT_EQ(GetStringListNodeValue(*doc, VersionKeysPath(version)).Count(),
                static_cast<int>(
                    raw.SelectNodes("//" + prefix + "VersionInfoKeys/" + prefix + "VersionInfoKeys")
                        .size()));
      ++projects;
    }
  }
  // Both verdicts were reached: C++Builder projects read, Delphi and C# projects refused.
  EXPECT_GE(projects, 10);
  EXPECT_GE(refused, 3);
}

}  // namespace
