#pragma once
// The controls of a property page, as models: what each control shows and holds, with the
// events the page binds. A page works only with these; the editor's front end draws them and
// hands a person's clicks and typing back through the same calls, so everything a page does can
// be run and tested without a desktop.
//
// Setting a value from code has the effects it has in the classic form designers: a check box
// or radio button whose state changes runs its OnClick, an edit or spin edit whose value changes
// runs its OnChange; a combo box runs OnChange only for a choice the person makes.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "moxtal/api/MxTypes.h"
#include "platform/StringList.h"

namespace mx {

MX_ENUM(TControlKind, ckPanel, ckGroupBox, ckLabel, ckCheckBox, ckRadioButton, ckEdit, ckMaskEdit,
        ckSpinEdit, ckComboBox, ckStringGrid, ckImage, ckButton)

/// How a container places its children: one under another, side by side, as rows of a label
/// and the control it names, or in a grid filled row by row.
MX_ENUM(TLayout, loColumn, loRow, loForm, loGrid)

/// The system colour a control's face is painted in: its kind's own, the colour of a text
/// area, or the colour of a button (for an area that shows values it will not take).
MX_ENUM(TColor, clDefault, clWindow, clBtnFace)

class TContainer;
class TFrame;
class TPanel;
class TGroupBox;
class TLabel;
class TCheckBox;
class TRadioButton;
class TEdit;
class TMaskEdit;
class TSpinEdit;
class TComboBox;
class TStringGrid;
class TImage;
class TButton;

/// What each kind of control is to a renderer or a writer: one function per kind (a masked edit
/// is an edit, a page a panel), so that a new kind of control is one function in each of them.
class IControlVisitor {
 public:
  virtual ~IControlVisitor() = default;
  virtual void Visit(TPanel& control) = 0;
  virtual void Visit(TGroupBox& control) = 0;
  virtual void Visit(TLabel& control) = 0;
  virtual void Visit(TCheckBox& control) = 0;
  virtual void Visit(TRadioButton& control) = 0;
  virtual void Visit(TEdit& control) = 0;
  virtual void Visit(TSpinEdit& control) = 0;
  virtual void Visit(TComboBox& control) = 0;
  virtual void Visit(TStringGrid& control) = 0;
  virtual void Visit(TImage& control) = 0;
  virtual void Visit(TButton& control) = 0;
};

/// The same, for what only reads a control (a layout, a writer): a masked edit is an edit unless
/// the visitor tells it apart.
class IConstControlVisitor {
 public:
  virtual ~IConstControlVisitor() = default;
  virtual void Visit(const TPanel& control) = 0;
  virtual void Visit(const TGroupBox& control) = 0;
  virtual void Visit(const TLabel& control) = 0;
  virtual void Visit(const TCheckBox& control) = 0;
  virtual void Visit(const TRadioButton& control) = 0;
  virtual void Visit(const TEdit& control) = 0;
  virtual void Visit(const TMaskEdit& control);
  virtual void Visit(const TSpinEdit& control) = 0;
  virtual void Visit(const TComboBox& control) = 0;
  virtual void Visit(const TStringGrid& control) = 0;
  virtual void Visit(const TImage& control) = 0;
  virtual void Visit(const TButton& control) = 0;
};

using TNotifyEvent = std::function<void()>;

class TControl {
 public:
  TControl(TControlKind kind, std::string name);
  virtual ~TControl();
  TControl(const TControl&) = delete;
  TControl& operator=(const TControl&) = delete;

  TControlKind Kind() const { return kind_; }
  /// Calls the visitor's function for this control's kind.
  virtual void Accept(IControlVisitor& visitor) = 0;
  virtual void Accept(IConstControlVisitor& visitor) const = 0;
  /// The component name ("chkBuildAll").
  const std::string& Name() const { return name_; }
  /// The caption as written, "&" marking the accelerator letter and "&&" a literal ampersand.
  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string caption);
  const std::string& Hint() const { return hint_; }
  void SetHint(std::string hint);
  /// The control's own flag.
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  /// Enabled, inside containers that are all enabled: what a person can use.
  bool EffectivelyEnabled() const;
  bool Visible() const { return visible_; }
  void SetVisible(bool visible);
  TColor Color() const { return color_; }
  void SetColor(TColor color);
  int Tag() const { return tag_; }
  void SetTag(int tag) { tag_ = tag; }
  /// The columns the control takes in a grid layout (1 unless set).
  int ColumnSpan() const { return columnSpan_; }
  void SetColumnSpan(int span) { columnSpan_ = span; }

