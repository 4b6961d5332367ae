#pragma once
// The "Compiler" page: optimisation, warnings, debugging, pre-compiled headers and compiling
// switches of the C++ compiler, with the selected optimisations and warnings edited in the
// check-list dialog, and the Full debug and Release presets for every page.

#include "package/pages/ControlTable.h"
#include "package/pages/MxBCBOptionFrame.h"

namespace mx::bcc {

class TMxBCBCompilerFrame : public TMxBCBOptionFrame<ICBuilderCompilerOptions>,
                            public ICBuilderSpeedSetting,
                            public IMxPageHint {
 public:
  /// Reads the warning and optimisation catalogues beside the host; when one cannot be read, a
  /// message box names it and the error goes on to the caller.
  explicit TMxBCBCompilerFrame(IMxComponent* owner);

  std::string PageName() override { return "Compiler"; }
  void SpeedSetting(TBCBSpeedSetting setting) override;
  void OnShowHint(std::string& hint) override;

  TCBuilderVersion Version() const { return version_; }
  const platform::TStringList& SelectedWarnings() const { return selectedWarnings_; }
  const platform::TStringList& SelectedOptimisations() const { return selectedOptimisations_; }

 protected:
  void Fill(ICBuilderCompilerOptions& record) override;
  void Store(ICBuilderCompilerOptions& record) override;
  void TakeAction(const TMxCBuilderAction& action) override;
  bool TakeParser(const ICBuilderProjectParser& parser) override;

 private:
  /// The lists' buttons are there only for selected optimisations and warnings.
  void UpdateButtons();

  TCBuilderVersion version_ = TCBuilderVersion::cvBCB6;
  platform::TStringList allWarnings_;
  platform::TStringList selectedWarnings_;
  platform::TStringList selectedOptimisations_;
  platform::TStringList allOptimisations_;
  // The controls its code works with, found in its table once, when the page is made.
  TBound<TButton> bOptSelected_;
  TBound<TButton> bWarnSelected_;
  TBound<TButton> pbFullDebug_;
  TBound<TButton> pbRelease_;
  TBound<TRadioButton> rbNoOptim_;
  TBound<TRadioButton> rbOptNormal_;
  TBound<TRadioButton> rbOptSelected_;
  TBound<TRadioButton> rbWarnAll_;
  TBound<TRadioButton> rbWarnNone_;
  TBound<TRadioButton> rbWarnSelected_;
};

}  // namespace mx::bcc
