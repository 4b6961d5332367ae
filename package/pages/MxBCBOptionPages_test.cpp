// The option pages of the C++Builder 5/6 action, driven through their controls with the
// dialogs answered by the scripted design services.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "moxtal/api/ObjectText.h"
#include "moxtal/engine/DesignServices.h"
#include "moxtal/engine/Host.h"
#include "moxtal/engine/ScriptedDesignServices.h"
#include "package/pages/MxBCBAdvCompilerFrame.h"
#include "package/pages/MxBCBAdvLinkerFrame.h"
#include "package/pages/MxBCBCPPFrame.h"
#include "package/pages/MxBCBCodeGuardFrame.h"
#include "package/pages/MxBCBCompilerFrame.h"
#include "package/pages/MxBCBCorbaFrame.h"
#include "package/pages/MxBCBLinkerFrame.h"
#include "package/pages/MxBCBPascalFrame.h"
#include "package/pages/MxBCBTASMFrame.h"
#include "package/pages/MxBCBTLibFrame.h"
#include "package/pages/MxCBuilderDirectoryFrame.h"

using namespace mx;
using namespace mx::bcc;
namespace fs = std::filesystem;

namespace {

// A dialog of the test's own holding every option page, in registration order.
class TOptionDialog : public IMxComponent, public IMxPageContainer {
 public:
  TOptionDialog() {
    Add<TMxBCBCompilerFrame>(compiler);
    Add<TMxBCBAdvCompilerFrame>(advCompiler);
    Add<TMxBCBTLibFrame>(tlib);
    Add<TMxBCBLinkerFrame>(linker);
    Add<TMxBCBAdvLinkerFrame>(advLinker);
    Add<TMxBCBCPPFrame>(cpp);
    Add<TMxBCBPascalFrame>(pascal);
    Add<TMxBCBTASMFrame>(tasm);
    Add<TMxCBuilderDirectoryFrame>(directories);
    Add<TMxBCBCodeGuardFrame>(codeGuard);
    Add<TMxBCBCorbaFrame>(corba);
  }
  std::shared_ptr<IMxPropertyPage> GetPage(int index) override {
    return std::dynamic_pointer_cast<IMxPropertyPage>(frames.at(static_cast<std::size_t>(index)));
  }
  int GetPageCount() override { return static_cast<int>(frames.size()); }
  void SetPageVisible(int tag, bool visible) override { visibility[tag] = visible; }

  void Read(TCustomMxAction& action) {
    for (int i = 0; i < GetPageCount(); ++i)
      GetPage(i)->ReadActionData(action);
  }
  void Write(TCustomMxAction& action) {
    for (int i = 0; i < GetPageCount(); ++i)
      GetPage(i)->WriteActionData(action);
  }

  std::vector<std::shared_ptr<TFrame>> frames;
  std::map<int, bool> visibility;
  TMxBCBCompilerFrame* compiler;
  TMxBCBAdvCompilerFrame* advCompiler;
  TMxBCBTLibFrame* tlib;
  TMxBCBLinkerFrame* linker;
  TMxBCBAdvLinkerFrame* advLinker;
  TMxBCBCPPFrame* cpp;
  TMxBCBPascalFrame* pascal;
  TMxBCBTASMFrame* tasm;
  TMxCBuilderDirectoryFrame* directories;
  TMxBCBCodeGuardFrame* codeGuard;
  TMxBCBCorbaFrame* corba;

 private:
  template <class T>
  void Add(T*& page) {
    auto frame = std::make_shared<T>(this);
    frame->SetTag(static_cast<int>(frames.size()) + 1);
    page = frame.get();
    frames.push_back(frame);
  }
};

class OptionPagesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    engine::THost::Instance().SetHostFolder(MX_BIN_DIR);
    before_ = engine::SetDesignServices(&desk_);
    dialog_ = std::make_unique<TOptionDialog>();
  }
  void TearDown() override {
    engine::SetDesignServices(before_);
    engine::THost::Instance().SetHostFolder(MX_BIN_DIR);
  }

  engine::TScriptedDesignServices desk_;
  IMxDesignServices* before_ = nullptr;
  std::unique_ptr<TOptionDialog> dialog_;
};

