#pragma once
// The "Version Info" page both actions share: whether version information is included, the
// four numbers, the module attributes, language and code page, the version keys, and taking it
// all from a property set instead. The two actions' pages differ in two names and captions,
// in how a reload reaches them, and in whether reading the action empties the key grid first.

#include <string>
#include <vector>

#include "moxtal/api/Languages.h"
#include "package/actionbase/VersionInfoAction.h"
#include "package/pages/ControlTable.h"
#include "package/pages/MxCBuilderFrame.h"
#include "package/pages/MxCBuilderPageKit.h"

namespace mx::bcc {

class TVersionInfoFrame : public TMxCBuilderFrame {
 public:
  /// What differs between the two actions' pages.
  struct TVariant {
    const char* FrameName;
    int HelpContext;
    const char* AutoUpdateName;
    const char* AutoUpdateCaption;
    const char* LinkProductName;
    bool LinkProductChecked;  // the layout state
    bool EmptyGridOnRead;
  };

  void InitPage(TCustomMxAction& action) override;
  void ReadActionData(TCustomMxAction& action) override;
  void WriteActionData(TCustomMxAction& action) override;
  std::string PageName() override { return "Version Info"; }

  /// The enabling rules of the page.
  void UpdateControls();
  /// Writes major.minor.release.build into the first "FileVersion" row.
  void VersionNumberChanged();
  /// Shows the selected locale's identifier as "$0C09".
  void LocaleChanged();

  /// The language of each entry of cbLocale, in the list's order.
  const std::vector<TLanguage>& LocaleEntries() const { return locales_; }

  /// The boxes each action's page names its own way ("chkAutoUpdateFileVersion" or
  /// "cbAutoUpdateFileVersion", "chkLinkProductVersion" or "cbLinkProductVersion").
  TCheckBox& AutoUpdateFileVersion() const;
  TCheckBox& LinkProductVersion() const;
  /// The version keys' grid ("VersionKeyGrid").
  TStringGrid& KeyGrid() const;

 protected:
  TVersionInfoFrame(IMxComponent* owner, const TVariant& variant);

  /// Empties the key grid: 20 rows, the first the heading "Key", "Value".
  void ResetGrid();
  /// Fills the grid's rows after the heading with name=value lines, growing it when needed.
  void FillGrid(const platform::TStringList& lines);
  /// Selects the locale entry with this identifier (none when there is none) and shows it.
  void SelectLocale(std::int32_t lcid);

 private:
  TPropertyBindings bindings_;
  TVariant variant_;
  TVersionInfoAction* action_ = nullptr;
  std::vector<TLanguage> locales_;

 protected:
  // The controls its code works with, found in its table once, when the page is made.
  TBound<TStringGrid> VersionKeyGrid_;
  TBound<TCheckBox> cbDLL_;
  TBound<TCheckBox> cbDebugBuild_;
  TBound<TCheckBox> cbIncBuildNum_;
  TBound<TCheckBox> cbIncludeVerInfo_;
  TBound<TComboBox> cbLocale_;
  TBound<TCheckBox> cbPreRelease_;
  TBound<TCheckBox> cbPrivateBuild_;
  TBound<TComboBox> cbPropSets_;
  TBound<TCheckBox> cbSpecialBuild_;
  TBound<TCheckBox> chkUsePropSet_;
  TBound<TLabel> lblLocaleID_;
  TBound<TGroupBox> pnlModuleAttribs_;
  TBound<TPanel> pnlVersionInfo_;
  TBound<TGroupBox> pnlVersionNums_;
  TBound<TSpinEdit> spBuildNo_;
  TBound<TSpinEdit> spMajorVer_;
  TBound<TSpinEdit> spMinorVer_;
  TBound<TSpinEdit> spReleaseVer_;
  TBound<TEdit> txtCodePage_;
};

/// The C++Builder 5/6 action's page; a reload reads the project's version text.
class TCBuilderVersionInfoFrame : public TVersionInfoFrame, public ICBuilderPropertyFrame {
 public:
  explicit TCBuilderVersionInfoFrame(IMxComponent* owner);
  /// Reads the parser's version text.
  void LoadSettings(const std::shared_ptr<ICBuilderProjectParser>& parser) override;
  /// Fills the page from a project's version text (INI text: "[Version Info]" and
  /// "[Version Info Keys]"); the date, property-set, link and auto-update boxes stay.
  void LoadVersionText(const std::string& text);
};

}  // namespace mx::bcc
