#include "ControlTable.h"

#include "package/pages/MxCBuilderFrame.h"

namespace mx::bcc {
namespace {

// The mask of the linker's sizes and addresses: "0x" and eight hexadecimal digits.
constexpr const char* kHexMask = "0x00000000;1;_";

// The container a row makes, added to `parent`; nullptr for a row of another kind.
TContainer* AddContainer(TContainer& parent, const TControlRow& row) {
  switch (row.Kind) {
    case TRowKind::Grid:
    case TRowKind::GridGroup: {
      TContainer& grid = row.Kind == TRowKind::Grid
                             ? static_cast<TContainer&>(parent.Add<TPanel>(row.Name))
                             : parent.Add<TGroupBox>(row.Name, row.Caption);
      grid.SetLayout(TLayout::loGrid, row.Columns);
      return &grid;
    }
    case TRowKind::Panel: {
      auto& panel = parent.Add<TPanel>(row.Name);
      panel.SetSunken(row.IsSunken);
      return &panel;
    }
    case TRowKind::RowPanel:
      return &parent.Add<TPanel>(row.Name, TLayout::loRow);
    case TRowKind::FormPanel:
      return &parent.Add<TPanel>(row.Name, TLayout::loForm);
    case TRowKind::Group:
      return &parent.Add<TGroupBox>(row.Name, row.Caption);
    case TRowKind::FormGroup:
      return &parent.Add<TGroupBox>(row.Name, row.Caption, TLayout::loForm);
    default:
      return nullptr;
  }
}

// A control after its label, or alone when the row has no label.
template <class T, class... Args>
T& AddAfterLabel(TContainer& parent, const TControlRow& row, Args&&... args) {
  if (!*row.Label) return parent.Add<T>(row.Name, std::forward<Args>(args)...);
  return AddLabeled<T>(parent, row.Label, row.Caption, row.Name, std::forward<Args>(args)...);
}

// An edit of any kind: its buttons and its text before any value is read.
template <class T, class... Args>
T& AddEdit(TContainer& parent, const TControlRow& row, Args&&... args) {
  T& edit = AddAfterLabel<T>(parent, row, std::forward<Args>(args)...);
  if (row.MainButton) edit.FolderButton() = {true, row.MainHint, row.MainGlyph};
  if (row.SecondButton) edit.CustomButton() = {true, row.SecondHint, row.SecondGlyph};
  if (*row.Text) edit.SetText(row.Text);
  return edit;
}

// The value control a row makes, added to `parent` with its binding, if it shows a property
// (radio buttons are bound by their run).
TControl& AddValueControl(TContainer& parent, const TControlRow& row, TPropertyBindings& bindings) {
  const std::string property = row.Property;
  const bool bound = !property.empty();
  switch (row.Kind) {
    case TRowKind::Check: {
      auto& box = parent.Add<TCheckBox>(row.Name, row.Caption);
      if (row.Ticked) box.SetChecked(true);
      if (bound) bindings.Check(box, property);
      return box;
    }
    case TRowKind::Radio:
      return parent.Add<TRadioButton>(row.Name, row.Caption);
    case TRowKind::Edit: {
      auto& edit = AddEdit<TEdit>(parent, row);
      if (bound) bindings.Text(edit, property);
      return edit;
    }
    case TRowKind::NumberEdit: {
      auto& edit = AddEdit<TEdit>(parent, row);
      if (bound) bindings.Number(edit, property, row.Fallback);
      return edit;
    }
    case TRowKind::HexEdit: {
      auto& edit = AddEdit<TMaskEdit>(parent, row, kHexMask);
      if (bound) bindings.Hex(edit, property);
      return edit;
    }
    case TRowKind::Spin: {
      auto& spin = AddAfterLabel<TSpinEdit>(parent, row, row.Min, row.Max, row.Step);
      if (row.ValueGiven) spin.SetValue(row.Value);
      if (bound) bindings.Spin(spin, property);
      return spin;
    }
    case TRowKind::Combo: {
      auto& combo = AddAfterLabel<TComboBox>(parent, row, TComboBoxStyle::csDropDownList);
      if (*row.Text) combo.SetItems(platform::TStringList(row.Text));
      if (row.ValueGiven) combo.SetItemIndex(row.Value);
      if (bound) bindings.Choice(combo, property);
      return combo;
    }
    case TRowKind::ComboEdit: {
      auto& combo = parent.Add<TComboBox>(row.Name, TComboBoxStyle::csDropDown);
      if (bound) bindings.ComboText(combo, property);
      return combo;
    }
    default:
      throw Exception(std::string("A row of a kind that holds no value: ") + row.Name);
  }
}

// The control a row makes, added to `parent`.
TControl& AddRow(TContainer& parent, const TControlRow& row, TPropertyBindings& bindings) {
  if (TContainer* container = AddContainer(parent, row)) return *container;
  switch (row.Kind) {
    case TRowKind::Label: {
      auto& label = parent.Add<TLabel>(row.Name, row.Caption);
      if (row.Wrapped) label.SetWordWrap(true);
      return label;
    }
    case TRowKind::StringGrid:
      return parent.Add<TStringGrid>(row.Name, row.Columns, row.Rows, row.FixedRows);
    case TRowKind::Image:
      return parent.Add<TImage>(row.Name, row.Width, row.Height);
    case TRowKind::Button:
      return parent.Add<TButton>(row.Name, row.Caption);
    default:
      return AddValueControl(parent, row, bindings);
  }
}

}  // namespace

void AddControls(TContainer& page, std::span<const TControlRow> rows, TPropertyBindings& bindings) {
  // Radio rows of one property, bound together once the run ends.
  std::vector<TRadioButton*> radios;
  std::string radioProperty;
  const auto bindRadios = [&] {
    if (!radios.empty() && !radioProperty.empty()) bindings.Radio(radios, radioProperty);
    radios.clear();
  };
  for (const TControlRow& row : rows) {
    if (row.Kind != TRowKind::Radio || radioProperty != row.Property) bindRadios();
    TContainer& parent = *row.Parent ? page.Get<TContainer>(row.Parent) : page;
    TControl& control = AddRow(parent, row, bindings);
    if (row.Kind == TRowKind::Radio) {
      radios.push_back(static_cast<TRadioButton*>(&control));
      radioProperty = row.Property;
    }
    if (*row.HintText) control.SetHint(row.HintText);
    if (row.Hidden) control.SetVisible(false);
    if (row.Disabled) control.SetEnabled(false);
  }
  bindRadios();
  // A label names a control that came after it.
  for (const TControlRow& row : rows) {
    if (*row.FocusName)
      page.Get<TLabel>(row.Name).SetFocusControl(&page.Get<TControl>(row.FocusName));
  }
}

}  // namespace mx::bcc