// Every stored property of every record set away from its default, within what its control can
// hold.
void SetEveryRecordProperty(TMxCBuilderAction& action) {
  const std::map<std::string, std::string> numbers = {
      {"IdentifierLength", "99"}, {"PageSize", "64"},         {"MaxErrors", "7"},
      {"SubSystemMajor", "5"},    {"SubSystemMinor", "1"},    {"HashTableCapacity", "4096"},
      {"MaxPasses", "3"},         {"MaxSymbolLength", "31"},  {"UserMajorVersion", "2"},
      {"UserMinorVersion", "9"},  {"MinStackSize", "12288"},  {"MaxStackSize", "2097152"},
      {"MinHeapSize", "8192"},    {"MaxHeapSize", "4194304"}, {"ImageBase", "268435456"}};
  for (const auto& child : action.GetChildren()) {
    for (const TPropInfo* p : child->ClassInfo().Properties()) {
      if (p->ReadOnly() || !p->Stored) continue;
      const std::string now = GetPropAsString(*child, p->Name);
      std::string value;
      switch (p->Kind) {
        case TPropKind::pkBoolean:
          value = now == "True" ? "False" : "True";
          break;
        case TPropKind::pkEnum:
          value = p->Enum->Name((p->Enum->Ordinal(now).value_or(0) + 1) % p->Enum->Count());
          break;
        case TPropKind::pkSet:
          value = "[" + p->Enum->Name(0) + "]";
          break;
        case TPropKind::pkInteger:
        case TPropKind::pkCardinal:
          value = numbers.at(p->Name);
          break;
        case TPropKind::pkString:
          value = "x" + p->Name;
          break;
        case TPropKind::pkStringList:
          value = "-wabc=1";
          break;
        case TPropKind::pkObject:
          continue;
      }
      SetPropAsString(*child, p->Name, value);
    }
  }
}

TEST_F(OptionPagesTest, EveryRecordPropertyGoesThroughThePagesUnchanged) {
  TMxCBuilderAction original;
  SetPropAsString(original, "CBuilderVersion", "cvBCB6");
  SetEveryRecordProperty(original);
  // "Selected" linker warnings keep their list; "All" would empty it.
  SetPropAsString(*original.GetLinkerOpt(), "LinkerWarnings", "lwSelected");
  dialog_->Read(original);
  TMxCBuilderAction copy;
  dialog_->Write(copy);
  for (std::size_t i = 0; i < original.GetChildren().size(); ++i) {
    const auto& before = *original.GetChildren()[i];
    auto texts = PropertyTexts(before);
    // Two controls show a value without storing it.
    for (auto& [name, text] : texts) {
      if (name == "UseDebugLibraries" || name == "SourceExtension")
        text = GetPropAsString(*copy.GetChildren()[i], name);
    }
    EXPECT_EQ(PropertyTexts(*copy.GetChildren()[i]), texts) << before.ClassInfo().Name();
  }
  EXPECT_EQ(GetPropAsString(copy, "CBuilderVersion"), "cvBCB6");
}

