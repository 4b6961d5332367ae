#include "package/action/MxCBuilderAction.h"

#include <gtest/gtest.h>

#include "moxtal/engine/BuildScript.h"
#include "moxtal/engine/Host.h"
#include "moxtal/engine/LuaEngine.h"
#include "moxtal/engine/ObjectJson.h"
#include "package/host/MxRegister.h"
#include "platform/CodePage.h"

using namespace mx;
using namespace mx::bcc;
using platform::TStringList;

namespace {

class TErrors : public IMxActionValidationError {
 public:
  void AddError(std::string_view property, std::string_view message) override {
    Lines.push_back(std::string(property) + ": " + std::string(message));
  }
  std::vector<std::string> Lines;
};

class CBuilderActionTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { Register(false); }
  void SetUp() override { engine::THost::Instance().Log().AddSink(log_); }
  void TearDown() override { engine::THost::Instance().Log().RemoveSink(log_); }
  std::shared_ptr<engine::TMemoryLogSink> log_ = std::make_shared<engine::TMemoryLogSink>();
};

}  // namespace

TEST_F(CBuilderActionTest, DefaultsListsAndDescription) {
  TMxCBuilderAction action;
  const auto flags = {"UseDirectorySettings", "UseCompilerSettings",  "UseAdvCompilerSettings",
                      "UseLinkerSettings",    "UseAdvLinkerSettings", "UseCPPSettings",
                      "UsePascalSettings",    "UseVersionInfo",       "UseTASMSettings",
                      "UseCorbaSettings",     "UsePackageSettings",   "UseCodeGuardSettings"};
  for (const char* flag : flags)
    EXPECT_EQ(GetPropAsString(action, flag), "True") << flag;
  EXPECT_EQ(GetPropAsString(action, "UseTLibSettings"), "False");
  EXPECT_EQ(GetPropAsString(action, "CBuilderVersion"), "cvError");
  EXPECT_EQ(GetPropAsString(action, "AutoUpdateFileVersion"), "True");
  EXPECT_EQ(GetPropAsString(action, "CaptureMakeOuput"), "True");
  EXPECT_EQ(action.GetActionName(), "Compile C++Builder Project");
  action.SetProjectFile("%SRC%\\App.bpr");
  EXPECT_EQ(action.GetFormattedDescription(), "Compile C++Builder Project [ %SRC%\\App.bpr ]");
  EXPECT_EQ(action.GetQuickHelpFilename(), "Plugins\\CBuilder.html");
  EXPECT_EQ(action.GetHelpTopicID(), 1140);

  // The ten records are read-only script views, not stored properties; everything else is.
  const auto stored = GetPropertyList(action, false);
  std::vector<std::string> views;
  for (const auto& name : GetPropertyList(action, true)) {
    if (std::find(stored.begin(), stored.end(), name) == stored.end()) views.push_back(name);
  }
  EXPECT_EQ(views, (std::vector<std::string>{"CompilerOpt", "AdvCompilerOpt", "LinkerOpt",
                                             "AdvLinkerOpt", "CppOpt", "PascalOpt", "TASMOpt",
                                             "CorbaOpt", "CodeGuardOpt", "TLibOpt"}));
  EXPECT_EQ(stored.front(), "ProjectFile");
  EXPECT_EQ(stored.back(), "AutoUpdateFileVersion");
  // The switches are stored in their own order, which saved scripts keep.
  const auto first = std::find(stored.begin(), stored.end(), "UseDirectorySettings");
  ASSERT_GE(std::distance(first, stored.end()), 13);
  EXPECT_EQ(std::vector<std::string>(first, first + 13),
            (std::vector<std::string>{
                "UseDirectorySettings", "UseCompilerSettings", "UseAdvCompilerSettings",
                "UseTLibSettings", "UseLinkerSettings", "UseAdvLinkerSettings", "UseCPPSettings",
                "UsePascalSettings", "UseVersionInfo", "UseTASMSettings", "UseCorbaSettings",
                "UsePackageSettings", "UseCodeGuardSettings"}));

  // The lists the host's property editor shows name real properties.
  TStringList hidden;
  action.GetHiddenProperties(hidden);
  for (const auto& name : hidden)
    EXPECT_TRUE(HasProperty(action, name)) << name;
  EXPECT_EQ(hidden[0], "ProjectType");
  EXPECT_EQ(hidden[hidden.Count() - 1], "VersionInfoPropertySetName");
  TStringList help;
  action.GetPropertyHelp(help);
  for (int i = 0; i < help.Count(); ++i)
    EXPECT_TRUE(HasProperty(action, help.Names(i))) << help[i];
  EXPECT_EQ(
      help[4],
      "UseAdvLinkerSettings=When set, the Advanced Linker settings for the action will be used, "
      "otherwise the project settings will be used");
  EXPECT_EQ(help.Values("CaptureMakeOuput"), "Capture Make Ouput.");
  TStringList alias;
  action.GetPropertyAlias(alias);
  EXPECT_EQ(help.Values("UseVersionInfo"),
            "When set, the Version Info settings for the action will be used");
  EXPECT_EQ(help.IndexOfName("UseTLibSettings"), -1);
  // The families' help, in its order: what each says of its family.
  std::vector<std::string> helped;
  for (int i = 0; i < help.Count() && help.Names(i).starts_with("Use"); ++i)
    helped.push_back(help[i]);
  std::vector<std::string> expected;
  for (const auto& [name, what] : std::initializer_list<std::pair<const char*, const char*>>{
           {"UseDirectorySettings", "Directory"},
           {"UseCompilerSettings", "Compiler"},
           {"UseAdvCompilerSettings", "Compiler"},
           {"UseLinkerSettings", "Linker"},
           {"UseAdvLinkerSettings", "Advanced Linker"},
           {"UseCPPSettings", "CPP"},
           {"UsePascalSettings", "Pascal"},
           {"UseVersionInfo", nullptr},
           {"UseTASMSettings", "TASM"},
           {"UseCorbaSettings", "Corba"},
           {"UsePackageSettings", "Package"},
           {"UseCodeGuardSettings", "CodeGuard"}}) {
    expected.push_back(what ? std::string(name) + "=When set, the " + what +
                                  " settings for the action will be used, otherwise the project "
                                  "settings will be used"
                            : std::string(name) + "=" + help.Values(name));
  }
  EXPECT_EQ(helped, expected);
  const auto& lines = alias.Lines();
  EXPECT_EQ(
      std::vector<std::string>(lines.begin() + alias.IndexOf("[Settings]") + 1,
                               lines.begin() + alias.IndexOf("[Packages]")),
      (std::vector<std::string>{
          "UseDirectorySettings=Use Directory Settings",
          "UseCompilerSettings=Use Compiler Settings",
          "UseAdvCompilerSettings=Use Adv Compiler Settings",
          "UseLinkerSettings=Use Linker Settings", "UseAdvLinkerSettings=Use Adv Linker Settings",
          "UseCPPSettings=Use CPP Settings", "UsePascalSettings=Use Pascal Settings",
          "UseVersionInfo=Use Version Info", "UseTASMSettings=Use TASM Settings",
          "UseCorbaSettings=Use Corba Settings", "UsePackageSettings=Use Package Settings",
          "UseCodeGuardSettings=Use CodeGuard Settings", "UseTLibSettings=Use TLib Settings",
          "PreProcessProjectFile="}));

  TErrors errors;
  action.SetProjectFile("");
  EXPECT_FALSE(action.Validate(errors));
  EXPECT_EQ(errors.Lines,
            (std::vector<std::string>{"Project File: Project file has not been set"}));
}

