#pragma once
// The "CORBA" page: the IDL compiler's code generation, file extensions, extra options and
// the CORBA header options.

#include "package/pages/MxBCBOptionFrame.h"

namespace mx::bcc {

class TMxBCBCorbaFrame : public TMxBCBOptionFrame<ICBuilderCorbaOptions> {
 public:
  explicit TMxBCBCorbaFrame(IMxComponent* owner);
  std::string PageName() override { return "CORBA"; }

  TCheckBox* cbObjectWrapper;
  TCheckBox* cbTie;
  TCheckBox* cbStdStream;
  TCheckBox* cbTypeCodeInfo;
  TCheckBox* cbVirtualImplInh;
  TCheckBox* cbIncludeFilesCode;
  TEdit* edHeaderSuffix;
  TEdit* edSourceSuffix;
  TEdit* edAdditional;
  TCheckBox* cbIncludeIR;
  TCheckBox* cbIncludeDSI;
  TCheckBox* cbAddServerUnit;
  TCheckBox* cbAddClientUnit;
  TCheckBox* cbPrecompiledHeaders;
};

}  // namespace mx::bcc
