#pragma once
// The "Tasm" page: the assembler's listing, case sensitivity, debug information, warnings and
// its numeric selections.

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
};

}  // namespace mx::bcc
