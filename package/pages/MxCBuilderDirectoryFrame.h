#pragma once
// The "Directories" page: include and library paths, output folders, conditional defines and
// the two environment settings; a blank field leaves the project's own setting.

#include "package/pages/ControlTable.h"
#include "package/pages/MxBCBOptionFrame.h"

namespace mx::bcc {

class TMxCBuilderDirectoryFrame : public TMxCBuilderFrame,
                                  public ICBuilderPropertyFrame,
                                  public ICBuilderSpeedSetting,
                                  public IMxPageHint {
 public:
  explicit TMxCBuilderDirectoryFrame(IMxComponent* owner);
  std::string PageName() override { return "Directories"; }
  void ReadActionData(TCustomMxAction& action) override;
  void WriteActionData(TCustomMxAction& action) override;
  void LoadSettings(const std::shared_ptr<ICBuilderProjectParser>& parser) override;
  void SpeedSetting(TBCBSpeedSetting setting) override;
  void OnShowHint(std::string& hint) override;
  void OnPageActivate() override;
  TCBuilderVersion Version() const { return version_; }

 private:
  TPropertyBindings bindings_;
  TCBuilderVersion version_ = TCBuilderVersion::cvBCB6;
  // The controls its code works with, found in its table once, when the page is made.
  TBound<TButton> cmdClearAll_;
  TBound<TEdit> txtBPI_LIBOutput_;
  TBound<TEdit> txtConditionals_;
  TBound<TEdit> txtFinalOutput_;
  TBound<TEdit> txtIncludePath_;
  TBound<TEdit> txtIntermediateOutput_;
  TBound<TEdit> txtLibraryPath_;
};

}  // namespace mx::bcc
