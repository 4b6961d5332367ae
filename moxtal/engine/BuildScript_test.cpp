#include "moxtal/engine/BuildScript.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "moxtal/engine/ActionRunner.h"
#include "moxtal/engine/Host.h"
#include "moxtal/engine/LuaEngine.h"
#include "moxtal/engine/ObjectJson.h"
#include "tests/support/SampleAction.h"

using namespace mx;
using namespace mx::engine;
using mx::testing::TSampleAction;

namespace {

class BuildScriptTest : public ::testing::Test {
 protected:
  void SetUp() override {
    mx::testing::RegisterSampleAction();
    THost::Instance().Log().AddSink(log_);
  }
  void TearDown() override { THost::Instance().Log().RemoveSink(log_); }

  // Sets every stored property of an object to a value other than its default.
  static void ChangeEverything(IPersistentObject& object) {
    for (const TPropInfo* p : object.ClassInfo().Properties()) {
      if (p->ReadOnly()) continue;
      switch (p->Kind) {
        case TPropKind::pkBoolean:
          p->Set(object, !std::get<bool>(p->Get(object)));
          break;
        case TPropKind::pkInteger:
          p->Set(object, std::int64_t{-7});
          break;
        case TPropKind::pkCardinal:
          p->Set(object, std::int64_t{0xFFFFFFF0});
          break;
        case TPropKind::pkString:
          p->Set(object, std::string("C:\\My Dir\\x & \"y\"\r\nline 2"));
          break;
        case TPropKind::pkEnum:
          p->Set(object, std::int64_t{p->Enum->Count() - 1});
          break;
        case TPropKind::pkSet:
          p->Set(object, std::int64_t{(1 << p->Enum->Count()) - 1});
          break;
        case TPropKind::pkStringList:
          p->Set(object, std::vector<std::string>{"-wpar=1", "", "-waus=0"});
          break;
        case TPropKind::pkObject:
          break;
      }
    }
  }

  static std::vector<std::pair<std::string, std::string>> Everything(const TSampleAction& a) {
    auto all = PropertyTexts(a);
    for (const auto& r : a.Records()) {
      for (auto& pt : PropertyTexts(*r))
        all.emplace_back(r->ClassInfo().Name() + "." + pt.first, pt.second);
    }
    return all;
  }

  std::shared_ptr<TMemoryLogSink> log_ = std::make_shared<TMemoryLogSink>();
};

}  // namespace

TEST_F(BuildScriptTest, EveryRecordAndPropertyRoundTrips) {
  TBuildScript script;
  script.Variables().Set("SRC", "C:\\src");
  auto set = script.AddPropertySet("Release", "Win32 Version Info");
  set->ValueObject().SetValue("MajorVersion", "3");
  auto action = std::make_shared<TSampleAction>();
  action->SetName("Build App");
  action->SetEnabled(false);
  ChangeEverything(*action);
  for (const auto& r : action->Records())
    ChangeEverything(*r);
  action->GetScriptByName("OnBuilt")->SetText("Lines:Add('x') -- & < >\r\nModified = true\n");
  script.AddAction(action);

  const std::string text = script.SaveToText();
  // Every property of every record is stored, default or not.
  for (const auto& r : action->Records()) {
    for (const auto& name : GetPropertyList(*r, false)) {
      EXPECT_NE(text.find("<Property name=\"" + name + "\""), std::string::npos)
          << r->ClassInfo().Name() << "." << name;
    }
  }
  const auto loaded = TBuildScript::LoadFromText(text, "round.mxs");
  ASSERT_EQ(loaded->Actions().size(), 1u);
  const auto& again = dynamic_cast<const TSampleAction&>(*loaded->Actions()[0]);
  EXPECT_EQ(again.Name(), "Build App");
  EXPECT_FALSE(again.Enabled());
  EXPECT_EQ(Everything(again), Everything(*action));
  EXPECT_EQ(const_cast<TSampleAction&>(again).GetScriptByName("OnBuilt")->Text(),
            "Lines:Add('x') -- & < >\r\nModified = true\n");
  EXPECT_EQ(loaded->Variables().Find("src"), "C:\\src");
  ASSERT_TRUE(loaded->FindPropertySet("release"));
  EXPECT_EQ(GetPropertyList(*loaded->FindPropertySet("Release")->Values(), true),
            (std::vector<std::string>{"ObjectID", "Name", "MajorVersion"}));
  EXPECT_EQ(loaded->SaveToText(), text);
}

