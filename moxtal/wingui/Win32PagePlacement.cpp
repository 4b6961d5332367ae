// The page view's windows placed where the page layout puts their controls.
#include "Win32PageView.h"

#include <commctrl.h>

#include <algorithm>

#include "moxtal/wingui/Win32PageViewParts.h"

namespace mx::wingui {

using namespace detail;

namespace {

// Sets the columns of a grid's list view once its width is known: the last column takes what
// the others leave.
class TPlacedParts : public IConstControlVisitor {
 public:
  TPlacedParts(HWND window, int width) : window_(window), width_(width) {}
  void Visit(const TStringGrid& grid) override {
    const TLook& look = Look();
    const int columns = grid.ColCount();
    const int first = look.Scale(150);
    for (int c = 0; c + 1 < columns; ++c)
      ListView_SetColumnWidth(window_, c, first);
    ListView_SetColumnWidth(
        window_, columns - 1,
        std::max(look.Scale(60), width_ - first * (columns - 1) - ::GetSystemMetrics(SM_CXVSCROLL) -
                                     look.Scale(4)));
  }
  void Visit(const TComboBox&) override {
    // A combo box's window includes its drop-down list.
    Extra = Look().Scale(240);
  }
  void Visit(const TPanel&) override {}
  void Visit(const TGroupBox&) override {}
  void Visit(const TLabel&) override {}
  void Visit(const TCheckBox&) override {}
  void Visit(const TRadioButton&) override {}
  void Visit(const TEdit&) override {}
  void Visit(const TSpinEdit&) override {}
  void Visit(const TImage&) override {}
  void Visit(const TButton&) override {}
  int Extra = 0;

 private:
  HWND window_;
  int width_;
};

}  // namespace

const engine::TPageLayout& TWin32PageView::Layout() {
  static const TLookMetrics metrics(Look());
  static const engine::TPageLayout layout(metrics);
  return layout;
}

SIZE TWin32PageView::PreferredSize(int width) const {
  const engine::TLayoutRect r = Layout().PreferredBounds(frame_, width);
  return {r.Width(), r.Height()};
}

void TWin32PageView::Move(const TControl& control, const engine::TLayoutRect& bounds) {
  const TLook& look = Look();
  TBinding& b = bindings_[&control];
  const int width = bounds.Width();
  const int height = bounds.Height();
  if (b.Frame) ::MoveWindow(b.Frame, bounds.Left, bounds.Top, width, height, TRUE);
  if (IsContainer(control)) {
    if (b.Window) ::MoveWindow(b.Window, bounds.Left, bounds.Top, width, height, TRUE);
    return;
  }
  int inputWidth = width;
  if (const TEdit* edit = b.Edit) {
    for (const auto& button : Layout().EditButtons(*edit, bounds)) {
      HWND window = button.Button == &edit->CustomButton() ? b.Custom : b.Folder;
      if (window)
        ::MoveWindow(window, button.Bounds.Left, button.Bounds.Top, button.Bounds.Width(),
                     button.Bounds.Height(), TRUE);
    }
    inputWidth = Layout().EditBoxWidth(*edit, width);
  }
  if (b.UpDown) {
    // The arrows sit inside the edit's border, at its right, and the text keeps clear of them.
    const int arrows = look.Scale(16);
    const int border = ::GetSystemMetrics(SM_CXEDGE);
    ::MoveWindow(b.UpDown, bounds.Left + inputWidth - arrows - border, bounds.Top + border, arrows,
                 height - 2 * border, TRUE);
    ::SendMessageW(b.Window, EM_SETMARGINS, EC_RIGHTMARGIN, MAKELPARAM(0, arrows));
  }
  TPlacedParts parts(b.Window, inputWidth);
  if (b.Window) {
    control.Accept(parts);
    ::MoveWindow(b.Window, bounds.Left, bounds.Top, std::max(0, inputWidth), height + parts.Extra,
                 TRUE);
  }
}

void TWin32PageView::Place(const RECT& bounds) {
  bounds_ = bounds;
  ::MoveWindow(window_, bounds.left, bounds.top, bounds.right - bounds.left,
               bounds.bottom - bounds.top, TRUE);
  Relayout();
}

void TWin32PageView::Relayout() {
  const engine::TLayoutRect inner{0, 0, bounds_.right - bounds_.left, bounds_.bottom - bounds_.top};
  for (const auto& placed : Layout().Place(frame_, inner))
    Move(*placed.Control, placed.Bounds);
  ::InvalidateRect(window_, nullptr, TRUE);
}

}  // namespace mx::wingui
