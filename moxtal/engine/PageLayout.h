#pragma once
// Where each control of a page goes: the width a control asks for, its height at a width, and
// the places a container's layout gives its children. A renderer measures text its own way,
// through ILayoutMetrics, and places its windows from the result; the page's JSON carries the
// same result, measured with fixed metrics, so that any other front end can draw a page from it.

#include <string>
#include <string_view>
#include <vector>

#include "moxtal/api/Controls.h"

namespace mx::engine {

struct TLayoutRect {
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;
  int Width() const { return Right - Left; }
  int Height() const { return Bottom - Top; }
  bool operator==(const TLayoutRect&) const = default;
};

/// What a layout needs to know of a renderer: its text and the sizes of its controls, in its
/// own pixels.
class ILayoutMetrics {
 public:
  virtual ~ILayoutMetrics() = default;
  /// `pixels` at 96 DPI, in the renderer's pixels.
  virtual int Scale(int pixels) const = 0;
  /// The height of a line of text.
  virtual int LineHeight() const = 0;
  /// The height of an edit, a combo box and a spin edit.
  virtual int EditHeight() const = 0;
  virtual int ButtonHeight() const = 0;
  /// The room between neighbours.
  virtual int Gap() const = 0;
  /// The room around a page.
  virtual int Margin() const = 0;
  /// The width of `text`; "&" marks an accelerator unless `prefix` is false.
  virtual int TextWidth(std::string_view text, bool prefix = true) const = 0;
  /// The height of `text` wrapped at `width`.
  virtual int WrappedHeight(std::string_view text, int width) const = 0;
  /// How far below an edit's top its text starts: a label beside an edit stands there, so that
  /// both texts share a baseline. Centred, unless the renderer's edits put their text higher.
  virtual int EditTextTop() const { return (EditHeight() - LineHeight()) / 2; }
};

/// The metrics of a fixed-width font at 96 DPI (7 pixels a character, 13 a line): for what has
/// no screen, the headless editor's JSON and the tests.
class TFixedMetrics : public ILayoutMetrics {
 public:
  int Scale(int pixels) const override { return pixels; }
  int LineHeight() const override { return 13; }
  int EditHeight() const override { return 23; }
  int ButtonHeight() const override { return 25; }
  int Gap() const override { return 6; }
  int Margin() const override { return 9; }
  int TextWidth(std::string_view text, bool prefix = true) const override;
  int WrappedHeight(std::string_view text, int width) const override;
};

/// A control and where it goes: in its container's content area (Arrange) or in the page's
/// area (Place).
struct TPlacement {
  const TControl* Control = nullptr;
  TLayoutRect Bounds;
};

/// An edit's button and where it goes, inside the edit's bounds at its right.
struct TEditButtonPlace {
  const TEditButton* Button = nullptr;
  TLayoutRect Bounds;
};

class TPageLayout {
 public:
  explicit TPageLayout(const ILayoutMetrics& metrics) : metrics_(metrics) {}

  /// The width a control asks for.
  int PreferredWidth(const TControl& control) const;
  /// The height a control takes at `width`.
  int HeightAt(const TControl& control, int width) const;
  /// The room between a container's edge and its children: the page's margin, a group box's
  /// frame and caption, a sunken panel's border.
  TLayoutRect Insets(const TContainer& container) const;
  /// Places the shown children of `container` in a content area `width` wide (0: each child at
  /// the width it asks for), as the container's layout says, and gives the height they take. A
  /// hidden child of a form or a grid keeps its place.
  int Arrange(const TContainer& container, int width, std::vector<TPlacement>* placed) const;
  /// Every shown control inside `root`, at any depth, placed in `bounds` (a container before
  /// its children), in the coordinates of `bounds`.
  std::vector<TPlacement> Place(const TContainer& root, TLayoutRect bounds) const;
  /// The width and height `root` needs when it is `width` wide (at least its narrowest).
  TLayoutRect PreferredBounds(const TContainer& root, int width) const;
  /// The visible buttons of an edit placed in `bounds`, from the right: the custom button, then
  /// the folder button. The edit's text box keeps what they leave.
  std::vector<TEditButtonPlace> EditButtons(const TEdit& edit, TLayoutRect bounds) const;
  /// The width of the text box of an edit placed `width` wide, once its buttons have theirs.
  int EditBoxWidth(const TEdit& edit, int width) const;

 private:
  int ArrangeLine(const std::vector<const TControl*>& children, int width, bool row,
                  std::vector<TPlacement>* placed) const;
  int ArrangeForm(const std::vector<const TControl*>& children, int width,
                  std::vector<TPlacement>* placed) const;
  int ArrangeGrid(const std::vector<const TControl*>& children, int columns, int width,
                  std::vector<TPlacement>* placed) const;
  int Fit(const TControl& child, int room) const;
  /// The height of the part of a form's field that its label lines up with: the field, or the
  /// first shown control of a column.
  int FirstLineHeight(const TControl& field, int width) const;
  void PlaceWithin(const TControl& control, TLayoutRect bounds,
                   std::vector<TPlacement>& placed) const;

  const ILayoutMetrics& metrics_;
};

/// Widens the columns that hold no labels to share `room` alike, as far as each one's content
/// allows; a column holding labels keeps its width.
void ShareColumns(std::vector<int>& widths, const std::vector<char>& labels, int room);

/// `text` broken into lines no wider than `width`, at spaces only, keeping the breaks it has.
/// A word wider than `width` stands on a line of its own, whole: a renderer that wraps words its
/// own way (a tooltip breaks "C++Builder" after its "+") is given lines that need no wrapping.
std::vector<std::string> WrapAtSpaces(std::string_view text, int width,
                                      const ILayoutMetrics& metrics);

}  // namespace mx::engine