TEST_F(BuildScriptTest, MissingPropertiesAndRecordsKeepTheirDefaults) {
  const auto script = TBuildScript::LoadFromText(
      "<BuildScript>\n<Actions>\n"
      "  <Action class=\"TSampleAction\" name=\"A\">\n"
      "    <Property name=\"BuildNumber\" value=\"5\"/>\n"
      "    <Child class=\"TSampleLinkerRecord\">\n"
      "      <Property name=\"MapFile\" value=\"mfDetailed\"/>\n"
      "    </Child>\n"
      "  </Action>\n</Actions>\n</BuildScript>\n",
      "partial.mxs");
  const auto& a = dynamic_cast<const TSampleAction&>(*script->Actions()[0]);
  const TSampleAction fresh;
  EXPECT_EQ(a.GetBuildNumber(), 5);
  EXPECT_EQ(a.LinkerOpt()->GetMapFile(), mx::testing::TSampleMapFile::mfDetailed);
  // What the file leaves out keeps its default.
  EXPECT_EQ(a.LinkerOpt()->GetLinkerWarnings(), mx::testing::TSampleWarnings::swAll);
  EXPECT_EQ(a.LinkerOpt()->GetImageBase(), 0x400000u);
  EXPECT_EQ(PropertyTexts(*a.CompilerOpt()), PropertyTexts(*fresh.CompilerOpt()));
  EXPECT_EQ(a.CompilerOpt()->GetPreCompFile(), "$(BCB)\\lib\\vcl50.csm");
}

TEST_F(BuildScriptTest, LoadErrorsNameFileLineAndProblem) {
  const std::pair<const char*, const char*> cases[] = {
      {"<BuildScript><Actions>\n<Action class=\"TNoSuchAction\"/></Actions></BuildScript>",
       "bad.mxs:2: unknown action class \"TNoSuchAction\"; the action classes are "
       "TMxRunScriptAction, TSampleAction"},
      // A slip of the keyboard is answered with the name meant.
      {"<BuildScript><Actions>\n<Action class=\"TSampleActoin\"/></Actions></BuildScript>",
       "bad.mxs:2: unknown action class \"TSampleActoin\"; did you mean TSampleAction?; the "
       "action classes are TMxRunScriptAction, TSampleAction"},
      {"<BuildScript><Actions><Action class=\"TSampleAction\">\n<Property name=\"projectfil\" "
       "value=\"1\"/></Action></Actions></BuildScript>",
       "bad.mxs:2: TSampleAction has no property 'projectfil'; did you mean ProjectFile?; its "
       "properties are ProjectFile, BuildNumber, AutoIncBuild, Mode, CompilerOpt, LinkerOpt"},
      {"<BuildScript><Actions>\n<Action class=\"TSampleAction\">\n<Property name=\"BuildNumber\" "
       "value=\"ten\"/>"
       "</Action></Actions></BuildScript>",
       "bad.mxs:3: property BuildNumber: 'ten' is not a valid integer value"},
      {"<BuildScript><Actions><Action class=\"TSampleAction\">\n\n<Property name=\"Nope\" "
       "value=\"1\"/>"
       "</Action></Actions></BuildScript>",
       "bad.mxs:3: TSampleAction has no property 'Nope'; its properties are ProjectFile, "
       "BuildNumber, AutoIncBuild, Mode, CompilerOpt, LinkerOpt"},
      {"<BuildScript><Actions><Action class=\"TSampleAction\">\n<Child class=\"TUnknownRecord\"/>"
       "</Action></Actions></BuildScript>",
       "bad.mxs:2: unknown class \"TUnknownRecord\""},
      {"<BuildScript><Actions><Action class=\"TSampleAction\" "
       "enabled=\"perhaps\"/></Actions></BuildScript>",
       "bad.mxs:1: enabled must be True or False"},
      {"<Project/>", "bad.mxs:1: not a build script (the root element must be <BuildScript>)"},
      {"<BuildScript version=\"999\"/>",
       "bad.mxs:1: build script version \"999\" is not supported (this moxtal reads version 1)"},
      {"<BuildScript><Actions><Action class=\"TSampleAction\">\n<Event name=\"OnNothing\">x"
       "</Event></Action></Actions></BuildScript>",
       "bad.mxs:2: TSampleAction has no event \"OnNothing\""},
      {"<BuildScript><Variables>\n<Child class=\"TSampleLinkerRecord\"/></Variables></BuildScript>",
       "bad.mxs:2: <Child> does not belong in <Variables>"},
      {"<BuildScript><Actions><Action class=\"TSampleAction\"><Property name=\"ProjectFile\">\n"
       "<Child class=\"TSampleLinkerRecord\"/></Property></Action></Actions></BuildScript>",
       "bad.mxs:2: <Child> does not belong in <Property>"},
      {"<BuildScript><Actions><Action class=\"TMxRunScriptAction\">\n"
       "<Child class=\"TSampleLinkerRecord\"/></Action></Actions></BuildScript>",
       "bad.mxs:2: a TSampleLinkerRecord does not belong in a TMxRunScriptAction"},
  };
  for (const auto& [text, message] : cases) {
    try {
      TBuildScript::LoadFromText(text, "bad.mxs");
      ADD_FAILURE() << text;
    } catch (const EScriptError& e) {
      EXPECT_EQ(e.what(), std::string(message));
    }
  }
  try {
    TBuildScript::LoadFromText("<BuildScript>\n<Actions>\n</BuildScript>", "bad.mxs");
    FAIL();
  } catch (const EScriptError& e) {
    EXPECT_EQ(std::string(e.what()).rfind("bad.mxs:3: ", 0), 0u) << e.what();
  }
}

