// The "Version Info" pages of both actions, driven through their controls.
#include <gtest/gtest.h>

#include "moxtal/api/ObjectText.h"
#include "moxtal/engine/BuildScript.h"
#include "moxtal/engine/DesignServices.h"
#include "moxtal/engine/Host.h"
#include "package/action/MxCBuilderAction.h"
#include "package/action2006/CBuilder2006Action.h"
#include "package/host/MxRegister.h"
#include "package/pages/CBuilder2006VersionInfoFrame.h"
#include "package/pages/VersionInfoFrame.h"

using namespace mx;
using namespace mx::bcc;

namespace {

// A build script with two property sets, whose context the design time uses, and an action
// of each kind in it.
class VersionInfoPageTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { bcc::Register(false); }
  void SetUp() override {
    script_ = engine::TBuildScript::LoadFromText(
        "<?xml version=\"1.0\"?>\n<BuildScript version=\"1\">\n<PropertySets>\n"
        "<PropertySet name=\"Release\" type=\"Win32 Version Info\">"
        "<Value name=\"MajorVersion\" value=\"2\"/></PropertySet>\n"
        "<PropertySet name=\"Paths\" type=\"Folders\"/>\n"
        "<PropertySet name=\"Beta\" type=\"Win32 Version Info\"/>\n"
        "</PropertySets>\n<Actions>\n"
        "<Action class=\"TMxCBuilderAction\" name=\"Five\" enabled=\"True\"/>\n"
        "<Action class=\"TCBuilder2006Action\" name=\"Six\" enabled=\"True\"/>\n"
        "</Actions>\n</BuildScript>\n",
        "test.mxs");
    before_ = engine::SetDesignApplicationServices(script_.get());
    five_ = std::dynamic_pointer_cast<TVersionInfoAction>(script_->FindAction("Five"));
    six_ = std::dynamic_pointer_cast<TVersionInfoAction>(script_->FindAction("Six"));
  }
  void TearDown() override { engine::SetDesignApplicationServices(before_); }

  // Every page in the states the test walks through, both variants.
  std::vector<std::pair<std::unique_ptr<TVersionInfoFrame>, TVersionInfoAction*>> Pages() {
    std::vector<std::pair<std::unique_ptr<TVersionInfoFrame>, TVersionInfoAction*>> pages;
    pages.emplace_back(std::make_unique<TCBuilderVersionInfoFrame>(nullptr), five_.get());
    pages.emplace_back(std::make_unique<TCBuilder2006VersionInfoFrame>(nullptr), six_.get());
    return pages;
  }

  std::unique_ptr<engine::TBuildScript> script_;
  IMxApplicationServices* before_ = nullptr;
  std::shared_ptr<TVersionInfoAction> five_;
  std::shared_ptr<TVersionInfoAction> six_;
};

