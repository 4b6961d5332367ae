#include "MxCBuilderProjectFrame.h"

#include "moxtal/api/Services.h"
#include "package/action/MxCBuilderAction.h"
#include "package/pages/ControlTable.h"
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

using namespace rows;

// "CaptureMakeOuput" and "OpenDialog1" are the system's own names.
constexpr TControlRow kProjectBaseControls[] = {
    FormPanel("pnlFiles"),
    Label("lblProject", "Project File :", "pnlFiles"),
    Edit("txtProject", "", "", "pnlFiles", "ProjectFile")
        .Hint("Project File")
        .WithButton(TEditGlyph::egFolder, "Select Project File")
        .WithSecondButton(TEditGlyph::egReload, "Reload settings From Project File"),
    Label("lblIconFile", "Icon File :", "pnlFiles"),
    RowPanel("pnlIcon", "pnlFiles"),
    Edit("txtIconFile", "", "", "pnlIcon", "IconFile")
        .Hint("Icon File")
        .WithButton(TEditGlyph::egFolder, "Select Icon File"),
    Panel("pnlIconDisplay", "pnlIcon").Sunken(),
    Image("IconDisplay", 32, 32, "pnlIconDisplay"),
    Label("lblMakeOptions", "Make Options :", "pnlFiles"),
    RowPanel("pnlMake", "pnlFiles"),
    Edit("txtMakeOptions", "", "", "pnlMake", "MakeOptions"),
    Check("chkCaptureMake", "Capture Make Output", "pnlMake", "CaptureMakeOuput"),
    Edit("txtBPR2MakeOptions", "lblBPR2MakeOptions", "BPR2Make Options :", "pnlFiles",
         "BPR2MakOptions"),
    Check("chkUsePackages", "Build with Runtime Packages", "pnlFiles", "UsePackages"),
    Edit("txtPackages", "", "", "pnlFiles", "Packages")
        .WithButton(TEditGlyph::egFolder)
        .Unavailable(),
    Grid("pnlFlags", 2),
    Check("chkBuildAll", "Build All", "pnlFlags", "BuildAll"),
    Check("chkRegenResource", "Regenerate Resource File", "pnlFlags", "RegenerateResource"),
    Check("chkPreProcess", "Pre-Process Project File ", "pnlFlags", "PreProcessProjectFile"),
    Check("chkEurekaLog", "Use EurekaLog Compiler (emake.exe)", "pnlFlags", "UseEurekaLogCompiler"),
    GridGroup("gbUseOptions", "Settings of this action that replace the project's", 3),
};

// The group's check boxes, one per option family, in the order the group shows them; each edits
// its family's switch.
struct TFamilyCheck {
  TSettingsFamily Family;
  const char* Name;
  const char* Caption;
};
constexpr TFamilyCheck kGroupChecks[] = {
    {TSettingsFamily::sfPackage, "chkUsePackageOptions", "Use Package Options"},
    {TSettingsFamily::sfDirectory, "chkUseDirectoryOptions", "Use Directory Options"},
    {TSettingsFamily::sfCompiler, "chkUseCompilerOptions", "Use Compiler Options"},
    {TSettingsFamily::sfAdvCompiler, "chkUseAdvCompilerOptions", "Use Adv Compiler Options"},
    {TSettingsFamily::sfLinker, "chkUseLinkerOptions", "Use Linker Options"},
    {TSettingsFamily::sfAdvLinker, "chkUseAdvLinkerOptions", "Use Adv Linker Options"},
    {TSettingsFamily::sfTLib, "chkUseTLib", "Use TLib Options"},
    {TSettingsFamily::sfVersionInfo, "chkUseVersionInfoOptions", "Use Version Info Options"},
    {TSettingsFamily::sfCPP, "chkUseCPPOptions", "Use C++ Options"},
    {TSettingsFamily::sfPascal, "chkUsePascalOptions", "Use Pascal Options"},
    {TSettingsFamily::sfTASM, "chkUseTASMOptions", "Use TASM Options"},
    {TSettingsFamily::sfCorba, "chkUseCorbaOptions", "Use Corba Options"},
    {TSettingsFamily::sfCodeGuard, "chkUseCodeGuardOptions", "Use CodeGuard Options"},
};
static_assert(NamesEveryFamilyOnce([] {
  std::array<TSettingsFamily, std::size(kGroupChecks)> families{};
  for (std::size_t i = 0; i < families.size(); ++i)
    families[i] = kGroupChecks[i].Family;
  return families;
}()));