TEST_F(OptionPagesTest, OptimisationsAndWarningsGoThroughTheCheckList) {
  TMxBCBCompilerFrame& page = *dialog_->compiler;
  TMxCBuilderAction action;
  ICBuilderCompilerOptions& record = *action.GetCompilerOpt();
  using O = TBCBCompilerOptimisation;
  struct TCase {
    TBCBCompilerOptimisations Set;
    TRadioButton* Selected;
    const char* Entries;
  };
  for (const TCase& c : std::vector<TCase>{
           {{}, &page.Get<TRadioButton>("rbNoOptim"), ""},
           {{O::coInlineIntrinsic, O::coInductionVariables, O::coCommonSubExpression},
            &page.Get<TRadioButton>("rbOptNormal"),
            "-Oi=1\r\n-Ov=1\r\n-Og=1\r\n"},
           {{O::coPentiumScheduling, O::coInlineIntrinsic, O::coInductionVariables,
             O::coCommonSubExpression},
            &page.Get<TRadioButton>("rbOptSelected"),
            "-Oi=1\r\n-Ov=1\r\n-Og=1\r\n-OS=1\r\n"},
           {{O::coInductionVariables}, &page.Get<TRadioButton>("rbOptSelected"), "-Ov=1\r\n"},
       }) {
    record.SetOptimisation(c.Set);
    page.ReadActionData(action);
    EXPECT_TRUE(c.Selected->Checked()) << c.Entries;
    // Only the last read's entries remain.
    EXPECT_EQ(page.SelectedOptimisations().Text(), c.Entries);
    EXPECT_EQ(page.Get<TButton>("bOptSelected").Enabled(),
              c.Selected == &page.Get<TRadioButton>("rbOptSelected"));
    page.WriteActionData(action);
    EXPECT_EQ(record.GetOptimisation(), c.Set) << c.Entries;
  }
  // "Selected" with every entry cleared in the dialog stores no optimisation.
  desk_.CheckList({});
  page.Get<TButton>("bOptSelected").Click();
  EXPECT_EQ(desk_.Calls().back().Text, "Compiler Warnings");
  EXPECT_EQ(desk_.Calls().back().HelpContext, 1140);
  EXPECT_EQ(desk_.Calls().back().Value, "-Ov=1\r\n");
  page.WriteActionData(action);
  EXPECT_TRUE(record.GetOptimisation().Empty());

  // Warnings: the list is copied both ways in every mode; the button follows "Selected".
  record.GetWarnings().SetText("-wpar=0\r\n");
  record.SetOutputWarnings(TBCBCompilerWarnings::cwAll);
  page.ReadActionData(action);
  EXPECT_TRUE(page.Get<TRadioButton>("rbWarnAll").Checked());
  EXPECT_FALSE(page.Get<TButton>("bWarnSelected").Enabled());
  page.Get<TButton>("bWarnSelected").Click();  // not usable: no dialog
  page.Get<TRadioButton>("rbWarnSelected").Click();
  desk_.CheckList({"-wpar=1", "-waus=0"});
  page.Get<TButton>("bWarnSelected").Click();
  page.WriteActionData(action);
  EXPECT_EQ(record.GetOutputWarnings(), TBCBCompilerWarnings::cwSelected);
  EXPECT_EQ(record.GetWarnings().Text(), "-wpar=1\r\n-waus=0\r\n");
  page.Get<TRadioButton>("rbWarnNone").Click();
  page.WriteActionData(action);
  EXPECT_EQ(record.GetOutputWarnings(), TBCBCompilerWarnings::cwNone);
  EXPECT_EQ(record.GetWarnings().Text(), "-wpar=1\r\n-waus=0\r\n");
  EXPECT_EQ(desk_.Pending(), 0u);
}

TEST_F(OptionPagesTest, PresetsReachEveryPageThatHasThem) {
  TOptionDialog& d = *dialog_;
  d.directories->Get<TEdit>("txtConditionals").SetText("X");
  d.compiler->Get<TButton>("pbFullDebug").Click();
  EXPECT_TRUE(d.compiler->Get<TRadioButton>("rbNoOptim").Checked());
  for (TCheckBox* box :
       {&d.compiler->Get<TCheckBox>("cbCppDebugInfo"), &d.compiler->Get<TCheckBox>("cbLineNums"),
        &d.compiler->Get<TCheckBox>("cbDisableInlines"),
        &d.compiler->Get<TCheckBox>("cbCppStackFrames"), &d.pascal->Get<TCheckBox>("cbStackFrames"),
        &d.pascal->Get<TCheckBox>("cbDebugInfo"), &d.pascal->Get<TCheckBox>("cbLocalSymbols"),
        &d.pascal->Get<TCheckBox>("cbSymbolInfo"), &d.linker->Get<TCheckBox>("cbDebugInfo")})
    EXPECT_TRUE(box->Checked()) << box->Name();
  EXPECT_FALSE(d.pascal->Get<TCheckBox>("cbOptimization").Checked());
  EXPECT_TRUE(d.advCompiler->Radios("gbRegisterVariables")[0]->Checked());
  EXPECT_TRUE(d.tasm->Radios("gbDebugInformation")[2]->Checked());
  EXPECT_EQ(d.directories->Get<TEdit>("txtConditionals").Text(), "X;_DEBUG");
  // cbDefinitionsOnly follows "Reference info".
  EXPECT_TRUE(d.pascal->Get<TCheckBox>("cbDefinitionsOnly").Enabled());

  d.compiler->Get<TButton>("pbRelease").Click();
  EXPECT_TRUE(d.compiler->Get<TRadioButton>("rbOptNormal").Checked());
  EXPECT_FALSE(d.compiler->Get<TCheckBox>("cbCppDebugInfo").Checked());
  EXPECT_TRUE(d.pascal->Get<TCheckBox>("cbOptimization").Checked());
  EXPECT_FALSE(d.pascal->Get<TCheckBox>("cbSymbolInfo").Checked());
  EXPECT_FALSE(d.pascal->Get<TCheckBox>("cbDefinitionsOnly").Enabled());
  EXPECT_FALSE(d.linker->Get<TCheckBox>("cbDebugInfo").Checked());
  EXPECT_TRUE(d.advCompiler->Radios("gbRegisterVariables")[1]->Checked());
  EXPECT_TRUE(d.tasm->Radios("gbDebugInformation")[0]->Checked());
  EXPECT_EQ(d.directories->Get<TEdit>("txtConditionals").Text(), "X");
}

