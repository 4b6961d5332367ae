// The project page, driven as a person would drive it: clicks on its controls, with the dialogs
// answered by the scripted design services.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "moxtal/api/ObjectText.h"
#include "moxtal/engine/DesignServices.h"
#include "moxtal/engine/Host.h"
#include "moxtal/engine/ScriptedDesignServices.h"
#include "package/action/MxCBuilderAction.h"
#include "package/pages/MxCBuilderProjectFrame.h"
#include "platform/ResourceFile.h"
#include "platform/WholeFile.h"
#include "tests/support/Corpus.h"

using namespace mx;
using namespace mx::bcc;
namespace fs = std::filesystem;

namespace {

const fs::path kCorpusRes = mx::test::kCorpus / "res";

// A dialog of the test's own: it holds the pages in order and records visibility requests.
class TTestDialog : public IMxComponent, public IMxPageContainer {
 public:
  std::vector<std::shared_ptr<TFrame>> Frames;
  std::vector<std::pair<int, bool>> VisibilityRequests;

  std::shared_ptr<IMxPropertyPage> GetPage(int index) override {
    return std::dynamic_pointer_cast<IMxPropertyPage>(Frames.at(static_cast<std::size_t>(index)));
  }
  int GetPageCount() override { return static_cast<int>(Frames.size()); }
  void SetPageVisible(int tag, bool visible) override {
    VisibilityRequests.emplace_back(tag, visible);
  }
};

// A page that records the broadcasts reaching it.
class TRecordingPage : public TMxCBuilderFrame,
                       public ICBuilderPropertyFrame,
                       public ICBuilderSpeedSetting {
 public:
  TRecordingPage(IMxComponent* owner, std::string name, std::vector<std::string>& log)
      : TMxCBuilderFrame(owner, std::move(name), 0), log_(log) {}
  void ReadActionData(TCustomMxAction&) override {}
  void WriteActionData(TCustomMxAction&) override {}
  std::string PageName() override { return Name(); }
  void LoadSettings(const std::shared_ptr<ICBuilderProjectParser>& parser) override {
    const auto type = parser->GetProjectType();
    log_.push_back(Name() + " reload " + EnumInfoOf(type).Name(static_cast<int>(type)));
  }
  void SpeedSetting(TBCBSpeedSetting setting) override {
    log_.push_back(Name() + " speed " + EnumInfoOf(setting).Name(static_cast<int>(setting)));
  }

 private:
  std::vector<std::string>& log_;
};

// A page that takes part in no broadcast.
class TPlainPage : public TMxCBuilderFrame {
 public:
  explicit TPlainPage(IMxComponent* owner) : TMxCBuilderFrame(owner, "Plain", 0) {}
  void ReadActionData(TCustomMxAction&) override {}
  void WriteActionData(TCustomMxAction&) override {}
  std::string PageName() override { return "Plain"; }
};

std::string Le16(std::uint16_t v) {
  return {static_cast<char>(v & 0xFF), static_cast<char>(v >> 8)};
}
std::string Le32(std::uint32_t v) {
  return Le16(static_cast<std::uint16_t>(v & 0xFFFF)) + Le16(static_cast<std::uint16_t>(v >> 16));
}

// A resource file holding one resource of a numbered type and an ASCII name.
std::string ResourceFileWith(std::uint16_t type, const std::string& name, const std::string& data) {
  std::string header = Le16(0xFFFF) + Le16(type);
  for (const char c : name)
    header += Le16(static_cast<std::uint16_t>(c));
  header += Le16(0);
  while (header.size() % 4)
    header += '\0';
  header += Le32(0) + Le16(0x1030) + Le16(0x0409) + Le32(0) + Le32(0);
  std::string entry = Le32(static_cast<std::uint32_t>(data.size())) +
                      Le32(static_cast<std::uint32_t>(8 + header.size())) + header + data;
  while (entry.size() % 4)
    entry += '\0';
  const std::string empty = Le32(0) + Le32(32) + Le16(0xFFFF) + Le16(0) + Le16(0xFFFF) + Le16(0) +
                            Le32(0) + Le16(0) + Le16(0) + Le32(0) + Le32(0);
  return empty + entry;
}

class ProjectPageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    engine::THost::Instance().SetHostFolder(MX_BIN_DIR);
    engine::THost::Instance().SetRegistry(platform::RegistryFromText("", "test.reg"));
    before_ = engine::SetDesignServices(&desk_);
    dir_ =
        fs::temp_directory_path() /
        ("mx_page_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    auto project = std::make_shared<TMxCBuilderProjectFrame>(&dialog_);
    page_ = project.get();
    dialog_.Frames = {project, std::make_shared<TRecordingPage>(&dialog_, "A", log_),
                      std::make_shared<TPlainPage>(&dialog_),
                      std::make_shared<TRecordingPage>(&dialog_, "B", log_)};
    for (std::size_t i = 0; i < dialog_.Frames.size(); ++i)
      dialog_.Frames[i]->SetTag(static_cast<int>(i) + 1);
  }
  void TearDown() override {
    engine::SetDesignServices(before_);
    fs::remove_all(dir_);
  }

