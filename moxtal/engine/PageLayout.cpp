#include "PageLayout.h"

#include <algorithm>
#include <string>

#include "platform/StrUtils.h"

namespace mx::engine {

namespace {

// The characters of `text` as a fixed-width font shows them: "&" marks the next letter, "&&" is
// one ampersand; a UTF-8 sequence is one character.
int Characters(std::string_view text, bool prefix) {
  int count = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if ((c & 0xC0) == 0x80) continue;
    if (prefix && c == '&' && i + 1 < text.size()) ++i;
    ++count;
  }
  return count;
}

bool IsEdit(const TControl& control) {
  return dynamic_cast<const TEdit*>(&control) || dynamic_cast<const TSpinEdit*>(&control);
}

// An edit, or a row whose controls, centred on one line, include an edit.
bool HoldsEditOnItsLine(const TControl& control) {
  if (IsEdit(control)) return true;
  const auto* row = dynamic_cast<const TContainer*>(&control);
  if (!row || row->Layout() != TLayout::loRow) return false;
  return std::any_of(row->Controls().begin(), row->Controls().end(),
                     [](const auto& child) { return child->Visible() && IsEdit(*child); });
}

bool IsContainer(const TControl& control) {
  return dynamic_cast<const TContainer*>(&control) != nullptr;
}

// The width each kind of control asks for.
class TPreferredWidth : public IConstControlVisitor {
 public:
  TPreferredWidth(const TPageLayout& layout, const ILayoutMetrics& m) : layout_(layout), m_(m) {}
  int Width = 0;

  void Visit(const TPanel& c) override { Container(c); }
  void Visit(const TGroupBox& c) override {
    Container(c);
    Width = std::max(Width, m_.TextWidth(c.Caption()) + m_.Scale(16) + layout_.Insets(c).Left +
                                layout_.Insets(c).Right);
  }
  void Visit(const TLabel& c) override {
    const int text = std::max(m_.TextWidth(c.Caption()),
                              m_.TextWidth(std::string(std::max(0, c.MinChars()), '0'), false));
    Width = c.WordWrap() ? std::min(text, m_.Scale(440)) : text;
  }
  void Visit(const TCheckBox& c) override { Width = m_.TextWidth(c.Caption()) + m_.Scale(24); }
  void Visit(const TRadioButton& c) override { Width = m_.TextWidth(c.Caption()) + m_.Scale(24); }
  void Visit(const TEdit& c) override { Edit(c, m_.Scale(160)); }
  void Visit(const TMaskEdit& c) override {
    // Room for the mask's places and one more.
    const std::string& mask = c.EditMask();
    Edit(c, m_.TextWidth(std::string(mask.substr(0, mask.find(';')).size() + 1, 'W')));
  }
  void Visit(const TSpinEdit&) override {
    Width = m_.TextWidth("0000000") + m_.Scale(14) + m_.Scale(16);
  }
  void Visit(const TComboBox& c) override {
    int widest = m_.Scale(48);
    for (const auto& item : c.Items())
      widest = std::max(widest, m_.TextWidth(item, false));
    Width = widest + m_.Scale(34);
  }
  void Visit(const TStringGrid&) override { Width = m_.Scale(320); }
  void Visit(const TImage& c) override { Width = m_.Scale(c.Width()); }
  void Visit(const TButton& c) override {
    Width = std::max(m_.TextWidth(c.Caption()) + m_.Scale(24), m_.Scale(75));
  }

 private:
  void Edit(const TEdit& c, int text) {
    const int buttons = (c.FolderButton().Visible ? 1 : 0) + (c.CustomButton().Visible ? 1 : 0);
    Width = text + buttons * (m_.EditHeight() + m_.Scale(2));
  }
  void Container(const TContainer& c) {
    // The widest arrangement: every child at the width it asks for.
    std::vector<TPlacement> placed;
    layout_.Arrange(c, 0, &placed);
    int width = 0;
    for (const auto& p : placed)
      width = std::max(width, p.Bounds.Right);
    const TLayoutRect in = layout_.Insets(c);
    Width = width + in.Left + in.Right;
  }

  const TPageLayout& layout_;
  const ILayoutMetrics& m_;
};

// The height each kind of control takes at a width.
class THeightAt : public IConstControlVisitor {
 public:
  THeightAt(const TPageLayout& layout, const ILayoutMetrics& m, int width)
      : layout_(layout), m_(m), width_(width) {}
  int Height = 0;

  void Visit(const TPanel& c) override { Container(c); }
  void Visit(const TGroupBox& c) override { Container(c); }
  void Visit(const TLabel& c) override {
    Height = c.WordWrap() ? m_.WrappedHeight(c.Caption(), width_) : m_.LineHeight();
  }
  void Visit(const TCheckBox&) override { Check(); }
  void Visit(const TRadioButton&) override { Check(); }
  void Visit(const TEdit&) override { Height = m_.EditHeight(); }
  void Visit(const TSpinEdit&) override { Height = m_.EditHeight(); }
  void Visit(const TComboBox&) override { Height = m_.EditHeight(); }
  void Visit(const TStringGrid&) override { Height = m_.Scale(220); }
  void Visit(const TImage& c) override { Height = m_.Scale(c.Height()); }
  void Visit(const TButton&) override { Height = m_.ButtonHeight(); }

