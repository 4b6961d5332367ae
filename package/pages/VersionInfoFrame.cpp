#include "VersionInfoFrame.h"

#include <algorithm>
#include <cstdio>

#include "moxtal/api/DesignServices.h"
#include "package/projparser/MxCBuilderUtils.h"
#include "package/projparser/ProjectVersionInfo.h"
#include "platform/Conversions.h"
#include "platform/MemIniFile.h"
#include "platform/StrUtils.h"

namespace mx::bcc {

using platform::TStringList;

namespace {

constexpr int kGridRows = 20;
constexpr std::int32_t kDefaultLocale = 3081;
constexpr std::int32_t kDefaultCodePage = 1252;

}  // namespace

TVersionInfoFrame::TVersionInfoFrame(IMxComponent* owner, const TVariant& variant)
    : TMxCBuilderFrame(owner, variant.FrameName, variant.HelpContext), variant_(variant) {
  cbIncludeVerInfo = &Add<TCheckBox>("cbIncludeVerInfo", "Include &version information in project");
  pnlVersionInfo = &Add<TPanel>("pnlVersionInfo");
  pnlVersionInfo->SetEnabled(false);

  TPanel& top = pnlVersionInfo->Add<TPanel>("pnlTop", TLayout::loGrid);
  top.SetLayout(TLayout::loGrid, 2);
  pnlVersionNums = &top.Add<TGroupBox>("pnlVersionNums", "Module version number", TLayout::loForm);
  const auto spin = [this](const char* label, const char* caption, const char* name) {
    return &AddLabeled<TSpinEdit>(*pnlVersionNums, label, caption, name, 0, 65535);
  };
  spMajorVer = spin("lblMajorVer", "&Major version", "spMajorVer");
  spMinorVer = spin("lblMinorVer", "Mi&nor version", "spMinorVer");
  spReleaseVer = spin("lblReleaseVer", "&Release", "spReleaseVer");
  spBuildNo = spin("lblBuildNo", "&Build", "spBuildNo");
  cbIncBuildNum = &pnlVersionNums->Add<TCheckBox>("cbIncBuildNum", "&Auto-increment build number");
  AutoUpdateFileVersion =
      &pnlVersionNums->Add<TCheckBox>(variant.AutoUpdateName, variant.AutoUpdateCaption);

  pnlModuleAttribs = &top.Add<TGroupBox>("pnlModuleAttribs", "Module Attributes");
  cbDebugBuild = &pnlModuleAttribs->Add<TCheckBox>("cbDebugBuild", "&Debug build");
  cbPreRelease = &pnlModuleAttribs->Add<TCheckBox>("cbPreRelease", "Pre-r&elease ");
  cbDLL = &pnlModuleAttribs->Add<TCheckBox>("cbDLL", "D&LL");
  cbPrivateBuild = &pnlModuleAttribs->Add<TCheckBox>("cbPrivateBuild", "&Private build");
  cbSpecialBuild = &pnlModuleAttribs->Add<TCheckBox>("cbSpecialBuild", "&Special build");

  LinkProductVersion = &pnlVersionInfo->Add<TCheckBox>(variant.LinkProductName,
                                                       "Link ProductVersion to FileVersion");
  LinkProductVersion->SetChecked(variant.LinkProductChecked);

  TPanel& language = pnlVersionInfo->Add<TPanel>("pnlLanguage", TLayout::loRow);
  cbLocale = &AddLabeled<TComboBox>(language, "lblLocale", "Locale &ID:", "cbLocale",
                                    TComboBoxStyle::csDropDownList);
  lblLocaleID = &language.Add<TLabel>("lblLocaleID", "");
  txtCodePage = &AddLabeled<TEdit>(language, "lblCodePage", "Code Page :", "txtCodePage");
  txtCodePage->SetText("1252");

  VersionKeyGrid = &pnlVersionInfo->Add<TStringGrid>("VersionKeyGrid", 2, kGridRows, 1);
  ResetGrid();

  chkIncludeDate =
      &pnlVersionInfo->Add<TCheckBox>("chkIncludeDate", "Include Compile Date in Version Info");
  TPanel& sets = pnlVersionInfo->Add<TPanel>("pnlPropertySet", TLayout::loRow);
  chkUsePropSet = &sets.Add<TCheckBox>("chkUsePropSet", "Use Property Set for Version Info");
  cbPropSets = &sets.Add<TComboBox>("cbPropSets", TComboBoxStyle::csDropDownList);

  for (TCheckBox* box : {cbIncludeVerInfo, chkUsePropSet})
    box->OnClick = [this] { UpdateControls(); };
  cbPropSets->OnChange = [this] { UpdateControls(); };
  for (TSpinEdit* s : {spMajorVer, spMinorVer, spReleaseVer, spBuildNo})
    s->OnChange = [this] { VersionNumberChanged(); };
  cbLocale->OnChange = [this] { LocaleChanged(); };
  bindings_.Check(*cbIncludeVerInfo, "IncludeVerInfo")
      .Spin(*spMajorVer, "MajorVersion")
      .Spin(*spMinorVer, "MinorVersion")
      .Spin(*spReleaseVer, "ReleaseVersion")
      .Spin(*spBuildNo, "BuildVersion")
      .Check(*cbIncBuildNum, "AutoIncBuild")
      .Check(*AutoUpdateFileVersion, "AutoUpdateFileVersion")
      .Check(*cbDebugBuild, "IsDebug")
      .Check(*cbPreRelease, "IsPreRelease")
      .Check(*cbDLL, "IsDLL")
      .Check(*cbPrivateBuild, "IsPrivate")
      .Check(*cbSpecialBuild, "IsSpecial")
      .Check(*LinkProductVersion, "LinkProductVersionToFileVersion")
      .Check(*chkIncludeDate, "IncludeCompileDate")
      .Check(*chkUsePropSet, "UsePropertySet");
}

void TVersionInfoFrame::InitPage(TCustomMxAction& action) {
  action_ = dynamic_cast<TVersionInfoAction*>(&action);
  if (!action_) throw platform::EInvalidCast();
  TStringList names;
  for (const auto& name :
       MxPropertySetDesignServices().PropertySetNames(GetWin32PropertySetsStrs()))
    names.Add(name);
  cbPropSets->SetItems(names);
}

void TVersionInfoFrame::ResetGrid() {
  VersionKeyGrid->SetRowCount(0);
  VersionKeyGrid->SetRowCount(kGridRows);
  VersionKeyGrid->SetCell(0, 0, "Key");
  VersionKeyGrid->SetCell(1, 0, "Value");
}

void TVersionInfoFrame::FillGrid(const TStringList& lines) {
  VersionKeyGrid->SetCell(0, 0, "Key");
  VersionKeyGrid->SetCell(1, 0, "Value");
  // Every key keeps a row: the grid grows past its 19 rows when there are more.
  if (lines.Count() + 1 > VersionKeyGrid->RowCount())
    VersionKeyGrid->SetRowCount(lines.Count() + 1);
  for (int i = 0; i < lines.Count(); ++i) {
    VersionKeyGrid->SetCell(0, i + 1, lines.Names(i));
    VersionKeyGrid->SetCell(1, i + 1, lines.ValueFromIndex(i));
  }
}

void TVersionInfoFrame::SelectLocale(std::int32_t lcid) {
  int index = -1;
  for (std::size_t i = 0; i < locales_.size(); ++i) {
    if (locales_[i].Lcid == lcid) {
      index = static_cast<int>(i);
      break;
    }
  }
  cbLocale->SetItemIndex(index);
  LocaleChanged();
}

void TVersionInfoFrame::ReadActionData(TCustomMxAction& any) {
  auto* action = dynamic_cast<TVersionInfoAction*>(&any);
  if (!action) throw platform::EInvalidCast();
  bindings_.Read(*action);

  if (variant_.EmptyGridOnRead) ResetGrid();
  FillGrid(TStringList(action->GetVersionInfoKeys()));

  // The languages, sorted by name, each entry carrying its identifier.
  locales_ = MxLanguages();
  std::stable_sort(locales_.begin(), locales_.end(), [](const TLanguage& a, const TLanguage& b) {
    return platform::CompareText(a.Name, b.Name) < 0;
  });
  TStringList names;
  for (const auto& language : locales_)
    names.Add(language.Name);
  cbLocale->SetItems(names);
  SelectLocale(action->GetLocale());

  txtCodePage->SetText(std::to_string(action->GetCodePage()));
  cbPropSets->SetItemIndex(cbPropSets->Items().IndexOf(action->GetVersionInfoPropertySetName()));
  UpdateControls();
}

void TVersionInfoFrame::WriteActionData(TCustomMxAction& any) {
  auto* action = dynamic_cast<TVersionInfoAction*>(&any);
  if (!action) throw platform::EInvalidCast();
  bindings_.Write(*action);

  std::string keys;
  for (int row = 1; row < VersionKeyGrid->RowCount(); ++row) {
    if (VersionKeyGrid->Cell(0, row).empty()) continue;
    keys += VersionKeyGrid->Cell(0, row) + "=" + VersionKeyGrid->Cell(1, row) + "\r\n";
  }
  action->SetVersionInfoKeys(keys);

  const int locale = cbLocale->ItemIndex();
  action->SetLocale(locale >= 0 && locale < static_cast<int>(locales_.size())
                        ? locales_[static_cast<std::size_t>(locale)].Lcid
                        : kDefaultLocale);
  action->SetCodePage(platform::TryStrToInt(txtCodePage->Text()).value_or(kDefaultCodePage));
  action->SetVersionInfoPropertySetName(cbPropSets->Text());
}

void TVersionInfoFrame::UpdateControls() {
  pnlVersionInfo->SetEnabled(cbIncludeVerInfo->Checked());
  cbIncBuildNum->SetEnabled(false);
  VersionKeyGrid->SetEnabled(true);
  VersionKeyGrid->SetColor(TColor::clWindow);
  pnlModuleAttribs->SetEnabled(!chkUsePropSet->Checked());
  if (chkUsePropSet->Checked()) {
    const auto set = action_ ? action_->GetPropertySetAPI(cbPropSets->Text()) : nullptr;
    if (set) {
      pnlVersionNums->SetEnabled(false);
      cbIncBuildNum->SetChecked(false);
      cbIncBuildNum->SetEnabled(false);
      // The keys come from the property set: the grid shows them greyed like a button face.
      if (set->TypeName() == GetWin32PropertySetsStrs()) {
        VersionKeyGrid->SetEnabled(false);
        VersionKeyGrid->SetColor(TColor::clBtnFace);
      }
    }
  } else {
    pnlVersionNums->SetEnabled(true);
    cbIncBuildNum->SetEnabled(true);
  }
}

void TVersionInfoFrame::VersionNumberChanged() {
  const auto rounded = [](const TSpinEdit* s) {
    return std::to_string(platform::Round(s->Value()));
  };
  const std::string version = rounded(spMajorVer) + "." + rounded(spMinorVer) + "." +
                              rounded(spReleaseVer) + "." + rounded(spBuildNo);
  for (int row = 1; row < VersionKeyGrid->RowCount(); ++row) {
    if (VersionKeyGrid->Cell(0, row) == "FileVersion") {
      VersionKeyGrid->SetCell(1, row, version);
      return;
    }
  }
}

void TVersionInfoFrame::LocaleChanged() {
  const int index = cbLocale->ItemIndex();
  if (index < 0 || index >= static_cast<int>(locales_.size())) return;
  char text[16];
  std::snprintf(text, sizeof text, "$%04X",
                static_cast<unsigned>(locales_[static_cast<std::size_t>(index)].Lcid));
  lblLocaleID->SetCaption(text);
}

// ---- C++Builder 5/6

TCBuilderVersionInfoFrame::TCBuilderVersionInfoFrame(IMxComponent* owner)
    : TVersionInfoFrame(owner, {"CBuilderVersionInfoFrame", 650, "chkAutoUpdateFileVersion",
                                "Auto update FileVersion", "chkLinkProductVersion", false, false}) {
}

void TCBuilderVersionInfoFrame::LoadSettings(
    const std::shared_ptr<ICBuilderProjectParser>& parser) {
  LoadVersionText(parser->GetVersionInfo());
}

void TCBuilderVersionInfoFrame::LoadVersionText(const std::string& text) {
  const TProjectVersionInfo v = ReadProjectVersionInfo(text);
  cbIncludeVerInfo->SetChecked(v.IncludeVerInfo);
  spMajorVer->SetValue(v.MajorVer);
  spMinorVer->SetValue(v.MinorVer);
  spReleaseVer->SetValue(v.Release);
  spBuildNo->SetValue(v.Build);
  cbIncBuildNum->SetChecked(v.AutoIncBuild);
  cbDebugBuild->SetChecked(v.Debug);
  cbPreRelease->SetChecked(v.PreRelease);
  cbSpecialBuild->SetChecked(v.Special);
  cbPrivateBuild->SetChecked(v.Private);
  cbDLL->SetChecked(v.DLL);
  SelectLocale(v.Locale);
  txtCodePage->SetText(v.CodePage);

  ResetGrid();
  TStringList lines;
  for (const auto& [name, value] : v.Keys)
    lines.Add(name + "=" + value);
  FillGrid(lines);
}

}  // namespace mx::bcc
