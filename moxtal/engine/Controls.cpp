#include "moxtal/api/Controls.h"

#include <algorithm>
#include <cmath>

#include "moxtal/api/Pages.h"
#include "platform/Exception.h"
#include "platform/WholeFile.h"

namespace mx {

// ---- TControl

TControl::TControl(TControlKind kind, std::string name) : kind_(kind), name_(std::move(name)) {}

TControl::~TControl() = default;

void TControl::SetCaption(std::string caption) {
  if (caption_ == caption) return;
  caption_ = std::move(caption);
  Changed();
}

void TControl::SetHint(std::string hint) {
  if (hint_ == hint) return;
  hint_ = std::move(hint);
  Changed();
}

void TControl::SetEnabled(bool enabled) {
  if (enabled_ == enabled) return;
  enabled_ = enabled;
  Changed();
}

void TControl::SetColor(TColor color) {
  if (color_ == color) return;
  color_ = color;
  Changed();
}

bool TControl::EffectivelyEnabled() const {
  for (const TControl* c = this; c; c = c->parent_) {
    if (!c->enabled_) return false;
  }
  return true;
}

void TControl::SetVisible(bool visible) {
  if (visible_ == visible) return;
  visible_ = visible;
  Changed();
}

TFrame* TControl::Frame() const {
  const TControl* top = this;
  while (top->parent_)
    top = top->parent_;
  return dynamic_cast<TFrame*>(const_cast<TControl*>(top));
}

void TControl::SetFocus() {
  if (TFrame* frame = Frame()) frame->RequestFocus(*this);
}

void TControl::Changed() {
  if (const TFrame* frame = Frame()) frame->NotifyChanged(*this);
}

// ---- containers

TContainer::TContainer(TControlKind kind, std::string name, TLayout layout)
    : TControl(kind, std::move(name)), layout_(layout) {}

void TContainer::Adopt(std::unique_ptr<TControl> control) {
  control->parent_ = this;
  controls_.push_back(std::move(control));
}

TControl* TContainer::FindControl(std::string_view name) const {
  for (const auto& c : controls_) {
    if (c->Name() == name) return c.get();
    if (const auto* container = dynamic_cast<const TContainer*>(c.get())) {
      if (TControl* found = container->FindControl(name)) return found;
    }
  }
  return nullptr;
}

void TContainer::NoSuchControl(std::string_view name) const {
  throw Exception("There is no control " + std::string(name) + " of that kind in " + Name());
}

std::vector<TRadioButton*> TContainer::Radios(std::string_view group) const {
  std::vector<TRadioButton*> radios;
  for (const auto& c : Get<TContainer>(group).Controls()) {
    if (auto* radio = dynamic_cast<TRadioButton*>(c.get())) radios.push_back(radio);
  }
  return radios;
}

void TContainer::SetLayout(TLayout layout, int columns) {
  layout_ = layout;
  columns_ = std::max(columns, 1);
}

TPanel::TPanel(std::string name, TLayout layout)
    : TContainer(TControlKind::ckPanel, std::move(name), layout) {}

TGroupBox::TGroupBox(std::string name, std::string caption, TLayout layout)
    : TContainer(TControlKind::ckGroupBox, std::move(name), layout) {
  SetCaption(std::move(caption));
}

TLabel::TLabel(std::string name, std::string caption)
    : TControl(TControlKind::ckLabel, std::move(name)) {
  SetCaption(std::move(caption));
}

// ---- buttons

TCheckBox::TCheckBox(std::string name, std::string caption)
    : TControl(TControlKind::ckCheckBox, std::move(name)) {
  SetCaption(std::move(caption));
}

void TCheckBox::SetChecked(bool checked) {
  if (checked_ == checked) return;
  checked_ = checked;
  Changed();
  if (OnClick) OnClick();
}

void TCheckBox::Click() {
  if (EffectivelyEnabled()) SetChecked(!checked_);
}

TRadioButton::TRadioButton(std::string name, std::string caption)
    : TControl(TControlKind::ckRadioButton, std::move(name)) {
  SetCaption(std::move(caption));
}

void TRadioButton::SetChecked(bool checked) {
  if (checked_ == checked) return;
  checked_ = checked;
  if (checked && Parent()) {
    for (const auto& sibling : Parent()->Controls()) {
      auto* radio = dynamic_cast<TRadioButton*>(sibling.get());
      if (radio && radio != this && radio->checked_) {
        radio->checked_ = false;
        radio->Changed();
      }
    }
  }
  Changed();
  if (OnClick) OnClick();
}

void TRadioButton::Click() {
  if (EffectivelyEnabled()) SetChecked(true);
}

TButton::TButton(std::string name, std::string caption)
    : TControl(TControlKind::ckButton, std::move(name)) {
  SetCaption(std::move(caption));
}

void TButton::Click() {
  if (EffectivelyEnabled() && OnClick) OnClick();
}

// ---- edits

TEdit::TEdit(std::string name) : TEdit(TControlKind::ckEdit, std::move(name)) {}

TEdit::TEdit(TControlKind kind, std::string name) : TControl(kind, std::move(name)) {}

void TEdit::SetText(std::string text) {
  if (text_ == text) return;
  text_ = std::move(text);
  Changed();
  if (OnChange) OnChange();
}

void TEdit::SetReadOnly(bool readOnly) {
  if (readOnly_ == readOnly) return;
  readOnly_ = readOnly;
  Changed();
}

void TEdit::ClickFolderButton() {
  if (folderButton_.Visible && EffectivelyEnabled() && OnButtonClick) OnButtonClick();
}

void TEdit::ClickCustomButton() {
  if (customButton_.Visible && EffectivelyEnabled() && OnCustomButtonClick) OnCustomButtonClick();
}

TMaskEdit::TMaskEdit(std::string name, std::string editMask)
    : TEdit(TControlKind::ckMaskEdit, std::move(name)), editMask_(std::move(editMask)) {}

TSpinEdit::TSpinEdit(std::string name, double minValue, double maxValue, double increment)
    : TControl(TControlKind::ckSpinEdit, std::move(name)),
      minValue_(minValue),
      maxValue_(maxValue),
      increment_(increment) {}

void TSpinEdit::SetValue(double value) {
  if (minValue_ != 0 || maxValue_ != 0) value = std::clamp(value, minValue_, maxValue_);
  if (value_ == value) return;
  value_ = value;
  Changed();
  if (OnChange) OnChange();
}

// ---- combo box

TComboBox::TComboBox(std::string name, TComboBoxStyle style)
    : TControl(TControlKind::ckComboBox, std::move(name)), style_(style) {}

void TComboBox::SetItems(const platform::TStringList& items) {
  items_.Clear();
  items_.SetSorted(sorted_);
  items_.AddStrings(items);
  itemIndex_ = -1;
  if (style_ == TComboBoxStyle::csDropDownList) text_.clear();
  Changed();
}

void TComboBox::SetItemIndex(int index) {
  if (index < -1 || index >= items_.Count()) index = -1;
  itemIndex_ = index;
  if (index >= 0) {
    text_ = items_[index];
  } else if (style_ == TComboBoxStyle::csDropDownList) {
    text_.clear();
  }
  Changed();
}

void TComboBox::SetText(std::string text) {
  if (style_ == TComboBoxStyle::csDropDownList) {
    SetItemIndex(items_.IndexOf(text));
    return;
  }
  const int index = items_.IndexOf(text);
  itemIndex_ = index;
  text_ = std::move(text);
  Changed();
}

void TComboBox::SetSorted(bool sorted) {
  if (sorted_ == sorted) return;
  sorted_ = sorted;
  const std::string selected = text_;
  items_.SetSorted(sorted);
  if (itemIndex_ >= 0) itemIndex_ = items_.IndexOf(selected);
  Changed();
}

void TComboBox::Choose(int index) {
  if (!EffectivelyEnabled()) return;
  SetItemIndex(index);
  if (OnChange) OnChange();
}

void TComboBox::Type(std::string text) {
  if (!EffectivelyEnabled() || style_ == TComboBoxStyle::csDropDownList) return;
  SetText(std::move(text));
  if (OnChange) OnChange();
}

// ---- grid

TStringGrid::TStringGrid(std::string name, int colCount, int rowCount, int fixedRows)
    : TControl(TControlKind::ckStringGrid, std::move(name)),
      colCount_(colCount),
      fixedRows_(fixedRows),
      cells_(static_cast<std::size_t>(std::max(rowCount, 0)),
             std::vector<std::string>(static_cast<std::size_t>(colCount))) {}

void TStringGrid::SetRowCount(int rows) {
  cells_.resize(static_cast<std::size_t>(std::max(rows, 0)),
                std::vector<std::string>(static_cast<std::size_t>(colCount_)));
  Changed();
}

const std::string& TStringGrid::Cell(int col, int row) const {
  static const std::string empty;
  if (col < 0 || col >= colCount_ || row < 0 || row >= RowCount()) return empty;
  return cells_[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)];
}