constexpr auto kProjectControls = [] {
  std::array<TControlRow, std::size(kProjectBaseControls) + std::size(kGroupChecks)> rows{};
  std::size_t at = 0;
  for (const TControlRow& row : kProjectBaseControls)
    rows[at++] = row;
  for (const TFamilyCheck& check : kGroupChecks)
    rows[at++] =
        Check(check.Name, check.Caption, "gbUseOptions", FamilySwitch(check.Family).Property);
  return rows;
}();

}  // namespace

TMxCBuilderProjectFrame::TMxCBuilderProjectFrame(IMxComponent* owner)
    : TMxCBuilderFrame(owner, "MxCBuilderProjectFrame", kHelpContext) {
  AddControls(*this, kProjectControls, bindings_);
  IconDisplay_.Bind(*this, "IconDisplay");
  chkCaptureMake_.Bind(*this, "chkCaptureMake");
  chkUsePackages_.Bind(*this, "chkUsePackages");
  gbUseOptions_.Bind(*this, "gbUseOptions");
  txtBPR2MakeOptions_.Bind(*this, "txtBPR2MakeOptions");
  txtIconFile_.Bind(*this, "txtIconFile");
  txtPackages_.Bind(*this, "txtPackages");
  txtProject_.Bind(*this, "txtProject");
  TEdit& project = *txtProject_;
  TEdit& iconFile = *txtIconFile_;
  TEdit& packages = *txtPackages_;

  OpenDialog1.Title = "Select Project or Package File";
  OpenDialog1.DefaultExt = ".bpr";
  OpenDialog1.Filter = "CBuilder Project Files(*.bpr)|*.bpr|CBuilder Package Files(*.bpk)|*.bpk";
  OpenDialog1.OnTypeChange = [this] { SaveProjectFilter(); };
  OpenIconDialog.Title = "Select Icon File";
  OpenIconDialog.DefaultExt = ".ico";
  OpenIconDialog.Filter = "Icon Files (*.ico)|*.ico";
  OpenPackageDialog.Title = "Select Project or Package File";
  OpenPackageDialog.Filter = "Compiled Package (*.bpi)|*.bpi";

  project.OnButtonClick = [this] { PickProject(); };
  project.OnCustomButtonClick = [this] { ReloadFromProject(); };
  iconFile.OnButtonClick = [this] { PickIcon(); };
  packages.OnButtonClick = [this] { AddPackage(); };
  chkUsePackages_->OnClick = [this] { UpdatePackages(); };
}

void TMxCBuilderProjectFrame::UpdatePackages() {
  txtPackages_->SetEnabled(chkUsePackages_->Checked());
}

void TMxCBuilderProjectFrame::ReadActionData(TCustomMxAction& anyAction) {
  TMxCBuilderAction* action = &ActionAs<TMxCBuilderAction>(anyAction);
  action_ = action;
  bindings_.Read(*action);
  version_ = action->GetCBuilderVersion();
  projectType_ = action->GetProjectType();
  ShowIcon(false);
  UpdatePackages();
}

void TMxCBuilderProjectFrame::WriteActionData(TCustomMxAction& anyAction) {
  TMxCBuilderAction* action = &ActionAs<TMxCBuilderAction>(anyAction);
  bindings_.Write(*action);
  action->SetCBuilderVersion(version_);
  action->SetProjectType(projectType_);
}

