#include "MxCBuilderFrame.h"

#include "package/pages/MxBCBOptionFrame.h"
#include "package/projparser/MxCBuilderUtils.h"
#include "platform/StrUtils.h"

namespace mx::bcc {

TMxCBuilderFrame::TMxCBuilderFrame(IMxComponent* owner, std::string name, int helpContext)
    : TFrame(owner, std::move(name)) {
  SetHelpContext(helpContext);
}

void BroadcastReload(const TFrame& frame, const std::shared_ptr<ICBuilderProjectParser>& parser) {
  ForEachPage<ICBuilderPropertyFrame>(frame, [&parser](auto& page) { page.LoadSettings(parser); });
}

void BroadcastSpeedSetting(const TFrame& frame, TBCBSpeedSetting setting) {
  ForEachPage<ICBuilderSpeedSetting>(frame, [setting](auto& page) { page.SpeedSetting(setting); });
}

void SetPageVisible(const TFrame& frame, bool visible) {
  if (IMxPageContainer* container = frame.Container())
    container->SetPageVisible(frame.Tag(), visible);
}

void RewriteRootVariable(std::string& hint, TCBuilderVersion version) {
  const char* root = nullptr;
  switch (version) {
    case TCBuilderVersion::cvBCB3:
      root = "$(BCB3DIR)";
      break;
    case TCBuilderVersion::cvBCB4:
      root = "$(BCB4DIR)";
      break;
    case TCBuilderVersion::cvBCB5:
      root = "$(BCB5DIR)";
      break;
    case TCBuilderVersion::cvBCB6:
      root = "$(BCB6DIR)";
      break;
    default:
      return;
  }
  hint = platform::ReplaceAllIgnoreCase(hint, "$(BCB)", root);
}

}  // namespace mx::bcc
