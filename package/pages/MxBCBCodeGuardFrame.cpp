#include "MxBCBCodeGuardFrame.h"

namespace mx::bcc {
namespace {

using namespace rows;

constexpr TControlRow kCodeGuardControls[] = {
    Group("gbCodeGuard", "CodeGuard"),
    Check("cbEnableCodeGuard", "&CodeGuard Validation", "gbCodeGuard", "CodeGuardValidation"),
    Panel("gbValidate", "gbCodeGuard"),
    Check("cbAccesses", "Validate &global and stack accesses", "gbValidate",
          "ValidateGlobalAndStackAccess"),
    Check("cbThis", "Validate the '&this' pointer on member function entry", "gbValidate",
          "ValidateThisPointer"),
    Check("cbPointer", "Validate  &pointer accesses", "gbValidate", "ValidatePointerAccesses"),
};

}  // namespace

TMxBCBCodeGuardFrame::TMxBCBCodeGuardFrame(IMxComponent* owner)
    : TMxBCBOptionFrame(owner, "MxBCBCodeGuardFrame", kOptionPagesHelpContext,
                        &ICBuilderProjectSettings::GetCodeGuardOpt,
                        &ICBuilderProjectParser::GetCodeGuardOptions, kCodeGuardControls) {
  cbEnableCodeGuard_.Bind(*this, "cbEnableCodeGuard");
  gbValidate_.Bind(*this, "gbValidate");
  cbEnableCodeGuard_->OnClick = [this] { UpdatePanel(); };
  UpdatePanel();
}

void TMxBCBCodeGuardFrame::Fill(ICBuilderCodeGuardOptions& record) {
  TMxBCBOptionFrame::Fill(record);
  UpdatePanel();
}

void TMxBCBCodeGuardFrame::UpdatePanel() {
  gbValidate_->SetEnabled(cbEnableCodeGuard_->Checked());
}

}  // namespace mx::bcc
