#include "VersionInfoFrame.h"

#include <algorithm>
#include <cstdio>

#include "moxtal/api/DesignServices.h"
#include "package/pages/ControlTable.h"
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

// The spin edits of the version number, major to build.
constexpr const char* kVersionSpins[] = {"spMajorVer", "spMinorVer", "spReleaseVer", "spBuildNo"};

// The page's controls; the auto-update and link boxes are named as each action's page names them.
std::vector<TControlRow> PageControls(const TVersionInfoFrame::TVariant& variant) {
  using namespace rows;
  TControlRow link = Check(variant.LinkProductName, "Link ProductVersion to FileVersion",
                           "pnlVersionInfo", "LinkProductVersionToFileVersion");
  if (variant.LinkProductChecked) link = link.Checked();
  return {
      Check("cbIncludeVerInfo", "Include &version information in project", "", "IncludeVerInfo"),
      Panel("pnlVersionInfo").Unavailable(),
      Grid("pnlTop", 2, "pnlVersionInfo"),
      FormGroup("pnlVersionNums", "Module version number", "pnlTop"),
      Spin("spMajorVer", "lblMajorVer", "&Major version", "pnlVersionNums", "MajorVersion")
          .Range(0, 65535),
      Spin("spMinorVer", "lblMinorVer", "Mi&nor version", "pnlVersionNums", "MinorVersion")
          .Range(0, 65535),
      Spin("spReleaseVer", "lblReleaseVer", "&Release", "pnlVersionNums", "ReleaseVersion")
          .Range(0, 65535),
      Spin("spBuildNo", "lblBuildNo", "&Build", "pnlVersionNums", "BuildVersion").Range(0, 65535),
      Check("cbIncBuildNum", "&Auto-increment build number", "pnlVersionNums", "AutoIncBuild"),
      Check(variant.AutoUpdateName, variant.AutoUpdateCaption, "pnlVersionNums",
            "AutoUpdateFileVersion"),
      Group("pnlModuleAttribs", "Module Attributes", "pnlTop"),
      Check("cbDebugBuild", "&Debug build", "pnlModuleAttribs", "IsDebug"),
      Check("cbPreRelease", "Pre-r&elease ", "pnlModuleAttribs", "IsPreRelease"),
      Check("cbDLL", "D&LL", "pnlModuleAttribs", "IsDLL"),
      Check("cbPrivateBuild", "&Private build", "pnlModuleAttribs", "IsPrivate"),
      Check("cbSpecialBuild", "&Special build", "pnlModuleAttribs", "IsSpecial"),
      link,
      RowPanel("pnlLanguage", "pnlVersionInfo"),
      Combo("cbLocale", "lblLocale", "Locale &ID:", "pnlLanguage", ""),
      Label("lblLocaleID", "", "pnlLanguage"),
      Edit("txtCodePage", "lblCodePage", "Code Page :", "pnlLanguage").Initially("1252"),
      StringGrid("VersionKeyGrid", 2, kGridRows, 1, "pnlVersionInfo"),
      Check("chkIncludeDate", "Include Compile Date in Version Info", "pnlVersionInfo",
            "IncludeCompileDate"),
      RowPanel("pnlPropertySet", "pnlVersionInfo"),
      Check("chkUsePropSet", "Use Property Set for Version Info", "pnlPropertySet",
            "UsePropertySet"),
      Combo("cbPropSets", "", "", "pnlPropertySet", ""),
  };
}

}  // namespace

