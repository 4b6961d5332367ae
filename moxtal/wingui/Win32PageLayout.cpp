// The page view's layout: the sizes the controls want, and where each goes.
#include "Win32PageView.h"

#include <commctrl.h>

#include <algorithm>
#include <cmath>

#include "moxtal/wingui/Win32PageViewParts.h"
#include "platform/Win32Text.h"

namespace mx::wingui {

namespace detail {

RECT Insets(const TContainer& container) {
  const TLook& look = Look();
  if (container.Kind() == TControlKind::ckGroupBox)
    return {look.Scale(8), look.LineHeight + look.Scale(6), look.Scale(8), look.Scale(8)};
  if (!container.Parent()) return {look.Margin, look.Margin, look.Margin, look.Margin};
  const auto& panel = static_cast<const TPanel&>(container);
  const int frame = panel.Sunken() ? look.Scale(3) : 0;
  return {frame, frame, frame, frame};
}

void ShareColumns(std::vector<int>& widths, const std::vector<char>& labels, int room) {
  const std::size_t columns = widths.size();
  std::vector<char> fixed(labels);
  int share = 0;
  for (bool changed = true; changed;) {
    changed = false;
    int rest = room;
    int open = 0;
    for (std::size_t c = 0; c < columns; ++c) {
      if (!fixed[c]) {
        ++open;
      } else if (!labels[c]) {
        rest -= widths[c];
      }
    }
    share = open > 0 ? rest / open : 0;
    for (std::size_t c = 0; c < columns; ++c) {
      if (!fixed[c] && widths[c] > share) {
        fixed[c] = 1;
        changed = true;
      }
    }
  }
  for (std::size_t c = 0; c < columns; ++c) {
    if (!fixed[c]) widths[c] = std::max(widths[c], share);
  }
}

}  // namespace detail

using namespace detail;
using platform::win32::Narrow;
using platform::win32::Widen;

int TWin32PageView::PreferredWidth(const TControl& control) const {
  const TLook& look = Look();
  const int square = look.EditHeight;
  switch (control.Kind()) {
    case TControlKind::ckLabel: {
      const auto& label = static_cast<const TLabel&>(control);
      const int text = look.TextSize(label.Caption()).cx;
      return label.WordWrap() ? std::min(text, look.Scale(440)) : text;
    }
    case TControlKind::ckCheckBox:
    case TControlKind::ckRadioButton:
      return look.TextSize(control.Caption()).cx + look.Scale(24);
    case TControlKind::ckEdit:
    case TControlKind::ckMaskEdit: {
      const auto& edit = static_cast<const TEdit&>(control);
      int width = look.Scale(160);
      if (const auto* masked = dynamic_cast<const TMaskEdit*>(&edit)) {
        const std::string& mask = masked->EditMask();
        width = look.TextSize(std::string(mask.substr(0, mask.find(';')).size() + 1, 'W')).cx;
      }
      const int buttons =
          (edit.FolderButton().Visible ? 1 : 0) + (edit.CustomButton().Visible ? 1 : 0);
      return width + buttons * (square + look.Scale(2));
    }
    case TControlKind::ckSpinEdit:
      return look.TextSize("0000000").cx + look.Scale(14) + look.Scale(16);
    case TControlKind::ckComboBox: {
      const auto& combo = static_cast<const TComboBox&>(control);
      int widest = look.Scale(48);
      for (const auto& item : combo.Items())
        widest = std::max(widest, static_cast<int>(look.TextSize(item, false).cx));
      return widest + look.Scale(34);
    }
    case TControlKind::ckStringGrid:
      return look.Scale(320);
    case TControlKind::ckImage:
      return look.Scale(static_cast<const TImage&>(control).Width());
    case TControlKind::ckButton:
      return std::max(static_cast<int>(look.TextSize(control.Caption()).cx) + look.Scale(24),
                      look.Scale(75));
    case TControlKind::ckPanel:
    case TControlKind::ckGroupBox: {
      const auto& container = static_cast<const TContainer&>(control);
      const RECT in = Insets(container);
      // The widest arrangement: every child at the width it asks for.
      std::vector<TPlacement> placed;
      int width = 0;
      Arrange(container, 0, &placed);
      for (const auto& p : placed)
        width = std::max(width, static_cast<int>(p.Bounds.right));
      if (control.Kind() == TControlKind::ckGroupBox)
        width =
            std::max(width, static_cast<int>(look.TextSize(control.Caption()).cx) + look.Scale(16));
      return width + in.left + in.right;
    }
  }
  return 0;
}

int TWin32PageView::HeightAt(const TControl& control, int width) const {
  const TLook& look = Look();
  switch (control.Kind()) {
    case TControlKind::ckLabel: {
      const auto& label = static_cast<const TLabel&>(control);
      return label.WordWrap() ? look.WrappedHeight(label.Caption(), width) : look.LineHeight;
    }
    case TControlKind::ckCheckBox:
    case TControlKind::ckRadioButton:
      return std::max(look.LineHeight + look.Scale(4), look.Scale(17));
    case TControlKind::ckEdit:
    case TControlKind::ckMaskEdit:
    case TControlKind::ckSpinEdit:
    case TControlKind::ckComboBox:
      return look.EditHeight;
    case TControlKind::ckStringGrid:
      return look.Scale(220);
    case TControlKind::ckImage:
      return look.Scale(static_cast<const TImage&>(control).Height());
    case TControlKind::ckButton:
      return look.ButtonHeight;
    case TControlKind::ckPanel:
    case TControlKind::ckGroupBox: {
      const auto& container = static_cast<const TContainer&>(control);
      const RECT in = Insets(container);
      return Arrange(container, width - in.left - in.right, nullptr) + in.top + in.bottom;
    }
  }
  return 0;
}

// The width a child takes of `room` (0: the width it asks for): containers, growing controls
// and wrapping texts take it all, the rest what they ask for at most.
int TWin32PageView::Fit(const TControl& child, int room) const {
  const int wanted = PreferredWidth(child);
  if (room <= 0) return wanted;
  const auto* label = dynamic_cast<const TLabel*>(&child);
  return IsContainer(child) || Grows(child) || (label && label->WordWrap())
             ? room
             : std::min(wanted, room);
}

// Places the shown children of `container` in a content area `width` wide (0: each child at the
// width it asks for), as the container's layout says, and gives the height they take. A hidden
// child of a form or a grid keeps its place, as it does in the Qt editor.
int TWin32PageView::Arrange(const TContainer& container, int width,
                            std::vector<TPlacement>* placed) const {
  std::vector<TControl*> children;
  for (const auto& child : container.Controls())
    children.push_back(child.get());
  switch (container.Layout()) {
    case TLayout::loColumn:
      return ArrangeLine(children, width, false, placed);
    case TLayout::loRow:
      return ArrangeLine(children, width, true, placed);
    case TLayout::loForm:
      return ArrangeForm(children, width, placed);
    case TLayout::loGrid:
      return ArrangeGrid(children, std::max(1, container.Columns()), width, placed);
  }
  return 0;
}

int TWin32PageView::ArrangeLine(const std::vector<TControl*>& all, int width, bool row,
                                std::vector<TPlacement>* placed) const {
  const int gap = Look().Gap;
  std::vector<TControl*> children;
  for (TControl* child : all) {
    if (child->Visible()) children.push_back(child);
  }
  const auto put = [&](TControl* child, int x, int y, int w, int h) {
    if (placed) placed->push_back({child, {x, y, x + w, y + h}});
  };
  int height = 0;
  if (!row) {
    for (TControl* child : children) {
      const int w = Fit(*child, width);
      const int h = HeightAt(*child, w);
      if (height > 0) height += gap;
      put(child, 0, height, w, h);
      height += h;
    }
    return height;
  }
  // Side by side: what is left over goes to the controls that grow.
  int wanted = gap * std::max(0, static_cast<int>(children.size()) - 1);
  int growers = 0;
  for (TControl* child : children) {
    wanted += PreferredWidth(*child);
    growers += Grows(*child) ? 1 : 0;
  }
  const int extra = width > wanted && growers > 0 ? (width - wanted) / growers : 0;
  std::vector<int> widths;
  for (TControl* child : children) {
    widths.push_back(PreferredWidth(*child) + (Grows(*child) ? extra : 0));
    height = std::max(height, HeightAt(*child, widths.back()));
  }
  int x = 0;
  for (std::size_t i = 0; i < children.size(); ++i) {
    const int h = HeightAt(*children[i], widths[i]);
    put(children[i], x, (height - h) / 2, widths[i], h);
    x += widths[i] + gap;
  }
  return height;
}

int TWin32PageView::ArrangeForm(const std::vector<TControl*>& children, int width,
                                std::vector<TPlacement>* placed) const {
  const int gap = Look().Gap;
  const auto shown = [](const TControl* c) { return c && c->Visible(); };
  int labels = 0;
  int fields = 0;
  for (std::size_t i = 0; i + 1 < children.size(); i += 2) {
    if (shown(children[i])) labels = std::max(labels, PreferredWidth(*children[i]));
    if (shown(children[i + 1])) fields = std::max(fields, PreferredWidth(*children[i + 1]));
  }
  const int room = width > 0 ? std::max(1, width - labels - gap) : fields;
  int height = 0;
  for (std::size_t i = 0; i < children.size(); i += 2) {
    TControl* left = children[i];
    TControl* right = i + 1 < children.size() ? children[i + 1] : nullptr;
    if (!shown(left) && !shown(right)) continue;
    if (height > 0) height += gap;
    if (!right) {
      // A last control without a partner takes the whole row.
      const int w = Fit(*left, width);
      const int h = HeightAt(*left, w);
      if (placed) placed->push_back({left, {0, height, w, height + h}});
      height += h;
      break;
    }
    const int w = width > 0 ? Fit(*right, room) : PreferredWidth(*right);
    const int hl = shown(left) ? HeightAt(*left, labels) : 0;
    const int hf = shown(right) ? HeightAt(*right, w) : 0;
    const int row = std::max(hl, hf);
    if (placed && shown(left))
      placed->push_back({left, {0, height + (row - hl) / 2, labels, height + (row - hl) / 2 + hl}});
    if (placed && shown(right)) {
      const int top = height + (row - hf) / 2;
      placed->push_back({right, {labels + gap, top, labels + gap + w, top + hf}});
    }
    height += row;
  }
  return height;
}

int TWin32PageView::ArrangeGrid(const std::vector<TControl*>& children, int columns, int width,
                                std::vector<TPlacement>* placed) const {
  const int gap = Look().Gap;
  struct TCell {
    TControl* Control;
    int Row, Col, Span;
  };
  std::vector<TCell> cells;
  int rows = 0;
  int col = 0;
  for (TControl* child : children) {
    const int span = std::clamp(child->ColumnSpan(), 1, columns);
    if (col + span > columns) {
      ++rows;
      col = 0;
    }
    cells.push_back({child, rows, col, span});
    col += span;
  }
  // Columns as wide as their widest single cell; the spare room goes to the columns that do not
  // hold labels, alike, each at least as wide as its content; what that overruns comes off the
  // widest.
  const auto at = [](auto& v, int i) -> auto& {
    return v[static_cast<std::size_t>(i)];
  };
  std::vector<int> widths(static_cast<std::size_t>(columns), 0);
  std::vector<char> labels(static_cast<std::size_t>(columns), 0);
  for (const TCell& cell : cells) {
    if (cell.Span != 1 || !cell.Control->Visible()) continue;
    at(widths, cell.Col) = std::max(at(widths, cell.Col), PreferredWidth(*cell.Control));
    if (cell.Control->Kind() == TControlKind::ckLabel) at(labels, cell.Col) = 1;
  }
  const int stretching = static_cast<int>(std::count(labels.begin(), labels.end(), 0));
  if (width > 0 && stretching > 0) {
    int room = width - gap * (columns - 1);
    for (int c = 0; c < columns; ++c)
      room -= at(labels, c) ? at(widths, c) : 0;
    ShareColumns(widths, labels, room);
    int used = 0;
    for (int c = 0; c < columns; ++c)
      used += at(labels, c) ? 0 : at(widths, c);
    // Content wider than the room: the widest column gives way.
    int& widest = *std::max_element(widths.begin(), widths.end());
    if (used > room) widest = std::max(0, widest - (used - room));
  }
  const auto left = [&](int c) {
    int x = 0;
    for (int i = 0; i < c; ++i)
      x += at(widths, i) + gap;
    return x;
  };
  const auto cellWidth = [&](const TCell& cell) {
    return left(cell.Col + cell.Span) - left(cell.Col) - gap;
  };
  int height = 0;
  for (int r = 0; r <= rows && !cells.empty(); ++r) {
    int tallest = -1;
    for (const TCell& cell : cells) {
      if (cell.Row == r && cell.Control->Visible())
        tallest = std::max(tallest, HeightAt(*cell.Control, Fit(*cell.Control, cellWidth(cell))));
    }
    if (tallest < 0) continue;  // nothing of this row is shown
    if (height > 0) height += gap;
    for (const TCell& cell : cells) {
      if (cell.Row != r || !cell.Control->Visible() || !placed) continue;
      const int w = Fit(*cell.Control, cellWidth(cell));
      // Containers of a row are as tall as the row, so neighbouring groups line up; a label
      // stands level with the control beside it.
      const int h = IsContainer(*cell.Control) ? tallest : HeightAt(*cell.Control, w);
      const int top = height + (tallest - h) / 2;
      placed->push_back({cell.Control, {left(cell.Col), top, left(cell.Col) + w, top + h}});
    }
    height += tallest;
  }
  return height;
}

SIZE TWin32PageView::PreferredSize(int width) const {
  const int w = std::max(width, PreferredWidth(frame_));
  return {w, HeightAt(frame_, w)};
}

void TWin32PageView::Move(TControl& control, const RECT& bounds) {
  const TLook& look = Look();
  TBinding& b = bindings_[&control];
  const int width = bounds.right - bounds.left;
  const int height = bounds.bottom - bounds.top;
  if (b.Frame) ::MoveWindow(b.Frame, bounds.left, bounds.top, width, height, TRUE);
  if (auto* container = dynamic_cast<TContainer*>(&control)) {
    if (b.Window) ::MoveWindow(b.Window, bounds.left, bounds.top, width, height, TRUE);
    const RECT in = Insets(*container);
    std::vector<TPlacement> placed;
    Arrange(*container, std::max(1, width - static_cast<int>(in.left + in.right)), &placed);
    for (const auto& p : placed) {
      RECT at = p.Bounds;
      ::OffsetRect(&at, bounds.left + in.left, bounds.top + in.top);
      Move(*p.Control, at);
    }
    return;
  }
  int inputWidth = width;
  const int square = look.EditHeight;
  for (HWND button : {b.Custom, b.Folder}) {
    if (!button) continue;
    ::MoveWindow(button, bounds.left + inputWidth - square, bounds.top, square, square, TRUE);
    inputWidth -= square + look.Scale(2);
  }
  if (b.UpDown) {
    // The arrows sit inside the edit's border, at its right, and the text keeps clear of them.
    const int arrows = look.Scale(16);
    const int border = ::GetSystemMetrics(SM_CXEDGE);
    ::MoveWindow(b.UpDown, bounds.left + inputWidth - arrows - border, bounds.top + border, arrows,
                 height - 2 * border, TRUE);
    ::SendMessageW(b.Window, EM_SETMARGINS, EC_RIGHTMARGIN, MAKELPARAM(0, arrows));
  }
  // A combo box's window includes its drop-down list.
  const int windowHeight =
      control.Kind() == TControlKind::ckComboBox ? height + look.Scale(240) : height;
  if (b.Window)
    ::MoveWindow(b.Window, bounds.left, bounds.top, std::max(0, inputWidth), windowHeight, TRUE);
  if (control.Kind() == TControlKind::ckStringGrid) {
    // The last column takes what the others leave.
    const int columns = static_cast<const TStringGrid&>(control).ColCount();
    const int first = look.Scale(150);
    for (int c = 0; c + 1 < columns; ++c)
      ListView_SetColumnWidth(b.Window, c, first);
    ListView_SetColumnWidth(
        b.Window, columns - 1,
        std::max(look.Scale(60), inputWidth - first * (columns - 1) -
                                     ::GetSystemMetrics(SM_CXVSCROLL) - look.Scale(4)));
  }
}

void TWin32PageView::Place(const RECT& bounds) {
  bounds_ = bounds;
  ::MoveWindow(window_, bounds.left, bounds.top, bounds.right - bounds.left,
               bounds.bottom - bounds.top, TRUE);
  Relayout();
}

void TWin32PageView::Relayout() {
  RECT inner{0, 0, bounds_.right - bounds_.left, bounds_.bottom - bounds_.top};
  Move(frame_, inner);
  ::InvalidateRect(window_, nullptr, TRUE);
}

}  // namespace mx::wingui
