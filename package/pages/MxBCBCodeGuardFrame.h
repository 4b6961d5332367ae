#pragma once
// The "CodeGuard" page: CodeGuard validation and what it validates.

#include "package/pages/ControlTable.h"
#include "package/pages/MxBCBOptionFrame.h"

namespace mx::bcc {

class TMxBCBCodeGuardFrame : public TMxBCBOptionFrame<ICBuilderCodeGuardOptions> {
 public:
  explicit TMxBCBCodeGuardFrame(IMxComponent* owner);
  std::string PageName() override { return "CodeGuard"; }

 protected:
  void Fill(ICBuilderCodeGuardOptions& record) override;

 private:
  void UpdatePanel();
  // The controls its code works with, found in its table once, when the page is made.
  TBound<TCheckBox> cbEnableCodeGuard_;
  TBound<TPanel> gbValidate_;
};

}  // namespace mx::bcc