void TMxCBuilderProjectFrame::LoadSettings(const std::shared_ptr<ICBuilderProjectParser>& parser) {
  chkUsePackages_->SetChecked(parser->GetUsePackages());
  version_ = parser->GetCBuilderVersion();
  std::string packages;
  const TStringList& list = parser->GetPackages();
  for (int i = 0; i < list.Count(); ++i)
    packages += (i ? ";" : "") + list[i];
  txtPackages_->SetText(packages);
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

void TMxCBuilderProjectFrame::UseEveryFamily(const ICBuilderProjectParser& parser) {
  // Every box of the group is a family of settings the action takes instead of the project's.
  for (const auto& control : gbUseOptions_->Controls()) {
    if (auto* box = dynamic_cast<TCheckBox*>(control.get())) box->SetChecked(true);
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

bool TMxCBuilderProjectFrame::PickProject() {
  try {
    const auto key =
        MxPackageServices().Registry()->OpenKeyReadOnly(TRegistryRoot::rkCurrentUser, kOptionsKey);
    OpenDialog1.FilterIndex = 1;
    if (key) OpenDialog1.FilterIndex = key->ReadInteger(kProjectFilter).value_or(1);
    if (rememberedFilter) OpenDialog1.FilterIndex = *rememberedFilter;
    TEdit& project = *txtProject_;
    const std::string expanded = ExpandedOrEmpty(project.Text());
    if (!expanded.empty())
      OpenDialog1.FilterIndex = wintext::ExtractFileExt(expanded) == ".bpk" ? 2 : 1;
    OpenDialog1.FileName = expanded;
    if (!MxDesignServices().Execute(OpenDialog1)) return false;
    // The same file, however it is named (a dialog names it absolutely, a build script may
    // name it relative to its folder).
    if (!expanded.empty() && MachinePath(OpenDialog1.FileName) == MachinePath(expanded)) {
      const bool reloaded = ReloadFromProject();
      project.SetText(OpenDialog1.FileName);
      return reloaded;
    }
    project.SetText(OpenDialog1.FileName);
    const auto parser = OpenParser(project.Text());
    if (!parser) return false;
    UseEveryFamily(*parser);
    parser->ParseProjectFile();
    projectType_ = parser->GetProjectType();
    BroadcastReload(*this, parser);
    ApplyLibraryRules(projectType_, *txtBPR2MakeOptions_, *chkCaptureMake_);
    FindProjectIcon();
    return true;
  } catch (const EMxCBuilderInvalidProjectFileException& e) {
    MxDesignServices().ShowMessage(e.what());
    return false;
  }
}

bool TMxCBuilderProjectFrame::ReloadFromProject() {
  try {
    const auto project = ConfirmReload("Project/Package", txtProject_->Text(), HelpContext());
    if (!project) return false;
    const auto parser = OpenParser(*project);
    if (!parser) return false;
    UseEveryFamily(*parser);
    parser->ParseProjectFile();
    projectType_ = parser->GetProjectType();
    ApplyLibraryRules(projectType_, *txtBPR2MakeOptions_, *chkCaptureMake_);
    BroadcastReload(*this, parser);
    return true;
  } catch (const EMxCBuilderInvalidProjectFileException& e) {
    MxDesignServices().ShowMessage(e.what());
    return false;
  }
}

void TMxCBuilderProjectFrame::FindProjectIcon() {
  const std::string project = MachinePath(txtProject_->Text());
  TEdit& iconFile = *txtIconFile_;
  const std::string extension = UpperCase(machinepath::ExtractFileExt(project));
  resourceFile_.clear();
  if (extension == ".BPK") {
    // A package has no icon of its own.
    iconFile.SetText("");
    return;
  }
  if (extension != ".BPR") return;
  const TProjectIcon icon = TakeProjectIcon(project);
  resourceFile_ = icon.ResourceFile;
  if (resourceFile_.empty()) return;
  if (!icon.IconFile) {
    iconFile.SetText("");
    IconDisplay_->Clear();
    return;
  }
  iconFile.SetText(IconFileText(txtProject_->Text(), *icon.IconFile));
  ShowIcon(true);
}

void TMxCBuilderProjectFrame::ShowIcon(bool quiet) {
  ShowIconFile(*IconDisplay_, txtIconFile_->Text(), action_, quiet);
}

void TMxCBuilderProjectFrame::PickIcon() {
  TEdit& iconFile = *txtIconFile_;
  OpenIconDialog.FileName = ExpandedOrEmpty(iconFile.Text());
  if (MxDesignServices().Execute(OpenIconDialog)) iconFile.SetText(OpenIconDialog.FileName);
  ShowIcon(true);
}

void TMxCBuilderProjectFrame::AddPackage() {
  if (!MxDesignServices().Execute(OpenPackageDialog)) return;
  const std::string name =
      machinepath::ChangeFileExt(machinepath::ExtractFileName(OpenPackageDialog.FileName), "");
  TEdit& packages = *txtPackages_;
  if (packages.Text().find(name) == std::string::npos)
    packages.SetText(packages.Text() + ";" + name);
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
