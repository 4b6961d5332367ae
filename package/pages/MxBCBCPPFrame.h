#pragma once
// The "C++" page: member pointers, compatibility, virtual tables, templates, exception
// handling and compile mode.

#include "package/pages/MxBCBOptionFrame.h"

namespace mx::bcc {

class TMxBCBCPPFrame : public TMxBCBOptionFrame<ICBuilderCPPOptions> {
 public:
  explicit TMxBCBCPPFrame(IMxComponent* owner);
  std::string PageName() override { return "C++"; }

  std::vector<TRadioButton*> MemberPointers;  // rbMPAll, rbMPMI, rbMPSI, rbMPSmallest
  std::vector<TRadioButton*> VirtualTables;   // rbVTSmart, rbVTLocal, rbVTExternal, rbVTPublic
  TCheckBox* cbMPPrecision;
  TCheckBox* cbCompatScope;
  TCheckBox* cbCompatMangle;
  TCheckBox* cbTemplateExternal;
  TCheckBox* cbEHEnable;
  TCheckBox* cbEHLocationInfo;
  TCheckBox* cbEHdtorCleanup;
  TCheckBox* cbEHPrologs;
  TCheckBox* cbEHRTTI;
  TCheckBox* cbGenZeroBase;
  TCheckBox* cbZeroClassFunctions;
  TCheckBox* cbForceCPPCompile;
};

}  // namespace mx::bcc
