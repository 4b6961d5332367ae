#pragma once
// The "Linker" page: linking, the map file, warnings and the PE file options, hidden for static
// library projects.

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

  TCheckBox* cbDebugInfo;
  TCheckBox* cbUseDynamicRTL;
  TCheckBox* cbNoStateFiles;
  TCheckBox* cbImpLib;
  TCheckBox* cbGenLib;
  TCheckBox* cbLinkDebugVcl;
  TSpinEdit* spMaxErrors;
  std::vector<TRadioButton*> MapFile;  // rbMapFileOff, rbMapSegOnly, rbMapSegPubs, rbMapDetailed
  TCheckBox* cbMapMangle;
  TRadioButton* rbWarnAll;
  TRadioButton* rbWarnSelected;
  TButton* bWarnings;
  TMaskEdit* txtStackSize;
  TMaskEdit* txtMaxStackSize;
  TMaskEdit* txtMinHeapSize;
  TMaskEdit* txtMaxHeapSize;
  TMaskEdit* txtImageBase;
  TSpinEdit* spMajorSubsystem;
  TSpinEdit* spMinorSubsystem;

 protected:
  void Fill(ICBuilderLinkerOptions& record) override;
  void Store(ICBuilderLinkerOptions& record) override;
  void TakeAction(const TMxCBuilderAction& action) override;
  bool TakeParser(const ICBuilderProjectParser& parser) override;

 private:
  TCBuilderVersion version_ = TCBuilderVersion::cvBCB6;
  platform::TStringList allWarnings_;
  platform::TStringList selectedWarnings_;
};

/// A size or address as the linker page shows it: "0x" and eight upper-case hexadecimal digits.
std::string HexText(std::uint32_t value);

}  // namespace mx::bcc