TEST_F(VersionInfoPageTest, NumbersKeysLocaleAndCodePageGoBothWays) {
  for (auto& [page, action] : Pages()) {
    SCOPED_TRACE(page->Name());
    std::string keys;
    for (int i = 1; i <= 20; ++i)
      keys += "Key" + std::to_string(i) + "=v" + std::to_string(i) + "\r\n";
    action->SetVersionInfoKeys("fileversion=old\r\nFileVersion=1.0.0.0\r\n" + keys);
    action->SetIncludeVerInfo(true);
    action->SetLocale(3081);
    action->SetCodePage(1250);
    page->InitPage(*action);
    page->ReadActionData(*action);
    EXPECT_EQ(page->Get<TLabel>("lblLocaleID").Caption(), "$0C09");
    EXPECT_EQ(page->Get<TComboBox>("cbLocale").Text(), "English (Australia)");
    EXPECT_EQ(page->Get<TEdit>("txtCodePage").Text(), "1250");
    EXPECT_EQ(page->Get<TComboBox>("cbPropSets").Items().Text(), "Release\r\nBeta\r\n");

    // Any spin edit rewrites the first row keyed exactly "FileVersion".
    page->Get<TSpinEdit>("spBuildNo").SetValue(42);
    page->Get<TSpinEdit>("spMajorVer").SetValue(3);
    EXPECT_EQ(page->Get<TStringGrid>("VersionKeyGrid").Cell(1, 2), "3.0.0.42");
    EXPECT_EQ(page->Get<TStringGrid>("VersionKeyGrid").Cell(1, 1), "old");

    // A row without a key is dropped; every other key, the twentieth too, comes back.
    page->Get<TStringGrid>("VersionKeyGrid").SetCell(0, 3, "");
    page->Get<TEdit>("txtCodePage").SetText("abc");
    page->Get<TComboBox>("cbLocale").Choose(-1);
    page->WriteActionData(*action);
    const platform::TStringList written(action->GetVersionInfoKeys());
    EXPECT_EQ(written.Count(), 21);
    EXPECT_EQ(written[1], "FileVersion=3.0.0.42");
    EXPECT_EQ(written[2], "Key2=v2");
    EXPECT_EQ(written[20], "Key20=v20");
    EXPECT_EQ(action->GetCodePage(), 1252);
    EXPECT_EQ(action->GetLocale(), 3081);
    EXPECT_EQ(action->GetMajorVersion(), 3);
    EXPECT_EQ(action->GetBuildVersion(), 42);
  }
}

TEST_F(VersionInfoPageTest, APropertySetTakesOverTheNumbersAndKeys) {
  for (auto& [page, action] : Pages()) {
    SCOPED_TRACE(page->Name());
    action->SetIncludeVerInfo(false);
    action->SetAutoIncBuild(true);
    page->InitPage(*action);
    page->ReadActionData(*action);
    // Nothing is editable without version information.
    EXPECT_FALSE(page->Get<TSpinEdit>("spMajorVer").EffectivelyEnabled());
    page->Get<TCheckBox>("cbIncludeVerInfo").Click();
    EXPECT_TRUE(page->Get<TSpinEdit>("spMajorVer").EffectivelyEnabled());
    EXPECT_TRUE(page->Get<TCheckBox>("cbIncBuildNum").EffectivelyEnabled());

    page->Get<TCheckBox>("chkUsePropSet").Click();
    EXPECT_FALSE(page->Get<TCheckBox>("cbDebugBuild").EffectivelyEnabled());
    // No set chosen yet: the numbers stay editable.
    EXPECT_TRUE(page->Get<TSpinEdit>("spMajorVer").EffectivelyEnabled());
    page->Get<TComboBox>("cbPropSets").Choose(0);
    EXPECT_FALSE(page->Get<TSpinEdit>("spMajorVer").EffectivelyEnabled());
    EXPECT_FALSE(page->Get<TCheckBox>("cbIncBuildNum").Checked());
    EXPECT_FALSE(page->Get<TCheckBox>("cbIncBuildNum").EffectivelyEnabled());
    EXPECT_FALSE(page->Get<TStringGrid>("VersionKeyGrid").EffectivelyEnabled());
    EXPECT_EQ(page->Get<TStringGrid>("VersionKeyGrid").Color(), TColor::clBtnFace);

    page->Get<TCheckBox>("chkUsePropSet").Click();
    EXPECT_TRUE(page->Get<TSpinEdit>("spMajorVer").EffectivelyEnabled());
    EXPECT_TRUE(page->Get<TCheckBox>("cbIncBuildNum").EffectivelyEnabled());
    EXPECT_TRUE(page->Get<TStringGrid>("VersionKeyGrid").EffectivelyEnabled());
    EXPECT_EQ(page->Get<TStringGrid>("VersionKeyGrid").Color(), TColor::clWindow);
    page->WriteActionData(*action);
    EXPECT_EQ(action->GetVersionInfoPropertySetName(), "Release");
    EXPECT_FALSE(action->GetUsePropertySet());
    EXPECT_FALSE(action->GetAutoIncBuild());
  }
}

