#pragma once
// The "Linker" page: linking, the map file, warnings and the PE file options, hidden for static
// library projects.

#include "package/pages/ControlTable.h"
#include "package/pages/MxBCBOptionFrame.h"

namespace mx::bcc {

class TMxBCBLinkerFrame : public TMxBCBOptionFrame<ICBuilderLinkerOptions>,
                          public ICBuilderSpeedSetting {
 public:
  /// Reads the linker warnings catalogue beside the host; its error goes on to the caller.
  explicit TMxBCBLinkerFrame(IMxComponent* owner);
  std::string PageName() override { return "Linker"; }
  void SpeedSetting(TBCBSpeedSetting setting) override;
  const platform::TStringList& SelectedWarnings() const { return selectedWarnings_; }
  TCBuilderVersion Version() const { return version_; }

 protected:
  void Fill(ICBuilderLinkerOptions& record) override;
  void Store(ICBuilderLinkerOptions& record) override;
  void TakeAction(const TMxCBuilderAction& action) override;
  bool TakeParser(const ICBuilderProjectParser& parser) override;

 private:
  /// The warnings' list is there only for selected warnings.
  void UpdateWarningsButton();

  TCBuilderVersion version_ = TCBuilderVersion::cvBCB6;
  platform::TStringList allWarnings_;
  platform::TStringList selectedWarnings_;
  // The controls its code works with, found in its table once, when the page is made.
  TBound<TButton> bWarnings_;
  TBound<TCheckBox> cbDebugInfo_;
  TBound<TCheckBox> cbGenLib_;
  TBound<TCheckBox> cbImpLib_;
  TBound<TRadioButton> rbWarnAll_;
  TBound<TRadioButton> rbWarnSelected_;
};

}  // namespace mx::bcc