 private:
  void Check() { Height = std::max(m_.LineHeight() + m_.Scale(4), m_.Scale(17)); }
  void Container(const TContainer& c) {
    const TLayoutRect in = layout_.Insets(c);
    // At least one pixel: a width of 0 would mean each child at the width it asks for.
    const int inner = std::max(1, width_ - in.Left - in.Right);
    Height = layout_.Arrange(c, inner, nullptr) + in.Top + in.Bottom;
  }

  const TPageLayout& layout_;
  const ILayoutMetrics& m_;
  int width_;
};

// The insets of each kind of container.
class TInsets : public IConstControlVisitor {
 public:
  explicit TInsets(const ILayoutMetrics& m) : m_(m) {}
  TLayoutRect Insets;

  void Visit(const TPanel& c) override {
    if (!c.Parent()) {
      Insets = {m_.Margin(), m_.Margin(), m_.Margin(), m_.Margin()};
      return;
    }
    const int frame = c.Sunken() ? m_.Scale(3) : 0;
    Insets = {frame, frame, frame, frame};
  }
  void Visit(const TGroupBox&) override {
    Insets = {m_.Scale(8), m_.LineHeight() + m_.Scale(6), m_.Scale(8), m_.Scale(8)};
  }
  void Visit(const TLabel&) override {}
  void Visit(const TCheckBox&) override {}
  void Visit(const TRadioButton&) override {}
  void Visit(const TEdit&) override {}
  void Visit(const TSpinEdit&) override {}
  void Visit(const TComboBox&) override {}
  void Visit(const TStringGrid&) override {}
  void Visit(const TImage&) override {}
  void Visit(const TButton&) override {}

 private:
  const ILayoutMetrics& m_;
};

}  // namespace

int TFixedMetrics::TextWidth(std::string_view text, bool prefix) const {
  return 7 * Characters(text, prefix);
}

