#pragma once
// The "Advanced Compiler" page: instruction set, alignment, calling convention, register
// variables, output, floating point, language compliance and source options.

#include "package/pages/MxBCBOptionFrame.h"

namespace mx::bcc {

class TMxBCBAdvCompilerFrame : public TMxBCBOptionFrame<ICBuilderAdvCompilerOptions>,
                               public ICBuilderSpeedSetting {
 public:
  explicit TMxBCBAdvCompilerFrame(IMxComponent* owner);
  std::string PageName() override { return "Advanced Compiler"; }
  void SpeedSetting(TBCBSpeedSetting setting) override;
  TCBuilderVersion Version() const { return version_; }

 protected:
  void TakeAction(const TMxCBuilderAction& action) override {
    version_ = action.GetCBuilderVersion();
  }
  void GiveAction(TMxCBuilderAction& action) override { action.SetCBuilderVersion(version_); }
  bool TakeParser(const ICBuilderProjectParser& parser) override {
    version_ = parser.GetCBuilderVersion();
    return true;
  }

 private:
  TCBuilderVersion version_ = TCBuilderVersion::cvBCB6;
};

}  // namespace mx::bcc