// A hand-kept script: comments, blank lines, single quotes, its own attribute order and line
// ends. A save changes the values that changed and adds what is new, nothing else.
TEST_F(BuildScriptTest, ASaveChangesOnlyWhatChanged) {
  const std::string text =
      "<?xml version='1.0' encoding='UTF-8'?>\r\n"
      "<!-- The nightly build: keep the comments! -->\r\n"
      "<BuildScript version='1'>\r\n"
      "\t<Variables>\r\n"
      "\t\t<Variable value='C:\\Work' name='SRC'/>  <!-- where the sources are -->\r\n"
      "\t</Variables>\r\n"
      "\r\n"
      "\t<Actions>\r\n"
      "\t\t<Action enabled='True' class='TSampleAction' name='App'>\r\n"
      "\t\t\t<Property name='BuildNumber' value='0041'/>\r\n"
      "\t\t\t<Property name='ProjectFile' value='%SRC%\\App.bpr'/>\r\n"
      "\t\t\t<Child class='TSampleCompilerRecord'>\r\n"
      "\t\t\t\t<Property name='Warnings'>\r\n"
      "\t\t\t\t\t<Line value='-wpar=1'/>\r\n"
      "\t\t\t\t</Property>\r\n"
      "\t\t\t</Child>\r\n"
      "\t\t\t<Event name='OnBuilt'><![CDATA[print('built')]]></Event>\r\n"
      "\t\t</Action>\r\n"
      "\t</Actions>\r\n"
      "</BuildScript>\r\n";
  auto script = TBuildScript::LoadFromText(text, "nightly.mxs");
  EXPECT_EQ(script->SaveToText(), text);  // nothing changed, nothing moves

  auto& app = dynamic_cast<TSampleAction&>(*script->Actions()[0]);
  app.SetBuildNumber(42);
  app.SetMode(mx::testing::TSampleMode::smRelease);  // not in the file: added
  app.CompilerOpt()->GetWarnings().Add("-waus=0");
  app.LinkerOpt()->SetImageBase(0x10000000);  // the record is not in the file at all
  app.GetScriptByName("OnBuilt")->SetText("print('done') -- & <");
  script->Variables().Set("OUT", "D:\\Out");
  auto added = std::make_shared<TSampleAction>();
  added->SetName("Second");
  script->AddAction(added);
  const std::string saved = script->SaveToText();
  const std::size_t second = saved.find("\t\t<Action class=\"TSampleAction\" name=\"Second\"");
  ASSERT_NE(second, std::string::npos) << saved;
  EXPECT_EQ(saved.substr(0, second),
            "<?xml version='1.0' encoding='UTF-8'?>\r\n"
            "<!-- The nightly build: keep the comments! -->\r\n"
            "<BuildScript version='1'>\r\n"
            "\t<Variables>\r\n"
            "\t\t<Variable value='C:\\Work' name='SRC'/>  <!-- where the sources are -->\r\n"
            "\t\t<Variable name=\"OUT\" value=\"D:\\Out\"/>\r\n"
            "\t</Variables>\r\n"
            "\r\n"
            "\t<Actions>\r\n"
            "\t\t<Action enabled='True' class='TSampleAction' name='App'>\r\n"
            "\t\t\t<Property name='BuildNumber' value='42'/>\r\n"
            "\t\t\t<Property name='ProjectFile' value='%SRC%\\App.bpr'/>\r\n"
            "\t\t\t<Child class='TSampleCompilerRecord'>\r\n"
            "\t\t\t\t<Property name='Warnings'>\r\n"
            "\t\t\t\t\t<Line value='-wpar=1'/>\r\n"
            "\t\t\t\t\t<Line value=\"-waus=0\"/>\r\n"
            "\t\t\t\t</Property>\r\n"
            "\t\t\t</Child>\r\n"
            "\t\t\t<Event name='OnBuilt'>print('done') -- &amp; &lt;</Event>\r\n"
            "\t\t\t<Property name=\"Mode\" value=\"smRelease\"/>\r\n"
            "\t\t\t<Child class=\"TSampleLinkerRecord\">\r\n"
            "\t\t\t\t<Property name=\"MapFile\" value=\"mfSegments\"/>\r\n"
            "\t\t\t\t<Property name=\"LinkerWarnings\" value=\"swAll\"/>\r\n"
            "\t\t\t\t<Property name=\"ImageBase\" value=\"268435456\"/>\r\n"
            "\t\t\t</Child>\r\n"
            "\t\t</Action>\r\n");
  // The new action follows the last one, in the file's own indentation.
  EXPECT_EQ(saved.substr(second, saved.find("<Child", second) - second),
            "\t\t<Action class=\"TSampleAction\" name=\"Second\" enabled=\"True\">\r\n"
            "\t\t\t<Property name=\"ProjectFile\" value=\"\"/>\r\n"
            "\t\t\t<Property name=\"BuildNumber\" value=\"0\"/>\r\n"
            "\t\t\t<Property name=\"AutoIncBuild\" value=\"False\"/>\r\n"
            "\t\t\t<Property name=\"Mode\" value=\"smDebug\"/>\r\n"
            "\t\t\t");
  const std::string tail = "\t\t\t</Child>\r\n\t\t</Action>\r\n\t</Actions>\r\n</BuildScript>\r\n";
  EXPECT_EQ(saved.substr(saved.size() - tail.size()), tail);
  // What was saved loads back to what was changed.
  const auto again = TBuildScript::LoadFromText(saved, "nightly.mxs");
  EXPECT_EQ(PropertyTexts(*again->Actions()[0]), PropertyTexts(app));
  EXPECT_EQ(again->Actions()[1]->Name(), "Second");
  EXPECT_EQ(again->Variables().Find("OUT"), "D:\\Out");
  // Clearing an event takes its element and its line away.
  app.GetScriptByName("OnBuilt")->SetText("");
  const std::string cleared = script->SaveToText();
  EXPECT_EQ(cleared.find("OnBuilt"), std::string::npos);
  EXPECT_NE(cleared.find("</Child>\r\n\t\t\t<Property name=\"Mode\""), std::string::npos)
      << cleared;
}