TEST_F(OptionPagesTest, ConditionalsPresetsAddAndRemoveTheDebugDefine) {
  TMxCBuilderDirectoryFrame& page = *dialog_->directories;
  const std::vector<std::tuple<std::string, TBCBSpeedSetting, std::string>> cases = {
      {"", TBCBSpeedSetting::ssFullDebug, "_DEBUG;"},
      {"  ", TBCBSpeedSetting::ssFullDebug, "_DEBUG;"},
      {"A", TBCBSpeedSetting::ssFullDebug, "A;_DEBUG"},
      {"A;", TBCBSpeedSetting::ssFullDebug, "A;_DEBUG"},
      {"MY_DEBUGGER", TBCBSpeedSetting::ssFullDebug, "MY_DEBUGGER"},
      {"A;_DEBUG", TBCBSpeedSetting::ssRelease, "A"},
      {"_DEBUG;A", TBCBSpeedSetting::ssRelease, "A"},
      {"_DEBUG", TBCBSpeedSetting::ssRelease, ""},
      {"_DEBUG;_DEBUG;A;_DEBUG;_DEBUG", TBCBSpeedSetting::ssRelease, ";A;_DEBUG"},
      {"_debug", TBCBSpeedSetting::ssRelease, "_debug"},
  };
  for (const auto& [before, setting, after] : cases) {
    page.Get<TEdit>("txtConditionals").SetText(before);
    page.SpeedSetting(setting);
    EXPECT_EQ(page.Get<TEdit>("txtConditionals").Text(), after) << before;
  }
}

TEST_F(OptionPagesTest, HintsNameTheRootFolderOfTheVersion) {
  TMxCBuilderAction action;
  for (const auto& [version, expected] :
       std::vector<std::pair<const char*, const char*>>{{"cvBCB3", "$(BCB3DIR)\\lib;$(BCB3DIR)"},
                                                        {"cvBCB5", "$(BCB5DIR)\\lib;$(BCB5DIR)"},
                                                        {"cvBCB6", "$(BCB6DIR)\\lib;$(BCB6DIR)"},
                                                        {"cvError", "$(bcb)\\lib;$(BCB)"},
                                                        {"cvBCB7", "$(bcb)\\lib;$(BCB)"}}) {
    SetPropAsString(action, "CBuilderVersion", version);
    for (IMxPageHint* page : std::vector<IMxPageHint*>{dialog_->compiler, dialog_->directories}) {
      dynamic_cast<IMxPropertyPage*>(page)->ReadActionData(action);
      std::string hint = "$(bcb)\\lib;$(BCB)";
      page->OnShowHint(hint);
      EXPECT_EQ(hint, expected) << version;
    }
  }
}

TEST_F(OptionPagesTest, AMissingCatalogueIsShownAndStopsThePage) {
  const fs::path empty = fs::temp_directory_path() / "mx_no_catalogues";
  fs::create_directories(empty);
  engine::THost::Instance().SetHostFolder(empty.string());
  TOptionDialog* none = nullptr;
  EXPECT_THROW(TMxBCBCompilerFrame page(none), platform::EFOpenError);
  ASSERT_EQ(desk_.Calls().size(), 1u);
  EXPECT_EQ(desk_.Calls()[0].Text,
            "Error - file not found: " + (empty / "BCBCompilerWarnings.txt").string());
  // The linker page lets the error go without a message.
  EXPECT_THROW(TMxBCBLinkerFrame page(none), platform::EFOpenError);
  EXPECT_EQ(desk_.Calls().size(), 1u);
  fs::remove_all(empty);
}

