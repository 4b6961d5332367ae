#include "CBuilder2006ProjectFrame.h"

#include "moxtal/api/Services.h"
#include "package/action2006/CBuilder2006Action.h"
#include "package/pages/CBResourceCompilerFrame.h"
#include "package/pages/CBuilder2006VersionInfoFrame.h"
#include "package/pages/ProjectIcon.h"
#include "package/projparser/MxCBuilderUtils.h"

namespace mx::bcc {

using platform::TStringList;

namespace {

TCBuilder2006Action& Action2006(TCustomMxAction& action) {
  auto* a = dynamic_cast<TCBuilder2006Action*>(&action);
  if (!a) throw platform::EInvalidCast();
  return *a;
}

}  // namespace

TCBuilder2006ProjectFrame::TCBuilder2006ProjectFrame(IMxComponent* owner)
    : TMxCBuilderFrame(owner, "CBuilder2006ProjectFrame", 0) {
  TPanel& form = Add<TPanel>("pnlProject", TLayout::loForm);
  form.Add<TLabel>("lblProject", "Project File :");
  txtProject = &form.Add<TEdit>("txtProject");
  txtProject->SetHint("Project File");
  txtProject->FolderButton() = {true, "Select Project File", TEditGlyph::egFolder};
  txtProject->CustomButton() = {true, "Reload settings From Project File", TEditGlyph::egReload};
  cboVersion = &AddLabeled<TComboBox>(form, "lblVersion", "C++ Builder Version :", "cboVersion",
                                      TComboBoxStyle::csDropDownList);
  cboVersion->SetItems(TStringList("C++ Builder 2006\r\nC++ Builder 2007\r\n"));
  cboVersion->SetItemIndex(0);
  TLabel& configsLabel = form.Add<TLabel>("lblConfigs", "Config :");
  TPanel& configs = form.Add<TPanel>("pnlConfigs");
  cboConfigs = &configs.Add<TComboBox>("cboConfigs", TComboBoxStyle::csDropDown);
  configsLabel.SetFocusControl(cboConfigs);
  lblAllConfigs = &configs.Add<TLabel>("lblAllConfigs",
                                       "Note : To build all configs, leave Config field blank.");
  cboBuildType = &AddLabeled<TComboBox>(form, "lblBuildType", "Build Type :", "cboBuildType",
                                        TComboBoxStyle::csDropDownList);
  cboBuildType->SetItems(TStringList("Build\r\nMake\r\n"));
  cboBuildType->SetItemIndex(0);
  txtMakeOptions = &AddLabeled<TEdit>(form, "lblMakeOptions", "Make options :", "txtMakeOptions");
  form.Add<TLabel>("lblIconFile", "Icon File :");
  TPanel& icon = form.Add<TPanel>("pnlIcon", TLayout::loRow);
  txtIconFile = &icon.Add<TEdit>("txtIconFile");
  txtIconFile->SetHint("Icon File");
  txtIconFile->FolderButton() = {true, "Select Icon File", TEditGlyph::egFolder};
  TPanel& well = icon.Add<TPanel>("pnlIconDisplay");
  well.SetSunken(true);
  IconDisplay = &well.Add<TImage>("IconDisplay", 32, 32);
  chkRegenResource = &Add<TCheckBox>("chkRegenResource", "Regenerate Resource File");

  OpenDialog1.Title = "Select Project or Package File";
  OpenDialog1.Filter =
      "CBuilder Project Files(*.bdsproj)|*.bdsproj|CBuilder 2007 Project Files (*.cbproj)|*.cbproj";
  OpenIconDialog.Title = "Select Icon File";
  OpenIconDialog.DefaultExt = ".ico";
  OpenIconDialog.Filter = "Icon Files (*.ico)|*.ico";

  txtProject->OnButtonClick = [this] { PickProject(); };
  txtProject->OnCustomButtonClick = [this] { ReloadFromProject(); };
  txtIconFile->OnButtonClick = [this] { PickIcon(); };
  cboVersion->OnChange = [this] { VersionChosen(); };
  bindings_.Text(*txtProject, "ProjectFile")
      .Choice(*cboVersion, "CBuilderVersion")
      .ComboText(*cboConfigs, "Config")
      .Choice(*cboBuildType, "BuildType")
      .Text(*txtMakeOptions, "MakeOptions")
      .Check(*chkRegenResource, "RegenerateResource")
      .Text(*txtIconFile, "IconFile");
}

void TCBuilder2006ProjectFrame::VersionChosen() {
  const bool is2006 = cboVersion->ItemIndex() == 0;
  if (cboVersion->ItemIndex() < 0) return;
  txtMakeOptions->SetEnabled(is2006);
  lblAllConfigs->SetVisible(is2006);
}

void TCBuilder2006ProjectFrame::ReadActionData(TCustomMxAction& any) {
  TCBuilder2006Action& action = Action2006(any);
  action_ = &action;
  bindings_.Read(action);
  lblAllConfigs->SetVisible(action.GetCBuilderVersion() == cb2006::TCBuilderVersion::cb2006);
  ShowIconFile(*IconDisplay, txtIconFile->Text(), action_, false);
}

void TCBuilder2006ProjectFrame::WriteActionData(TCustomMxAction& any) {
  bindings_.Write(Action2006(any));
}

void TCBuilder2006ProjectFrame::LoadSettingsFromBDSPRoj(const std::string& projectFile,
                                                        const platform::TXmlDocument& document) {
  const std::string typed = cboConfigs->Text();
  TStringList configurations;
  for (const auto& name : BuildConfigurations(document, cboVersion->ItemIndex()))
    configurations.Add(name);
  cboConfigs->SetItems(configurations);
  if (!typed.empty()) {
    cboConfigs->SetText(typed);
  } else if (configurations.Count() > 0) {
    cboConfigs->SetItemIndex(0);
  }
  const int version = cboVersion->ItemIndex();
  ForEachPage<IMxCBuilder2006Frame>(*this, [&](IMxCBuilder2006Frame& page) {
    page.ReloadFromBDSPRoj(projectFile, document, version);
  });
}

bool TCBuilder2006ProjectFrame::ReloadFromProject() {
  try {
    const auto expanded = ConfirmReload("Project", txtProject->Text(), HelpContext());
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

void TCBuilder2006ProjectFrame::PickProject() {
  const std::string expanded = ExpandedOrEmpty(txtProject->Text());
  OpenDialog1.FilterIndex = cboVersion->ItemIndex() + 1;
  OpenDialog1.FileName = expanded;
  if (!MxDesignServices().Execute(OpenDialog1)) return;
  const std::string same = action_ ? action_->AbsolutePath(expanded) : expanded;
  if (OpenDialog1.FileName == same) {
    if (!txtProject->Text().empty()) ReloadFromProject();
    txtProject->SetText(OpenDialog1.FileName);
    return;
  }
  txtProject->SetText(OpenDialog1.FileName);
  FindProjectIcon();
}

void TCBuilder2006ProjectFrame::FindProjectIcon() {
  try {
    const TProjectIcon icon = TakeProjectIcon(PagePath(txtProject->Text(), action_));
    resourceFile_ = icon.ResourceFile;
    if (resourceFile_.empty()) return;
    if (!icon.IconFile) {
      txtIconFile->SetText("");
      IconDisplay->Clear();
      return;
    }
    txtIconFile->SetText(*icon.IconFile);
    ShowIconFile(*IconDisplay, *icon.IconFile, action_, true);
  } catch (const Exception&) {
    // Taking the icon out of the project's resources is a convenience; a failure is not an error.
  }
}

void TCBuilder2006ProjectFrame::PickIcon() {
  OpenIconDialog.FileName = ExpandedOrEmpty(txtIconFile->Text());
  if (MxDesignServices().Execute(OpenIconDialog)) txtIconFile->SetText(OpenIconDialog.FileName);
  ShowIconFile(*IconDisplay, txtIconFile->Text(), action_, true);
}

}  // namespace mx::bcc
