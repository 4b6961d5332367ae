#include "MxBCBPascalFrame.h"

namespace mx::bcc {
namespace {

using namespace rows;

// The record field alignment is a check box up to C++Builder 5 ("chkRecordAlign") and a list
// from C++Builder 6 on ("cbRecordAlign"); the page's own rules show one of them.
constexpr TControlRow kPascalControls[] = {
    Grid("pnlGroups", 2),
    Group("gbCodeGeneration", "Code generation", "pnlGroups"),
    Check("cbOptimization", "&Optimization", "gbCodeGeneration", "Optimisation"),
    Check("cbStackFrames", "Stac&k frames", "gbCodeGeneration", "StackFrames"),
    Check("cbPentiumSafe", "Pentiu&m-safe FDIV", "gbCodeGeneration", "SafeDivide"),
    Check("chkRecordAlign", "&Aligned record fields", "gbCodeGeneration").Invisible(),
    RowPanel("pnlRecordAlign", "gbCodeGeneration"),
    Combo("cbRecordAlign", "lblRecordAlign", "Record field &alignment", "pnlRecordAlign",
          "1\r\n2\r\n4\r\n8\r\n")
        .Initially(3),
    Group("gbSyntaxOptions", "Syntax options", "pnlGroups"),
    Check("cbVarStrCheck", "Strict &var-strings", "gbSyntaxOptions", "VarStringChecks"),
    Check("cbFullBoolEval", "Complete &boolean eval", "gbSyntaxOptions", "BoolEval"),
    Check("cbExtSyntax", "E&xtended syntax", "gbSyntaxOptions", "ExtendedSyntax"),
    Check("cbTypedPointers", "&Typed @ operator", "gbSyntaxOptions", "TypedPointers"),
    Check("cbOpenParameters", "Open &parameters", "gbSyntaxOptions", "OpenStrings"),
    Check("cbHugeStrings", "Huge &strings", "gbSyntaxOptions", "HugeStrings"),
    Check("cbAssignConst", "Assignabl&e typed constants", "gbSyntaxOptions", "AssignableConst"),
    Group("gbMessages", "Messages", "pnlGroups"),
    Check("cbShowHints", "Show hi&nts", "gbMessages", "ShowHints"),
    Check("cbShowWarnings", "Show &warnings", "gbMessages", "ShowWarnings"),
    Group("gbDebugging", "Debugging", "pnlGroups"),
    Check("cbDebugInfo", "&Debug information", "gbDebugging", "DebugInfo"),
    Check("cbLocalSymbols", "&Local symbols", "gbDebugging", "LocalSymbols"),
    Check("cbSymbolInfo", "Reference info (&Y)", "gbDebugging", "ReferenceInfo"),
    Check("cbAssertions", "Assertions (&C)", "gbDebugging", "Assertions"),
    Check("cbDefinitionsOnly", "De&finitions only", "gbDebugging", "DefinitionsOnly"),
    Group("gbRuntimeErrors", "Runtime errors", "pnlGroups"),
    Check("cbRangeCheck", "&Range checking", "gbRuntimeErrors", "RangeChecking"),
    Check("cbInOutCheck", "&I/O checking", "gbRuntimeErrors", "IOChecking"),
    Check("cbOverflowCheck", "Overflow checking (&Q)", "gbRuntimeErrors", "OverflowChecking"),
};

}  // namespace

TMxBCBPascalFrame::TMxBCBPascalFrame(IMxComponent* owner)
    : TMxBCBOptionFrame(owner, "MxBCBPascalFrame", kOptionPagesHelpContext,
                        &ICBuilderProjectSettings::GetPascalOpt,
                        &ICBuilderProjectParser::GetPascalOptions, kPascalControls) {
  cbDefinitionsOnly_.Bind(*this, "cbDefinitionsOnly");
  cbOptimization_.Bind(*this, "cbOptimization");
  cbRecordAlign_.Bind(*this, "cbRecordAlign");
  cbSymbolInfo_.Bind(*this, "cbSymbolInfo");
  chkRecordAlign_.Bind(*this, "chkRecordAlign");
  lblRecordAlign_.Bind(*this, "lblRecordAlign");
  cbSymbolInfo_->OnClick = [this] { UpdateDefinitionsOnly(); };
  UpdateDefinitionsOnly();
}

void TMxBCBPascalFrame::UpdateDefinitionsOnly() {
  cbDefinitionsOnly_->SetEnabled(cbSymbolInfo_->Checked());
}

void TMxBCBPascalFrame::SetVersion(TCBuilderVersion version) {
  version_ = version;
  using V = TCBuilderVersion;
  const bool list = version == V::cvBCB6;
  if (list || version == V::cvBCB3 || version == V::cvBCB4 || version == V::cvBCB5) {
    chkRecordAlign_->SetVisible(!list);
    lblRecordAlign_->SetVisible(list);
    cbRecordAlign_->SetVisible(list);
  }
}

void TMxBCBPascalFrame::Fill(ICBuilderPascalOptions& record) {
  TMxBCBOptionFrame::Fill(record);
  chkRecordAlign_->SetChecked(record.GetAlignFields() > TCBuilderPascalFieldAlign::fa1);
  cbRecordAlign_->SetItemIndex(static_cast<int>(record.GetAlignFields()));
  UpdateDefinitionsOnly();
}

void TMxBCBPascalFrame::Store(ICBuilderPascalOptions& record) {
  TMxBCBOptionFrame::Store(record);
  if (version_ > TCBuilderVersion::cvBCB5) {
    if (const int index = cbRecordAlign_->ItemIndex(); index >= 0)
      record.SetAlignFields(static_cast<TCBuilderPascalFieldAlign>(index));
  } else {
    record.SetAlignFields(chkRecordAlign_->Checked() ? TCBuilderPascalFieldAlign::fa8
                                                     : TCBuilderPascalFieldAlign::fa1);
  }
}

void TMxBCBPascalFrame::SpeedSetting(TBCBSpeedSetting setting) {
  const bool debug = setting == TBCBSpeedSetting::ssFullDebug;
  cbOptimization_->SetChecked(!debug);
  for (const char* box : {"cbStackFrames", "cbDebugInfo", "cbLocalSymbols", "cbSymbolInfo"})
    Get<TCheckBox>(box).SetChecked(debug);
}

}  // namespace mx::bcc
