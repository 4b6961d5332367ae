#pragma once
// A page drawn with Qt widgets: one widget per control, placed where the page layout puts it,
// kept in step with the control models both ways. The widgets carry the controls' component
// names as object names (an edit's buttons add "_folder", "_custom"), so tests find them.

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

#include <QWidget>

#include "moxtal/api/Pages.h"
#include "moxtal/engine/PageLayout.h"

class QLabel;
class QToolButton;

namespace mx::gui {

class TQtPageView : public QWidget {
 public:
  /// Draws `frame`; `page` (may be null) rewrites hints. The frame must outlive the view.
  TQtPageView(TFrame& frame, IMxPropertyPage* page, QWidget* parent = nullptr);
  ~TQtPageView() override;

  TFrame& Frame() const { return frame_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  /// A new font or style measures anew: the page is laid out again with the metrics it now has.
  void changeEvent(QEvent* event) override;

 private:
  struct TBinding {
    QWidget* Outer = nullptr;  // what is laid out, shown and hidden
    QWidget* Input = nullptr;  // what holds the value
    QToolButton* Folder = nullptr;
    QToolButton* Custom = nullptr;
    std::string Caption;  // as last placed
    bool Shown = false;
  };

  class TWidgetMaker;
  class TWidgetSetter;
  class TPlacedLayout;

  QWidget* Build(TControl& control, QWidget* parent);
  void BuildChildren(TContainer& container, QWidget* widget);
  QWidget* BuildEdit(TEdit& edit, QWidget* parent, TBinding& binding);
  /// Sets the widgets of `control` from the model.
  void Sync(TControl& control);
  /// Runs model code started by a person; an error goes to a message box.
  void Guarded(const std::function<void()>& action);
  /// Places every widget where the page layout puts its control in a page of this size.
  void Place(int width, int height);

  TFrame& frame_;
  IMxPropertyPage* page_;
  std::unordered_map<const TControl*, TBinding> bindings_;
  std::unordered_map<const QObject*, const TControl*> hints_;
  bool syncing_ = false;
  std::unique_ptr<engine::ILayoutMetrics> metrics_;
  std::unique_ptr<engine::TPageLayout> layout_;
};

/// A Qt input mask for a form designer's edit mask ("0x00000000;1;_" is "9\x99999999;_", and
/// "\0\x>HHHHHHHH;_" when it is `hexadecimal`, upper-case digits after a literal prefix).
QString QtInputMask(std::string_view editMask, bool hexadecimal = false);

}  // namespace mx::gui
