#include "moxtal/engine/ActionRunner.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <thread>

#include "moxtal/engine/ActionGraph.h"
#include "moxtal/engine/Host.h"
#include "tests/support/SampleAction.h"

using namespace mx;
using namespace mx::engine;

namespace {

using Clock = std::chrono::steady_clock;

// When each action of a run started and ended, and how many have started, shared by the actions
// of one test.
struct TSpans {
  std::mutex Mutex;
  std::condition_variable Changed;
  int Started = 0;
  std::map<std::string, std::pair<Clock::time_point, Clock::time_point>> Times;

  // Counts an action in, then waits (10 s at most) until `count` actions have started: what a
  // test says of actions that run at once then holds however late a busy machine starts them.
  void Meet(int count) {
    std::unique_lock lock(Mutex);
    ++Started;
    Changed.notify_all();
    Changed.wait_for(lock, std::chrono::seconds(10), [&] { return Started >= count; });
  }

  bool Overlap(const std::string& a, const std::string& b) {
    std::lock_guard lock(Mutex);
    return Times.at(a).first < Times.at(b).second && Times.at(b).first < Times.at(a).second;
  }
  bool Before(const std::string& a, const std::string& b) {
    std::lock_guard lock(Mutex);
    return Times.at(a).second <= Times.at(b).first;
  }
};

// A sample action that takes `work` to build a project in `folder`, runs its event script and
// counts its build, and stops when asked. With a meeting set, its work starts once that many
// actions have started.
class TTimedAction : public mx::testing::TSampleAction {
 public:
  TTimedAction(TSpans& spans, std::string name, std::string folder, std::chrono::milliseconds work,
               std::vector<std::string> needs = {})
      : spans_(spans), folder_(std::move(folder)), work_(work) {
    SetName(std::move(name));
    SetProjectFile("C:\\src\\" + Name() + ".bpr");
    SetAutoIncBuild(true);
    SetDependsOn(std::move(needs));
    // Every action's event script runs on its own build thread, in a Lua state of its own.
    GetScriptByName("OnBuilt")->SetText(
        "for i = 1, 2000 do Lines:Add(Action.ProjectFile .. i) end Modified = true");
  }
  std::string ProjectFolder() const override { return folder_; }
  bool RunsAlone() const override { return alone_; }
  void SetRunsAlone(bool alone) { alone_ = alone; }
  void SetError(std::string error) { error_ = std::move(error); }
  void SetMeeting(int count) { meeting_ = count; }
  bool CanTerminate() const override { return true; }
  void TerminateAction() override { stop_ = true; }
  bool Execute() override {
    const auto started = Clock::now();
    spans_.Meet(meeting_);
    const auto met = Clock::now();
    while (!stop_ && Clock::now() - met < work_)
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    const bool ok = !stop_ && TSampleAction::Execute();
    {
      std::lock_guard lock(spans_.Mutex);
      spans_.Times[Name()] = {started, Clock::now()};
    }
    if (!error_.empty()) throw mx::Exception(error_);
    return ok;
  }

 private:
  TSpans& spans_;
  std::string folder_;
  std::chrono::milliseconds work_;
  std::atomic<bool> stop_{false};
  bool alone_ = false;
  int meeting_ = 0;
  std::string error_;  // thrown at the end of the build
};

class ActionRunnerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    mx::testing::RegisterSampleAction();
    THost::Instance().Log().AddSink(log_);
  }
  void TearDown() override { THost::Instance().Log().RemoveSink(log_); }
  std::string Log() const { return ::testing::PrintToString(log_->AllLines()); }

  std::shared_ptr<TTimedAction> Add(std::string name, std::string folder, int ms,
                                    std::vector<std::string> needs = {}) {
    auto action = std::make_shared<TTimedAction>(spans_, std::move(name), std::move(folder),
                                                 std::chrono::milliseconds(ms), std::move(needs));
    script_.AddAction(action);
    return action;
  }
  std::map<std::string, TActionOutcome> Outcomes(const TActionRunner& runner) {
    std::map<std::string, TActionOutcome> outcomes;
    for (const auto& o : runner.Outcomes())
      outcomes[o.Action->Name()] = o;
    return outcomes;
  }

  TSpans spans_;
  TBuildScript script_;
  std::shared_ptr<TMemoryLogSink> log_ = std::make_shared<TMemoryLogSink>();
};

}  // namespace

TEST_F(ActionRunnerTest, IndependentActionsOverlapDependentsWaitAndAFolderBuildsOneAtATime) {
  Add("Core", "/p/core", 150)->SetMeeting(2);
  Add("Widgets", "/p/widgets", 150)->SetMeeting(2);
  Add("App", "/p/app", 50, {"Core", "Widgets"});
  Add("Tests", "/p/core", 50);  // shares Core's folder
  Add("Tool", "/p/tool", 50);

  TActionRunner runner(script_);
  ASSERT_TRUE(runner.Run({}, {2, false})) << Log();
  EXPECT_TRUE(spans_.Overlap("Core", "Widgets"));
  EXPECT_TRUE(spans_.Before("Core", "App"));
  EXPECT_TRUE(spans_.Before("Widgets", "App"));
  EXPECT_FALSE(spans_.Overlap("Core", "Tests"));
  // Two at a time: Tool, last in the script's order, waits until the first two are done.
  EXPECT_TRUE(spans_.Before("Widgets", "Tool"));
  for (const auto& [name, outcome] : Outcomes(runner)) {
    EXPECT_EQ(outcome.Result, TActionResult::arSucceeded) << name;
    EXPECT_EQ(std::static_pointer_cast<TTimedAction>(outcome.Action)->GetBuildNumber(), 1) << name;
    EXPECT_EQ(std::static_pointer_cast<TTimedAction>(outcome.Action)->BuiltLines.size(), 2000u)
        << name;
  }
}