void TStringGrid::SetCell(int col, int row, std::string text) {
  if (col < 0 || col >= colCount_ || row < 0 || row >= RowCount()) {
    throw Exception("Grid index out of range: " + Name() + " column " + std::to_string(col) +
                    " row " + std::to_string(row));
  }
  auto& cell = cells_[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)];
  if (cell == text) return;
  cell = std::move(text);
  Changed();
}

void TStringGrid::Edit(int col, int row, std::string text) {
  if (!EffectivelyEnabled() || !editable_ || row < fixedRows_) return;
  SetCell(col, row, std::move(text));
  if (OnSetEditText) OnSetEditText();
}

// ---- image

TImage::TImage(std::string name, int width, int height)
    : TControl(TControlKind::ckImage, std::move(name)), width_(width), height_(height) {}

void TImage::LoadFromFile(const std::string& path) {
  std::string bytes = platform::ReadWholeFile(path);
  const auto starts = [&bytes](std::string_view magic) { return bytes.starts_with(magic); };
  if (!starts(std::string_view("\0\0\1\0", 4)) && !starts("\x89PNG") && !starts("BM"))
    throw Exception(path + ": not an icon, PNG or bitmap file");
  picture_ = std::move(bytes);
  Changed();
}

void TImage::Clear() {
  if (picture_.empty()) return;
  picture_.clear();
  Changed();
}

void IConstControlVisitor::Visit(const TMaskEdit& control) {
  Visit(static_cast<const TEdit&>(control));
}

bool Grows(const TControl& control) {
  switch (control.Kind()) {
    case TControlKind::ckEdit:
    case TControlKind::ckStringGrid:
      return true;
    case TControlKind::ckComboBox:
      // A list to choose from is as wide as its items; a box to type in takes the room.
      return static_cast<const TComboBox&>(control).Style() == TComboBoxStyle::csDropDown;
    case TControlKind::ckPanel:
    case TControlKind::ckGroupBox:
      for (const auto& child : static_cast<const TContainer&>(control).Controls()) {
        if (Grows(*child)) return true;
      }
      return false;
    default:
      return false;
  }
}

}  // namespace mx