  TContainer* Parent() const { return parent_; }
  /// The page the control belongs to, or nullptr for a control outside any page.
  TFrame* Frame() const;
  /// Moves the keyboard focus to this control (through the page's front end, if any).
  void SetFocus();

 protected:
  /// Tells the page's front end (if any) that this control's state changed.
  void Changed();

 private:
  friend class TContainer;
  TControlKind kind_;
  std::string name_;
  std::string caption_;
  std::string hint_;
  bool enabled_ = true;
  bool visible_ = true;
  TColor color_ = TColor::clDefault;
  int tag_ = 0;
  int columnSpan_ = 1;
  TContainer* parent_ = nullptr;
};

/// A control that holds others: a panel or a group box.
class TContainer : public TControl {
 public:
  TContainer(TControlKind kind, std::string name, TLayout layout);

  /// Adds a child control, created with `args`, and returns it.
  template <class T, class... Args>
  T& Add(Args&&... args) {
    auto control = std::make_unique<T>(std::forward<Args>(args)...);
    T& added = *control;
    Adopt(std::move(control));
    return added;
  }
  const std::vector<std::unique_ptr<TControl>>& Controls() const { return controls_; }
  /// A control inside this one, at any depth, by component name; nullptr when absent.
  TControl* FindControl(std::string_view name) const;
  /// The control of kind T named `name` inside this one, at any depth. Throws mx::Exception when
  /// there is none: a page asks for the controls its own table declares.
  template <class T>
  T& Get(std::string_view name) const {
    auto* control = dynamic_cast<T*>(FindControl(name));
    if (!control) NoSuchControl(name);
    return *control;
  }
  /// The radio buttons directly inside the container named `group`, in order.
  std::vector<TRadioButton*> Radios(std::string_view group) const;

  TLayout Layout() const { return layout_; }
  /// Columns of a grid layout.
  int Columns() const { return columns_; }
  void SetLayout(TLayout layout, int columns = 1);

 private:
  void Adopt(std::unique_ptr<TControl> control);
  [[noreturn]] void NoSuchControl(std::string_view name) const;
  std::vector<std::unique_ptr<TControl>> controls_;
  TLayout layout_;
  int columns_ = 1;
};

class TPanel : public TContainer {
 public:
  void Accept(IControlVisitor& visitor) override { visitor.Visit(*this); }
  void Accept(IConstControlVisitor& visitor) const override { visitor.Visit(*this); }
  explicit TPanel(std::string name, TLayout layout = TLayout::loColumn);
  /// A sunken frame around the panel (a picture well).
  bool Sunken() const { return sunken_; }
  void SetSunken(bool sunken) { sunken_ = sunken; }

 private:
  bool sunken_ = false;
};

class TGroupBox : public TContainer {
 public:
  void Accept(IControlVisitor& visitor) override { visitor.Visit(*this); }
  void Accept(IConstControlVisitor& visitor) const override { visitor.Visit(*this); }
  TGroupBox(std::string name, std::string caption, TLayout layout = TLayout::loColumn);
};

class TLabel : public TControl {
 public:
  void Accept(IControlVisitor& visitor) override { visitor.Visit(*this); }
  void Accept(IConstControlVisitor& visitor) const override { visitor.Visit(*this); }
  TLabel(std::string name, std::string caption);
  /// The control the label's accelerator focuses, and beside which a form layout puts it.
  TControl* FocusControl() const { return focusControl_; }
  void SetFocusControl(TControl* control) { focusControl_ = control; }
  /// A long text wraps at the width it is given.
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool wrap) { wordWrap_ = wrap; }
  /// Room for this many characters (digits) whatever the caption holds: a label that shows a
  /// value keeps its neighbours in place as the value changes or goes.
  int MinChars() const { return minChars_; }
  void SetMinChars(int chars) { minChars_ = chars; }

 private:
  TControl* focusControl_ = nullptr;
  bool wordWrap_ = false;
  int minChars_ = 0;
};

