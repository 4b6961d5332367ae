#pragma once
// The base of the C++Builder pages, and the three ways the pages of one dialog work together:
// the reload broadcast (a parsed project handed to every page), the speed-setting broadcast (a
// debug or release preset) and the visibility of a page by project type. Pages reach each other
// only through the dialog that owns them; without one, a broadcast does nothing.

#include <memory>
#include <string>

#include "moxtal/api/Action.h"
#include "moxtal/api/Pages.h"
#include "package/options/MxCBuilderIntf.h"

namespace mx::bcc {

class ICBuilderProjectParser;

/// A property page with nothing to do on the calls a page does not need.
class TMxCBuilderFrame : public TFrame, public IMxPropertyPage {
 public:
  TMxCBuilderFrame(IMxComponent* owner, std::string name, int helpContext);

  void InitFrame(IMxComponent*) override {}
  void InitPage(TCustomMxAction&) override {}
  void OnPageActivate() override {}
  void OnPageDeActivate() override {}
};

/// Calls `visit` with every page of the dialog owning `frame` that supports interface I, in
/// the dialog's order (`frame` itself included).
template <class I, class F>
void ForEachPage(const TFrame& frame, F visit) {
  IMxPageContainer* container = frame.Container();
  if (!container) return;
  for (int i = 0; i < container->GetPageCount(); ++i) {
    if (auto page = std::dynamic_pointer_cast<I>(container->GetPage(i))) visit(*page);
  }
}

/// Every page of the dialog that reloads from a project loads its controls from `parser`.
void BroadcastReload(const TFrame& frame, const std::shared_ptr<ICBuilderProjectParser>& parser);
/// Every page of the dialog that has presets applies `setting`.
void BroadcastSpeedSetting(const TFrame& frame, TBCBSpeedSetting setting);
/// Shows or hides `frame` in its dialog.
void SetPageVisible(const TFrame& frame, bool visible);

/// A label and the control it names, for a form layout: the label's accelerator moves to the
/// control. Returns the control.
template <class T, class... Args>
T& AddLabeled(TContainer& parent, std::string labelName, std::string caption, Args&&... args) {
  TLabel& label = parent.Add<TLabel>(std::move(labelName), std::move(caption));
  T& control = parent.Add<T>(std::forward<Args>(args)...);
  label.SetFocusControl(&control);
  return control;
}

}  // namespace mx::bcc
