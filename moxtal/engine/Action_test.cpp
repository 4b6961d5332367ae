#include "moxtal/api/Action.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <mutex>
#include <thread>

#include "moxtal/engine/BuildScript.h"
#include "moxtal/engine/Host.h"
#include "platform/ProcessRunner.h"
#include "tests/support/SampleAction.h"

using namespace mx;
using namespace std::chrono_literals;

namespace {

class TCollectingCallback : public IMxProcessCallback {
 public:
  bool RequiresSync() override { return false; }
  void OnStdOutData(std::string_view text) override {
    std::lock_guard lock(mutex_);
    out += text;
  }
  void OnStdErrData(std::string_view text) override {
    std::lock_guard lock(mutex_);
    err += text;
  }
  /// True once the child has written `text` on standard output.
  bool Wrote(std::string_view text) {
    std::lock_guard lock(mutex_);
    return out.find(text) != std::string::npos;
  }
  std::string out;
  std::string err;

 private:
  std::mutex mutex_;
};

class ActionServicesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    mx::testing::RegisterSampleAction();
    engine::THost::Instance().Log().AddSink(log_);
    action_ = std::make_shared<mx::testing::TSampleAction>();
    action_->SetName("Tools");
    script_.AddAction(action_);
  }
  void TearDown() override { engine::THost::Instance().Log().RemoveSink(log_); }

  std::shared_ptr<engine::TMemoryLogSink> log_ = std::make_shared<engine::TMemoryLogSink>();
  engine::TBuildScript script_;
  std::shared_ptr<mx::testing::TSampleAction> action_;
};

}  // namespace

TEST_F(ActionServicesTest, ProcessesCaptureStreamAndStop) {
  platform::TStringList output;
  EXPECT_EQ(action_->RunProcess(MX_STANDIN_PROC, "--out one --err two --exit 4", true, true, "",
                                &output, nullptr),
            4);
  // Both streams reach the list; which of the two the child's lines arrive on first is open.
  auto captured = output.Lines();
  std::sort(captured.begin(), captured.end());
  EXPECT_EQ(captured, (std::vector<std::string>{"one", "two"}));

  TMxProcessParams params;
  params.Executable = MX_STANDIN_PROC;
  params.Parameters = "--out visible --err also";
  params.CaptureStdErr = false;
  auto callback = std::make_shared<TCollectingCallback>();
  params.Callback = callback;
  EXPECT_EQ(action_->CreateMxProcess(params)->Run(), 0);
  // The raw stream, as the child wrote it: Windows programs end text lines with CR LF.
#ifdef _WIN32
  EXPECT_EQ(callback->out, "visible\r\n");
#else
  EXPECT_EQ(callback->out, "visible\n");
#endif
  EXPECT_EQ(callback->err, "");

  platform::TEvent stop(platform::TEvent::TResetMode::Auto);
  params.Parameters = "--out started --sleep 60000";
  params.StopEvent = &stop;
  const auto running = std::make_shared<TCollectingCallback>();
  params.Callback = running;
  // The stop comes once the child has said it runs, however busy the machine.
  std::thread stopper([&stop, running] {
    for (int i = 0; i < 1500 && !running->Wrote("started"); ++i)
      std::this_thread::sleep_for(20ms);
    stop.SetEvent();
  });
  platform::TStringList lines;
  EXPECT_EQ(action_->CreateMxProcess(params)->Run(lines), platform::kExitCodeTerminated);
  stopper.join();
  EXPECT_EQ(lines.IndexOf("started"), 0);
}

TEST_F(ActionServicesTest, PropertySetsAndContextsComeFromTheScript) {
  auto set = script_.AddPropertySet("Release", "Win32 Version Info");
  set->ValueObject().SetValue("BuildNumber", "77");
  set->ValueObject().SetValue("Comment", "nightly");
  const auto found = action_->GetPropertySetAPI("RELEASE");
  ASSERT_TRUE(found);
  EXPECT_EQ(found->TypeName(), "Win32 Version Info");
  // Applying a set by its published names, as actions do with version information.
  for (const auto& name : GetPropertyList(*found->Values(), true)) {
    if (name == "ObjectID" || name == "Name" || !HasProperty(*action_, name)) continue;
    SetPropAsString(*action_, name, GetPropAsString(*found->Values(), name));
  }
  EXPECT_EQ(action_->GetBuildNumber(), 77);
  EXPECT_EQ(GetPropAsString(*found->Values(), "Name"), "Release");
  EXPECT_FALSE(action_->GetPropertySetAPI("Debug"));

  script_.Variables().Set("OUT", "C:\\out");
  EXPECT_EQ(action_->GetActionContext().ExpandExpression("%OUT%\\bin", true), "C:\\out\\bin");
  EXPECT_EQ(MxDesignApplicationServices().ExpandExpression("%OUT%", false), "%OUT%");

  std::string result = "unchanged";
  EXPECT_FALSE(action_->TryExpandExpression("Packages", "%NOPE%;x", result, true));
  EXPECT_EQ(result, "unchanged");
  EXPECT_EQ(log_->Entries().back().Action, "Tools");
  EXPECT_EQ(log_->AllLines().back(), "Error expanding Packages : Undefined variable \"NOPE\"");
}
