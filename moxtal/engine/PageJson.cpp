#include "PageJson.h"

#include <nlohmann/json.hpp>

namespace mx::engine {

using nlohmann::ordered_json;

namespace {

// The control kind without its prefix: "CheckBox".
std::string KindName(TControlKind kind) {
  return EnumInfoOf(kind).Name(static_cast<int>(kind)).substr(2);
}

ordered_json Lines(const platform::TStringList& list) {
  ordered_json lines = ordered_json::array();
  for (const auto& line : list)
    lines.push_back(line);
  return lines;
}

}  // namespace

namespace {

// The value fields of each kind of control.
class TJsonValues : public IControlVisitor {
 public:
  explicit TJsonValues(ordered_json& j) : j_(j) {}
  void Visit(TPanel& c) override { Children(c); }
  void Visit(TGroupBox& c) override { Children(c); }
  void Visit(TLabel&) override {}
  void Visit(TCheckBox& c) override { j_["value"] = c.Checked(); }
  void Visit(TRadioButton& c) override { j_["value"] = c.Checked(); }
  void Visit(TEdit& c) override { j_["value"] = c.Text(); }
  void Visit(TSpinEdit& c) override { j_["value"] = c.Value(); }
  void Visit(TComboBox& c) override {
    j_["value"] = c.Text();
    j_["index"] = c.ItemIndex();
    j_["items"] = Lines(c.Items());
  }
  void Visit(TStringGrid& c) override {
    ordered_json rows = ordered_json::array();
    for (int row = 0; row < c.RowCount(); ++row) {
      ordered_json cells = ordered_json::array();
      for (int col = 0; col < c.ColCount(); ++col)
        cells.push_back(c.Cell(col, row));
      rows.push_back(std::move(cells));
    }
    j_["value"] = std::move(rows);
  }
  void Visit(TImage& c) override { j_["value"] = !c.Picture().empty(); }
  void Visit(TButton&) override {}

 private:
  void Children(const TContainer& c) {
    ordered_json children = ordered_json::array();
    for (const auto& child : c.Controls())
      children.push_back(ControlToJson(*child));
    j_["controls"] = std::move(children);
  }

  ordered_json& j_;
};

}  // namespace

ordered_json ControlToJson(const TControl& control) {
  ordered_json j;
  j["kind"] = KindName(control.Kind());
  j["name"] = control.Name();
  if (!control.Caption().empty()) j["caption"] = control.Caption();
  if (!control.Hint().empty()) j["hint"] = control.Hint();
  j["enabled"] = control.EffectivelyEnabled();
  j["visible"] = control.Visible();
  if (control.Color() != TColor::clDefault)
    j["color"] = EnumInfoOf(control.Color()).Name(static_cast<int>(control.Color()));
  // Writing reads only; the visitor takes the control as the renderers do.
  TJsonValues values(j);
  const_cast<TControl&>(control).Accept(values);
  return j;
}

ordered_json PagesToJson(TPageDialog& dialog) {
  ordered_json j;
  j["action"] = dialog.Action().Name();
  j["class"] = dialog.Action().ClassInfo().Name();
  ordered_json pages = ordered_json::array();
  for (const auto& page : dialog.Pages()) {
    ordered_json p;
    p["caption"] = page.Page->PageName();
    p["name"] = page.Frame->Name();
    p["visible"] = page.Visible;
    p["controls"] = ControlToJson(*page.Frame)["controls"];
    pages.push_back(std::move(p));
  }
  j["pages"] = std::move(pages);
  return j;
}

}  // namespace mx::engine