TEST_F(VersionInfoPageTest, TheCBuilder56PageReloadsFromTheProjectsVersionText) {
  TCBuilderVersionInfoFrame page(nullptr);
  page.InitPage(*five_);
  page.ReadActionData(*five_);
  page.Get<TCheckBox>("chkIncludeDate").SetChecked(true);

  const std::string text =
      "[Version Info]\r\nIncludeVerInfo=1\r\nMajorVer=4\r\nBuild=17\r\nDLL=1\r\n"
      "Locale=1031\r\nCodePage=1200\r\n\r\n[Version Info Keys]\r\nCompanyName=Acme\r\n"
      "FileVersion=4.0.0.17\r\nComments=\r\n";
  page.LoadVersionText(text);
  EXPECT_TRUE(page.Get<TCheckBox>("cbIncludeVerInfo").Checked());
  EXPECT_EQ(page.Get<TSpinEdit>("spMajorVer").Value(), 4);
  EXPECT_EQ(page.Get<TSpinEdit>("spMinorVer").Value(), 0);
  EXPECT_EQ(page.Get<TSpinEdit>("spBuildNo").Value(), 17);
  EXPECT_TRUE(page.Get<TCheckBox>("cbDLL").Checked());
  EXPECT_EQ(page.Get<TLabel>("lblLocaleID").Caption(), "$0407");
  EXPECT_EQ(page.Get<TEdit>("txtCodePage").Text(), "1200");
  EXPECT_EQ(page.Get<TStringGrid>("VersionKeyGrid").Cell(0, 1), "CompanyName");
  EXPECT_EQ(page.Get<TStringGrid>("VersionKeyGrid").Cell(1, 2), "4.0.0.17");
  EXPECT_EQ(page.Get<TStringGrid>("VersionKeyGrid").Cell(0, 4), "");
  // What the project text does not hold stays as it was.
  EXPECT_TRUE(page.Get<TCheckBox>("chkIncludeDate").Checked());

  page.LoadVersionText("");
  EXPECT_FALSE(page.Get<TCheckBox>("cbIncludeVerInfo").Checked());
  EXPECT_EQ(page.Get<TSpinEdit>("spMajorVer").Value(), 1);
  EXPECT_EQ(page.Get<TLabel>("lblLocaleID").Caption(), "$0C09");
  EXPECT_EQ(page.Get<TStringGrid>("VersionKeyGrid").Cell(0, 0), "Key");
  EXPECT_EQ(page.Get<TStringGrid>("VersionKeyGrid").Cell(0, 1), "");
}

TEST_F(VersionInfoPageTest, TheCBuilder2006PageReloadsFromTheProjectDocument) {
  TCBuilder2006VersionInfoFrame page(nullptr);
  page.InitPage(*six_);
  six_->SetVersionInfoKeys("Mine=kept\r\n");
  page.ReadActionData(*six_);
  const auto document = platform::TXmlDocument::LoadFromText(
      "<BorlandProject><CPlusPlusBuilder.Personality><BCBPROJECT><IDEOPTIONS>"
      "<VersionInfo><VersionInfo Name=\"IncludeVerInfo\">False</VersionInfo>"
      "<VersionInfo Name=\"MajorVer\">9</VersionInfo></VersionInfo>"
      "</IDEOPTIONS></BCBPROJECT></CPlusPlusBuilder.Personality></BorlandProject>");
  page.Get<TCheckBox>("cbIncludeVerInfo").SetChecked(true);
  page.ReloadFromBDSPRoj("p.bdsproj", document, 0);
  // Version information off: only the box changes.
  EXPECT_FALSE(page.Get<TCheckBox>("cbIncludeVerInfo").Checked());
  EXPECT_EQ(page.Get<TSpinEdit>("spMajorVer").Value(), 1);
  EXPECT_EQ(page.Get<TStringGrid>("VersionKeyGrid").Cell(0, 1), "Mine");
}

}  // namespace
