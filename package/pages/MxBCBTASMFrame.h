#pragma once
// The "Tasm" page: the assembler's listing, case sensitivity, debug information, warnings and
// its numeric selections.

#include "package/pages/ControlTable.h"
#include "package/pages/MxBCBOptionFrame.h"

namespace mx::bcc {

class TMxBCBTASMFrame : public TMxBCBOptionFrame<ICBuilderTASMOptions>,
                        public ICBuilderSpeedSetting {
 public:
  explicit TMxBCBTASMFrame(IMxComponent* owner);
  std::string PageName() override { return "Tasm"; }
  void SpeedSetting(TBCBSpeedSetting setting) override;

 protected:
  void Fill(ICBuilderTASMOptions& record) override;

 private:
  void UpdateListing();
  // The controls its code works with, found in its table once, when the page is made.
  TBound<TCheckBox> cbGenerateListing_;
};

}  // namespace mx::bcc
