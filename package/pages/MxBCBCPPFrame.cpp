#include "MxBCBCPPFrame.h"

namespace mx::bcc {
namespace {

using namespace rows;

constexpr TControlRow kCPPControls[] = {
    Grid("pnlGroups", 2),
    Group("gbMemberPointers", "Member pointers", "pnlGroups"),
    Radio("rbMPAll", "&All cases", "gbMemberPointers", "MemberPointers"),
    Radio("rbMPMI", "&Multiple inheritance", "gbMemberPointers", "MemberPointers"),
    Radio("rbMPSI", "Single inheri&tance", "gbMemberPointers", "MemberPointers"),
    Radio("rbMPSmallest", "&Smallest", "gbMemberPointers", "MemberPointers"),
    Check("cbMPPrecision", "Ho&nor member precision", "gbMemberPointers", "HonourMemberPrecision"),
    Group("gbCompatibility", "Compatibility", "pnlGroups"),
    Check("cbCompatScope", "&Don't restrict for loop scope", "gbCompatibility",
          "DontRestrictForLoop"),
    Check("cbCompatMangle", "Don't mangle &code modifiers", "gbCompatibility",
          "DontMangleCodeModifiers"),
    Group("gbVirtualTables", "Virtual tables", "pnlGroups"),
    Radio("rbVTSmart", "Sma&rt", "gbVirtualTables", "VirtualTables"),
    Radio("rbVTLocal", "&Local", "gbVirtualTables", "VirtualTables"),
    Radio("rbVTExternal", "&External", "gbVirtualTables", "VirtualTables"),
    Radio("rbVTPublic", "&Public", "gbVirtualTables", "VirtualTables"),
    Group("gbExceptionHandling", "Exception handling", "pnlGroups"),
    Check("cbEHEnable", "Enable except&ions", "gbExceptionHandling", "EnabledExceptions"),
    Check("cbEHLocationInfo", "L&ocation information", "gbExceptionHandling", "LocalInformation"),
    Check("cbEHdtorCleanup", "Destr&uctor cleanup", "gbExceptionHandling", "DestructorCleanup"),
    Check("cbEHPrologs", "&Fast exception prologs", "gbExceptionHandling", "FastExceptionPrologs"),
    Check("cbEHRTTI", "Ena&ble RTTI", "gbExceptionHandling", "EnabledRTTI"),
    Group("gbTemplates", "Templates", "pnlGroups"),
    Check("cbTemplateExternal", "E&xternal", "gbTemplates", "ExternalTemplates"),
    Group("gbGeneral", "General", "pnlGroups"),
    Check("cbGenZeroBase", "&Zero length empty base classes", "gbGeneral",
          "ZeroLengthEmptyBaseClasses"),
    Check("cbZeroClassFunctions", "Zero length empt&y class members", "gbGeneral",
          "ZeroLengthEmptyClassMembers"),
    Group("gbCompileMode", "Compile mode", "pnlGroups"),
    Check("cbForceCPPCompile", "Force C&++ compile", "gbCompileMode", "ForceCPPCompile"),
};

}  // namespace

TMxBCBCPPFrame::TMxBCBCPPFrame(IMxComponent* owner)
    : TMxBCBOptionFrame(owner, "MxBCBCPPFrame", kOptionPagesHelpContext,
                        &ICBuilderProjectSettings::GetCppOpt,
                        &ICBuilderProjectParser::GetCPPOptions, kCPPControls) {}

}  // namespace mx::bcc