  // A C++Builder 6 project whose output has `extension`, with two runtime packages in use.
  std::string WriteProject(const std::string& name, const std::string& extension = ".exe") {
    const fs::path path = dir_ / name;
    std::ofstream(path, std::ios::binary)
        << "<?xml version='1.0' encoding='utf-8' ?>\n<PROJECT>\n<MACROS>\n"
           "<VERSION value=\"BCB.06.00\"/>\n<PROJECT value=\"out"
        << extension
        << "\"/>\n<PACKAGES value=\"vcl.bpi rtl.bpi\"/>\n</MACROS>\n<OPTIONS>\n"
           "<CFLAG1 value=\"-Od -v\"/>\n</OPTIONS>\n<LINKER>\n"
           "<ALLOBJ value=\"c0w32.obj $(PACKAGES) sysinit.obj $(OBJFILES)\"/>\n"
           "</LINKER>\n</PROJECT>\n";
    return path.string();
  }

  std::vector<TCheckBox*> UseBoxes() const {
    const auto& p = *page_;
    return {&p.Get<TCheckBox>("chkUsePackageOptions"),
            &p.Get<TCheckBox>("chkUseDirectoryOptions"),
            &p.Get<TCheckBox>("chkUseCompilerOptions"),
            &p.Get<TCheckBox>("chkUseAdvCompilerOptions"),
            &p.Get<TCheckBox>("chkUseLinkerOptions"),
            &p.Get<TCheckBox>("chkUseAdvLinkerOptions"),
            &p.Get<TCheckBox>("chkUseTLib"),
            &p.Get<TCheckBox>("chkUseVersionInfoOptions"),
            &p.Get<TCheckBox>("chkUseCPPOptions"),
            &p.Get<TCheckBox>("chkUsePascalOptions"),
            &p.Get<TCheckBox>("chkUseTASMOptions"),
            &p.Get<TCheckBox>("chkUseCorbaOptions"),
            &p.Get<TCheckBox>("chkUseCodeGuardOptions")};
  }
  bool AllUseBoxesChecked() const {
    for (const TCheckBox* box : UseBoxes()) {
      if (!box->Checked()) return false;
    }
    return true;
  }
  std::string OptionsKeyValue() const {
    auto key = engine::THost::Instance().Registry()->OpenKeyReadOnly(
        platform::TRegistryRoot::rkCurrentUser,
        "Software\\Quillon\\Moxtal\\5.0\\Options\\BorlandCBuilder");
    if (!key) return "(no key)";
    const auto value = key->ReadInteger("ProjectFilter");
    return value ? std::to_string(*value) : "(no value)";
  }

