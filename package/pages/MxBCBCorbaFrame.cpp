#include "MxBCBCorbaFrame.h"

namespace mx::bcc {

TMxBCBCorbaFrame::TMxBCBCorbaFrame(IMxComponent* owner)
    : TMxBCBOptionFrame(owner, "MxBCBCorbaFrame", kOptionPagesHelpContext,
                        &ICBuilderProjectSettings::GetCorbaOpt,
                        &ICBuilderProjectParser::GetCorbaOptions) {
  TPanel& groups = Add<TPanel>("pnlGroups", TLayout::loGrid);
  groups.SetLayout(TLayout::loGrid, 2);
  TGroupBox& code = AddGroup(groups, "gbCodeGeneration", "Code generation");
  cbObjectWrapper = &AddCheck(code, "cbObjectWrapper", "Object &wrappers");
  cbTie = &AddCheck(code, "cbTie", "&Tie");
  cbStdStream = &AddCheck(code, "cbStdStream", "St&ream operators");
  cbTypeCodeInfo = &AddCheck(code, "cbTypeCodeInfo", "T&ypecode information");
  cbVirtualImplInh = &AddCheck(code, "cbVirtualImplInh", "&Virtual impl. inheritance ");
  cbIncludeFilesCode = &AddCheck(code, "cbIncludeFilesCode", "I&nclude files code");

  TPanel& right = groups.Add<TPanel>("pnlRight");
  TGroupBox& extensions = AddGroup(right, "gbFileExtensions", "File extensions", TLayout::loForm);
  edHeaderSuffix =
      &AddLabeled<TEdit>(extensions, "lblHeaderSuffix", "Header e&xtension:", "edHeaderSuffix");
  edHeaderSuffix->SetText("hh");
  edSourceSuffix =
      &AddLabeled<TEdit>(extensions, "lblSourceSuffix", "So&urce extension:", "edSourceSuffix");
  edSourceSuffix->SetText("cpp");
  edSourceSuffix->SetEnabled(false);
  TGroupBox& additional = AddGroup(right, "gbAdditionalIDL", "Additional IDL", TLayout::loForm);
  edAdditional = &AddLabeled<TEdit>(additional, "lblAdditional", "&Options:", "edAdditional");
  edAdditional->SetText("-boa");

  TGroupBox& corba = AddGroup(groups, "gbCorbaH", "Corba.h options");
  cbIncludeIR = &AddCheck(corba, "cbIncludeIR", "Include &IR");
  cbIncludeDSI = &AddCheck(corba, "cbIncludeDSI", "Include D&SI");
  TGroupBox& idl = AddGroup(groups, "gbIDLCompilation", "IDL compilation");
  idl.SetEnabled(false);
  cbAddServerUnit = &AddCheck(idl, "cbAddServerUnit", "&Add server unit to project");
  cbAddClientUnit = &AddCheck(idl, "cbAddClientUnit", "A&dd client unit to project");
  cbPrecompiledHeaders = &AddCheck(idl, "cbPrecompiledHeaders", "&Precompiled header support");

  using R = ICBuilderCorbaOptions;
  bindings_.Check(cbObjectWrapper, &R::GetGenerateObjectWrappers, &R::SetGenerateObjectWrappers);
  bindings_.Check(cbTie, &R::GetGenerateTie, &R::SetGenerateTie);
  bindings_.Check(cbStdStream, &R::GetGenerateStreamOperators, &R::SetGenerateStreamOperators);
  bindings_.Check(cbTypeCodeInfo, &R::GetGenerateTypecodeInfo, &R::SetGenerateTypecodeInfo);
  bindings_.Check(cbVirtualImplInh, &R::GetGenerateVirtualImplInh, &R::SetGenerateVirtualImplInh);
  bindings_.Check(cbIncludeFilesCode, &R::GetGenerateIncludeFilesCode,
                  &R::SetGenerateIncludeFilesCode);
  bindings_.Text(edHeaderSuffix, &R::GetHeaderExtension, &R::SetHeaderExtension);
  bindings_.Text(edAdditional, &R::GetAdditionalIDLOptions, &R::SetAdditionalIDLOptions);
  bindings_.Check(cbIncludeIR, &R::GetCorbaIncludeIR, &R::SetCorbaIncludeIR);
  bindings_.Check(cbIncludeDSI, &R::GetCorbaIncludeDSI, &R::SetCorbaIncludeDSI);
  bindings_.Check(cbAddServerUnit, &R::GetIDLAddServerUnit, &R::SetIDLAddServerUnit);
  bindings_.Check(cbAddClientUnit, &R::GetIDLAddClientUnit, &R::SetIDLAddClientUnit);
  bindings_.Check(cbPrecompiledHeaders, &R::GetIDLPrecompiledHeaders, &R::setIDLPrecompiledHeaders);
}

}  // namespace mx::bcc
