#include "moxtal/engine/LuaEngine.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "moxtal/engine/ActionRunner.h"
#include "moxtal/engine/BuildScript.h"
#include "moxtal/engine/Host.h"
#include "moxtal/engine/RunScriptAction.h"
#include "tests/support/SampleAction.h"

using namespace mx;
using namespace mx::engine;
using mx::testing::TSampleAction;

namespace {

class LuaEngineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    mx::testing::RegisterSampleAction();
    THost::Instance().Log().AddSink(log_);
  }
  void TearDown() override { THost::Instance().Log().RemoveSink(log_); }

  TLuaEngine NewEngine() {
    return TLuaEngine([](std::string_view n) -> std::optional<std::string> {
      if (n == "SRC") return std::string("C:\\src");
      return std::nullopt;
    });
  }

  std::shared_ptr<TMemoryLogSink> log_ = std::make_shared<TMemoryLogSink>();
};

}  // namespace

TEST_F(LuaEngineTest, RegisteredConstantsAreGlobals) {
  auto lua = NewEngine();
  lua.Run("a, b, c, d = mfDetailed, swAll, smRelease, soSpeed", "constants");
  EXPECT_EQ(std::get<std::int64_t>(lua.GetGlobal("a")), 3);
  EXPECT_EQ(std::get<std::int64_t>(lua.GetGlobal("b")), 1);
  EXPECT_EQ(std::get<std::int64_t>(lua.GetGlobal("c")), 1);
  EXPECT_EQ(std::get<std::int64_t>(lua.GetGlobal("d")), 0);
}

TEST_F(LuaEngineTest, WrappedObjectsExposePropertiesMethodsAndRecords) {
  TSampleAction action;
  action.SetProjectFile("App.bpr");
  auto lua = NewEngine();
  lua.SetGlobal("a", MxScriptingServices().WrapObject(action));
  lua.Run(R"(
    a.ProjectFile = Expand("%SRC%\\") .. a.ProjectFile
    a:Bump(41)
    a:Bump()
    described = a:Describe("> ")
    a.Mode = "smRelease"
    a.CompilerOpt.OutputWarnings = swAll
    a.CompilerOpt.Optimisation = { soSize, soInline }
    a.CompilerOpt.Warnings:Add("-wpar=1")
    a.LinkerOpt.MapFile = "mfPublics"
    members = #a.CompilerOpt.Optimisation
    debug = a.CompilerOpt.DebugInfo
  )",
          "objects");
  EXPECT_EQ(action.GetProjectFile(), "C:\\src\\App.bpr");
  EXPECT_EQ(action.GetBuildNumber(), 42);
  EXPECT_EQ(std::get<std::string>(lua.GetGlobal("described")),
            "> Sample Build [ C:\\src\\App.bpr ]");
  EXPECT_EQ(action.GetMode(), mx::testing::TSampleMode::smRelease);
  using mx::testing::TSampleOptimisation;
  EXPECT_EQ(action.CompilerOpt()->GetOutputWarnings(), mx::testing::TSampleWarnings::swAll);
  EXPECT_EQ(action.CompilerOpt()->GetOptimisation(),
            (mx::testing::TSampleOptimisations{TSampleOptimisation::soSize,
                                               TSampleOptimisation::soInline}));
  EXPECT_EQ(action.CompilerOpt()->GetWarnings().Text(), "-wpar=1\r\n");
  EXPECT_EQ(action.LinkerOpt()->GetMapFile(), mx::testing::TSampleMapFile::mfPublics);
  EXPECT_EQ(std::get<std::int64_t>(lua.GetGlobal("members")), 2);
  EXPECT_EQ(std::get<bool>(lua.GetGlobal("debug")), true);
}

TEST_F(LuaEngineTest, AStopEndsEveryScriptAndNoScriptCatchesIt) {
  std::atomic<bool> stop{false};
  for (const char* source :
       {"while true do end", "while true do pcall(function() while true do end end) end",
        "while true do xpcall(function() while true do end end, function() while true do end "
        "end) end"}) {
    stop = false;
    auto lua = NewEngine();
    lua.SetStopFlag(&stop);
    std::thread stopper([&stop] {
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
      stop = true;
    });
    try {
      lua.Run(source, "loop");
      ADD_FAILURE() << source;
    } catch (const Exception& e) {
      EXPECT_NE(std::string(e.what()).find("Terminated by user"), std::string::npos) << e.what();
    }
    stopper.join();
    // The engine runs the next script as usual, message handlers included.
    stop = false;
    lua.Run(
        "ok, m = xpcall(function(a) error('x' .. a, 0) end, function(e) return 'h ' .. e end, 5)",
        "after");
    EXPECT_EQ(std::get<std::string>(lua.GetGlobal("m")), "h x5");
  }
  auto lua = NewEngine();
  EXPECT_THROW(lua.Run("debug.sethook()", "unhook"), Exception);
}