TEST_F(OptionPagesTest, PascalRecordAlignmentFollowsTheVersion) {
  TMxBCBPascalFrame& page = *dialog_->pascal;
  TMxCBuilderAction action;
  ICBuilderPascalOptions& record = *action.GetPascalOpt();
  record.SetAlignFields(TCBuilderPascalFieldAlign::fa4);
  SetPropAsString(action, "CBuilderVersion", "cvBCB6");
  page.ReadActionData(action);
  EXPECT_TRUE(page.Get<TComboBox>("cbRecordAlign").Visible());
  EXPECT_FALSE(page.Get<TCheckBox>("chkRecordAlign").Visible());
  EXPECT_EQ(page.Get<TComboBox>("cbRecordAlign").Text(), "4");
  page.Get<TComboBox>("cbRecordAlign").Choose(1);
  page.WriteActionData(action);
  EXPECT_EQ(record.GetAlignFields(), TCBuilderPascalFieldAlign::fa2);

  SetPropAsString(action, "CBuilderVersion", "cvBCB5");
  page.ReadActionData(action);
  EXPECT_FALSE(page.Get<TComboBox>("cbRecordAlign").Visible());
  EXPECT_FALSE(page.Get<TLabel>("lblRecordAlign").Visible());
  EXPECT_TRUE(page.Get<TCheckBox>("chkRecordAlign").Visible());
  EXPECT_TRUE(page.Get<TCheckBox>("chkRecordAlign").Checked());
  page.WriteActionData(action);
  EXPECT_EQ(record.GetAlignFields(), TCBuilderPascalFieldAlign::fa8);
  page.Get<TCheckBox>("chkRecordAlign").Click();
  page.WriteActionData(action);
  EXPECT_EQ(record.GetAlignFields(), TCBuilderPascalFieldAlign::fa1);
  // Another version leaves the arrangement as it was.
  SetPropAsString(action, "CBuilderVersion", "cvBCB7");
  page.ReadActionData(action);
  EXPECT_TRUE(page.Get<TCheckBox>("chkRecordAlign").Visible());
  page.WriteActionData(action);
  EXPECT_EQ(record.GetAlignFields(), TCBuilderPascalFieldAlign::fa1);
}

TEST_F(OptionPagesTest, EnablingRulesFollowTheirBoxes) {
  TOptionDialog& d = *dialog_;
  TMxCBuilderAction action;
  d.Read(action);
  // The listing controls follow "Generate listing".
  const bool listing = d.tasm->Get<TCheckBox>("cbGenerateListing").Checked();
  EXPECT_EQ(d.tasm->Get<TCheckBox>("cbCrossReference").Enabled(), listing);
  d.tasm->Get<TCheckBox>("cbGenerateListing").Click();
  EXPECT_EQ(d.tasm->Radios("gbListingType")[1]->Enabled(), !listing);
  EXPECT_EQ(d.tasm->Get<TCheckBox>("cbIncludeErrors").Enabled(), !listing);
  // The CodeGuard panel follows its box, and so does everything in it.
  d.codeGuard->Get<TCheckBox>("cbEnableCodeGuard").SetChecked(false);
  EXPECT_FALSE(d.codeGuard->Get<TCheckBox>("cbThis").EffectivelyEnabled());
  d.codeGuard->Get<TCheckBox>("cbEnableCodeGuard").Click();
  EXPECT_TRUE(d.codeGuard->Get<TCheckBox>("cbThis").EffectivelyEnabled());
  // The CORBA source extension and the IDL compilation group are shown, not editable.
  EXPECT_FALSE(d.corba->Get<TEdit>("edSourceSuffix").EffectivelyEnabled());
  EXPECT_FALSE(d.corba->Get<TCheckBox>("cbAddServerUnit").EffectivelyEnabled());
}

