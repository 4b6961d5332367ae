#include "MxBCBAdvCompilerFrame.h"

namespace mx::bcc {

TMxBCBAdvCompilerFrame::TMxBCBAdvCompilerFrame(IMxComponent* owner)
    : TMxBCBOptionFrame(owner, "MxBCBAdvCompilerFrame", kOptionPagesHelpContext,
                        &ICBuilderProjectSettings::GetAdvCompilerOpt,
                        &ICBuilderProjectParser::GetAdvCompilerOptions) {
  TPanel& groups = Add<TPanel>("pnlGroups", TLayout::loGrid);
  groups.SetLayout(TLayout::loGrid, 3);
  InstructionSet = AddRadios(AddGroup(groups, "gbInstructionSet", "Instruction set"),
                             {{"rbInstruction386", "80&386"},
                              {"rbInstruction486", "i&486"},
                              {"rbInstructionPentium", "&Pentium"},
                              {"rbInstructionPentiumPro", "Pentium P&ro"}});
  DataAlignment = AddRadios(AddGroup(groups, "gbDataAlignment", "Data alignment"),
                            {{"rbAlignByte", "&Byte"},
                             {"rbAlignWord", "&Word"},
                             {"rbAlignDWord", "&Double word"},
                             {"rbAlignQWord", "&Quad word"}});
  CallingConvention = AddRadios(AddGroup(groups, "gbCallingConvention", "Calling convention"),
                                {{"rbCallC", "&C"},
                                 {"rbCallPascal", "P&ascal"},
                                 {"rbCallRegister", "Register (&J)"},
                                 {"rbCallStandard", "&Standard call"}});
  RegisterVariables = AddRadios(AddGroup(groups, "gbRegisterVariables", "Register variables"),
                                {{"rbRegisterNone", "&None"},
                                 {"rbRegisterAuto", "A&utomatic"},
                                 {"rbRegisterKeyword", "Register ke&yword"}});
  TGroupBox& output = AddGroup(groups, "gbOutput", "Output");
  cbOutAutoDep = &AddCheck(output, "cbOutAutoDep", "Au&todependency information");
  cbOutUnderscores = &AddCheck(output, "cbOutUnderscores", "&Generate underscores");
  TGroupBox& floating = AddGroup(groups, "gbFloatingPoint", "Floating point");
  cbFloatNone = &AddCheck(floating, "cbFloatNone", "N&one");
  cbFloatFast = &AddCheck(floating, "cbFloatFast", "&Fast");
  cbFloatFixPentium = &AddCheck(floating, "cbFloatFixPentium", "Correct Pentium FDI&V flaw");
  LanguageCompliance = AddRadios(AddGroup(groups, "gbLanguageCompliance", "Language compliance"),
                                 {{"rbLangBorland", "Bor&land"},
                                  {"rbLangANSI", "ANS&I"},
                                  {"rbLangUNIX", "Uni&x V"},
                                  {"rbLangKnR", "&K && R"}});
  TGroupBox& source = AddGroup(groups, "gbSource", "Source");
  cbSourceNestedComments = &AddCheck(source, "cbSourceNestedComments", "N&ested comments");
  cbSourceMFC = &AddCheck(source, "cbSourceMFC", "&MFC compatibility");
  TPanel& length = source.Add<TPanel>("pnlIdentLen", TLayout::loForm);
  spIdentLen = &AddLabeled<TSpinEdit>(length, "lblIdentLen",
                                      "Identifier length (&z):", "spIdentLen", 8, 255);
  spIdentLen->SetValue(250);

  using R = ICBuilderAdvCompilerOptions;
  bindings_.Radio(InstructionSet, &R::GetInstructionSet, &R::SetInstructionSet);
  bindings_.Radio(DataAlignment, &R::GetDataAlignment, &R::SetDataAlignment);
  bindings_.Radio(CallingConvention, &R::GetCallingConvention, &R::SetCallingConvention);
  bindings_.Radio(RegisterVariables, &R::GetRegisterVariables, &R::SetRegisterVariables);
  bindings_.Check(cbOutAutoDep, &R::GetOutputAutoDepInfo, &R::SetOutputAutoDepInfo);
  bindings_.Check(cbOutUnderscores, &R::GetGenerateUnderscores, &R::SetGenerateUnderscores);
  bindings_.Check(cbFloatNone, &R::GetFloatingPointNone, &R::SetFloatingPointNone);
  bindings_.Check(cbFloatFast, &R::GetFloatingPointFast, &R::SetFloatingPointFast);
  bindings_.Check(cbFloatFixPentium, &R::GetFloatingPointFixFDIV, &R::SetFloatingPointFixFDIV);
  bindings_.Radio(LanguageCompliance, &R::GetLanguageCompliance, &R::SetLanguageCompliance);
  bindings_.Check(cbSourceNestedComments, &R::GetNestedComments, &R::SetNestedComments);
  bindings_.Check(cbSourceMFC, &R::GetMFCCompatibility, &R::SetMFCCompatibility);
  bindings_.Spin(spIdentLen, &R::GetIdentifierLength, &R::SetIdentifierLength);
}

void TMxBCBAdvCompilerFrame::SpeedSetting(TBCBSpeedSetting setting) {
  RegisterVariables[setting == TBCBSpeedSetting::ssFullDebug ? 0 : 1]->SetChecked(true);
}

}  // namespace mx::bcc
