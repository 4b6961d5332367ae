#include "MxBCBPascalFrame.h"

namespace mx::bcc {

TMxBCBPascalFrame::TMxBCBPascalFrame(IMxComponent* owner)
    : TMxBCBOptionFrame(owner, "MxBCBPascalFrame", kOptionPagesHelpContext,
                        &ICBuilderProjectSettings::GetPascalOpt,
                        &ICBuilderProjectParser::GetPascalOptions) {
  TPanel& groups = Add<TPanel>("pnlGroups", TLayout::loGrid);
  groups.SetLayout(TLayout::loGrid, 2);
  TGroupBox& code = AddGroup(groups, "gbCodeGeneration", "Code generation");
  cbOptimization = &AddCheck(code, "cbOptimization", "&Optimization");
  cbStackFrames = &AddCheck(code, "cbStackFrames", "Stac&k frames");
  cbPentiumSafe = &AddCheck(code, "cbPentiumSafe", "Pentiu&m-safe FDIV");
  chkRecordAlign = &AddCheck(code, "chkRecordAlign", "&Aligned record fields");
  chkRecordAlign->SetVisible(false);
  TPanel& align = code.Add<TPanel>("pnlRecordAlign", TLayout::loRow);
  lblRecordAlign = &align.Add<TLabel>("lblRecordAlign", "Record field &alignment");
  cbRecordAlign = &align.Add<TComboBox>("cbRecordAlign", TComboBoxStyle::csDropDownList);
  lblRecordAlign->SetFocusControl(cbRecordAlign);
  cbRecordAlign->SetItems(platform::TStringList("1\r\n2\r\n4\r\n8\r\n"));
  cbRecordAlign->SetItemIndex(3);

  TGroupBox& syntax = AddGroup(groups, "gbSyntaxOptions", "Syntax options");
  cbVarStrCheck = &AddCheck(syntax, "cbVarStrCheck", "Strict &var-strings");
  cbFullBoolEval = &AddCheck(syntax, "cbFullBoolEval", "Complete &boolean eval");
  cbExtSyntax = &AddCheck(syntax, "cbExtSyntax", "E&xtended syntax");
  cbTypedPointers = &AddCheck(syntax, "cbTypedPointers", "&Typed @ operator");
  cbOpenParameters = &AddCheck(syntax, "cbOpenParameters", "Open &parameters");
  cbHugeStrings = &AddCheck(syntax, "cbHugeStrings", "Huge &strings");
  cbAssignConst = &AddCheck(syntax, "cbAssignConst", "Assignabl&e typed constants");

  TGroupBox& messages = AddGroup(groups, "gbMessages", "Messages");
  cbShowHints = &AddCheck(messages, "cbShowHints", "Show hi&nts");
  cbShowWarnings = &AddCheck(messages, "cbShowWarnings", "Show &warnings");

  TGroupBox& debugging = AddGroup(groups, "gbDebugging", "Debugging");
  cbDebugInfo = &AddCheck(debugging, "cbDebugInfo", "&Debug information");
  cbLocalSymbols = &AddCheck(debugging, "cbLocalSymbols", "&Local symbols");
  cbSymbolInfo = &AddCheck(debugging, "cbSymbolInfo", "Reference info (&Y)");
  cbAssertions = &AddCheck(debugging, "cbAssertions", "Assertions (&C)");
  cbDefinitionsOnly = &AddCheck(debugging, "cbDefinitionsOnly", "De&finitions only");

  TGroupBox& runtime = AddGroup(groups, "gbRuntimeErrors", "Runtime errors");
  cbRangeCheck = &AddCheck(runtime, "cbRangeCheck", "&Range checking");
  cbInOutCheck = &AddCheck(runtime, "cbInOutCheck", "&I/O checking");
  cbOverflowCheck = &AddCheck(runtime, "cbOverflowCheck", "Overflow checking (&Q)");

  using R = ICBuilderPascalOptions;
  bindings_.Check(cbOptimization, &R::GetOptimisation, &R::SetOptimisation);
  bindings_.Check(cbStackFrames, &R::GetStackFrames, &R::SetStackFrames);
  bindings_.Check(cbPentiumSafe, &R::GetSafeDivide, &R::SetSafeDivide);
  bindings_.Check(cbVarStrCheck, &R::GetVarStringChecks, &R::SetVarStringChecks);
  bindings_.Check(cbFullBoolEval, &R::GetBoolEval, &R::SetBoolEval);
  bindings_.Check(cbExtSyntax, &R::GetExtendedSyntax, &R::SetExtendedSyntax);
  bindings_.Check(cbTypedPointers, &R::GetTypedPointers, &R::SetTypedPointers);
  bindings_.Check(cbOpenParameters, &R::GetOpenStrings, &R::SetOpenStrings);
  bindings_.Check(cbHugeStrings, &R::GetHugeStrings, &R::SetHugeStrings);
  bindings_.Check(cbAssignConst, &R::GetAssignableConst, &R::SetAssignableConst);
  bindings_.Check(cbShowHints, &R::GetShowHints, &R::SetShowHints);
  bindings_.Check(cbShowWarnings, &R::GetShowWarnings, &R::SetShowWarnings);
  bindings_.Check(cbDebugInfo, &R::GetDebugInfo, &R::SetDebugInfo);
  bindings_.Check(cbLocalSymbols, &R::GetLocalSymbols, &R::SetLocalSymbols);
  bindings_.Check(cbSymbolInfo, &R::GetReferenceInfo, &R::SetReferenceInfo);
  bindings_.Check(cbAssertions, &R::GetAssertions, &R::SetAssertions);
  bindings_.Check(cbDefinitionsOnly, &R::GetDefinitionsOnly, &R::SetDefinitionsOnly);
  bindings_.Check(cbRangeCheck, &R::GetRangeChecking, &R::SetRangeChecking);
  bindings_.Check(cbInOutCheck, &R::GetIOChecking, &R::SetIOChecking);
  bindings_.Check(cbOverflowCheck, &R::GetOverflowChecking, &R::SetOverflowChecking);

  cbSymbolInfo->OnClick = [this] { cbDefinitionsOnly->SetEnabled(cbSymbolInfo->Checked()); };
  cbDefinitionsOnly->SetEnabled(cbSymbolInfo->Checked());
}

void TMxBCBPascalFrame::SetVersion(TCBuilderVersion version) {
  version_ = version;
  using V = TCBuilderVersion;
  if (version == V::cvBCB3 || version == V::cvBCB4 || version == V::cvBCB5) {
    chkRecordAlign->SetVisible(true);
    lblRecordAlign->SetVisible(false);
    cbRecordAlign->SetVisible(false);
  } else if (version == V::cvBCB6) {
    chkRecordAlign->SetVisible(false);
    lblRecordAlign->SetVisible(true);
    cbRecordAlign->SetVisible(true);
  }
}

void TMxBCBPascalFrame::Fill(ICBuilderPascalOptions& record) {
  TMxBCBOptionFrame::Fill(record);
  chkRecordAlign->SetChecked(record.GetAlignFields() > TCBuilderPascalFieldAlign::fa1);
  cbRecordAlign->SetItemIndex(static_cast<int>(record.GetAlignFields()));
  cbDefinitionsOnly->SetEnabled(cbSymbolInfo->Checked());
}

void TMxBCBPascalFrame::Store(ICBuilderPascalOptions& record) {
  TMxBCBOptionFrame::Store(record);
  if (version_ > TCBuilderVersion::cvBCB5) {
    if (cbRecordAlign->ItemIndex() >= 0)
      record.SetAlignFields(static_cast<TCBuilderPascalFieldAlign>(cbRecordAlign->ItemIndex()));
  } else {
    record.SetAlignFields(chkRecordAlign->Checked() ? TCBuilderPascalFieldAlign::fa8
                                                    : TCBuilderPascalFieldAlign::fa1);
  }
}

void TMxBCBPascalFrame::SpeedSetting(TBCBSpeedSetting setting) {
  const bool debug = setting == TBCBSpeedSetting::ssFullDebug;
  cbOptimization->SetChecked(!debug);
  for (TCheckBox* box : {cbStackFrames, cbDebugInfo, cbLocalSymbols, cbSymbolInfo})
    box->SetChecked(debug);
}

}  // namespace mx::bcc
