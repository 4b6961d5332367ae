#pragma once
// The "CodeGuard" page: CodeGuard validation and what it validates.

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
};

}  // namespace mx::bcc
