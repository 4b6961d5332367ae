#pragma once
// A page's controls declared as data: one row per control, in the order the page shows them,
// naming the container it goes into and the property of the page's record it shows. A page
// keeps code only for its own rules (what enables what, presets, dialogs), which find the
// controls by name.

#include <span>

#include "package/pages/MxCBuilderPageKit.h"

namespace mx::bcc {

/// What a row adds.
enum class TRowKind {
  Label,       // a text of its own; `Wrapped` breaks it into lines
  Grid,        // a panel placing its children in `Value` columns, row by row
  Panel,       // a panel placing its children one under another
  RowPanel,    // a panel placing its children side by side
  FormPanel,   // a panel of rows of a label and the control it names
  Group,       // a group box placing its children one under another
  GridGroup,   // a group box placing its children in `Value` columns
  FormGroup,   // a group box of rows of a label and a control
  Check,       // a check box: a Boolean property
  Radio,       // a radio button: the radio rows of one property are its values 0, 1, ... in order
  Edit,        // an edit after its label (none when `Label` is ""): a text property
  NumberEdit,  // an edit after its label: a whole number, `Fallback` for text that is none
  HexEdit,     // a hexadecimal masked edit after its label: a 32-bit size or address
  Spin,        // a spin edit after its label: a whole-number property
  Combo,       // a drop-down list after its label, of the lines of `Text`, item `Value` chosen
  Button,      // a push button
};

/// One control of a page.
struct TControlRow {
  TRowKind Kind;
  const char* Name;
  /// The caption; for an edit or a spin edit, its label's.
  const char* Caption = "";
  /// The container the control goes into, which an earlier row added; "" is the page.
  const char* Parent = "";
  /// The property of the page's record the control shows; "" for none.
  const char* Property = "";
  /// An edit's or a spin edit's label.
  const char* Label = "";
  /// An edit's text, a spin edit's value or a grid's columns before any record is read.
  const char* Text = "";
  int Value = 0;
  int Min = 0;
  int Max = 0;
  int Step = 1;
  int Fallback = 0;
  const char* HintText = "";
  bool ValueGiven = false;
  bool Wrapped = false;
  bool Hidden = false;
  bool Disabled = false;

  constexpr TControlRow Initially(const char* text) const {
    TControlRow row = *this;
    row.Text = text;
    return row;
  }
  constexpr TControlRow Initially(int value) const {
    TControlRow row = *this;
    row.Value = value;
    row.ValueGiven = true;
    return row;
  }
  constexpr TControlRow Range(int min, int max, int step = 1) const {
    TControlRow row = *this;
    row.Min = min;
    row.Max = max;
    row.Step = step;
    return row;
  }
  constexpr TControlRow Hint(const char* hint) const {
    TControlRow row = *this;
    row.HintText = hint;
    return row;
  }
  constexpr TControlRow WordWrap() const {
    TControlRow row = *this;
    row.Wrapped = true;
    return row;
  }
  constexpr TControlRow Invisible() const {
    TControlRow row = *this;
    row.Hidden = true;
    return row;
  }
  constexpr TControlRow Unavailable() const {
    TControlRow row = *this;
    row.Disabled = true;
    return row;
  }
};

namespace rows {

constexpr TControlRow Label(const char* name, const char* caption, const char* parent = "") {
  return {.Kind = TRowKind::Label, .Name = name, .Caption = caption, .Parent = parent};
}
constexpr TControlRow Grid(const char* name, int columns, const char* parent = "") {
  return {.Kind = TRowKind::Grid, .Name = name, .Parent = parent, .Value = columns};
}
constexpr TControlRow Panel(const char* name, const char* parent = "") {
  return {.Kind = TRowKind::Panel, .Name = name, .Parent = parent};
}
constexpr TControlRow RowPanel(const char* name, const char* parent = "") {
  return {.Kind = TRowKind::RowPanel, .Name = name, .Parent = parent};
}
constexpr TControlRow FormPanel(const char* name, const char* parent = "") {
  return {.Kind = TRowKind::FormPanel, .Name = name, .Parent = parent};
}
constexpr TControlRow Group(const char* name, const char* caption, const char* parent = "") {
  return {.Kind = TRowKind::Group, .Name = name, .Caption = caption, .Parent = parent};
}
constexpr TControlRow GridGroup(const char* name, const char* caption, int columns,
                                const char* parent = "") {
  return {.Kind = TRowKind::GridGroup,
          .Name = name,
          .Caption = caption,
          .Parent = parent,
          .Value = columns};
}
constexpr TControlRow FormGroup(const char* name, const char* caption, const char* parent = "") {
  return {.Kind = TRowKind::FormGroup, .Name = name, .Caption = caption, .Parent = parent};
}
constexpr TControlRow Check(const char* name, const char* caption, const char* parent,
                            const char* property = "") {
  return {.Kind = TRowKind::Check,
          .Name = name,
          .Caption = caption,
          .Parent = parent,
          .Property = property};
}
constexpr TControlRow Radio(const char* name, const char* caption, const char* parent,
                            const char* property = "") {
  return {.Kind = TRowKind::Radio,
          .Name = name,
          .Caption = caption,
          .Parent = parent,
          .Property = property};
}
constexpr TControlRow Edit(const char* name, const char* label, const char* caption,
                           const char* parent, const char* property = "") {
  return {.Kind = TRowKind::Edit,
          .Name = name,
          .Caption = caption,
          .Parent = parent,
          .Property = property,
          .Label = label};
}
constexpr TControlRow NumberEdit(const char* name, const char* label, const char* caption,
                                 const char* parent, const char* property, int fallback) {
  return {.Kind = TRowKind::NumberEdit,
          .Name = name,
          .Caption = caption,
          .Parent = parent,
          .Property = property,
          .Label = label,
          .Fallback = fallback};
}
constexpr TControlRow HexEdit(const char* name, const char* label, const char* caption,
                              const char* parent, const char* property) {
  return {.Kind = TRowKind::HexEdit,
          .Name = name,
          .Caption = caption,
          .Parent = parent,
          .Property = property,
          .Label = label};
}
constexpr TControlRow Combo(const char* name, const char* label, const char* caption,
                            const char* parent, const char* items, const char* property = "") {
  return {.Kind = TRowKind::Combo,
          .Name = name,
          .Caption = caption,
          .Parent = parent,
          .Property = property,
          .Label = label,
          .Text = items};
}
constexpr TControlRow Spin(const char* name, const char* label, const char* caption,
                           const char* parent, const char* property = "") {
  return {.Kind = TRowKind::Spin,
          .Name = name,
          .Caption = caption,
          .Parent = parent,
          .Property = property,
          .Label = label};
}
constexpr TControlRow Button(const char* name, const char* caption, const char* parent = "") {
  return {.Kind = TRowKind::Button, .Name = name, .Caption = caption, .Parent = parent};
}

}  // namespace rows

/// Adds the rows' controls to `page` in order, and to `bindings` the binding of each control
/// that shows a property (a run of radio rows of one property is one binding).
void AddControls(TContainer& page, std::span<const TControlRow> rows, TPropertyBindings& bindings);

}  // namespace mx::bcc