TEST_F(CBuilderActionTest, PresetsEditRecordsAndConditionals) {
  const std::pair<const char*, const char*> debug[] = {{"A;B", "A;B;_DEBUG"},
                                                       {"A;", "A;_DEBUG"},
                                                       {"   ", "_DEBUG;"},
                                                       {"", "_DEBUG;"},
                                                       {"X_DEBUGY", "X_DEBUGY"}};
  for (const auto& [before, after] : debug) {
    TMxCBuilderAction action;
    action.SetConditionals(before);
    action.SetupDebug();
    EXPECT_EQ(action.GetConditionals(), after) << before;
  }
  const std::pair<const char*, const char*> release[] = {
      {"A;_DEBUG;B", "A;B"}, {"_DEBUG", ""}, {"A;_DEBUG", "A"}, {"_DEBUG;_DEBUG;x", ";x"}};
  for (const auto& [before, after] : release) {
    TMxCBuilderAction action;
    action.SetConditionals(before);
    action.SetupRelease();
    EXPECT_EQ(action.GetConditionals(), after) << before;
  }
  TMxCBuilderAction action;
  action.SetupRelease();
  EXPECT_EQ(GetPropAsString(*action.GetCompilerOpt(), "Optimisation"),
            "[coInlineIntrinsic,coInductionVariables,coCommonSubExpression]");
  EXPECT_FALSE(action.GetCompilerOpt()->GetDebugInformation());
  EXPECT_EQ(action.GetAdvCompilerOpt()->GetRegisterVariables(), TCBuilderRegisterVariables::rvAuto);
  EXPECT_TRUE(action.GetLinkerOpt()->GetDebugInformation());
  EXPECT_TRUE(action.GetPascalOpt()->GetOptimisation());
  EXPECT_FALSE(action.GetPascalOpt()->GetDefinitionsOnly());
  action.SetupDebug();
  EXPECT_TRUE(action.GetCompilerOpt()->GetOptimisation().Empty());
  EXPECT_TRUE(action.GetPascalOpt()->GetReferenceInfo());
  EXPECT_TRUE(action.GetLinkerOpt()->GetDebugInformation());
}

