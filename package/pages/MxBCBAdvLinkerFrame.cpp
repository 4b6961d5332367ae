#include "MxBCBAdvLinkerFrame.h"

namespace mx::bcc {

TMxBCBAdvLinkerFrame::TMxBCBAdvLinkerFrame(IMxComponent* owner)
    : TMxBCBOptionFrame(owner, "MxBCBAdvLinkerFrame", kOptionPagesHelpContext,
                        &ICBuilderProjectSettings::GetAdvLinkerOpt,
                        &ICBuilderProjectParser::GetAdvLinkerOptions) {
  TGroupBox& image = AddGroup(*this, "gbImage", "Image", TLayout::loForm);
  txtComment = &AddLabeled<TEdit>(image, "lblComment", "Image Co&mment:", "txtComment");
  TGroupBox& advanced = AddGroup(*this, "gbAdvanced", "Advanced");
  cbCaseInsensitiveLink = &AddCheck(advanced, "cbCaseInsensitiveLink", "Case-&insensitive link");
  cbChecksum = &AddCheck(advanced, "cbChecksum", "&Calculate checksum");
  cbReplaceResources = &AddCheck(advanced, "cbReplaceResources", "&Replace resources");
  TGroupBox& delay = AddGroup(*this, "gbDelayLoad", "Delay load", TLayout::loForm);
  txtDelayLoadDLLS =
      &AddLabeled<TEdit>(delay, "lblDelayLoadDLLS", "&Dlls to delay-load:", "txtDelayLoadDLLS");
  TGroupBox& version = AddGroup(*this, "gbUserVersion", "User version", TLayout::loForm);
  spUserMajor =
      &AddLabeled<TSpinEdit>(version, "lblUserMajor", "&User major version:", "spUserMajor", 0, 0);
  spUserMinor =
      &AddLabeled<TSpinEdit>(version, "lblUserMinor", "User mi&nor version:", "spUserMinor", 0, 0);

  using R = ICBuilderAdvLinkerOptions;
  bindings_.Text(txtComment, &R::GetImageComment, &R::SetImageComment);
  bindings_.Check(cbCaseInsensitiveLink, &R::GetCaseInsensitiveLink, &R::SetCaseInsensitiveLink);
  bindings_.Check(cbChecksum, &R::GetCalcCheckSum, &R::SetCalcCheckSum);
  bindings_.Check(cbReplaceResources, &R::GetReplaceResources, &R::SetReplaceResources);
  bindings_.Text(txtDelayLoadDLLS, &R::GetDelayLoadDLLS, &R::SetDelayLoadDLLS);
  bindings_.Spin(spUserMajor, &R::GetUserMajorVersion, &R::SetUserMajorVersion);
  bindings_.Spin(spUserMinor, &R::GetUserMinorVersion, &R::SetUserMinorVersion);
}

}  // namespace mx::bcc