TEST_F(OptionPagesTest, TasmNumbersFallBackWhenTheyAreNotNumbers) {
  TMxBCBTASMFrame& page = *dialog_->tasm;
  TMxCBuilderAction action;
  page.ReadActionData(action);
  page.Get<TEdit>("ecHashTable").SetText("lots");
  page.Get<TEdit>("ecPasses").SetText("");
  page.Get<TEdit>("ecSymbolLength").SetText("12x");
  page.WriteActionData(action);
  const ICBuilderTASMOptions& record = *action.GetTASMOpt();
  EXPECT_EQ(record.GetHashTableCapacity(), 8192u);
  EXPECT_EQ(record.GetMaxPasses(), 1u);
  EXPECT_EQ(record.GetMaxSymbolLength(), 12u);
}

TEST_F(OptionPagesTest, LinkerSizesWarningsAndLibraryBoxes) {
  TMxBCBLinkerFrame& page = *dialog_->linker;
  TMxCBuilderAction action;
  ICBuilderLinkerOptions& record = *action.GetLinkerOpt();
  record.SetImageBase(0xABCDEF);
  record.SetMaxStackSize(0x100000);
  page.ReadActionData(action);
  EXPECT_EQ(page.Get<TMaskEdit>("txtImageBase").Text(), "0x00ABCDEF");
  EXPECT_EQ(page.Get<TMaskEdit>("txtMaxStackSize").Text(), "0x00100000");
  page.Get<TMaskEdit>("txtImageBase").SetText("0x400000");
  page.WriteActionData(action);
  EXPECT_EQ(record.GetImageBase(), 0x400000u);
  page.Get<TMaskEdit>("txtImageBase").SetText("0xZZ");
  EXPECT_THROW(page.WriteActionData(action), platform::EConvertError);
  page.Get<TMaskEdit>("txtImageBase").SetText("0x00400000");

  // "All" warnings keep no selection.
  record.SetLinkerWarnings(TCBuilderLinkerWarnings::lwSelected);
  record.GetWarnings().SetText("-wdup=1\r\n");
  page.ReadActionData(action);
  EXPECT_TRUE(page.Get<TButton>("bWarnings").Enabled());
  desk_.CheckList({"-wdup=1", "-wdpl=0"});
  page.Get<TButton>("bWarnings").Click();
  EXPECT_EQ(desk_.Calls().back().Text, "Compiler Warnings");
  page.WriteActionData(action);
  EXPECT_EQ(record.GetWarnings().Text(), "-wdup=1\r\n-wdpl=0\r\n");
  page.Get<TRadioButton>("rbWarnAll").Click();
  EXPECT_FALSE(page.Get<TButton>("bWarnings").Enabled());
  page.WriteActionData(action);
  EXPECT_EQ(record.GetLinkerWarnings(), TCBuilderLinkerWarnings::lwAll);
  EXPECT_EQ(record.GetWarnings().Count(), 0);

  // Reading the action leaves the library boxes as they are; the pages show by project type.
  SetPropAsString(action, "ProjectType", "ptLIB");
  dialog_->Read(action);
  EXPECT_FALSE(page.Get<TCheckBox>("cbGenLib").Enabled());
  EXPECT_FALSE(dialog_->visibility.at(page.Tag()));
  EXPECT_FALSE(dialog_->visibility.at(dialog_->advLinker->Tag()));
  EXPECT_TRUE(dialog_->visibility.at(dialog_->tlib->Tag()));
  SetPropAsString(action, "ProjectType", "ptBPL");
  dialog_->Read(action);
  EXPECT_TRUE(dialog_->visibility.at(page.Tag()));
  EXPECT_FALSE(dialog_->visibility.at(dialog_->tlib->Tag()));
}

