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
  if (const auto* c = dynamic_cast<const TCheckBox*>(&control)) j["value"] = c->Checked();
  if (const auto* c = dynamic_cast<const TRadioButton*>(&control)) j["value"] = c->Checked();
  if (const auto* c = dynamic_cast<const TEdit*>(&control)) j["value"] = c->Text();
  if (const auto* c = dynamic_cast<const TSpinEdit*>(&control)) j["value"] = c->Value();
  if (const auto* c = dynamic_cast<const TComboBox*>(&control)) {
    j["value"] = c->Text();
    j["index"] = c->ItemIndex();
    j["items"] = Lines(c->Items());
  }
  if (const auto* c = dynamic_cast<const TStringGrid*>(&control)) {
    ordered_json rows = ordered_json::array();
    for (int row = 0; row < c->RowCount(); ++row) {
      ordered_json cells = ordered_json::array();
      for (int col = 0; col < c->ColCount(); ++col)
        cells.push_back(c->Cell(col, row));
      rows.push_back(std::move(cells));
    }
    j["value"] = std::move(rows);
  }
  if (const auto* c = dynamic_cast<const TImage*>(&control)) j["value"] = !c->Picture().empty();
  if (const auto* c = dynamic_cast<const TContainer*>(&control)) {
    ordered_json children = ordered_json::array();
    for (const auto& child : c->Controls())
      children.push_back(ControlToJson(*child));
    j["controls"] = std::move(children);
  }
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