TEST_F(BuildScriptTest, TextsAScriptCannotHoldAreRefusedWithWhereTheyCameFrom) {
  TBuildScript script;
  auto action = std::make_shared<TSampleAction>();
  action->SetName("App");
  script.AddAction(action);
  action->SetProjectFile(std::string("App\x1b.bpr"));
  try {
    script.SaveToText();
    FAIL();
  } catch (const Exception& e) {
    EXPECT_STREQ(e.what(),
                 "action \"App\", property ProjectFile: the control character U+001B at offset 3 "
                 "cannot be stored in XML; a build script cannot store it");
  }
  action->SetProjectFile("App.bpr");
  action->CompilerOpt()->GetWarnings().Add("caf\xe9");  // Windows-1252, not UTF-8
  EXPECT_THROW(script.SaveToText(), Exception);
  action->CompilerOpt()->GetWarnings().Clear();
  // A script that assigns such a text fails at that line.
  TLuaEngine lua([](std::string_view) { return std::nullopt; });
  lua.SetGlobal("a", MxScriptingServices().WrapObject(*action));
  try {
    lua.Run("a.ProjectFile = 'x' .. string.char(27)", "assign");
    FAIL();
  } catch (const Exception& e) {
    EXPECT_STREQ(e.what(),
                 "assign:1: ProjectFile: the control character U+001B at offset 1 cannot be "
                 "stored in XML");
  }
  EXPECT_EQ(action->GetProjectFile(), "App.bpr");
  EXPECT_NO_THROW(script.SaveToText());
}

