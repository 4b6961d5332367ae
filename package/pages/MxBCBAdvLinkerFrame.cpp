#include "MxBCBAdvLinkerFrame.h"

namespace mx::bcc {
namespace {

using namespace rows;

constexpr TControlRow kAdvLinkerControls[] = {
    FormGroup("gbImage", "Image"),
    Edit("txtComment", "lblComment", "Image Co&mment:", "gbImage", "ImageComment"),
    Group("gbAdvanced", "Advanced"),
    Check("cbCaseInsensitiveLink", "Case-&insensitive link", "gbAdvanced", "CaseInsensitiveLink"),
    Check("cbChecksum", "&Calculate checksum", "gbAdvanced", "CalcCheckSum"),
    Check("cbReplaceResources", "&Replace resources", "gbAdvanced", "ReplaceResources"),
    FormGroup("gbDelayLoad", "Delay load"),
    Edit("txtDelayLoadDLLS", "lblDelayLoadDLLS", "&Dlls to delay-load:", "gbDelayLoad",
         "DelayLoadDLLS"),
    FormGroup("gbUserVersion", "User version"),
    Spin("spUserMajor", "lblUserMajor", "&User major version:", "gbUserVersion",
         "UserMajorVersion"),
    Spin("spUserMinor", "lblUserMinor", "User mi&nor version:", "gbUserVersion",
         "UserMinorVersion"),
};

}  // namespace

TMxBCBAdvLinkerFrame::TMxBCBAdvLinkerFrame(IMxComponent* owner)
    : TMxBCBOptionFrame(owner, "MxBCBAdvLinkerFrame", kOptionPagesHelpContext,
                        &ICBuilderProjectSettings::GetAdvLinkerOpt,
                        &ICBuilderProjectParser::GetAdvLinkerOptions, kAdvLinkerControls) {}

}  // namespace mx::bcc