TEST_F(CBuilderActionTest, VersionKeysAndTheBuildNumber) {
  TMxCBuilderAction action;
  action.SetVersionInfoKeys("CompanyName=Acme\nFileVersion=0.0.0.0\nCompanyName=Second");
  EXPECT_EQ(action.GetVersionInfoKey("companyname"), "Acme");
  action.SetVersionInfoKey("COMPANYNAME", "");
  EXPECT_EQ(action.GetVersionInfoKeys(), "FileVersion=0.0.0.0\r\nCompanyName=Second\r\n");
  action.SetMajorVersion(1);
  action.SetMinorVersion(2);
  action.SetBuildVersion(17);
  action.UpdateFileVersion();
  EXPECT_EQ(action.GetVersionInfoKey("FileVersion"), "1.2.0.17");
  action.RemoveVersionInfoKey("Nothing");
  action.RemoveVersionInfoKey("fileversion");
  EXPECT_EQ(action.GetVersionInfoKeys(), "CompanyName=Second\r\n");

  action.SetAutoIncBuild(true);
  EXPECT_EQ(action.DynamicProperties(), (std::vector<std::string>{"BuildVersion"}));
  action.SetAutoIncBuild(false);
  EXPECT_TRUE(action.DynamicProperties().empty());
}

TEST_F(CBuilderActionTest, ScriptMethodsAndRecordsFromLua) {
  TMxCBuilderAction action;
  engine::TLuaEngine lua([](std::string_view) { return std::nullopt; });
  lua.SetGlobal("a", MxScriptingServices().WrapObject(action));
  lua.Run(R"(
    a:SetupRelease()
    a:SetVersionInfoKey("CompanyName", "Acme")
    company = a:GetVersionInfoKey("companyname")
    a.AdvCompilerOpt.DataAlignment = daQuadWord
    a.TASMOpt.DebugInfo = tdFull
  )",
          "methods");
  EXPECT_EQ(std::get<std::string>(lua.GetGlobal("company")), "Acme");
  EXPECT_EQ(action.GetAdvCompilerOpt()->GetDataAlignment(), TCBuilderDataAlignment::daQuadWord);
  EXPECT_EQ(action.GetTASMOpt()->GetDebugInfo(), TCBuilderTASMDebugInfo::tdFull);
  EXPECT_FALSE(action.GetCompilerOpt()->GetDebugInformation());
}

TEST_F(CBuilderActionTest, SavedActionsRestoreRecordsAndKeepDefaultsForMissingOnes) {
  engine::TBuildScript script;
  auto action = std::make_shared<TMxCBuilderAction>();
  action->SetProjectFile("App.bpr");
  action->GetLinkerOpt()->SetMapFile(TCBuilderMapFile::cmDetailed);
  action->GetTLibOpt()->SetPageSize(64);
  script.AddAction(action);
  std::string text = script.SaveToText();
  // Drop the saved librarian record: the loaded action keeps a default one.
  const auto start = text.find("<Child class=\"TMxCBuilderTLibOptions\">");
  const auto end = text.find("</Child>", start) + 8;
  text.erase(start, end - start);
  const auto loaded = engine::TBuildScript::LoadFromText(text, "cb.mxs");
  const auto& again = dynamic_cast<const TMxCBuilderAction&>(*loaded->Actions()[0]);
  EXPECT_EQ(again.GetLinkerOpt()->GetMapFile(), TCBuilderMapFile::cmDetailed);
  EXPECT_EQ(again.GetTLibOpt()->GetPageSize(), 16);
  EXPECT_EQ(again.GetChildren().size(), 10u);
  EXPECT_EQ(PropertyTexts(again).size(), PropertyTexts(*action).size());
}
