#include "moxtal/engine/PageLayout.h"

#include <gtest/gtest.h>

#include <map>

#include "moxtal/api/Pages.h"

namespace {

using namespace mx;
using namespace mx::engine;

// A page of its own: a grid of two groups, a form, a row with a growing edit and a button.
class TLayoutPage : public TFrame {
 public:
  TLayoutPage() : TFrame(nullptr, "LayoutPage") {
    TPanel& grid = Add<TPanel>("pnlGrid", TLayout::loGrid);
    grid.SetLayout(TLayout::loGrid, 2);
    // A group whose check box needs more than half the width, beside a small one.
    TGroupBox& wide = grid.Add<TGroupBox>("gbWide", "Wide", TLayout::loForm);
    wide.Add<TCheckBox>("chkFirst", "&Auto-increment build number");
    wide.Add<TCheckBox>("chkLast", "Auto-Update FileVersion");
    grid.Add<TGroupBox>("gbSmall", "Small").Add<TCheckBox>("chkSmall", "On");
    TGroupBox& form = Add<TGroupBox>("gbForm", "Form", TLayout::loForm);
    Label = &form.Add<TLabel>("lblOne", "One:");
    form.Add<TEdit>("txtOne");
    form.Add<TLabel>("lblTwo", "A longer label:");
    form.Add<TEdit>("txtTwo");
    form.Add<TLabel>("lblThree", "Config :");
    TPanel& column = form.Add<TPanel>("pnlThree", TLayout::loColumn);
    column.Add<TComboBox>("cbThree", TComboBoxStyle::csDropDown);
    column.Add<TLabel>("lblNote", "Note : leave it blank for all");
    form.Add<TLabel>("lblFour", "Icon :");
    TPanel& four = form.Add<TPanel>("pnlFour", TLayout::loRow);
    four.Add<TEdit>("txtFour");
    four.Add<TButton>("btnFour", "Pick");
    TPanel& row = Add<TPanel>("pnlRow", TLayout::loRow);
    Edit = &row.Add<TEdit>("txtGrow");
    Edit->FolderButton().Visible = true;
    Edit->CustomButton().Visible = true;
    row.Add<TButton>("btnGo", "Go");
    TPanel& values = Add<TPanel>("pnlValues", TLayout::loRow);
    Value = &values.Add<TLabel>("lblValue", "$0409");
    Value->SetMinChars(5);
    values.Add<TEdit>("txtAfter");
  }
  TLabel* Label;
  TEdit* Edit;
  TLabel* Value;
};

std::map<std::string, TLayoutRect> Placed(const TPageLayout& layout, const TFrame& page,
                                          int width) {
  std::map<std::string, TLayoutRect> placed;
  for (const auto& p : layout.Place(page, layout.PreferredBounds(page, width)))
    placed[p.Control->Name()] = p.Bounds;
  return placed;
}

TEST(PageLayoutTest, FixedMetricsCountCharactersAndWrapWords) {
  const TFixedMetrics m;
  EXPECT_EQ(m.TextWidth("&Open"), 28);  // the accelerator's mark takes no room
  EXPECT_EQ(m.TextWidth("&Open", false), 35);
  EXPECT_EQ(m.TextWidth("A && B"), 35);
  EXPECT_EQ(m.TextWidth("Größe"), 35);                  // characters, not bytes
  EXPECT_EQ(m.WrappedHeight("one two three", 70), 26);  // "one two" / "three"
  EXPECT_EQ(m.WrappedHeight("", 70), 13);
  EXPECT_EQ(m.WrappedHeight("abcdefghijklmnopqrstu", 70), 39);  // a long word takes lines

  // Hints are broken at spaces only, a word too long for the line kept whole, "&" taken as text
  // and the hint's own line breaks kept.
  using Lines = std::vector<std::string>;
  EXPECT_EQ(WrapAtSpaces("Select the C++Builder project file", 84, m),
            (Lines{"Select the", "C++Builder", "project file"}));
  EXPECT_EQ(WrapAtSpaces("a C++Builder-project b", 35, m), (Lines{"a", "C++Builder-project", "b"}));
  EXPECT_EQ(WrapAtSpaces("R&D  team\r\nsecond", 63, m), (Lines{"R&D team", "second"}));
  EXPECT_EQ(WrapAtSpaces("", 70, m), (Lines{""}));
}

TEST(PageLayoutTest, ColumnsFormsAndRowsPlaceTheirChildren) {
  TLayoutPage page;
  const TFixedMetrics m;
  const TPageLayout layout(m);
  const int width = layout.PreferredWidth(page) + 40;
  auto at = Placed(layout, page, width);

  // The page keeps its margin; the long check box is as wide as its text asks and stays inside
  // its group, which ends before its neighbour begins.
  EXPECT_EQ(at["pnlGrid"].Left, 9);
  EXPECT_EQ(at["pnlGrid"].Right, width - 9);
  EXPECT_GE(at["chkFirst"].Width(), m.TextWidth("&Auto-increment build number") + 24);
  EXPECT_LE(at["chkFirst"].Right, at["gbWide"].Right - 8);
  EXPECT_LT(at["gbWide"].Right, at["gbSmall"].Left);
  // Groups of one grid row are as tall as the row.
  EXPECT_EQ(at["gbWide"].Height(), at["gbSmall"].Height());

  // A form: the labels' column is as wide as its widest label, and a label stands level with
  // its edit.
  EXPECT_EQ(at["txtOne"].Left, at["txtTwo"].Left);
  EXPECT_EQ(at["txtOne"].Left - at["lblTwo"].Left, m.TextWidth("A longer label:") + 6);
  EXPECT_EQ(at["lblOne"].Top - at["txtOne"].Top, (23 - 13) / 2);
  // Beside a column of controls, a label stands level with the first of them.
  EXPECT_EQ(at["lblThree"].Top - at["cbThree"].Top, (23 - 13) / 2);
  EXPECT_EQ(at["lblNote"].Top, at["cbThree"].Bottom + 6);
  // A renderer whose edits start their text near the top gets labels that follow the text of
  // an edit, not of a combo box; nothing else moves.
  struct THighEdits : TFixedMetrics {
    int EditTextTop() const override { return 3; }
  };
  const THighEdits high;
  auto raised = Placed(TPageLayout(high), page, width);
  EXPECT_EQ(raised["lblOne"].Top - raised["txtOne"].Top, 3);
  EXPECT_EQ(raised["lblTwo"].Top - raised["txtTwo"].Top, 3);
  EXPECT_EQ(raised["lblFour"].Top - raised["txtFour"].Top, 3);  // an edit in a row
  EXPECT_EQ(at["lblFour"].Top - at["txtFour"].Top, (23 - 13) / 2);
  EXPECT_EQ(raised["lblThree"], at["lblThree"]);
  for (const char* label : {"lblOne", "lblTwo", "lblFour"}) {
    raised.erase(label);
    at.erase(label);
  }
  EXPECT_EQ(raised, at);
  at = Placed(layout, page, width);

  // A row: the edit grows, the button keeps its size; the edit's buttons sit at its right.
  EXPECT_EQ(at["btnGo"].Width(), 75);
  EXPECT_EQ(at["txtGrow"].Right + 6, at["btnGo"].Left);
  EXPECT_EQ(at["btnGo"].Right, at["pnlRow"].Right);
  const auto buttons = layout.EditButtons(*page.Edit, at["txtGrow"]);
  ASSERT_EQ(buttons.size(), 2u);
  EXPECT_EQ(buttons[0].Button, &page.Edit->CustomButton());
  EXPECT_EQ(buttons[0].Bounds.Right, at["txtGrow"].Right);
  EXPECT_EQ(buttons[1].Bounds.Right, buttons[0].Bounds.Left - 2);
  EXPECT_EQ(layout.EditBoxWidth(*page.Edit, at["txtGrow"].Width()),
            buttons[1].Bounds.Left - 2 - at["txtGrow"].Left);

  // A label that shows a value keeps its room when the value goes.
  page.Value->SetCaption("");
  EXPECT_EQ(Placed(layout, page, width)["txtAfter"], at["txtAfter"]);
  page.Value->SetCaption("$0409");

  // A hidden label leaves its edit where it was; a hidden row gives its room away.
  page.Label->SetVisible(false);
  auto hidden = Placed(layout, page, width);
  EXPECT_EQ(hidden.count("lblOne"), 0u);
  EXPECT_EQ(hidden["txtOne"], at["txtOne"]);
  page.FindControl("pnlGrid")->SetVisible(false);
  hidden = Placed(layout, page, width);
  EXPECT_EQ(hidden.count("gbWide"), 0u);
  EXPECT_EQ(hidden["gbForm"].Top, 9);
}

TEST(PageLayoutTest, GridColumnsShareTheRoomTheirContentLeaves) {
  // Columns without labels share alike, but none gets less than its content.
  std::vector<int> widths{50, 200, 10};
  ShareColumns(widths, {0, 0, 0}, 300);
  EXPECT_EQ(widths, (std::vector<int>{50, 200, 50}));
  // A label column keeps its width and the rest is shared.
  widths = {80, 10, 10};
  ShareColumns(widths, {1, 0, 0}, 220);
  EXPECT_EQ(widths, (std::vector<int>{80, 110, 110}));
}

}  // namespace