TVersionInfoFrame::TVersionInfoFrame(IMxComponent* owner, const TVariant& variant)
    : TMxCBuilderFrame(owner, variant.FrameName, variant.HelpContext), variant_(variant) {
  AddControls(*this, PageControls(variant), bindings_);
  VersionKeyGrid_.Bind(*this, "VersionKeyGrid");
  cbDLL_.Bind(*this, "cbDLL");
  cbDebugBuild_.Bind(*this, "cbDebugBuild");
  cbIncBuildNum_.Bind(*this, "cbIncBuildNum");
  cbIncludeVerInfo_.Bind(*this, "cbIncludeVerInfo");
  cbLocale_.Bind(*this, "cbLocale");
  cbPreRelease_.Bind(*this, "cbPreRelease");
  cbPrivateBuild_.Bind(*this, "cbPrivateBuild");
  cbPropSets_.Bind(*this, "cbPropSets");
  cbSpecialBuild_.Bind(*this, "cbSpecialBuild");
  chkUsePropSet_.Bind(*this, "chkUsePropSet");
  lblLocaleID_.Bind(*this, "lblLocaleID");
  pnlModuleAttribs_.Bind(*this, "pnlModuleAttribs");
  pnlVersionInfo_.Bind(*this, "pnlVersionInfo");
  pnlVersionNums_.Bind(*this, "pnlVersionNums");
  spBuildNo_.Bind(*this, "spBuildNo");
  spMajorVer_.Bind(*this, "spMajorVer");
  spMinorVer_.Bind(*this, "spMinorVer");
  spReleaseVer_.Bind(*this, "spReleaseVer");
  txtCodePage_.Bind(*this, "txtCodePage");
  ResetGrid();
  for (const char* box : {"cbIncludeVerInfo", "chkUsePropSet"})
    Get<TCheckBox>(box).OnClick = [this] { UpdateControls(); };
  cbPropSets_->OnChange = [this] { UpdateControls(); };
  for (const char* spin : kVersionSpins)
    Get<TSpinEdit>(spin).OnChange = [this] { VersionNumberChanged(); };
  cbLocale_->OnChange = [this] { LocaleChanged(); };
  // "$0C0A": the locale's number, whose room stays when there is none.
  lblLocaleID_->SetMinChars(5);
}

TStringGrid& TVersionInfoFrame::KeyGrid() const {
  return *VersionKeyGrid_;
}

TCheckBox& TVersionInfoFrame::AutoUpdateFileVersion() const {
  return Get<TCheckBox>(variant_.AutoUpdateName);
}

TCheckBox& TVersionInfoFrame::LinkProductVersion() const {
  return Get<TCheckBox>(variant_.LinkProductName);
}

void TVersionInfoFrame::InitPage(TCustomMxAction& action) {
  action_ = &ActionAs<TVersionInfoAction>(action);
  TStringList names;
  for (const auto& name :
       MxPropertySetDesignServices().PropertySetNames(GetWin32PropertySetsStrs()))
    names.Add(name);
  cbPropSets_->SetItems(names);
}

void TVersionInfoFrame::ResetGrid() {
  TStringGrid& grid = KeyGrid();
  grid.SetRowCount(0);
  grid.SetRowCount(kGridRows);
  grid.SetCell(0, 0, "Key");
  grid.SetCell(1, 0, "Value");
}