  engine::TScriptedDesignServices desk_;
  IMxDesignServices* before_ = nullptr;
  TTestDialog dialog_;
  TMxCBuilderProjectFrame* page_ = nullptr;
  std::vector<std::string> log_;
  fs::path dir_;
};

constexpr const char* kReloadQuestion =
    "Reload settings from Project/Package file?\r\n"
    "Note that this will overwrite any settings you have changed \r\n"
    "in Moxtal";

TEST_F(ProjectPageTest, PickingANewProjectFillsEveryPageAndTakesItsIcon) {
  if (!fs::exists(kCorpusRes)) GTEST_SKIP() << "no corpus at " << kCorpusRes;
  const std::string project = WriteProject("App.bpr");
  const fs::path res = kCorpusRes / "LukStankovic__VCL-Grafy__Project1.res";
  // A copy of its own: the corpus files may be read-only, which Windows would not delete.
  platform::WriteWholeFile((dir_ / "App.res").string(), platform::ReadWholeFile(res.string()));
  page_->Get<TCheckBox>("chkUseCompilerOptions").SetChecked(false);
  page_->Get<TEdit>("txtBPR2MakeOptions").SetText("-tdeflib.bmk");

  desk_.ChooseFile(project);
  page_->Get<TEdit>("txtProject").ClickFolderButton();

  ASSERT_EQ(desk_.Calls().size(), 1u);
  const auto& shown = desk_.Calls()[0].Dialog;
  EXPECT_EQ(shown.Title, "Select Project or Package File");
  EXPECT_EQ(shown.Filter,
            "CBuilder Project Files(*.bpr)|*.bpr|CBuilder Package Files(*.bpk)|*.bpk");
  EXPECT_EQ(shown.FilterIndex, 1);
  EXPECT_EQ(shown.FileName, "");
  EXPECT_EQ(page_->Get<TEdit>("txtProject").Text(), project);
  EXPECT_TRUE(AllUseBoxesChecked());
  // Every page that reloads, in the dialog's order; the project page took packages and version.
  EXPECT_EQ(log_, (std::vector<std::string>{"A reload ptExe", "B reload ptExe"}));
  EXPECT_TRUE(page_->Get<TCheckBox>("chkUsePackages").Checked());
  EXPECT_TRUE(page_->Get<TEdit>("txtPackages").Enabled());
  EXPECT_EQ(page_->Get<TEdit>("txtPackages").Text(), "vcl.bpi;rtl.bpi");
  EXPECT_EQ(page_->Version(), TCBuilderVersion::cvBCB6);
  // Not a library: the library makefile template goes, in any letter case.
  EXPECT_EQ(page_->Get<TEdit>("txtBPR2MakeOptions").Text(), "");
  // The .res file is kept as .rsb, and its main icon becomes mainicon.ico beside the project.
  EXPECT_EQ(platform::ReadWholeFile((dir_ / "App.rsb").string()),
            platform::ReadWholeFile(res.string()));
  EXPECT_EQ(page_->ResourceFile(), (dir_ / "App.res").string());
  const auto resources = platform::TResourceFile::LoadFromFile(res.string());
  const auto* group = resources.Find(platform::TResourceId::FromNumber(platform::RT_GROUP_ICON),
                                     platform::TResourceId::FromName("MAINICON"));
  ASSERT_NE(group, nullptr);
  const std::string icon = (dir_ / "mainicon.ico").string();
  EXPECT_EQ(page_->Get<TEdit>("txtIconFile").Text(), icon);
  EXPECT_EQ(platform::ReadWholeFile(icon), resources.IconFileFromGroup(*group));
  EXPECT_EQ(page_->Get<TImage>("IconDisplay").Picture(), resources.IconFileFromGroup(*group));
}

