#include "PageJson.h"

#include <algorithm>
#include <nlohmann/json.hpp>
#include <unordered_map>

#include "moxtal/engine/PageLayout.h"

namespace mx::engine {

using nlohmann::ordered_json;

namespace {

// An enumeration's name without its prefix: "CheckBox", "Grid", "Folder".
template <class E>
std::string ShortName(E value) {
  return EnumInfoOf(value).Name(static_cast<int>(value)).substr(2);
}

ordered_json Lines(const platform::TStringList& list) {
  ordered_json lines = ordered_json::array();
  for (const auto& line : list)
    lines.push_back(line);
  return lines;
}

ordered_json Box(const TLayoutRect& r) {
  return {{"x", r.Left}, {"y", r.Top}, {"width", r.Width()}, {"height", r.Height()}};
}

// Where each shown control of a page goes, and how its edits' buttons sit.
struct TPageLayoutJson {
  const TPageLayout& Layout;
  std::unordered_map<const TControl*, TLayoutRect> Bounds;
};

ordered_json ControlJson(const TControl& control, const TPageLayoutJson* layout);

// The value fields of each kind of control, and what a front end needs to draw it that the
// common fields do not say: a container's layout, an edit's buttons and mask, a spin edit's
// range.
class TJsonValues : public IConstControlVisitor {
 public:
  TJsonValues(ordered_json& j, const TPageLayoutJson* layout) : j_(j), layout_(layout) {}
  void Visit(const TPanel& c) override {
    if (layout_ && c.Sunken()) j_["sunken"] = true;
    Children(c);
  }
  void Visit(const TGroupBox& c) override { Children(c); }
  void Visit(const TLabel& c) override {
    if (layout_ && c.WordWrap()) j_["wordWrap"] = true;
  }
  void Visit(const TCheckBox& c) override { j_["value"] = c.Checked(); }
  void Visit(const TRadioButton& c) override { j_["value"] = c.Checked(); }
  void Visit(const TEdit& c) override {
    j_["value"] = c.Text();
    Buttons(c);
  }
  void Visit(const TMaskEdit& c) override {
    Visit(static_cast<const TEdit&>(c));
    if (layout_) j_["mask"] = c.EditMask();
  }
  void Visit(const TSpinEdit& c) override {
    j_["value"] = c.Value();
    if (layout_) j_["range"] = {c.MinValue(), c.MaxValue(), c.Increment()};
  }
  void Visit(const TComboBox& c) override {
    j_["value"] = c.Text();
    j_["index"] = c.ItemIndex();
    j_["items"] = Lines(c.Items());
  }
  void Visit(const TStringGrid& c) override {
    ordered_json rows = ordered_json::array();
    for (int row = 0; row < c.RowCount(); ++row) {
      ordered_json cells = ordered_json::array();
      for (int col = 0; col < c.ColCount(); ++col)
        cells.push_back(c.Cell(col, row));
      rows.push_back(std::move(cells));
    }
    j_["value"] = std::move(rows);
  }
  void Visit(const TImage& c) override { j_["value"] = !c.Picture().empty(); }
  void Visit(const TButton&) override {}

 private:
  void Children(const TContainer& c) {
    if (layout_) {
      j_["layout"] = ShortName(c.Layout());
      if (c.Layout() == TLayout::loGrid) j_["columns"] = c.Columns();
    }
    ordered_json children = ordered_json::array();
    for (const auto& child : c.Controls())
      children.push_back(ControlJson(*child, layout_));
    j_["controls"] = std::move(children);
  }
  void Buttons(const TEdit& c) {
    if (!layout_) return;
    const auto at = layout_->Bounds.find(&c);
    if (at == layout_->Bounds.end()) return;
    ordered_json buttons = ordered_json::array();
    for (const auto& b : layout_->Layout.EditButtons(c, at->second)) {
      ordered_json button{{"glyph", ShortName(b.Button->Glyph)}};
      if (!b.Button->Hint.empty()) button["hint"] = b.Button->Hint;
      button["bounds"] = Box(b.Bounds);
      buttons.push_back(std::move(button));
    }
    if (!buttons.empty()) j_["buttons"] = std::move(buttons);
  }

  ordered_json& j_;
  const TPageLayoutJson* layout_;
};

ordered_json ControlJson(const TControl& control, const TPageLayoutJson* layout) {
  ordered_json j;
  j["kind"] = ShortName(control.Kind());
  j["name"] = control.Name();
  if (!control.Caption().empty()) j["caption"] = control.Caption();
  if (!control.Hint().empty()) j["hint"] = control.Hint();
  j["enabled"] = control.EffectivelyEnabled();
  j["visible"] = control.Visible();
  if (control.Color() != TColor::clDefault)
    j["color"] = EnumInfoOf(control.Color()).Name(static_cast<int>(control.Color()));
  if (layout) {
    if (control.ColumnSpan() != 1) j["span"] = control.ColumnSpan();
    if (const auto at = layout->Bounds.find(&control); at != layout->Bounds.end())
      j["bounds"] = Box(at->second);
  }
  TJsonValues values(j, layout);
  control.Accept(values);
  return j;
}

}  // namespace

ordered_json ControlToJson(const TControl& control) {
  return ControlJson(control, nullptr);
}

ordered_json PagesToJson(TPageDialog& dialog) {
  ordered_json j;
  j["action"] = dialog.Action().Name();
  j["class"] = dialog.Action().ClassInfo().Name();
  // Every page as wide as the widest the dialog shows, as tall as it needs: measured with fixed
  // metrics, so that the same pages give the same numbers on every machine.
  const TFixedMetrics metrics;
  const TPageLayout layout(metrics);
  int width = 0;
  for (const auto& page : dialog.Pages()) {
    if (page.Visible) width = std::max(width, layout.PreferredWidth(*page.Frame));
  }
  ordered_json pages = ordered_json::array();
  for (const auto& page : dialog.Pages()) {
    const TLayoutRect size = layout.PreferredBounds(*page.Frame, width);
    TPageLayoutJson placed{layout, {}};
    for (const auto& p : layout.Place(*page.Frame, size))
      placed.Bounds.emplace(p.Control, p.Bounds);
    ordered_json p;
    p["caption"] = page.Page->PageName();
    p["name"] = page.Frame->Name();
    p["visible"] = page.Visible;
    p["size"] = {{"width", size.Width()}, {"height", size.Height()}};
    p["controls"] = ControlJson(*page.Frame, &placed)["controls"];
    pages.push_back(std::move(p));
  }
  j["pages"] = std::move(pages);
  return j;
}

}  // namespace mx::engine