TEST_F(OptionPagesTest, DirectoryButtonsEditBrowseAndClear) {
  TMxCBuilderDirectoryFrame& page = *dialog_->directories;
  page.Get<TEdit>("txtIncludePath").SetText("$(BCB)\\include");
  desk_.EditPaths("$(BCB)\\include;..\\inc");
  page.Get<TEdit>("txtIncludePath").ClickFolderButton();
  const auto& call = desk_.Calls().back();
  EXPECT_EQ(call.Kind, "EditPath");
  EXPECT_EQ(call.Item, "Include Path");
  EXPECT_EQ(call.Text, "Include Paths");
  EXPECT_EQ(call.Value, "$(BCB)\\include");
  EXPECT_EQ(call.HelpContext, 1140);
  EXPECT_EQ(call.Separator, ';');
  EXPECT_EQ(page.Get<TEdit>("txtIncludePath").Text(), "$(BCB)\\include;..\\inc");
  desk_.Cancel();
  page.Get<TEdit>("txtLibraryPath").ClickFolderButton();
  EXPECT_EQ(desk_.Calls().back().Item, "Library Path");
  EXPECT_EQ(page.Get<TEdit>("txtLibraryPath").Text(), "");

  page.Get<TEdit>("txtFinalOutput").SetText("out");
  desk_.ChooseFolder("/work/bin");
  page.Get<TEdit>("txtFinalOutput").ClickFolderButton();
  EXPECT_EQ(desk_.Calls().back().Text, "Select Final Output Directory");
  EXPECT_EQ(desk_.Calls().back().Value, "out");
  EXPECT_EQ(page.Get<TEdit>("txtFinalOutput").Text(), "/work/bin");
  page.Get<TEdit>("txtFinalOutput").ClickCustomButton();
  EXPECT_EQ(page.Get<TEdit>("txtFinalOutput").Text(), "");

  page.Get<TEdit>("txtConditionals").SetText("A");
  EXPECT_EQ(page.Get<TEdit>("txtConditionals").CustomButton().Hint, "Clear");
  page.Get<TEdit>("txtConditionals").ClickCustomButton();
  EXPECT_EQ(page.Get<TEdit>("txtConditionals").Text(), "");
  page.Get<TEdit>("txtConditionals").SetText("A");
  page.Get<TCheckBox>("chkUseRegForBPL").SetChecked(true);
  page.Get<TButton>("cmdClearAll").Click();
  EXPECT_EQ(page.Get<TEdit>("txtIncludePath").Text(), "");
  EXPECT_EQ(page.Get<TEdit>("txtConditionals").Text(), "");
  EXPECT_TRUE(page.Get<TCheckBox>("chkUseRegForBPL").Checked());
  page.OnPageActivate();
  EXPECT_EQ(page.FocusedControl(), &page.Get<TEdit>("txtIncludePath"));
}

TEST_F(OptionPagesTest, TheLibrarianPageTakesOnlyALibraryProject) {
  const fs::path dir = fs::temp_directory_path() / "mx_tlib_page";
  fs::create_directories(dir);
  const auto write = [&dir](const char* name, const char* output) {
    std::ofstream(dir / name, std::ios::binary)
        << "<?xml version='1.0' encoding='utf-8' ?>\n<PROJECT>\n<MACROS>\n"
           "<VERSION value=\"BCB.06.00\"/>\n<PROJECT value=\""
        << output
        << "\"/>\n</MACROS>\n<OPTIONS>\n<LFLAGS value=\"/C /E /P64\"/>\n"
           "</OPTIONS>\n</PROJECT>\n";
    auto parser = CBuilderProjectParserFactory(MxDesignApplicationServices())
                      ->CreateProjectParser((dir / name).string(), nullptr, AllParserOptions());
    parser->ParseProjectFile();
    return parser;
  };
  TMxBCBTLibFrame& page = *dialog_->tlib;
  page.LoadSettings(write("App.bpr", "App.exe"));
  EXPECT_FALSE(page.Get<TCheckBox>("cbCaseSensitive").Checked());
  EXPECT_FALSE(dialog_->visibility.at(page.Tag()));
  page.LoadSettings(write("Lib.bpr", "Lib.lib"));
  EXPECT_TRUE(dialog_->visibility.at(page.Tag()));
  EXPECT_TRUE(page.Get<TCheckBox>("cbCaseSensitive").Checked());
  EXPECT_EQ(page.Get<TSpinEdit>("spPageSize").Value(), 64);

  // The list file is picked from all files, starting at the expanded text.
  page.Get<TEdit>("txtListFile").SetText("%MX_NO_SUCH_VARIABLE%\\lib.lst");
  desk_.ChooseFile("/tmp/lib.lst");
  page.Get<TEdit>("txtListFile").ClickFolderButton();
  EXPECT_EQ(desk_.Calls().back().Dialog.Filter, "All Files (*.*)|*.*");
  EXPECT_EQ(desk_.Calls().back().Dialog.FileName, "%MX_NO_SUCH_VARIABLE%\\lib.lst");
  EXPECT_EQ(page.Get<TEdit>("txtListFile").Text(), "/tmp/lib.lst");
  fs::remove_all(dir);
}

}  // namespace
