#include <gtest/gtest.h>

#include "moxtal/engine/BuildScript.h"
#include "moxtal/engine/Host.h"
#include "package/action/MxCBuilderAction.h"
#include "package/host/MxRegister.h"
#include "platform/CodePage.h"
#include "platform/DateTimeFormat.h"

using namespace mx;
using namespace mx::bcc;
using platform::TStringList;

namespace {

class ResourceScriptTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { Register(false); }
  void SetUp() override {
    platform::SetAnsiCodePage(1252);
    engine::THost::Instance().Log().AddSink(log_);
    action_ = std::make_shared<TMxCBuilderAction>();
    action_->SetName("Build");
    script_.AddAction(action_);
  }
  void TearDown() override {
    engine::THost::Instance().Log().RemoveSink(log_);
    platform::SetAnsiCodePage(0);
  }

  std::vector<std::string> Script(const std::string& icon = "") {
    TStringList lines;
    EXPECT_TRUE(action_->BuildResourceScript(icon, lines));
    return lines.Lines();
  }

  std::shared_ptr<engine::TMemoryLogSink> log_ = std::make_shared<engine::TMemoryLogSink>();
  engine::TBuildScript script_;
  std::shared_ptr<TMxCBuilderAction> action_;
};

}  // namespace

TEST_F(ResourceScriptTest, TheDocumentedExample) {
  action_->SetIncludeVerInfo(true);
  action_->SetMajorVersion(1);
  action_->SetMinorVersion(2);
  action_->SetBuildVersion(17);
  action_->SetLinkProductVersionToFileVersion(true);
  action_->SetIsDebug(true);
  action_->SetLocale(1033);
  action_->SetVersionInfoKeys(
      "CompanyName=Acme & Co\r\nfileversion=9.9.9.9\r\nProductVersion=x\r\nComments=\r\n");
  EXPECT_EQ(Script("C:\\App\\main.ico"),
            (std::vector<std::string>{"MAINICON ICON \"C:\\App\\main.ico\"",
                                      "1 VERSIONINFO",
                                      "FILEVERSION 1,2,0,17",
                                      "PRODUCTVERSION 1,2,0,17",
                                      "FILEFLAGSMASK 0x3FL",
                                      "FILEFLAGS 0x01L",
                                      "FILEOS 0x40004L",
                                      "FILETYPE 0x1L",
                                      "FILESUBTYPE 0x0L",
                                      "BEGIN",
                                      "    BLOCK \"StringFileInfo\"",
                                      "    BEGIN",
                                      "         BLOCK \"040904E4\"",
                                      "         BEGIN",
                                      "              VALUE \"CompanyName\", \"Acme & Co\\0\"",
                                      "              VALUE \"fileversion\", \"1.2.0.17\\0\"",
                                      "              VALUE \"ProductVersion\", \"1.2.0.17\\0\"",
                                      "         END",
                                      "    END",
                                      "    BLOCK \"VarFileInfo\"",
                                      "    BEGIN",
                                      "         VALUE \"Translation\", 0x0409, 1252",
                                      "    END",
                                      "END"}));
}

TEST_F(ResourceScriptTest, FlagsTypesVersionsAndExpansion) {
  EXPECT_TRUE(Script().empty());  // no icon and no version information: an empty script
  action_->SetIncludeVerInfo(true);
  action_->SetLinkProductVersionToFileVersion(true);
  action_->SetIsDebug(true);
  action_->SetIsSpecial(true);
  action_->SetIsDLL(true);
  action_->SetLocale(3081);
  auto lines = Script();
  EXPECT_EQ(lines[4], "FILEFLAGS 0x21L");
  EXPECT_EQ(lines[6], "FILETYPE 0x2L");
  EXPECT_EQ(lines[11], "         BLOCK \"0C0904E4\"");

  // Versions from the entries, expanded, when the numbers do not decide.
  script_.Variables().Set("VER", "3.1.4.1");
  action_->SetAutoUpdateFileVersion(false);
  action_->SetLinkProductVersionToFileVersion(false);
  action_->SetVersionInfoKeys("FileVersion=%VER%\r\nProductVersion=%VER%\r\nNote=%VER%\r\n");
  lines = Script();
  EXPECT_EQ(lines[1], "FILEVERSION 3,1,4,1");
  EXPECT_EQ(lines[2], "PRODUCTVERSION 3,1,4,1");
  EXPECT_EQ(lines[15], "              VALUE \"Note\", \"3.1.4.1\\0\"");

  action_->SetVersionInfoKeys("FileVersion=%MISSING%\r\n");
  TStringList failed;
  EXPECT_FALSE(action_->BuildResourceScript("", failed));
  EXPECT_EQ(log_->AllLines().back(),
            "Error expanding FileVersion : Undefined variable \"MISSING\"");

  platform::TFormatSettings fixed;
  fixed.LongDateFormat = "yyyy";
  fixed.ShortTimeFormat = "'noon'";
  platform::SetUserFormatSettings(fixed);
  action_->SetAutoUpdateFileVersion(true);
  action_->SetLinkProductVersionToFileVersion(true);
  action_->SetIncludeCompileDate(true);
  action_->SetVersionInfoKeys("Compile Date=old\r\n");
  lines = Script();
  EXPECT_EQ(lines[13], "              VALUE \"Compile Date\", \"" +
                           std::to_string(platform::Now().Year) + " noon\\0\"");
  EXPECT_EQ(action_->GetVersionInfoKeys(), "Compile Date=old\r\n");  // the property is untouched
  platform::SetUserFormatSettings(platform::TFormatSettings{});
}

