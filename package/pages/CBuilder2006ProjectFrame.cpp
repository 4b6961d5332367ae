#include "CBuilder2006ProjectFrame.h"

#include "moxtal/api/Services.h"
#include "package/action2006/CBuilder2006Action.h"
#include "package/pages/CBResourceCompilerFrame.h"
#include "package/pages/CBuilder2006VersionInfoFrame.h"
#include "package/pages/ControlTable.h"
#include "package/pages/ProjectIcon.h"
#include "package/projparser/MxCBuilderUtils.h"

namespace mx::bcc {

using platform::TStringList;

namespace {

using namespace rows;

// "OpenDialog1" is the system's own name for the project's file dialog.
constexpr TControlRow kProject2006Controls[] = {
    FormPanel("pnlProject"),
    Label("lblProject", "Project File :", "pnlProject"),
    Edit("txtProject", "", "", "pnlProject", "ProjectFile")
        .Hint("Project File")
        .WithButton(TEditGlyph::egFolder, "Select Project File")
        .WithSecondButton(TEditGlyph::egReload, "Reload settings From Project File"),
    Combo("cboVersion", "lblVersion", "C++ Builder Version :", "pnlProject",
          "C++ Builder 2006\r\nC++ Builder 2007\r\n", "CBuilderVersion")
        .Initially(0),
    Label("lblConfigs", "Config :", "pnlProject").Names("cboConfigs"),
    Panel("pnlConfigs", "pnlProject"),
    ComboEdit("cboConfigs", "pnlConfigs", "Config"),
    Label("lblAllConfigs", "Note : To build all configs, leave Config field blank.", "pnlConfigs"),
    Combo("cboBuildType", "lblBuildType", "Build Type :", "pnlProject", "Build\r\nMake\r\n",
          "BuildType")
        .Initially(0),
    Edit("txtMakeOptions", "lblMakeOptions", "Make options :", "pnlProject", "MakeOptions"),
    Label("lblIconFile", "Icon File :", "pnlProject"),
    RowPanel("pnlIcon", "pnlProject"),
    Edit("txtIconFile", "", "", "pnlIcon", "IconFile")
        .Hint("Icon File")
        .WithButton(TEditGlyph::egFolder, "Select Icon File"),
    Panel("pnlIconDisplay", "pnlIcon").Sunken(),
    Image("IconDisplay", 32, 32, "pnlIconDisplay"),
    Check("chkRegenResource", "Regenerate Resource File", "", "RegenerateResource"),
};

}  // namespace

TCBuilder2006ProjectFrame::TCBuilder2006ProjectFrame(IMxComponent* owner)
    : TMxCBuilderFrame(owner, "CBuilder2006ProjectFrame", 0) {
  AddControls(*this, kProject2006Controls, bindings_);
  IconDisplay_.Bind(*this, "IconDisplay");
  cboConfigs_.Bind(*this, "cboConfigs");
  cboVersion_.Bind(*this, "cboVersion");
  lblAllConfigs_.Bind(*this, "lblAllConfigs");
  txtIconFile_.Bind(*this, "txtIconFile");
  txtMakeOptions_.Bind(*this, "txtMakeOptions");
  txtProject_.Bind(*this, "txtProject");
  TEdit& project = *txtProject_;

  OpenDialog1.Title = "Select Project or Package File";
  OpenDialog1.Filter =
      "CBuilder Project Files(*.bdsproj)|*.bdsproj|CBuilder 2007 Project Files (*.cbproj)|*.cbproj";
  OpenIconDialog.Title = "Select Icon File";
  OpenIconDialog.DefaultExt = ".ico";
  OpenIconDialog.Filter = "Icon Files (*.ico)|*.ico";

  project.OnButtonClick = [this] { PickProject(); };
  project.OnCustomButtonClick = [this] { ReloadFromProject(); };
  txtIconFile_->OnButtonClick = [this] { PickIcon(); };
  cboVersion_->OnChange = [this] { VersionChosen(); };
}

void TCBuilder2006ProjectFrame::VersionChosen() {
  const int version = cboVersion_->ItemIndex();
  if (version < 0) return;
  txtMakeOptions_->SetEnabled(version == 0);
  lblAllConfigs_->SetVisible(version == 0);
}

void TCBuilder2006ProjectFrame::ReadActionData(TCustomMxAction& any) {
  TCBuilder2006Action& action = ActionAs<TCBuilder2006Action>(any);
  action_ = &action;
  bindings_.Read(action);
  lblAllConfigs_->SetVisible(action.GetCBuilderVersion() == cb2006::TCBuilderVersion::cb2006);
  ShowIconFile(*IconDisplay_, txtIconFile_->Text(), action_, false);
}

void TCBuilder2006ProjectFrame::WriteActionData(TCustomMxAction& any) {
  bindings_.Write(ActionAs<TCBuilder2006Action>(any));
}

void TCBuilder2006ProjectFrame::LoadSettingsFromBDSPRoj(const std::string& projectFile,
                                                        const platform::TXmlDocument& document) {
  TComboBox& configs = *cboConfigs_;
  const int version = cboVersion_->ItemIndex();
  const std::string typed = configs.Text();
  TStringList configurations;
  for (const auto& name : BuildConfigurations(document, version))
    configurations.Add(name);
  configs.SetItems(configurations);
  if (!typed.empty()) {
    configs.SetText(typed);
  } else if (configurations.Count() > 0) {
    configs.SetItemIndex(0);
  }
  ForEachPage<IMxCBuilder2006Frame>(*this, [&](IMxCBuilder2006Frame& page) {
    page.ReloadFromBDSPRoj(projectFile, document, version);
  });
}

bool TCBuilder2006ProjectFrame::ReloadFromProject() {
  try {
    const auto expanded = ConfirmReload("Project", txtProject_->Text(), HelpContext());
    if (!expanded) return false;
    const std::string project = action_ ? action_->AbsolutePath(*expanded) : *expanded;
    const auto document = OpenBDSProj(project);
    LoadSettingsFromBDSPRoj(project, *document);
    return true;
  } catch (const EMxCBuilderInvalidProjectFileException& e) {
    MxDesignServices().ShowMessage(e.what());
    return false;
  }
}

TCBuilder2006ProjectFrame::TPick TCBuilder2006ProjectFrame::PickProject(bool* reloaded) {
  TEdit& project = *txtProject_;
  const std::string expanded = ExpandedOrEmpty(project.Text());
  OpenDialog1.FilterIndex = cboVersion_->ItemIndex() + 1;
  OpenDialog1.FileName = expanded;
  if (!MxDesignServices().Execute(OpenDialog1)) return TPick::pkCancelled;
  // The same file, however it is named (a dialog names it absolutely, a build script may name
  // it relative to its folder).
  if (!expanded.empty() && PagePath(OpenDialog1.FileName, action_) == PagePath(expanded, action_)) {
    const bool read = !project.Text().empty() && ReloadFromProject();
    if (reloaded) *reloaded = read;
    project.SetText(OpenDialog1.FileName);
    return TPick::pkSameProject;
  }
  project.SetText(OpenDialog1.FileName);
  FindProjectIcon();
  return TPick::pkNewProject;
}

bool TCBuilder2006ProjectFrame::TakeProject() {
  bool reloaded = false;
  switch (PickProject(&reloaded)) {
    case TPick::pkCancelled:
      return false;
    case TPick::pkSameProject:
      return reloaded;
    case TPick::pkNewProject:
      break;
  }
  return ReloadFromProject();
}

void TCBuilder2006ProjectFrame::FindProjectIcon() {
  try {
    const TProjectIcon icon = TakeProjectIcon(PagePath(txtProject_->Text(), action_));
    resourceFile_ = icon.ResourceFile;
    if (resourceFile_.empty()) return;
    if (!icon.IconFile) {
      txtIconFile_->SetText("");
      IconDisplay_->Clear();
      return;
    }
    txtIconFile_->SetText(IconFileText(txtProject_->Text(), *icon.IconFile));
    ShowIconFile(*IconDisplay_, *icon.IconFile, action_, true);
  } catch (const Exception&) {
    // Taking the icon out of the project's resources is a convenience; a failure is not an error.
  }
}

void TCBuilder2006ProjectFrame::PickIcon() {
  TEdit& iconFile = *txtIconFile_;
  OpenIconDialog.FileName = ExpandedOrEmpty(iconFile.Text());
  if (MxDesignServices().Execute(OpenIconDialog)) iconFile.SetText(OpenIconDialog.FileName);
  ShowIconFile(*IconDisplay_, iconFile.Text(), action_, true);
}

}  // namespace mx::bcc