TEST_F(ProjectPageTest, TheProjectIconComesFromTheResourceFileByTypeAndName) {
  if (!fs::exists(kCorpusRes)) GTEST_SKIP() << "no corpus at " << kCorpusRes;
  const auto group = platform::TResourceFile::LoadFromFile(
      (kCorpusRes / "LukStankovic__VCL-Grafy__Project1.res").string());
  const std::string image = group
                                .Find(platform::TResourceId::FromNumber(platform::RT_ICON),
                                      platform::TResourceId::FromNumber(1))
                                ->Data;
  struct TCase {
    const char* Name;
    std::string Rsb;  // the .rsb file's bytes ("" for none)
    bool IconExpected;
  };
  const std::vector<TCase> cases = {
      {"single icon", ResourceFileWith(platform::RT_ICON, "MAINICON", image), true},
      {"name differs in case", ResourceFileWith(platform::RT_ICON, "MainIcon", image), false},
      {"no icon", platform::ReadWholeFile((kCorpusRes / "winscp__winscp__Manifest.res").string()),
       false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    // A new name each time: picking the project already in the edit would reload it instead.
    const std::string name = "App" + std::to_string(&c - cases.data());
    const std::string project = WriteProject(name + ".bpr");
    platform::WriteWholeFile((dir_ / (name + ".rsb")).string(), c.Rsb);
    page_->Get<TEdit>("txtIconFile").SetText("old.ico");
    desk_.ChooseFile(project);
    page_->PickProject();
    const std::string icon = (dir_ / "mainicon.ico").string();
    if (c.IconExpected) {
      EXPECT_EQ(page_->Get<TEdit>("txtIconFile").Text(), icon);
      EXPECT_EQ(platform::ReadWholeFile(icon),
                platform::TResourceFile::IconFileFromImage({{}, {}, 0, image}));
    } else {
      EXPECT_EQ(page_->Get<TEdit>("txtIconFile").Text(), "");
      EXPECT_TRUE(page_->Get<TImage>("IconDisplay").Picture().empty());
      EXPECT_FALSE(fs::exists(icon));
    }
  }

  // A package has no icon of its own: the field is cleared.
  page_->Get<TEdit>("txtIconFile").SetText("old.ico");
  desk_.ChooseFile(WriteProject("Pack.bpk", ".bpl"));
  page_->PickProject();
  EXPECT_EQ(page_->Get<TEdit>("txtIconFile").Text(), "");
  EXPECT_EQ(page_->ProjectType(), TCBuilderProjectType::ptBPL);
}

TEST_F(ProjectPageTest, PickingTheSameFileRunsTheConfirmedReloadInstead) {
  const std::string project = WriteProject("App.bpr");
  page_->Get<TEdit>("txtProject").SetText(project);
  for (const TModalResult answer : {TModalResult::mrNo, TModalResult::mrYes}) {
    log_.clear();
    page_->Get<TCheckBox>("chkUseTLib").SetChecked(false);
    desk_.ChooseFile(project);
    desk_.Answer(answer);
    page_->PickProject();
    EXPECT_EQ(desk_.Calls().back().Text, kReloadQuestion);
    EXPECT_EQ(desk_.Calls().back().Buttons, (TMsgDlgButtons{TMsgDlgBtn::mbYes, TMsgDlgBtn::mbNo}));
    EXPECT_EQ(page_->Get<TCheckBox>("chkUseTLib").Checked(), answer == TModalResult::mrYes);
    EXPECT_EQ(log_.size(), answer == TModalResult::mrYes ? 2u : 0u);
    EXPECT_EQ(page_->Get<TEdit>("txtProject").Text(), project);
  }
  // No icon is taken on a reload.
  EXPECT_FALSE(fs::exists(dir_ / "mainicon.ico"));
  EXPECT_EQ(desk_.Pending(), 0u);
}

TEST_F(ProjectPageTest, ReloadAsksFirstAndReportsAProjectItCannotExpand) {
  page_->Get<TEdit>("txtProject").SetText(WriteProject("App.bpr"));
  page_->Get<TCheckBox>("chkUseCorbaOptions").SetChecked(false);
  desk_.Answer(TModalResult::mrNo);
  EXPECT_FALSE(page_->ReloadFromProject());
  EXPECT_FALSE(page_->Get<TCheckBox>("chkUseCorbaOptions").Checked());
  EXPECT_TRUE(log_.empty());

  desk_.Answer(TModalResult::mrYes);
  page_->Get<TEdit>("txtProject").ClickCustomButton();
  EXPECT_TRUE(AllUseBoxesChecked());
  EXPECT_EQ(log_, (std::vector<std::string>{"A reload ptExe", "B reload ptExe"}));

  page_->Get<TEdit>("txtProject").SetText("%MX_NO_SUCH_VARIABLE%\\App.bpr");
  desk_.Answer(TModalResult::mrYes);
  EXPECT_FALSE(page_->ReloadFromProject());
  const auto& error = desk_.Calls().back();
  EXPECT_EQ(error.Type, TMsgDlgType::mtError);
  EXPECT_EQ(error.Text.rfind("Error expanding project %MX_NO_SUCH_VARIABLE%\\App.bpr\r\n", 0), 0u)
      << error.Text;
}

TEST_F(ProjectPageTest, AProjectTheParserRefusesIsShownAndThePageKeepsWhatChanged) {
  const std::string missing = (dir_ / "Missing.bpr").string();
  desk_.ChooseFile(missing);
  page_->PickProject();
  ASSERT_EQ(desk_.Calls().back().Kind, "ShowMessage");
  EXPECT_NE(desk_.Calls().back().Text.find("Missing.bpr"), std::string::npos);
  EXPECT_EQ(page_->Get<TEdit>("txtProject").Text(), missing);
  EXPECT_TRUE(log_.empty());
}

TEST_F(ProjectPageTest, LibraryProjectsUseTheLibraryMakefileWithoutCapture) {
  page_->Get<TCheckBox>("chkCaptureMake").SetChecked(true);
  page_->Get<TEdit>("txtBPR2MakeOptions").SetText("-o x");
  page_->Get<TEdit>("txtProject").SetText(WriteProject("Lib.bpr", ".lib"));
  desk_.Answer(TModalResult::mrYes);
  page_->ReloadFromProject();
  EXPECT_EQ(page_->ProjectType(), TCBuilderProjectType::ptLIB);
  EXPECT_EQ(page_->Get<TEdit>("txtBPR2MakeOptions").Text(), "-tDEFLIB.BMK");
  EXPECT_FALSE(page_->Get<TCheckBox>("chkCaptureMake").Checked());
  EXPECT_EQ(log_.front(), "A reload ptLIB");

  // Another project drops the template in any letter case, but keeps other options.
  for (const auto& [before, after] : std::vector<std::pair<std::string, std::string>>{
           {"-TdefLib.bmk", ""}, {"-tDEFLIB.BMK -o x", "-tDEFLIB.BMK -o x"}}) {
    page_->Get<TEdit>("txtBPR2MakeOptions").SetText(before);
    desk_.ChooseFile(WriteProject("App" + std::to_string(desk_.Calls().size()) + ".bpr"));
    page_->PickProject();
    EXPECT_EQ(page_->Get<TEdit>("txtBPR2MakeOptions").Text(), after);
  }
}

TEST_F(ProjectPageTest, AddPackageAppendsANameNotAlreadyInTheText) {
  page_->Get<TCheckBox>("chkUsePackages").SetChecked(true);
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"/lib/a.bpi", ";a"},  // an empty edit gains a leading separator
      {"/lib/vclx.bpi", ";a;vclx"},
      {"/lib/vcl.bpi", ";a;vclx"},  // "vcl" occurs inside "vclx": nothing is added
  };
  page_->Get<TEdit>("txtPackages").SetText("");
  for (const auto& [file, text] : cases) {
    desk_.ChooseFile(file);
    page_->Get<TEdit>("txtPackages").ClickFolderButton();
    EXPECT_EQ(page_->Get<TEdit>("txtPackages").Text(), text) << file;
  }
  EXPECT_EQ(desk_.Calls().front().Dialog.Filter, "Compiled Package (*.bpi)|*.bpi");
  // The packages edit is usable only with runtime packages.
  page_->Get<TCheckBox>("chkUsePackages").Click();
  EXPECT_FALSE(page_->Get<TEdit>("txtPackages").Enabled());
  page_->Get<TEdit>("txtPackages").ClickFolderButton();
  EXPECT_EQ(desk_.Calls().size(), cases.size());
}