class TCheckBox : public TControl {
 public:
  void Accept(IControlVisitor& visitor) override { visitor.Visit(*this); }
  void Accept(IConstControlVisitor& visitor) const override { visitor.Visit(*this); }
  TCheckBox(std::string name, std::string caption);
  bool Checked() const { return checked_; }
  /// Runs OnClick when the state changes.
  void SetChecked(bool checked);
  /// A person's click: the state flips (nothing happens while the box is not usable).
  void Click();
  TNotifyEvent OnClick;

 private:
  bool checked_ = false;
};

/// Radio buttons with the same parent form one group: checking one clears the others.
class TRadioButton : public TControl {
 public:
  void Accept(IControlVisitor& visitor) override { visitor.Visit(*this); }
  void Accept(IConstControlVisitor& visitor) const override { visitor.Visit(*this); }
  TRadioButton(std::string name, std::string caption);
  bool Checked() const { return checked_; }
  /// Checking clears the other buttons of the group and runs OnClick when the state changes.
  void SetChecked(bool checked);
  /// A person's click: the button is checked (nothing happens while it is not usable).
  void Click();
  TNotifyEvent OnClick;

 private:
  bool checked_ = false;
};

/// What a button inside an edit shows: a folder, three dots (a dialog), a reload arrow or a
/// clear sign.
MX_ENUM(TEditGlyph, egFolder, egEllipsis, egReload, egClear)

/// A button inside an edit: shown or not, with its hint and its picture.
struct TEditButton {
  bool Visible = false;
  std::string Hint;
  TEditGlyph Glyph = TEditGlyph::egFolder;
};

class TEdit : public TControl {
 public:
  void Accept(IControlVisitor& visitor) override { visitor.Visit(*this); }
  void Accept(IConstControlVisitor& visitor) const override { visitor.Visit(*this); }
  explicit TEdit(std::string name);
  const std::string& Text() const { return text_; }
  /// Runs OnChange when the text changes.
  void SetText(std::string text);
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool readOnly);

  /// The folder button (opens a file or folder dialog) and a second custom button (often one
  /// that clears the text).
  TEditButton& FolderButton() { return folderButton_; }
  TEditButton& CustomButton() { return customButton_; }
  const TEditButton& FolderButton() const { return folderButton_; }
  const TEditButton& CustomButton() const { return customButton_; }

  /// A person's use of the buttons.
  void ClickFolderButton();
  void ClickCustomButton();

  TNotifyEvent OnChange;
  TNotifyEvent OnButtonClick;
  TNotifyEvent OnCustomButtonClick;

 protected:
  TEdit(TControlKind kind, std::string name);

 private:
  std::string text_;
  bool readOnly_ = false;
  TEditButton folderButton_;
  TEditButton customButton_;
};

/// An edit whose text follows a mask: "0x00000000;1;_" is the text "0x" and eight digits, the
/// literals stored with the text, "_" shown for a blank.
class TMaskEdit : public TEdit {
 public:
  using TEdit::Accept;
  void Accept(IConstControlVisitor& visitor) const override { visitor.Visit(*this); }
  TMaskEdit(std::string name, std::string editMask);
  const std::string& EditMask() const { return editMask_; }
  /// A mask that starts with C's "0x" holds a hexadecimal number: the prefix is literal text and
  /// each digit place after it takes 0-9 and A-F (the linker's sizes and image base).
  bool Hexadecimal() const { return editMask_.rfind("0x", 0) == 0; }

 private:
  std::string editMask_;
};

class TSpinEdit : public TControl {
 public:
  void Accept(IControlVisitor& visitor) override { visitor.Visit(*this); }
  void Accept(IConstControlVisitor& visitor) const override { visitor.Visit(*this); }
  TSpinEdit(std::string name, double minValue, double maxValue, double increment = 1);
  double Value() const { return value_; }
  /// Runs OnChange when the value changes. A range of 0 to 0 means no limits; otherwise the
  /// value is kept inside the range.
  void SetValue(double value);
  double MinValue() const { return minValue_; }
  double MaxValue() const { return maxValue_; }
  double Increment() const { return increment_; }
  TNotifyEvent OnChange;

