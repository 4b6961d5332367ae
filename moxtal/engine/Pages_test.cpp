// Control models, the page dialog and the pages as JSON, with a page of the test's own for the
// sample action.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "moxtal/api/Services.h"
#include "moxtal/engine/DesignServices.h"
#include "moxtal/engine/PageDialog.h"
#include "moxtal/engine/PageJson.h"
#include "tests/support/SampleAction.h"

using namespace mx;
using mx::testing::TSampleAction;

namespace {

TEST(ControlModelsTest, ValuesChangeAsInTheFormDesigners) {
  TFrame frame(nullptr, "Frame");
  std::vector<std::string> seen;
  frame.SetObserver([&seen](TControl& c) { seen.push_back(c.Name()); });
  TGroupBox& group = frame.Add<TGroupBox>("gb", "Group");
  auto& a = group.Add<TRadioButton>("rbA", "&A");
  auto& b = group.Add<TRadioButton>("rbB", "&B");
  auto& outside = frame.Add<TRadioButton>("rbOutside", "Outside");
  auto& box = group.Add<TCheckBox>("cb", "Box");
  int clicks = 0;
  box.OnClick = [&clicks] { ++clicks; };

  // A check box runs OnClick when its state changes, whoever changes it.
  box.SetChecked(true);
  box.SetChecked(true);
  box.Click();
  EXPECT_EQ(clicks, 2);
  EXPECT_FALSE(box.Checked());

  // Radio buttons of one container exclude each other, not those of another container.
  outside.SetChecked(true);
  a.Click();
  b.Click();
  EXPECT_FALSE(a.Checked());
  EXPECT_TRUE(b.Checked());
  EXPECT_TRUE(outside.Checked());

  // A disabled container disables what it holds; a person cannot use it, code still can.
  group.SetEnabled(false);
  EXPECT_TRUE(box.Enabled());
  EXPECT_FALSE(box.EffectivelyEnabled());
  box.Click();
  a.Click();
  EXPECT_EQ(clicks, 2);
  EXPECT_TRUE(b.Checked());
  box.SetChecked(true);
  EXPECT_EQ(clicks, 3);
  EXPECT_EQ(frame.FindControl("cb"), &box);
  EXPECT_EQ(box.Frame(), &frame);
  EXPECT_NE(std::find(seen.begin(), seen.end(), "rbA"), seen.end());

  // A combo box runs OnChange only for a person's choice; a drop-down list takes only its items.
  auto& combo = frame.Add<TComboBox>("cbo", TComboBoxStyle::csDropDownList);
  int changes = 0;
  combo.OnChange = [&changes] { ++changes; };
  combo.SetSorted(true);
  combo.SetItems(platform::TStringList("8\r\n1\r\n4\r\n"));
  EXPECT_EQ(combo.Items().Text(), "1\r\n4\r\n8\r\n");
  combo.SetText("4");
  EXPECT_EQ(combo.ItemIndex(), 1);
  combo.SetText("5");
  EXPECT_EQ(combo.ItemIndex(), -1);
  EXPECT_EQ(combo.Text(), "");
  combo.Choose(2);
  EXPECT_EQ(combo.Text(), "8");
  EXPECT_EQ(changes, 1);

  // A spin edit keeps inside its range; a grid refuses cells outside it and a person's edit of
  // a fixed row.
  auto& spin = frame.Add<TSpinEdit>("sp", 8, 255);
  spin.SetValue(1000);
  EXPECT_EQ(spin.Value(), 255);
  auto& grid = frame.Add<TStringGrid>("grid", 2, 3, 1);
  grid.Edit(0, 0, "heading");
  EXPECT_EQ(grid.Cell(0, 0), "");
  grid.Edit(1, 2, "value");
  EXPECT_EQ(grid.Cell(1, 2), "value");
  EXPECT_EQ(grid.Cell(5, 5), "");
  EXPECT_THROW(grid.SetCell(2, 0, "x"), Exception);
}

// A page of the sample action: its project file, and a check box that hides the second page.
class TSamplePage : public TFrame, public IMxPropertyPage {
 public:
  explicit TSamplePage(IMxComponent* owner) : TFrame(owner, "SamplePage") {
    edit = &Add<TEdit>("txtProject");
    hideNext = &Add<TCheckBox>("chkHideNext", "&Hide the next page");
    hideNext->OnClick = [this] {
      if (Container()) Container()->SetPageVisible(Tag() + 1, !hideNext->Checked());
    };
  }
  void InitFrame(IMxComponent* owner) override { calls.push_back(owner ? "InitFrame" : "?"); }
  void InitPage(TCustomMxAction&) override { calls.push_back("InitPage"); }
  void OnPageActivate() override {}
  void OnPageDeActivate() override {}
  void ReadActionData(TCustomMxAction& action) override {
    calls.push_back("Read");
    edit->SetText(dynamic_cast<TSampleAction&>(action).GetProjectFile());
  }
  void WriteActionData(TCustomMxAction& action) override {
    dynamic_cast<TSampleAction&>(action).SetProjectFile(edit->Text());
  }
  std::string PageName() override { return "Sample"; }