TEST_F(LuaEngineTest, OsExitIsAScriptError) {
  auto lua = NewEngine();
  try {
    lua.Run("os.exit(7)", "leave");
    FAIL();
  } catch (const Exception& e) {
    EXPECT_STREQ(e.what(),
                 "leave:1: os.exit is not allowed in a build script; end the script with error() "
                 "instead");
  }
  // The rest of os stays, as make keeps the shell for its recipes.
  lua.Run("t = type(os.time()) .. type(io.open)", "os");
  EXPECT_EQ(std::get<std::string>(lua.GetGlobal("t")), "numberfunction");
}

TEST_F(LuaEngineTest, StringListsAndErrorsWithLines) {
  platform::TStringList list("all: app\n\tmake app\n");
  auto lua = NewEngine();
  lua.SetGlobal("mk", MxScriptingServices().WrapStrings(list));
  lua.Run(R"(
    count = mk.Count
    first = mk[0]
    mk:Insert(0, "# edited")
    mk[2] = "\tbuild app"
    mk:Delete(1)
    where = mk:IndexOf("\tbuild app")
    size = #mk
  )",
          "lists");
  EXPECT_EQ(std::get<std::int64_t>(lua.GetGlobal("count")), 2);
  EXPECT_EQ(std::get<std::string>(lua.GetGlobal("first")), "all: app");
  EXPECT_EQ(list.Text(), "# edited\r\n\tbuild app\r\n");
  EXPECT_EQ(std::get<std::int64_t>(lua.GetGlobal("where")), 1);

  const std::pair<const char*, const char*> errors[] = {
      {"x = 1\ny = nil + 1\n", "broken:2: attempt to perform arithmetic on a nil value"},
      {"\n\nmk:Delete(9)", "broken:3: List index out of bounds (9)"},
      {"mk.Nothing()", "broken:1: string list has no member 'Nothing'"},
      {"x = (", "broken:1: unexpected symbol near <eof>"},
      {"print(Expand('%NOPE%'))", "broken:1: Undefined variable \"NOPE\""},
  };
  for (const auto& [source, message] : errors) {
    try {
      lua.Run(source, "broken");
      ADD_FAILURE() << source;
    } catch (const mx::Exception& e) {
      EXPECT_EQ(std::string(e.what()).substr(0, std::string(message).size()), message) << e.what();
    }
  }
}

TEST_F(LuaEngineTest, EventScriptParametersAndWriteBack) {
  TBuildScript script;
  auto action = std::make_shared<TSampleAction>();
  action->SetName("App");
  action->BuiltLines = {"line 1"};
  script.AddAction(action);
  TMxScript* event = action->GetScriptByName("OnBuilt");
  ASSERT_TRUE(event);
  ASSERT_EQ(event->Params().size(), 3u);

  // Changing the list without setting the written-back flag changes nothing.
  event->SetText("Lines:Add('line 2')\nprint(Action.ProjectFile == '' and 'empty' or 'set')");
  EXPECT_TRUE(action->Execute());
  EXPECT_EQ(action->BuiltLines, (std::vector<std::string>{"line 1"}));
  EXPECT_EQ(log_->AllLines().back(), "empty");

  event->SetText("Lines:Add('line 2')\nModified = true");
  EXPECT_TRUE(action->Execute());
  EXPECT_EQ(action->BuiltLines, (std::vector<std::string>{"line 1", "line 2"}));

  event->SetText("Lines:Add(\n)");
  EXPECT_FALSE(action->Execute());
  EXPECT_EQ(log_->AllLines().back().rfind("Error during OnBuilt event : OnBuilt:1: ", 0), 0u)
      << log_->AllLines().back();
}

TEST_F(LuaEngineTest, RunScriptActionReachesOtherActionsByName) {
  TBuildScript script;
  auto build = std::make_shared<TSampleAction>();
  build->SetName("Build App");
  auto run = std::make_shared<TMxRunScriptAction>();
  run->SetName("Prepare");
  run->SetScript(
      "Actions['Build App']:Bump(9)\nprint('bumped to ' .. Actions['Build App'].BuildNumber)");
  script.AddAction(run);
  script.AddAction(build);
  TActionRunner runner(script);
  EXPECT_TRUE(runner.Run({"Prepare"}));
  EXPECT_EQ(build->GetBuildNumber(), 9);
  EXPECT_EQ(log_->AllLines()[1], "bumped to 9");

  run->SetScript("error('stop here')");
  EXPECT_FALSE(TActionRunner(script).Run({"Prepare"}));
  const auto lines = log_->AllLines();
  EXPECT_NE(std::find(lines.begin(), lines.end(), "Script error : Prepare:1: stop here"),
            lines.end());
}
