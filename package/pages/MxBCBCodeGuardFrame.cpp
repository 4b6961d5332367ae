#include "MxBCBCodeGuardFrame.h"

namespace mx::bcc {

TMxBCBCodeGuardFrame::TMxBCBCodeGuardFrame(IMxComponent* owner)
    : TMxBCBOptionFrame(owner, "MxBCBCodeGuardFrame", kOptionPagesHelpContext,
                        &ICBuilderProjectSettings::GetCodeGuardOpt,
                        &ICBuilderProjectParser::GetCodeGuardOptions) {
  TGroupBox& group = AddGroup(*this, "gbCodeGuard", "CodeGuard");
  cbEnableCodeGuard = &AddCheck(group, "cbEnableCodeGuard", "&CodeGuard Validation");
  gbValidate = &group.Add<TPanel>("gbValidate");
  cbAccesses = &AddCheck(*gbValidate, "cbAccesses", "Validate &global and stack accesses");
  cbThis =
      &AddCheck(*gbValidate, "cbThis", "Validate the '&this' pointer on member function entry");
  cbPointer = &AddCheck(*gbValidate, "cbPointer", "Validate  &pointer accesses");

  using R = ICBuilderCodeGuardOptions;
  bindings_.Check(cbEnableCodeGuard, &R::GetCodeGuardValidation, &R::SetCodeGuardValidation);
  bindings_.Check(cbAccesses, &R::GetValidateGlobalAndStackAccess,
                  &R::SetValidateGlobalAndStackAccess);
  bindings_.Check(cbThis, &R::GetValidateThisPointer, &R::SetValidateThisPointer);
  bindings_.Check(cbPointer, &R::GetValidatePointerAccesses, &R::SetValidatePointerAccesses);
  cbEnableCodeGuard->OnClick = [this] { UpdatePanel(); };
  UpdatePanel();
}

void TMxBCBCodeGuardFrame::Fill(ICBuilderCodeGuardOptions& record) {
  TMxBCBOptionFrame::Fill(record);
  UpdatePanel();
}

}  // namespace mx::bcc
