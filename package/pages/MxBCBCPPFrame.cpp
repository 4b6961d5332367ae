#include "MxBCBCPPFrame.h"

namespace mx::bcc {

TMxBCBCPPFrame::TMxBCBCPPFrame(IMxComponent* owner)
    : TMxBCBOptionFrame(owner, "MxBCBCPPFrame", kOptionPagesHelpContext,
                        &ICBuilderProjectSettings::GetCppOpt,
                        &ICBuilderProjectParser::GetCPPOptions) {
  TPanel& groups = Add<TPanel>("pnlGroups", TLayout::loGrid);
  groups.SetLayout(TLayout::loGrid, 2);
  TGroupBox& pointers = AddGroup(groups, "gbMemberPointers", "Member pointers");
  MemberPointers = AddRadios(pointers, {{"rbMPAll", "&All cases"},
                                        {"rbMPMI", "&Multiple inheritance"},
                                        {"rbMPSI", "Single inheri&tance"},
                                        {"rbMPSmallest", "&Smallest"}});
  cbMPPrecision = &AddCheck(pointers, "cbMPPrecision", "Ho&nor member precision");
  TGroupBox& compatibility = AddGroup(groups, "gbCompatibility", "Compatibility");
  cbCompatScope = &AddCheck(compatibility, "cbCompatScope", "&Don't restrict for loop scope");
  cbCompatMangle = &AddCheck(compatibility, "cbCompatMangle", "Don't mangle &code modifiers");
  VirtualTables = AddRadios(AddGroup(groups, "gbVirtualTables", "Virtual tables"),
                            {{"rbVTSmart", "Sma&rt"},
                             {"rbVTLocal", "&Local"},
                             {"rbVTExternal", "&External"},
                             {"rbVTPublic", "&Public"}});
  TGroupBox& exceptions = AddGroup(groups, "gbExceptionHandling", "Exception handling");
  cbEHEnable = &AddCheck(exceptions, "cbEHEnable", "Enable except&ions");
  cbEHLocationInfo = &AddCheck(exceptions, "cbEHLocationInfo", "L&ocation information");
  cbEHdtorCleanup = &AddCheck(exceptions, "cbEHdtorCleanup", "Destr&uctor cleanup");
  cbEHPrologs = &AddCheck(exceptions, "cbEHPrologs", "&Fast exception prologs");
  cbEHRTTI = &AddCheck(exceptions, "cbEHRTTI", "Ena&ble RTTI");
  TGroupBox& templates = AddGroup(groups, "gbTemplates", "Templates");
  cbTemplateExternal = &AddCheck(templates, "cbTemplateExternal", "E&xternal");
  TGroupBox& general = AddGroup(groups, "gbGeneral", "General");
  cbGenZeroBase = &AddCheck(general, "cbGenZeroBase", "&Zero length empty base classes");
  cbZeroClassFunctions =
      &AddCheck(general, "cbZeroClassFunctions", "Zero length empt&y class members");
  TGroupBox& mode = AddGroup(groups, "gbCompileMode", "Compile mode");
  cbForceCPPCompile = &AddCheck(mode, "cbForceCPPCompile", "Force C&++ compile");

  using R = ICBuilderCPPOptions;
  bindings_.Radio(MemberPointers, &R::GetMemberPointers, &R::SetMemberPointers);
  bindings_.Check(cbMPPrecision, &R::GetHonourMemberPrecision, &R::SetHonourMemberPrecision);
  bindings_.Check(cbCompatScope, &R::GetDontRestrictForLoop, &R::SetDontRestrictForLoop);
  bindings_.Check(cbCompatMangle, &R::GetDontMangleCodeModifiers, &R::SetDontMangleCodeModifiers);
  bindings_.Radio(VirtualTables, &R::GetVirtualTables, &R::SetVirtualTables);
  bindings_.Check(cbTemplateExternal, &R::GetExternalTemplates, &R::SetExternalTemplates);
  bindings_.Check(cbEHEnable, &R::GetEnabledExceptions, &R::SetEnabledExceptions);
  bindings_.Check(cbEHLocationInfo, &R::GetLocalInformation, &R::SetLocalInformation);
  bindings_.Check(cbEHdtorCleanup, &R::GetDestructorCleanup, &R::SetDestructorCleanup);
  bindings_.Check(cbEHPrologs, &R::GetFastExceptionPrologs, &R::SetFastExceptionPrologs);
  bindings_.Check(cbEHRTTI, &R::GetEnabledRTTI, &R::SetEnabledRTTI);
  bindings_.Check(cbGenZeroBase, &R::GetZeroLengthEmptyBaseClasses,
                  &R::SetZeroLengthEmptyBaseClasses);
  bindings_.Check(cbZeroClassFunctions, &R::GetZeroLengthEmptyClassMembers,
                  &R::SetZeroLengthEmptyClassMembers);
  bindings_.Check(cbForceCPPCompile, &R::GetForceCPPCompile, &R::SetForceCPPCompile);
}

}  // namespace mx::bcc
