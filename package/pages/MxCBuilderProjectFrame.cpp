#include "MxCBuilderProjectFrame.h"

#include "moxtal/api/Services.h"
#include "package/action/MxCBuilderAction.h"
#include "package/pages/ProjectIcon.h"
#include "platform/Exception.h"
#include "platform/FileNames.h"
#include "platform/ResourceFile.h"
#include "platform/StrUtils.h"
#include "platform/WholeFile.h"

namespace mx::bcc {

using namespace platform;

namespace {

constexpr const char* kOptionsKey = "\\Software\\Quillon\\Moxtal\\5.0\\Options\\BorlandCBuilder";
constexpr const char* kProjectFilter = "ProjectFilter";
// The file type last chosen in this program's run, which outlives a registry that cannot be
// written.
std::optional<int> rememberedFilter;
bool filterWarningShown = false;
constexpr const char* kLibraryMakefile = "-tDEFLIB.BMK";
constexpr int kHelpContext = 1140;

TEdit& AddFileEdit(TContainer& parent, std::string name, std::string hint, std::string buttonHint) {
  TEdit& edit = parent.Add<TEdit>(std::move(name));
  edit.SetHint(std::move(hint));
  edit.FolderButton() = {true, std::move(buttonHint), TEditGlyph::egFolder};
  return edit;
}

}  // namespace

TMxCBuilderProjectFrame::TMxCBuilderProjectFrame(IMxComponent* owner)
    : TMxCBuilderFrame(owner, "MxCBuilderProjectFrame", kHelpContext) {
  TPanel& files = Add<TPanel>("pnlFiles", TLayout::loForm);
  files.Add<TLabel>("lblProject", "Project File :");
  txtProject = &AddFileEdit(files, "txtProject", "Project File", "Select Project File");
  txtProject->CustomButton() = {true, "Reload settings From Project File", TEditGlyph::egReload};
  files.Add<TLabel>("lblIconFile", "Icon File :");
  TPanel& icon = files.Add<TPanel>("pnlIcon", TLayout::loRow);
  txtIconFile = &AddFileEdit(icon, "txtIconFile", "Icon File", "Select Icon File");
  TPanel& well = icon.Add<TPanel>("pnlIconDisplay");
  well.SetSunken(true);
  IconDisplay = &well.Add<TImage>("IconDisplay", 32, 32);

  files.Add<TLabel>("lblMakeOptions", "Make Options :");
  TPanel& make = files.Add<TPanel>("pnlMake", TLayout::loRow);
  txtMakeOptions = &make.Add<TEdit>("txtMakeOptions");
  chkCaptureMake = &make.Add<TCheckBox>("chkCaptureMake", "Capture Make Output");
  txtBPR2MakeOptions =
      &AddLabeled<TEdit>(files, "lblBPR2MakeOptions", "BPR2Make Options :", "txtBPR2MakeOptions");
  chkUsePackages = &files.Add<TCheckBox>("chkUsePackages", "Build with Runtime Packages");
  txtPackages = &files.Add<TEdit>("txtPackages");
  txtPackages->FolderButton().Visible = true;
  txtPackages->SetEnabled(false);

  TPanel& flags = Add<TPanel>("pnlFlags", TLayout::loGrid);
  flags.SetLayout(TLayout::loGrid, 2);
  chkBuildAll = &flags.Add<TCheckBox>("chkBuildAll", "Build All");
  chkRegenResource = &flags.Add<TCheckBox>("chkRegenResource", "Regenerate Resource File");
  chkPreProcess = &flags.Add<TCheckBox>("chkPreProcess", "Pre-Process Project File ");
  chkEurekaLog = &flags.Add<TCheckBox>("chkEurekaLog", "Use EurekaLog Compiler (emake.exe)");

  TGroupBox& use =
      Add<TGroupBox>("gbUseOptions", "Settings of this action that replace the project's");
  use.SetLayout(TLayout::loGrid, 3);
  const auto box = [&use](const char* name, const char* caption) {
    return &use.Add<TCheckBox>(name, caption);
  };
  chkUsePackageOptions = box("chkUsePackageOptions", "Use Package Options");
  chkUseDirectoryOptions = box("chkUseDirectoryOptions", "Use Directory Options");
  chkUseCompilerOptions = box("chkUseCompilerOptions", "Use Compiler Options");
  chkUseAdvCompilerOptions = box("chkUseAdvCompilerOptions", "Use Adv Compiler Options");
  chkUseLinkerOptions = box("chkUseLinkerOptions", "Use Linker Options");
  chkUseAdvLinkerOptions = box("chkUseAdvLinkerOptions", "Use Adv Linker Options");
  chkUseTLib = box("chkUseTLib", "Use TLib Options");
  chkUseVersionInfoOptions = box("chkUseVersionInfoOptions", "Use Version Info Options");
  chkUseCPPOptions = box("chkUseCPPOptions", "Use C++ Options");
  chkUsePascalOptions = box("chkUsePascalOptions", "Use Pascal Options");
  chkUseTASMOptions = box("chkUseTASMOptions", "Use TASM Options");
  chkUseCorbaOptions = box("chkUseCorbaOptions", "Use Corba Options");
  chkUseCodeGuardOptions = box("chkUseCodeGuardOptions", "Use CodeGuard Options");

  OpenDialog1.Title = "Select Project or Package File";
  OpenDialog1.DefaultExt = ".bpr";
  OpenDialog1.Filter = "CBuilder Project Files(*.bpr)|*.bpr|CBuilder Package Files(*.bpk)|*.bpk";
  OpenDialog1.OnTypeChange = [this] { SaveProjectFilter(); };
  OpenIconDialog.Title = "Select Icon File";
  OpenIconDialog.DefaultExt = ".ico";
  OpenIconDialog.Filter = "Icon Files (*.ico)|*.ico";
  OpenPackageDialog.Title = "Select Project or Package File";
  OpenPackageDialog.Filter = "Compiled Package (*.bpi)|*.bpi";

  // Every control bound to the action's property of the same meaning, read and written alike.
  bindings_.Text(*txtProject, "ProjectFile")
      .Text(*txtIconFile, "IconFile")
      .Check(*chkBuildAll, "BuildAll")
      .Check(*chkRegenResource, "RegenerateResource")
      .Check(*chkUsePackages, "UsePackages")
      .Text(*txtPackages, "Packages")
      .Text(*txtMakeOptions, "MakeOptions")
      .Check(*chkCaptureMake, "CaptureMakeOuput")
      .Text(*txtBPR2MakeOptions, "BPR2MakOptions")
      .Check(*chkUsePackageOptions, "UsePackageSettings")
      .Check(*chkUseDirectoryOptions, "UseDirectorySettings")
      .Check(*chkUseCompilerOptions, "UseCompilerSettings")
      .Check(*chkUseAdvCompilerOptions, "UseAdvCompilerSettings")
      .Check(*chkUseLinkerOptions, "UseLinkerSettings")
      .Check(*chkUseAdvLinkerOptions, "UseAdvLinkerSettings")
      .Check(*chkUseTLib, "UseTLibSettings")
      .Check(*chkUseVersionInfoOptions, "UseVersionInfo")
      .Check(*chkUseCPPOptions, "UseCPPSettings")
      .Check(*chkUsePascalOptions, "UsePascalSettings")
      .Check(*chkUseTASMOptions, "UseTASMSettings")
      .Check(*chkUseCorbaOptions, "UseCorbaSettings")
      .Check(*chkUseCodeGuardOptions, "UseCodeGuardSettings")
      .Check(*chkPreProcess, "PreProcessProjectFile")
      .Check(*chkEurekaLog, "UseEurekaLogCompiler");
  txtProject->OnButtonClick = [this] { PickProject(); };
  txtProject->OnCustomButtonClick = [this] { ReloadFromProject(); };
  txtIconFile->OnButtonClick = [this] { PickIcon(); };
  txtPackages->OnButtonClick = [this] { AddPackage(); };
  chkUsePackages->OnClick = [this] { txtPackages->SetEnabled(chkUsePackages->Checked()); };
}

void TMxCBuilderProjectFrame::ReadActionData(TCustomMxAction& anyAction) {
  auto* action = dynamic_cast<TMxCBuilderAction*>(&anyAction);
  if (!action) throw EInvalidCast();
  action_ = action;
  bindings_.Read(*action);
  version_ = action->GetCBuilderVersion();
  projectType_ = action->GetProjectType();
  ShowIcon(false);
  txtPackages->SetEnabled(chkUsePackages->Checked());
}

void TMxCBuilderProjectFrame::WriteActionData(TCustomMxAction& anyAction) {
  auto* action = dynamic_cast<TMxCBuilderAction*>(&anyAction);
  if (!action) throw EInvalidCast();
  bindings_.Write(*action);
  action->SetCBuilderVersion(version_);
  action->SetProjectType(projectType_);
}

void TMxCBuilderProjectFrame::LoadSettings(const std::shared_ptr<ICBuilderProjectParser>& parser) {
  chkUsePackages->SetChecked(parser->GetUsePackages());
  version_ = parser->GetCBuilderVersion();
  std::string packages;
  const TStringList& list = parser->GetPackages();
  for (int i = 0; i < list.Count(); ++i)
    packages += (i ? ";" : "") + list[i];
  txtPackages->SetText(packages);
}

std::string TMxCBuilderProjectFrame::MachinePath(const std::string& file) const {
  return action_ ? action_->AbsolutePath(file) : file;
}

std::shared_ptr<ICBuilderProjectParser> TMxCBuilderProjectFrame::OpenParser(
    const std::string& file) {
  auto parser = CBuilderProjectParserFactory(MxDesignApplicationServices())
                    ->CreateProjectParser(MachinePath(file), nullptr, AllParserOptions());
  return parser;
}

void TMxCBuilderProjectFrame::TakeProject(const ICBuilderProjectParser& parser) {
  for (TCheckBox* box :
       {chkUsePackageOptions, chkUseDirectoryOptions, chkUseCompilerOptions,
        chkUseAdvCompilerOptions, chkUseLinkerOptions, chkUseAdvLinkerOptions, chkUseTLib,
        chkUseVersionInfoOptions, chkUseCPPOptions, chkUsePascalOptions, chkUseTASMOptions,
        chkUseCorbaOptions, chkUseCodeGuardOptions}) {
    box->SetChecked(true);
  }
  projectType_ = parser.GetProjectType();
}

namespace {

// Library projects are made with the library makefile template and their make output is not
// captured; any other project drops that template again.
void ApplyLibraryRules(TCBuilderProjectType type, TEdit& bpr2makOptions, TCheckBox& captureMake) {
  if (type == TCBuilderProjectType::ptLIB) {
    bpr2makOptions.SetText(kLibraryMakefile);
    captureMake.SetChecked(false);
  } else if (UpperCase(bpr2makOptions.Text()) == UpperCase(kLibraryMakefile)) {
    bpr2makOptions.SetText("");
  }
}

}  // namespace

void TMxCBuilderProjectFrame::PickProject() {
  try {
    const auto key =
        MxPackageServices().Registry()->OpenKeyReadOnly(TRegistryRoot::rkCurrentUser, kOptionsKey);
    OpenDialog1.FilterIndex = 1;
    if (key) OpenDialog1.FilterIndex = key->ReadInteger(kProjectFilter).value_or(1);
    if (rememberedFilter) OpenDialog1.FilterIndex = *rememberedFilter;
    const std::string expanded = ExpandedOrEmpty(txtProject->Text());
    if (!expanded.empty())
      OpenDialog1.FilterIndex = wintext::ExtractFileExt(expanded) == ".bpk" ? 2 : 1;
    OpenDialog1.FileName = expanded;
    if (!MxDesignServices().Execute(OpenDialog1)) return;
    if (OpenDialog1.FileName == MachinePath(expanded)) {
      ReloadFromProject();
      txtProject->SetText(OpenDialog1.FileName);
      return;
    }
    txtProject->SetText(OpenDialog1.FileName);
    const auto parser = OpenParser(txtProject->Text());
    if (!parser) return;
    TakeProject(*parser);
    parser->ParseProjectFile();
    projectType_ = parser->GetProjectType();
    BroadcastReload(*this, parser);
    ApplyLibraryRules(projectType_, *txtBPR2MakeOptions, *chkCaptureMake);
    FindProjectIcon();
  } catch (const EMxCBuilderInvalidProjectFileException& e) {
    MxDesignServices().ShowMessage(e.what());
  }
}

bool TMxCBuilderProjectFrame::ReloadFromProject() {
  try {
    const auto project = ConfirmReload("Project/Package", txtProject->Text(), HelpContext());
    if (!project) return false;
    const auto parser = OpenParser(*project);
    if (!parser) return false;
    TakeProject(*parser);
    parser->ParseProjectFile();
    projectType_ = parser->GetProjectType();
    ApplyLibraryRules(projectType_, *txtBPR2MakeOptions, *chkCaptureMake);
    BroadcastReload(*this, parser);
    return true;
  } catch (const EMxCBuilderInvalidProjectFileException& e) {
    MxDesignServices().ShowMessage(e.what());
    return false;
  }
}

void TMxCBuilderProjectFrame::FindProjectIcon() {
  const std::string project = MachinePath(txtProject->Text());
  const std::string extension = UpperCase(machinepath::ExtractFileExt(project));
  resourceFile_.clear();
  if (extension == ".BPK") {
    // A package has no icon of its own.
    txtIconFile->SetText("");
    return;
  }
  if (extension != ".BPR") return;
  const TProjectIcon icon = TakeProjectIcon(project);
  resourceFile_ = icon.ResourceFile;
  if (resourceFile_.empty()) return;
  if (!icon.IconFile) {
    txtIconFile->SetText("");
    IconDisplay->Clear();
    return;
  }
  txtIconFile->SetText(*icon.IconFile);
  ShowIcon(true);
}

void TMxCBuilderProjectFrame::ShowIcon(bool quiet) {
  ShowIconFile(*IconDisplay, txtIconFile->Text(), action_, quiet);
}

void TMxCBuilderProjectFrame::PickIcon() {
  OpenIconDialog.FileName = ExpandedOrEmpty(txtIconFile->Text());
  if (MxDesignServices().Execute(OpenIconDialog)) txtIconFile->SetText(OpenIconDialog.FileName);
  ShowIcon(true);
}

void TMxCBuilderProjectFrame::AddPackage() {
  if (!MxDesignServices().Execute(OpenPackageDialog)) return;
  const std::string name =
      machinepath::ChangeFileExt(machinepath::ExtractFileName(OpenPackageDialog.FileName), "");
  if (txtPackages->Text().find(name) == std::string::npos)
    txtPackages->SetText(txtPackages->Text() + ";" + name);
}

void TMxCBuilderProjectFrame::SaveProjectFilter() {
  rememberedFilter = OpenDialog1.FilterIndex;
  try {
    MxPackageServices()
        .Registry()
        ->CreateKey(TRegistryRoot::rkCurrentUser, kOptionsKey)
        ->WriteInteger(kProjectFilter, OpenDialog1.FilterIndex);
  } catch (const Exception& e) {
    // A registry file beside an installed program is read-only for most people: the choice is
    // then kept in memory, and the person is told once.
    if (!filterWarningShown) {
      filterWarningShown = true;
      MxDesignServices().MessageDlg(
          std::string("The file type chosen is kept until moxtal ends, but it cannot be "
                      "remembered for later: ") +
              e.what(),
          TMsgDlgType::mtWarning, {TMsgDlgBtn::mbOK}, HelpContext());
    }
  }
}

}  // namespace mx::bcc