// A text that would end its quotes early could add entries of its own or stop the resource
// compiler, and versions that are not numbers stop every resource compiler: each is refused,
// naming the entry and what is wrong, before anything is written.
TEST_F(ResourceScriptTest, TextsThatWouldBreakTheScriptAreRefused) {
  action_->SetIncludeVerInfo(true);
  script_.Variables().Set("QUOTE", "a\"b");
  const std::pair<const char*, const char*> cases[] = {
      {"ProductVersion=1.0.0.0\r\nCompanyName=a\" VALUE \"Evil\", \"x\\\r\n",
       "Version information: the version entry CompanyName holds a double quote (\"), which a "
       "resource script cannot hold between quotes: a\" VALUE \"Evil\", \"x\\"},
      {"ProductVersion=1.0.0.0\r\nComments=path\\\r\n",
       "Version information: the version entry Comments holds a backslash (\\) at its end, which "
       "a resource script cannot hold between quotes: path\\"},
      {"ProductVersion=1.0.0.0\r\nComments=tab\there\r\n",
       "Version information: the version entry Comments holds a control character (code 9), "
       "which a resource script cannot hold between quotes: tab\there"},
      {"ProductVersion=1.0.0.0\r\nComments=%QUOTE%\r\n",  // after expansion
       "Version information: the version entry Comments holds a double quote (\"), which a "
       "resource script cannot hold between quotes: a\"b"},
      {"CompanyName=Acme\r\n",
       "Version information: there is no product version for PRODUCTVERSION: give the entry "
       "ProductVersion (such as 1.0.0.0), or link the product version to the file version"},
      {"ProductVersion=1.0 beta\r\n",
       "Version information: the product version \"1.0 beta\" (the entry ProductVersion) is not "
       "up to four numbers such as 1.0.0.0, which PRODUCTVERSION must be"},
      {"ProductVersion=1.2.3.4.5\r\n",
       "Version information: the product version \"1.2.3.4.5\" (the entry ProductVersion) is not "
       "up to four numbers such as 1.0.0.0, which PRODUCTVERSION must be"},
  };
  for (const auto& [keys, message] : cases) {
    action_->SetVersionInfoKeys(keys);
    TStringList lines;
    EXPECT_FALSE(action_->BuildResourceScript("", lines)) << keys;
    EXPECT_TRUE(lines.Lines().empty()) << keys;
    EXPECT_EQ(log_->AllLines().back(), message) << keys;
  }
  // A file version taken from its entry is held to the same.
  action_->SetAutoUpdateFileVersion(false);
  action_->SetVersionInfoKeys("ProductVersion=1\r\nFileVersion=2.0 rc1\r\n");
  TStringList lines;
  EXPECT_FALSE(action_->BuildResourceScript("", lines));
  EXPECT_EQ(log_->AllLines().back(),
            "Version information: the file version \"2.0 rc1\" (the entry FileVersion) is not up "
            "to four numbers such as 1.0.0.0, which FILEVERSION must be");
  action_->SetAutoUpdateFileVersion(true);
  // And an icon whose name holds a double quote.
  EXPECT_FALSE(action_->BuildResourceScript("/p/a\"b.ico", lines));
  EXPECT_EQ(log_->AllLines().back(),
            "The icon file /p/a\"b.ico holds a double quote (\"), which a resource script cannot "
            "hold between quotes: rename it");
  // Valid texts, the longest version among them, are written as they are.
  action_->SetVersionInfoKeys("ProductVersion=65535,0,1\r\nComments=a 'b' \\c\r\n");
  EXPECT_EQ(Script()[2], "PRODUCTVERSION 65535,0,1");
  EXPECT_EQ(Script()[14], "              VALUE \"Comments\", \"a 'b' \\c\\0\"");
}

TEST_F(ResourceScriptTest, PropertySetsOverrideVersionSettings) {
  auto set = script_.AddPropertySet("Release", "Win32 Version Info");
  auto& values = set->ValueObject();
  values.SetValue("MajorVersion", "4");
  values.SetValue("includeverinfo", "True");
  values.SetValue("DebugBuild", "0");
  values.SetValue("SpecialBuild", "yes");
  values.SetValue("PrivateBuild", "1");
  values.SetValue("DLL", "2");
  values.SetValue("FileVersion", "7.7.7.7");
  values.SetValue("CompanyName", "Acme");
  action_->SetIsDebug(true);
  action_->SetIsSpecial(true);
  action_->SetVersionInfoKeys("DebugBuild=1\r\nComments=keep\r\n");
  action_->SetVersionInfoPropertySetName("release");
  ASSERT_TRUE(action_->LoadVersionInfoFromPropertySet());
  EXPECT_EQ(action_->GetMajorVersion(), 4);
  EXPECT_TRUE(action_->GetIncludeVerInfo());
  EXPECT_FALSE(action_->GetIsDebug());
  EXPECT_FALSE(action_->GetIsSpecial());  // "yes" is not a Boolean text
  EXPECT_TRUE(action_->GetIsPrivate());
  EXPECT_TRUE(action_->GetIsDLL());
  EXPECT_EQ(action_->GetVersionInfoKeys(),
            "Comments=keep\r\nPrivateBuild=1\r\nFileVersion=4.0.0.0\r\nCompanyName=Acme\r\n");

  action_->SetVersionInfoPropertySetName("Nightly");
  EXPECT_FALSE(action_->LoadVersionInfoFromPropertySet());
  EXPECT_EQ(log_->AllLines().back(), "Unable to find property set: Nightly");
  values.SetValue("MinorVersion", "many");
  action_->SetVersionInfoPropertySetName("Release");
  EXPECT_THROW(action_->LoadVersionInfoFromPropertySet(), Exception);
}
