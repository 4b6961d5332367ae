#include "MxCBuilderFrame.h"

#include "package/projparser/MxCBuilderUtils.h"

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

}  // namespace mx::bcc
