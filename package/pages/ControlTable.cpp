#include "ControlTable.h"

#include <cstdio>

#include "package/pages/MxCBuilderFrame.h"

namespace mx::bcc {
namespace {

// The mask of the linker's sizes and addresses: "0x" and eight hexadecimal digits.
constexpr const char* kHexMask = "0x00000000;1;_";

// The control a row makes, added to `parent`; the bindings of a check box, an edit or a spin
// edit go to `bindings` (radio buttons are bound by their run).
TControl& AddRow(TContainer& parent, const TControlRow& row, TPropertyBindings& bindings) {
  const std::string property = row.Property;
  switch (row.Kind) {
    case TRowKind::Label: {
      auto& label = parent.Add<TLabel>(row.Name, row.Caption);
      label.SetWordWrap(row.Wrapped);
      return label;
    }
    case TRowKind::Grid: {
      auto& grid = parent.Add<TPanel>(row.Name, TLayout::loGrid);
      grid.SetLayout(TLayout::loGrid, row.Value);
      return grid;
    }
    case TRowKind::Panel:
      return parent.Add<TPanel>(row.Name);
    case TRowKind::RowPanel:
      return parent.Add<TPanel>(row.Name, TLayout::loRow);
    case TRowKind::FormPanel:
      return parent.Add<TPanel>(row.Name, TLayout::loForm);
    case TRowKind::Group:
      return parent.Add<TGroupBox>(row.Name, row.Caption);
    case TRowKind::GridGroup: {
      auto& group = parent.Add<TGroupBox>(row.Name, row.Caption, TLayout::loGrid);
      group.SetLayout(TLayout::loGrid, row.Value);
      return group;
    }
    case TRowKind::FormGroup:
      return parent.Add<TGroupBox>(row.Name, row.Caption, TLayout::loForm);
    case TRowKind::Check: {
      auto& box = parent.Add<TCheckBox>(row.Name, row.Caption);
      if (!property.empty()) bindings.Check(box, property);
      return box;
    }
    case TRowKind::Radio:
      return parent.Add<TRadioButton>(row.Name, row.Caption);
    case TRowKind::Edit: {
      auto& edit = *row.Label ? AddLabeled<TEdit>(parent, row.Label, row.Caption, row.Name)
                              : parent.Add<TEdit>(row.Name);
      if (*row.Text) edit.SetText(row.Text);
      if (!property.empty()) bindings.Text(edit, property);
      return edit;
    }
    case TRowKind::NumberEdit: {
      auto& edit = AddLabeled<TEdit>(parent, row.Label, row.Caption, row.Name);
      if (*row.Text) edit.SetText(row.Text);
      if (!property.empty()) bindings.Number(edit, property, row.Fallback);
      return edit;
    }
    case TRowKind::HexEdit: {
      auto& edit = AddLabeled<TMaskEdit>(parent, row.Label, row.Caption, row.Name, kHexMask);
      if (*row.Text) edit.SetText(row.Text);
      if (!property.empty()) bindings.Hex(edit, property);
      return edit;
    }
    case TRowKind::Combo: {
      auto& combo = AddLabeled<TComboBox>(parent, row.Label, row.Caption, row.Name,
                                          TComboBoxStyle::csDropDownList);
      combo.SetItems(platform::TStringList(row.Text));
      if (row.ValueGiven) combo.SetItemIndex(row.Value);
      if (!property.empty()) bindings.Choice(combo, property);
      return combo;
    }
    case TRowKind::Spin: {
      auto& spin = AddLabeled<TSpinEdit>(parent, row.Label, row.Caption, row.Name, row.Min, row.Max,
                                         row.Step);
      if (row.ValueGiven) spin.SetValue(row.Value);
      if (!property.empty()) bindings.Spin(spin, property);
      return spin;
    }
    case TRowKind::Button:
      return parent.Add<TButton>(row.Name, row.Caption);
  }
  throw Exception(std::string("A row of an unknown kind: ") + row.Name);
}

}  // namespace

std::string HexText(std::uint32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X", value);
  return text;
}

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
}

}  // namespace mx::bcc
