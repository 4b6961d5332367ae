#pragma once
// The "CodeGuard" page: CodeGuard validation and what it validates.

#include "package/pages/MxBCBOptionFrame.h"

namespace mx::bcc {

class TMxBCBCodeGuardFrame : public TMxBCBOptionFrame<ICBuilderCodeGuardOptions> {
 public:
  explicit TMxBCBCodeGuardFrame(IMxComponent* owner);
  std::string PageName() override { return "CodeGuard"; }

  TCheckBox* cbEnableCodeGuard;
  TPanel* gbValidate;
  TCheckBox* cbAccesses;
  TCheckBox* cbThis;
  TCheckBox* cbPointer;

 protected:
  void Fill(ICBuilderCodeGuardOptions& record) override;

 private:
  void UpdatePanel() { gbValidate->SetEnabled(cbEnableCodeGuard->Checked()); }
};

}  // namespace mx::bcc