  TEdit* edit;
  TCheckBox* hideNext;
  std::vector<std::string> calls;
};

class TOtherPage : public TSamplePage {
 public:
  using TSamplePage::TSamplePage;
  std::string PageName() override { return "Other"; }
};

TEST(PageDialogTest, PagesAreMadeInOrderReadTheActionAndWriteItBack) {
  mx::testing::RegisterSampleAction();
  static const bool registered = [] {
    MxActionServices().RegisterPropertyPage(TSampleAction::StaticClassInfo(),
                                            PageClass<TSamplePage>("TSamplePage"));
    MxActionServices().RegisterPropertyPage(TSampleAction::StaticClassInfo(),
                                            PageClass<TOtherPage>("TOtherPage"));
    return true;
  }();
  ASSERT_TRUE(registered);
  TSampleAction action;
  action.SetName("Sample");
  action.SetProjectFile("a.bpr");
  engine::TPageDialog dialog(action);
  ASSERT_EQ(dialog.GetPageCount(), 2);
  auto& first = dynamic_cast<TSamplePage&>(*dialog.Pages()[0].Frame);
  EXPECT_EQ(dialog.Pages()[1].Frame->Tag(), first.Tag() + 1);
  dialog.Open();
  EXPECT_EQ(first.calls, (std::vector<std::string>{"InitFrame", "InitPage", "Read"}));
  EXPECT_EQ(first.edit->Text(), "a.bpr");

  std::vector<std::size_t> changed;
  dialog.OnPageVisibleChanged = [&changed](std::size_t index) { changed.push_back(index); };
  first.hideNext->Click();
  EXPECT_FALSE(dialog.Pages()[1].Visible);
  first.hideNext->Click();
  EXPECT_EQ(changed, (std::vector<std::size_t>{1, 1}));

  const auto json = engine::PagesToJson(dialog);
  EXPECT_EQ(json["class"], "TSampleAction");
  EXPECT_EQ(json["pages"][1]["caption"], "Other");
  EXPECT_EQ(json["pages"][0]["controls"][0]["value"], "a.bpr");
  EXPECT_EQ(json["pages"][0]["controls"][1]["kind"], "CheckBox");

  first.edit->SetText("b.bpr");
  dialog.Accept();
  // Both pages write; the last one's value stands.
  EXPECT_EQ(action.GetProjectFile(), "a.bpr");
  dynamic_cast<TSamplePage&>(*dialog.Pages()[1].Frame).edit->SetText("b.bpr");
  dialog.Accept();
  EXPECT_EQ(action.GetProjectFile(), "b.bpr");
}

// What every desktop shares: which controls take a row's room, a check list's answer and the
// titles of message boxes.
TEST(DesktopRulesTest, LayoutCheckListAndMessageTitles) {
  TPanel panel("pnl", TLayout::loRow);
  TComboBox& list = panel.Add<TComboBox>("cboList", TComboBoxStyle::csDropDownList);
  EXPECT_FALSE(Grows(panel));
  EXPECT_FALSE(Grows(list));
  EXPECT_FALSE(Grows(panel.Add<TMaskEdit>("txtMasked", "0x00000000;1;_")));
  EXPECT_TRUE(Grows(panel.Add<TComboBox>("cboTyped", TComboBoxStyle::csDropDown)));
  EXPECT_TRUE(Grows(panel)) << "a container grows with a child that does";
  EXPECT_TRUE(Grows(TEdit("txt")));

  // Checked is on; an explicit off that stays unchecked stays off; the rest is left out.
  platform::TStringList selection;
  selection.Add("w-par=0");
  selection.Add("w-aus=1");
  selection.Add("w-rch=0");
  const auto result = engine::CheckListResult(
      selection, {{"w-par", false}, {"w-aus", false}, {"w-rch", true}, {"w-new", true}});
  EXPECT_EQ(result.Lines(), (std::vector<std::string>{"w-par=0", "w-rch=1", "w-new=1"}));

  EXPECT_STREQ(engine::MessageDlgTitle(TMsgDlgType::mtConfirmation), "Confirm");
  EXPECT_STREQ(engine::MessageDlgTitle(TMsgDlgType::mtError), "Error");
  EXPECT_STREQ(engine::MessageDlgTitle(TMsgDlgType::mtCustom), "moxtal");
}

}  // namespace