TEST_F(ProjectPageTest, TheChosenFileTypeIsRememberedInTheRegistry) {
  EXPECT_EQ(OptionsKeyValue(), "(no key)");
  const std::string package = WriteProject("Pack.bpk", ".bpl");
  desk_.ChooseFile(package, 2);
  page_->PickProject();
  EXPECT_EQ(OptionsKeyValue(), "2");

  // An empty project edit opens the dialog on the remembered type; a project's extension
  // decides otherwise, compared exactly.
  for (const auto& [text, index] : std::vector<std::pair<std::string, int>>{
           {"", 2}, {"x.bpr", 1}, {"x.bpk", 2}, {"x.BPK", 1}}) {
    page_->Get<TEdit>("txtProject").SetText(text);
    desk_.Cancel();
    page_->PickProject();
    EXPECT_EQ(desk_.Calls().back().Dialog.FilterIndex, index) << text;
    EXPECT_EQ(desk_.Calls().back().Dialog.FileName, text);
  }
}

// A registry file that cannot be written (beside an installed program, say) costs only a
// warning: the chosen file type is kept for the rest of the run.
TEST_F(ProjectPageTest, AFileTypeTheRegistryCannotKeepIsKeptUntilTheProgramEnds) {
  engine::THost::Instance().SetRegistry(
      platform::OpenRegistryFile((dir_ / "no such folder" / "registry.reg").string()));
  // The choice is the program's for the rest of its run, so whatever an earlier test chose,
  // two choices make at least one change; the warning comes once.
  const std::string package = WriteProject("Pack.bpk", ".bpl");
  for (const int filter : {1, 2}) {
    desk_.ChooseFile(package, filter);
    page_->Get<TEdit>("txtProject").SetText("");
    EXPECT_NO_THROW(page_->PickProject());
  }
  int warnings = 0;
  for (const auto& call : desk_.Calls()) {
    if (call.Kind == "MessageDlg" && call.Text.find("cannot be remembered") != std::string::npos)
      ++warnings;
  }
  EXPECT_EQ(warnings, 1);
  page_->Get<TEdit>("txtProject").SetText("");
  desk_.Cancel();
  page_->PickProject();
  EXPECT_EQ(desk_.Calls().back().Dialog.FilterIndex, 2);
}