int TFixedMetrics::WrappedHeight(std::string_view text, int width) const {
  // Words move to the next line whole; a word wider than the line takes lines of its own.
  const int perLine = std::max(1, width / 7);
  int lines = 1;
  int used = 0;
  std::size_t at = 0;
  while (at < text.size()) {
    const std::size_t end = std::min(text.find(' ', at), text.size());
    const int word = Characters(text.substr(at, end - at), true);
    if (used > 0 && used + 1 + word > perLine) {
      ++lines;
      used = 0;
    }
    used += (used > 0 ? 1 : 0) + word;
    while (used > perLine) {
      ++lines;
      used -= perLine;
    }
    at = end + 1;
  }
  return lines * LineHeight();
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

TLayoutRect TPageLayout::Insets(const TContainer& container) const {
  TInsets insets(metrics_);
  container.Accept(insets);
  return insets.Insets;
}

int TPageLayout::PreferredWidth(const TControl& control) const {
  TPreferredWidth width(*this, metrics_);
  control.Accept(width);
  return width.Width;
}

int TPageLayout::HeightAt(const TControl& control, int width) const {
  THeightAt height(*this, metrics_, width);
  control.Accept(height);
  return height.Height;
}

// The width a child takes of `room` (0: the width it asks for): containers, growing controls
// and wrapping texts take it all, the rest what they ask for at most.
int TPageLayout::Fit(const TControl& child, int room) const {
  const int wanted = PreferredWidth(child);
  if (room <= 0) return wanted;
  const auto* label = dynamic_cast<const TLabel*>(&child);
  return IsContainer(child) || Grows(child) || (label && label->WordWrap())
             ? room
             : std::min(wanted, room);
}

int TPageLayout::Arrange(const TContainer& container, int width,
                         std::vector<TPlacement>* placed) const {
  std::vector<const TControl*> children;
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

int TPageLayout::ArrangeLine(const std::vector<const TControl*>& all, int width, bool row,
                             std::vector<TPlacement>* placed) const {
  const int gap = metrics_.Gap();
  std::vector<const TControl*> children;
  for (const TControl* child : all) {
    if (child->Visible()) children.push_back(child);
  }
  const auto put = [&](const TControl* child, int x, int y, int w, int h) {
    if (placed) placed->push_back({child, {x, y, x + w, y + h}});
  };
  int height = 0;
  if (!row) {
    for (const TControl* child : children) {
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
  for (const TControl* child : children) {
    wanted += PreferredWidth(*child);
    growers += Grows(*child) ? 1 : 0;
  }
  const int extra = width > wanted && growers > 0 ? (width - wanted) / growers : 0;
  std::vector<int> widths;
  for (const TControl* child : children) {
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

int TPageLayout::ArrangeForm(const std::vector<const TControl*>& children, int width,
                             std::vector<TPlacement>* placed) const {
  const int gap = metrics_.Gap();
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
    const TControl* left = children[i];
    const TControl* right = i + 1 < children.size() ? children[i + 1] : nullptr;
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
    const int top = height + (row - hf) / 2;
    // A label stands level with the control beside it, or with the first of a column of them.
    const int line = shown(right) ? FirstLineHeight(*right, w) : hf;
    // Beside an edit, or a row holding one, it follows the edit's text, where the renderer's
    // edits put it higher than their middle.
    const int raise =
        shown(right) && HoldsEditOnItsLine(*right)
            ? (metrics_.EditHeight() - metrics_.LineHeight()) / 2 - metrics_.EditTextTop()
            : 0;
    const int labelTop =
        hl <= line ? top + std::max(0, (line - hl) / 2 - raise) : height + (row - hl) / 2;
    if (placed && shown(left)) placed->push_back({left, {0, labelTop, labels, labelTop + hl}});
    if (placed && shown(right))
      placed->push_back({right, {labels + gap, top, labels + gap + w, top + hf}});
    height += row;
  }
  return height;
}

int TPageLayout::ArrangeGrid(const std::vector<const TControl*>& children, int columns, int width,
                             std::vector<TPlacement>* placed) const {
  const int gap = metrics_.Gap();
  struct TCell {
    const TControl* Control;
    int Row, Col, Span;
  };
  std::vector<TCell> cells;
  int rows = 0;
  int col = 0;
  for (const TControl* child : children) {
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
    if (dynamic_cast<const TLabel*>(cell.Control)) at(labels, cell.Col) = 1;
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
    // A column squeezed to nothing still keeps its controls inside it.
    return std::max(1, left(cell.Col + cell.Span) - left(cell.Col) - gap);
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

int TPageLayout::FirstLineHeight(const TControl& field, int width) const {
  const auto* column = dynamic_cast<const TContainer*>(&field);
  if (!column || column->Layout() != TLayout::loColumn) return HeightAt(field, width);
  const TLayoutRect in = Insets(*column);
  for (const auto& child : column->Controls()) {
    if (child->Visible()) return in.Top + HeightAt(*child, Fit(*child, width - in.Left - in.Right));
  }
  return HeightAt(field, width);
}

void TPageLayout::PlaceWithin(const TControl& control, TLayoutRect bounds,
                              std::vector<TPlacement>& placed) const {
  placed.push_back({&control, bounds});
  const auto* container = dynamic_cast<const TContainer*>(&control);
  if (!container) return;
  const TLayoutRect in = Insets(*container);
  std::vector<TPlacement> children;
  Arrange(*container, std::max(1, bounds.Width() - in.Left - in.Right), &children);
  for (const auto& child : children) {
    TLayoutRect at = child.Bounds;
    at.Left += bounds.Left + in.Left;
    at.Right += bounds.Left + in.Left;
    at.Top += bounds.Top + in.Top;
    at.Bottom += bounds.Top + in.Top;
    PlaceWithin(*child.Control, at, placed);
  }
}

std::vector<TPlacement> TPageLayout::Place(const TContainer& root, TLayoutRect bounds) const {
  std::vector<TPlacement> placed;
  PlaceWithin(root, bounds, placed);
  return placed;
}

TLayoutRect TPageLayout::PreferredBounds(const TContainer& root, int width) const {
  const int w = std::max(width, PreferredWidth(root));
  return {0, 0, w, HeightAt(root, w)};
}

std::vector<TEditButtonPlace> TPageLayout::EditButtons(const TEdit& edit,
                                                       TLayoutRect bounds) const {
  std::vector<TEditButtonPlace> buttons;
  const int square = metrics_.EditHeight();
  int right = bounds.Right;
  for (const TEditButton* button : {&edit.CustomButton(), &edit.FolderButton()}) {
    if (!button->Visible) continue;
    buttons.push_back({button, {right - square, bounds.Top, right, bounds.Top + square}});
    right -= square + metrics_.Scale(2);
  }
  return buttons;
}

int TPageLayout::EditBoxWidth(const TEdit& edit, int width) const {
  for (const TEditButton* button : {&edit.CustomButton(), &edit.FolderButton()}) {
    if (button->Visible) width -= metrics_.EditHeight() + metrics_.Scale(2);
  }
  return width;
}

std::vector<std::string> WrapAtSpaces(std::string_view text, int width,
                                      const ILayoutMetrics& metrics) {
  std::vector<std::string> lines;
  std::size_t at = 0;
  do {
    const std::size_t end = std::min(text.find('\n', at), text.size());
    std::string line;
    for (const std::string& word : platform::SplitList(text.substr(at, end - at), ' ')) {
      std::string longer = line.empty() ? word : line + " " + word;
      if (!line.empty() && metrics.TextWidth(longer, false) > width) {
        lines.push_back(std::move(line));
        longer = word;
      }
      line = std::move(longer);
    }
    lines.push_back(std::move(line));
    at = end + 1;
  } while (at <= text.size());
  return lines;
}

}  // namespace mx::engine
