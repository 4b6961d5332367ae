#pragma once
// A page's controls declared as data: one row per control, in the order the page shows them,
// naming the container it goes into and the property it shows. A page keeps code only for its
// own rules (what enables what, presets, dialogs, what buttons do), which bind the controls
// they use by name when the page is made. The bindings read and write the properties in the order
// of the rows: where a page's rule reacts to one control (a check box's OnClick runs when it is
// read), the controls it looks at come before it.

#include <span>
#include <string_view>

#include "package/pages/MxCBuilderPageKit.h"

namespace mx::bcc {

/// A control of a page's table that the page's own code works with, found by name once, when
/// the page is made: a name the table does not hold, or a control of another kind, fails then
/// for every page, not only when the code that uses it runs.
template <class T>
class TBound {
 public:
  void Bind(const TContainer& page, std::string_view name) { control_ = &page.Get<T>(name); }
  T& operator*() const { return *control_; }
  T* operator->() const { return control_; }

 private:
  T* control_ = nullptr;
};

/// What a row adds.
enum class TRowKind {
  Label,       // a text of its own
  Grid,        // a panel placing its children in `Columns` columns, row by row
  Panel,       // a panel placing its children one under another
  RowPanel,    // a panel placing its children side by side
  FormPanel,   // a panel of rows of a label and the control it names
  Group,       // a group box placing its children one under another
  GridGroup,   // a group box placing its children in `Columns` columns
  FormGroup,   // a group box of rows of a label and a control
  Check,       // a check box: a Boolean property
  Radio,       // a radio button: the radio rows of one property are its values 0, 1, ... in order
  Edit,        // an edit after its label (none when `Label` is ""): a text property
  NumberEdit,  // an edit after its label: a whole number, `Fallback` for text that is none
  HexEdit,     // a hexadecimal masked edit after its label: a 32-bit size or address
  Spin,        // a spin edit after its label: a whole-number property
  Combo,       // a drop-down list after its label (if any), of the lines of `Text`: an enumeration
  ComboEdit,   // an editable combo box: a text property
  StringGrid,  // a grid of `Columns` columns and `Rows` rows, the first `FixedRows` headings
  Image,       // a picture of `Width` by `Height` pixels
  Button,      // a push button
};

/// One control of a page.
struct TControlRow {
  TRowKind Kind;
  const char* Name;
  /// The caption; for an edit, a spin edit or a list after a label, the label's.
  const char* Caption = "";
  /// The container the control goes into, which an earlier row added; "" is the page.
  const char* Parent = "";
  /// The property the control shows; "" for none.
  const char* Property = "";
  /// The label before an edit, a spin edit or a list.
  const char* Label = "";
  /// An edit's text, or a list's lines, before any value is read.
  const char* Text = "";
  /// A spin edit's value or a list's chosen item before any value is read (when `ValueGiven`).
  int Value = 0;
  bool ValueGiven = false;
  int Min = 0;
  int Max = 0;
  int Step = 1;
  int Fallback = 0;
  int Columns = 1;
  int Rows = 0;
  int FixedRows = 0;
  int Width = 0;
  int Height = 0;
  const char* HintText = "";
  /// An edit's buttons: the main one (a file, a folder, a list) and a second one.
  bool MainButton = false;
  TEditGlyph MainGlyph = TEditGlyph::egFolder;
  const char* MainHint = "";
  bool SecondButton = false;
  TEditGlyph SecondGlyph = TEditGlyph::egClear;
  const char* SecondHint = "";
  /// The control a label names (its accelerator key moves there), when not the next row.
  const char* FocusName = "";
  bool Wrapped = false;
  bool IsSunken = false;
  bool Ticked = false;
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
  constexpr TControlRow WithButton(TEditGlyph glyph, const char* hint = "") const {
    TControlRow row = *this;
    row.MainButton = true;
    row.MainGlyph = glyph;
    row.MainHint = hint;
    return row;
  }
  constexpr TControlRow WithSecondButton(TEditGlyph glyph, const char* hint) const {
    TControlRow row = *this;
    row.SecondButton = true;
    row.SecondGlyph = glyph;
    row.SecondHint = hint;
    return row;
  }
  constexpr TControlRow Names(const char* control) const {
    TControlRow row = *this;
    row.FocusName = control;
    return row;
  }
  constexpr TControlRow WordWrap() const {
    TControlRow row = *this;
    row.Wrapped = true;
    return row;
  }
  constexpr TControlRow Sunken() const {
    TControlRow row = *this;
    row.IsSunken = true;
    return row;
  }
  constexpr TControlRow Checked() const {
    TControlRow row = *this;
    row.Ticked = true;
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
  return {.Kind = TRowKind::Grid, .Name = name, .Parent = parent, .Columns = columns};
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
          .Columns = columns};
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
/// An edit after the label `label` ("" for none) captioned `caption`.
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
constexpr TControlRow Spin(const char* name, const char* label, const char* caption,
                           const char* parent, const char* property = "") {
  return {.Kind = TRowKind::Spin,
          .Name = name,
          .Caption = caption,
          .Parent = parent,
          .Property = property,
          .Label = label};
}
/// A drop-down list of the lines `items` after the label `label` ("" for none).
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
constexpr TControlRow ComboEdit(const char* name, const char* parent, const char* property = "") {
  return {.Kind = TRowKind::ComboEdit, .Name = name, .Parent = parent, .Property = property};
}
constexpr TControlRow StringGrid(const char* name, int columns, int rows, int fixedRows,
                                 const char* parent = "") {
  return {.Kind = TRowKind::StringGrid,
          .Name = name,
          .Parent = parent,
          .Columns = columns,
          .Rows = rows,
          .FixedRows = fixedRows};
}
constexpr TControlRow Image(const char* name, int width, int height, const char* parent = "") {
  return {
      .Kind = TRowKind::Image, .Name = name, .Parent = parent, .Width = width, .Height = height};
}
constexpr TControlRow Button(const char* name, const char* caption, const char* parent = "") {
  return {.Kind = TRowKind::Button, .Name = name, .Caption = caption, .Parent = parent};
}

}  // namespace rows

/// Adds the rows' controls to `page` in order, and to `bindings` the binding of each control
/// that shows a property (a run of radio rows of one property is one binding).
void AddControls(TContainer& page, std::span<const TControlRow> rows, TPropertyBindings& bindings);

}  // namespace mx::bcc