#ifndef _WIN32
// A project folder from someone else's repository may hold links where the page writes the
// icon and the copy of the resource file: neither is written through; the person is told.
TEST_F(ProjectPageTest, TheIconAndTheResourceCopyAreNeverWrittenThroughALink) {
  std::string image(64, '\0');
  image[0] = 40, image[4] = 16, image[8] = 32, image[12] = 1, image[14] = 8;
  platform::WriteWholeFile((dir_ / "App.res").string(),
                           ResourceFileWith(platform::RT_ICON, "MAINICON", image));
  platform::WriteWholeFile((dir_ / "outside.ico").string(), "keep");
  fs::create_symlink(dir_ / "outside.ico", dir_ / "mainicon.ico");
  desk_.ChooseFile(WriteProject("App.bpr"));
  page_->PickProject();
  EXPECT_EQ(platform::ReadWholeFile((dir_ / "outside.ico").string()), "keep");
  EXPECT_EQ(desk_.Calls().back().Text, "Cannot create file \"" + (dir_ / "mainicon.ico").string() +
                                           "\". " + platform::kRefusedLinkReason);
  EXPECT_EQ(page_->Get<TEdit>("txtIconFile").Text(), "");

  // The copy of the resource file: a dangling link creates nothing.
  fs::create_symlink(dir_ / "elsewhere" / "App2.rsb", dir_ / "App2.rsb");
  fs::copy_file(dir_ / "App.res", dir_ / "App2.res");
  desk_.ChooseFile(WriteProject("App2.bpr"));
  page_->PickProject();
  EXPECT_FALSE(fs::exists(dir_ / "elsewhere"));
  EXPECT_NE(desk_.Calls().back().Text.find("App2.rsb"), std::string::npos);
}
#endif

