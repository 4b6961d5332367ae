#pragma once
// The "Compiler" page: optimisation, warnings, debugging, pre-compiled headers and compiling
// switches of the C++ compiler, with the selected optimisations and warnings edited in the
// check-list dialog, and the Full debug and Release presets for every page.

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
};

}  // namespace mx::bcc
