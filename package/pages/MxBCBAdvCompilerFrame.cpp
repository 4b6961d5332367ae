#include "MxBCBAdvCompilerFrame.h"

namespace mx::bcc {
namespace {

using namespace rows;

constexpr TControlRow kAdvCompilerControls[] = {
    Grid("pnlGroups", 3),
    Group("gbInstructionSet", "Instruction set", "pnlGroups"),
    Radio("rbInstruction386", "80&386", "gbInstructionSet", "InstructionSet"),
    Radio("rbInstruction486", "i&486", "gbInstructionSet", "InstructionSet"),
    Radio("rbInstructionPentium", "&Pentium", "gbInstructionSet", "InstructionSet"),
    Radio("rbInstructionPentiumPro", "Pentium P&ro", "gbInstructionSet", "InstructionSet"),
    Group("gbDataAlignment", "Data alignment", "pnlGroups"),
    Radio("rbAlignByte", "&Byte", "gbDataAlignment", "DataAlignment"),
    Radio("rbAlignWord", "&Word", "gbDataAlignment", "DataAlignment"),
    Radio("rbAlignDWord", "&Double word", "gbDataAlignment", "DataAlignment"),
    Radio("rbAlignQWord", "&Quad word", "gbDataAlignment", "DataAlignment"),
    Group("gbCallingConvention", "Calling convention", "pnlGroups"),
    Radio("rbCallC", "&C", "gbCallingConvention", "CallingConvention"),
    Radio("rbCallPascal", "P&ascal", "gbCallingConvention", "CallingConvention"),
    Radio("rbCallRegister", "Register (&J)", "gbCallingConvention", "CallingConvention"),
    Radio("rbCallStandard", "&Standard call", "gbCallingConvention", "CallingConvention"),
    Group("gbRegisterVariables", "Register variables", "pnlGroups"),
    Radio("rbRegisterNone", "&None", "gbRegisterVariables", "RegisterVariables"),
    Radio("rbRegisterAuto", "A&utomatic", "gbRegisterVariables", "RegisterVariables"),
    Radio("rbRegisterKeyword", "Register ke&yword", "gbRegisterVariables", "RegisterVariables"),
    Group("gbOutput", "Output", "pnlGroups"),
    Check("cbOutAutoDep", "Au&todependency information", "gbOutput", "OutputAutoDepInfo"),
    Check("cbOutUnderscores", "&Generate underscores", "gbOutput", "GenerateUnderscores"),
    Group("gbFloatingPoint", "Floating point", "pnlGroups"),
    Check("cbFloatNone", "N&one", "gbFloatingPoint", "FloatingPointNone"),
    Check("cbFloatFast", "&Fast", "gbFloatingPoint", "FloatingPointFast"),
    Check("cbFloatFixPentium", "Correct Pentium FDI&V flaw", "gbFloatingPoint",
          "FloatingPointFixFDIV"),
    Group("gbLanguageCompliance", "Language compliance", "pnlGroups"),
    Radio("rbLangBorland", "Bor&land", "gbLanguageCompliance", "LanguageCompliance"),
    Radio("rbLangANSI", "ANS&I", "gbLanguageCompliance", "LanguageCompliance"),
    Radio("rbLangUNIX", "Uni&x V", "gbLanguageCompliance", "LanguageCompliance"),
    Radio("rbLangKnR", "&K && R", "gbLanguageCompliance", "LanguageCompliance"),
    Group("gbSource", "Source", "pnlGroups"),
    Check("cbSourceNestedComments", "N&ested comments", "gbSource", "NestedComments"),
    Check("cbSourceMFC", "&MFC compatibility", "gbSource", "MFCCompatibility"),
    FormPanel("pnlIdentLen", "gbSource"),
    Spin("spIdentLen", "lblIdentLen", "Identifier length (&z):", "pnlIdentLen", "IdentifierLength")
        .Range(8, 255)
        .Initially(250),
};

}  // namespace

TMxBCBAdvCompilerFrame::TMxBCBAdvCompilerFrame(IMxComponent* owner)
    : TMxBCBOptionFrame(owner, "MxBCBAdvCompilerFrame", kOptionPagesHelpContext,
                        &ICBuilderProjectSettings::GetAdvCompilerOpt,
                        &ICBuilderProjectParser::GetAdvCompilerOptions, kAdvCompilerControls) {}

void TMxBCBAdvCompilerFrame::SpeedSetting(TBCBSpeedSetting setting) {
  Radios("gbRegisterVariables")[setting == TBCBSpeedSetting::ssFullDebug ? 0 : 1]->SetChecked(true);
}

}  // namespace mx::bcc