TEST_F(BuildScriptTest, RunnerStopsAtFirstFailureAndServicesReachTheLog) {
  TBuildScript script;
  script.Variables().Set("SRC", "C:\\src");
  auto first = std::make_shared<TSampleAction>();
  first->SetName("First");
  first->SetProjectFile("%SRC%\\App.bpr");
  first->SetAutoIncBuild(true);
  auto second = std::make_shared<TSampleAction>();
  second->SetName("Second");
  second->SetProjectFile("%MISSING%\\App.bpr");
  auto third = std::make_shared<TSampleAction>();
  third->SetName("Third");
  for (const auto& a : {first, second, third})
    script.AddAction(a);

  TActionRunner runner(script);
  EXPECT_FALSE(runner.Run());
  const auto outcomes = runner.Outcomes();
  ASSERT_EQ(outcomes.size(), 3u);
  EXPECT_EQ(outcomes[0].Result, TActionResult::arSucceeded);
  EXPECT_EQ(outcomes[1].Result, TActionResult::arFailed);
  EXPECT_EQ(outcomes[2].Result, TActionResult::arNotRun);
  EXPECT_EQ(outcomes[2].Reason, "an action before it failed");
  EXPECT_EQ(first->GetBuildNumber(), 1);
  EXPECT_EQ(first->DynamicProperties(), (std::vector<std::string>{"BuildNumber"}));
  const auto lines = log_->AllLines();
  const auto has = [&lines](const std::string& l) {
    return std::find(lines.begin(), lines.end(), l) != lines.end();
  };
  EXPECT_TRUE(has("Building C:\\src\\App.bpr"));
  EXPECT_TRUE(has("Error expanding ProjectFile : Undefined variable \"MISSING\""));
  EXPECT_TRUE(has("Action failed"));
  EXPECT_FALSE(has("Running Sample Build [  ]"));  // the third never started
  // One status message is one entry.
  bool together = false;
  for (const auto& e : log_->Entries()) {
    together = together ||
               e.Lines == std::vector<std::string>{"Building C:\\src\\App.bpr", "Mode smDebug"};
  }
  EXPECT_TRUE(together);

  TActionRunner named(script);
  EXPECT_TRUE(named.Run({"third", "FIRST"}));
  ASSERT_EQ(named.Outcomes().size(), 2u);
  EXPECT_EQ(named.Outcomes()[0].Action->Name(), "First");  // script order, not command order
  EXPECT_THROW(named.Run({"Nobody"}), mx::Exception);
}

TEST_F(BuildScriptTest, SaveReplacesTheFileOnlyWhenComplete) {
  const auto dir = std::filesystem::temp_directory_path() / "mx_buildscript_test";
  std::filesystem::create_directories(dir);
  const auto path = (dir / "build.mxs").string();
  TBuildScript script;
  script.AddAction(std::make_shared<TSampleAction>());
  script.Save(path);
  const auto loaded = TBuildScript::Load(path);
  EXPECT_EQ(loaded->Actions()[0]->Name(), "Sample Build");
  EXPECT_FALSE(std::filesystem::exists(path + ".saving"));
  EXPECT_THROW(script.Save((dir / "no-such-folder" / "x.mxs").string()), mx::Exception);
  try {
    TBuildScript::Load((dir / "missing.mxs").string());
    FAIL();
  } catch (const EScriptError& e) {
    EXPECT_EQ(std::string(e.what()).rfind(
                  (dir / "missing.mxs").string() + ": cannot open the build script", 0),
              0u);
  }
  std::filesystem::remove_all(dir);
}

// The script's folder is a name of the file system, taken as it is: a "%" in a checkout's folder
// name stays a "%", whatever variable it seems to name.
TEST_F(BuildScriptTest, TheScriptsFolderIsTakenLiterally) {
  for (const char* folder : {"50%HOME%x", "a%SCRIPTDIR%b", "100%"}) {
    TBuildScript script;
    script.SetFileName((std::filesystem::temp_directory_path() / folder / "b.mxs").string());
    const std::string expanded = script.ExpandExpression("%SCRIPTDIR%", true);
    EXPECT_EQ(std::filesystem::path(expanded).filename().string(), folder) << expanded;
  }
}