TEST_F(ProjectPageTest, BroadcastsReachEveryPageInOrderAndNothingWithoutADialog) {
  BroadcastSpeedSetting(*page_, TBCBSpeedSetting::ssRelease);
  EXPECT_EQ(log_, (std::vector<std::string>{"A speed ssRelease", "B speed ssRelease"}));
  SetPageVisible(*dialog_.Frames[1], false);
  EXPECT_EQ(dialog_.VisibilityRequests, (std::vector<std::pair<int, bool>>{{2, false}}));

  // A page without a dialog: the pick works, no broadcast goes anywhere.
  TMxCBuilderProjectFrame alone(nullptr);
  log_.clear();
  desk_.ChooseFile(WriteProject("App.bpr"));
  alone.PickProject();
  BroadcastSpeedSetting(alone, TBCBSpeedSetting::ssFullDebug);
  EXPECT_TRUE(log_.empty());
  EXPECT_EQ(alone.Get<TEdit>("txtPackages").Text(), "");  // its own reload did not run either
  EXPECT_EQ(alone.ProjectType(), TCBuilderProjectType::ptExe);
}

TEST_F(ProjectPageTest, ReadAndWriteCopyEveryPropertyOfThePage) {
  TMxCBuilderAction original;
  const std::vector<std::pair<const char*, const char*>> values = {
      {"ProjectFile", "%SRC%\\App.bpr"},
      {"IconFile", "App.ico"},
      {"BuildAll", "False"},
      {"RegenerateResource", "False"},
      {"UsePackages", "True"},
      {"Packages", "vcl;rtl"},
      {"MakeOptions", "-s"},
      {"CaptureMakeOuput", "False"},
      {"BPR2MakOptions", "-q"},
      {"UseTLibSettings", "True"},
      {"UseCorbaSettings", "True"},
      {"PreProcessProjectFile", "True"},
      {"UseEurekaLogCompiler", "True"},
      {"CBuilderVersion", "cvBCB5"},
      {"ProjectType", "ptDLL"}};
  for (const auto& [name, value] : values)
    SetPropAsString(original, name, value);
  page_->ReadActionData(original);
  EXPECT_TRUE(page_->Get<TEdit>("txtPackages").Enabled());
  TMxCBuilderAction copy;
  page_->WriteActionData(copy);
  EXPECT_EQ(PropertyTexts(copy), PropertyTexts(original));

  // The preview of an icon file that is not an image fails loudly when the page reads the
  // action, and quietly when a person picks it.
  const std::string notAnIcon = (dir_ / "notes.ico").string();
  platform::WriteWholeFile(notAnIcon, "just text");
  SetPropAsString(original, "IconFile", notAnIcon);
  EXPECT_THROW(page_->ReadActionData(original), Exception);
  desk_.ChooseFile(notAnIcon);
  page_->Get<TEdit>("txtIconFile").ClickFolderButton();
  EXPECT_EQ(page_->Get<TEdit>("txtIconFile").Text(), notAnIcon);
  EXPECT_TRUE(page_->Get<TImage>("IconDisplay").Picture().empty());
}

}  // namespace