void TVersionInfoFrame::FillGrid(const TStringList& lines) {
  TStringGrid& grid = KeyGrid();
  grid.SetCell(0, 0, "Key");
  grid.SetCell(1, 0, "Value");
  // Every key keeps a row: the grid grows past its 19 rows when there are more.
  if (lines.Count() + 1 > grid.RowCount()) grid.SetRowCount(lines.Count() + 1);
  for (int i = 0; i < lines.Count(); ++i) {
    grid.SetCell(0, i + 1, lines.Names(i));
    grid.SetCell(1, i + 1, lines.ValueFromIndex(i));
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
  cbLocale_->SetItemIndex(index);
  LocaleChanged();
}

void TVersionInfoFrame::ReadActionData(TCustomMxAction& any) {
  TVersionInfoAction* action = &ActionAs<TVersionInfoAction>(any);
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
  cbLocale_->SetItems(names);
  SelectLocale(action->GetLocale());

  txtCodePage_->SetText(std::to_string(action->GetCodePage()));
  TComboBox& sets = *cbPropSets_;
  sets.SetItemIndex(sets.Items().IndexOf(action->GetVersionInfoPropertySetName()));
  UpdateControls();
}

void TVersionInfoFrame::WriteActionData(TCustomMxAction& any) {
  TVersionInfoAction* action = &ActionAs<TVersionInfoAction>(any);
  bindings_.Write(*action);

  std::string keys;
  const TStringGrid& grid = KeyGrid();
  for (int row = 1; row < grid.RowCount(); ++row) {
    if (grid.Cell(0, row).empty()) continue;
    keys += grid.Cell(0, row) + "=" + grid.Cell(1, row) + "\r\n";
  }
  action->SetVersionInfoKeys(keys);

  const int locale = cbLocale_->ItemIndex();
  action->SetLocale(locale >= 0 && locale < static_cast<int>(locales_.size())
                        ? locales_[static_cast<std::size_t>(locale)].Lcid
                        : kDefaultLocale);
  action->SetCodePage(platform::TryStrToInt(txtCodePage_->Text()).value_or(kDefaultCodePage));
  action->SetVersionInfoPropertySetName(cbPropSets_->Text());
}

void TVersionInfoFrame::UpdateControls() {
  TCheckBox& autoIncrement = *cbIncBuildNum_;
  TStringGrid& grid = KeyGrid();
  const bool fromSet = chkUsePropSet_->Checked();
  pnlVersionInfo_->SetEnabled(cbIncludeVerInfo_->Checked());
  autoIncrement.SetEnabled(false);
  grid.SetEnabled(true);
  grid.SetColor(TColor::clWindow);
  pnlModuleAttribs_->SetEnabled(!fromSet);
  if (fromSet) {
    const auto set = action_ ? action_->GetPropertySetAPI(cbPropSets_->Text()) : nullptr;
    if (set) {
      pnlVersionNums_->SetEnabled(false);
      autoIncrement.SetChecked(false);
      autoIncrement.SetEnabled(false);
      // The keys come from the property set: the grid shows them greyed like a button face.
      if (set->TypeName() == GetWin32PropertySetsStrs()) {
        grid.SetEnabled(false);
        grid.SetColor(TColor::clBtnFace);
      }
    }
  } else {
    pnlVersionNums_->SetEnabled(true);
    autoIncrement.SetEnabled(true);
  }
}

void TVersionInfoFrame::VersionNumberChanged() {
  std::string version;
  for (const char* spin : kVersionSpins) {
    if (!version.empty()) version += ".";
    version += std::to_string(platform::Round(Get<TSpinEdit>(spin).Value()));
  }
  TStringGrid& grid = KeyGrid();
  for (int row = 1; row < grid.RowCount(); ++row) {
    if (grid.Cell(0, row) == "FileVersion") {
      grid.SetCell(1, row, version);
      return;
    }
  }
}

void TVersionInfoFrame::LocaleChanged() {
  const int index = cbLocale_->ItemIndex();
  if (index < 0 || index >= static_cast<int>(locales_.size())) return;
  char text[16];
  std::snprintf(text, sizeof text, "$%04X",
                static_cast<unsigned>(locales_[static_cast<std::size_t>(index)].Lcid));
  lblLocaleID_->SetCaption(text);
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
  cbIncludeVerInfo_->SetChecked(v.IncludeVerInfo);
  spMajorVer_->SetValue(v.MajorVer);
  spMinorVer_->SetValue(v.MinorVer);
  spReleaseVer_->SetValue(v.Release);
  spBuildNo_->SetValue(v.Build);
  cbIncBuildNum_->SetChecked(v.AutoIncBuild);
  cbDebugBuild_->SetChecked(v.Debug);
  cbPreRelease_->SetChecked(v.PreRelease);
  cbSpecialBuild_->SetChecked(v.Special);
  cbPrivateBuild_->SetChecked(v.Private);
  cbDLL_->SetChecked(v.DLL);
  SelectLocale(v.Locale);
  txtCodePage_->SetText(v.CodePage);

  ResetGrid();
  TStringList lines;
  for (const auto& [name, value] : v.Keys)
    lines.Add(name + "=" + value);
  FillGrid(lines);
}

}  // namespace mx::bcc