 private:
  double value_ = 0;
  double minValue_;
  double maxValue_;
  double increment_;
};

MX_ENUM(TComboBoxStyle, csDropDown, csDropDownList)

class TComboBox : public TControl {
 public:
  void Accept(IControlVisitor& visitor) override { visitor.Visit(*this); }
  void Accept(IConstControlVisitor& visitor) const override { visitor.Visit(*this); }
  TComboBox(std::string name, TComboBoxStyle style);
  TComboBoxStyle Style() const { return style_; }
  const platform::TStringList& Items() const { return items_; }
  /// Replaces the items (sorted when the box is); the selection is cleared.
  void SetItems(const platform::TStringList& items);
  int ItemIndex() const { return itemIndex_; }
  /// Selects an item (-1 for none); the text becomes the item's.
  void SetItemIndex(int index);
  const std::string& Text() const { return text_; }
  /// The text; in a drop-down list it selects the item of that text (or none).
  void SetText(std::string text);
  bool Sorted() const { return sorted_; }
  void SetSorted(bool sorted);
  /// A person's choice of an item, and a person's typing in a free-text box: both run OnChange.
  void Choose(int index);
  void Type(std::string text);
  TNotifyEvent OnChange;

 private:
  TComboBoxStyle style_;
  platform::TStringList items_;
  int itemIndex_ = -1;
  std::string text_;
  bool sorted_ = false;
};

class TStringGrid : public TControl {
 public:
  void Accept(IControlVisitor& visitor) override { visitor.Visit(*this); }
  void Accept(IConstControlVisitor& visitor) const override { visitor.Visit(*this); }
  TStringGrid(std::string name, int colCount, int rowCount, int fixedRows);
  int ColCount() const { return colCount_; }
  int RowCount() const { return static_cast<int>(cells_.size()); }
  /// Rows added are empty; rows removed lose their cells.
  void SetRowCount(int rows);
  int FixedRows() const { return fixedRows_; }
  /// The cell text; "" outside the grid.
  const std::string& Cell(int col, int row) const;
  /// Throws mx::Exception outside the grid.
  void SetCell(int col, int row, std::string text);
  bool Editable() const { return editable_; }
  void SetEditable(bool editable) { editable_ = editable; }
  /// A person's edit of a cell: runs OnSetEditText.
  void Edit(int col, int row, std::string text);
  TNotifyEvent OnSetEditText;

 private:
  int colCount_;
  int fixedRows_;
  bool editable_ = true;
  std::vector<std::vector<std::string>> cells_;
};

/// A picture: the bytes of an icon file (or any image file), drawn at the control's size.
class TImage : public TControl {
 public:
  void Accept(IControlVisitor& visitor) override { visitor.Visit(*this); }
  void Accept(IConstControlVisitor& visitor) const override { visitor.Visit(*this); }
  TImage(std::string name, int width, int height);
  int Width() const { return width_; }
  int Height() const { return height_; }
  const std::string& Picture() const { return picture_; }
  /// Reads the picture from a file; throws the file-open error when it cannot be read and
  /// mx::Exception when it is not an icon, PNG or bitmap file.
  void LoadFromFile(const std::string& path);
  void Clear();

 private:
  int width_;
  int height_;
  std::string picture_;
};

class TButton : public TControl {
 public:
  void Accept(IControlVisitor& visitor) override { visitor.Visit(*this); }
  void Accept(IConstControlVisitor& visitor) const override { visitor.Visit(*this); }
  TButton(std::string name, std::string caption);
  /// A person's click: runs OnClick when the button is usable.
  void Click();
  TNotifyEvent OnClick;
};

/// The layout rule every renderer follows: edits, lists, grids and boxes to type in take the
/// room a row offers (and so does a container that holds one); buttons, check boxes and lists to
/// choose from keep their own size.
bool Grows(const TControl& control);

}  // namespace mx