TEST_F(ActionRunnerTest, AnActionThatRunsAloneWaitsAndNothingAfterItOvertakesIt) {
  Add("First", "/p/first", 150);
  Add("Script", "", 10)->SetRunsAlone(true);
  Add("After", "/p/after", 10);
  TActionRunner runner(script_);
  ASSERT_TRUE(runner.Run({}, {2, false}));
  EXPECT_TRUE(spans_.Before("First", "Script"));
  EXPECT_TRUE(spans_.Before("Script", "After"));
}

TEST_F(ActionRunnerTest, AFailureStopsNewStartsUnlessTheRunKeepsGoing) {
  Add("Core", "/p/core", 10)->SetError("The disk is full");
  Add("Long", "/p/long", 200)->SetMeeting(2);  // still running when Core fails
  Add("App", "/p/app", 10, {"Core"});
  Add("Tool", "/p/tool", 10);

  TActionRunner stopping(script_);
  EXPECT_FALSE(stopping.Run({}, {2, false}));
  auto outcomes = Outcomes(stopping);
  EXPECT_EQ(outcomes["Core"].Result, TActionResult::arFailed);
  EXPECT_EQ(outcomes["Core"].Reason, "The disk is full");          // the error that ended it
  EXPECT_EQ(outcomes["Long"].Result, TActionResult::arSucceeded);  // running ones finish
  EXPECT_EQ(outcomes["App"].Result, TActionResult::arNotRun);
  EXPECT_EQ(outcomes["App"].Reason, "it depends on Core, which did not succeed");
  EXPECT_EQ(outcomes["Tool"].Result, TActionResult::arNotRun);
  EXPECT_EQ(outcomes["Tool"].Reason, "an action before it failed");

  TActionRunner going(script_);
  EXPECT_FALSE(going.Run({}, {2, true}));
  outcomes = Outcomes(going);
  EXPECT_EQ(outcomes["Tool"].Result, TActionResult::arSucceeded);
  EXPECT_EQ(outcomes["App"].Result, TActionResult::arNotRun);
}

TEST_F(ActionRunnerTest, AStopEndsEveryRunningActionAndStartsNoOther) {
  Add("A", "/p/a", 60000);
  Add("B", "/p/b", 60000);
  Add("C", "/p/c", 10, {"A"});
  TActionRunner runner(script_);
  std::thread stopper([&] {
    spans_.Meet(3);  // once A and B run
    runner.Terminate();
  });
  const auto started = Clock::now();
  EXPECT_FALSE(runner.Run({}, {0, false}));
  stopper.join();
  EXPECT_LT(Clock::now() - started, std::chrono::seconds(10));
  auto outcomes = Outcomes(runner);
  EXPECT_EQ(outcomes["A"].Result, TActionResult::arStopped);
  EXPECT_EQ(outcomes["B"].Result, TActionResult::arStopped);
  EXPECT_EQ(outcomes["C"].Result, TActionResult::arNotRun);
}

TEST_F(ActionRunnerTest, TheGraphNamesUnknownActionsSelfDependenciesAndCycles) {
  Add("Core", "", 0);
  Add("App", "", 0, {"Coer"});
  Add("Self", "", 0, {"self"});
  Add("X", "", 0, {"Y"});
  Add("Y", "", 0, {"Z"});
  Add("Z", "", 0, {"X", "Core"});
  const TActionGraph graph(script_.Actions());
  const auto problems = graph.Problems();
  ASSERT_EQ(problems.size(), 3u) << ::testing::PrintToString(problems);
  EXPECT_NE(problems[0].find("App"), std::string::npos);
  EXPECT_NE(problems[0].find("\"Coer\""), std::string::npos);
  EXPECT_NE(problems[0].find("Core"), std::string::npos);  // the nearest name
  EXPECT_NE(problems[1].find("Self: DependsOn: the action depends on itself"), std::string::npos)
      << problems[1];
  EXPECT_NE(problems[2].find("X -> Y -> Z -> X"), std::string::npos) << problems[2];

  TBuildScript chain;
  for (const auto& [name, needs] : std::vector<std::pair<std::string, std::vector<std::string>>>{
           {"Lib", {}}, {"Pkg", {"Lib"}}, {"App", {"Pkg", "Lib"}}, {"Tool", {}}}) {
    auto action =
        std::make_shared<TTimedAction>(spans_, name, "", std::chrono::milliseconds(0), needs);
    chain.AddAction(action);
  }
  EXPECT_TRUE(TActionGraph(chain.Actions()).Problems().empty());
  EXPECT_EQ(TActionGraph(chain.Actions()).Levels(), (std::vector<std::size_t>{0, 1, 2, 0}));
}
