#include "ActionRunner.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <thread>

#include "moxtal/engine/ActionGraph.h"
#include "moxtal/engine/Host.h"
#include "platform/FileNames.h"
#include "platform/StrUtils.h"

namespace mx::engine {

std::vector<std::shared_ptr<TCustomMxAction>> TActionRunner::Queue(
    const std::vector<std::string>& names) const {
  for (const auto& n : names) {
    if (!script_.FindAction(n)) throw Exception(script_.NoSuchActionMessage(n));
  }
  std::vector<std::shared_ptr<TCustomMxAction>> queue;
  for (const auto& a : script_.Actions()) {
    const bool named = std::any_of(names.begin(), names.end(), [&](const std::string& n) {
      return platform::SameText(a->Name(), n);
    });
    if (names.empty() ? a->Enabled() : named) queue.push_back(a);
  }
  return queue;
}

namespace {

// A folder as the file system finds it, so that two names of one folder (a link, another
// letter case on Windows) are one key.
std::string FolderKey(const std::string& folder) {
  if (folder.empty()) return folder;
  std::error_code error;
  const auto canonical =
      std::filesystem::weakly_canonical(platform::machinepath::ToFsPath(folder), error);
  std::string key = error ? folder : platform::machinepath::FromFsPath(canonical);
#ifdef _WIN32
  key = platform::LowerCase(key);
#endif
  return key;
}

}  // namespace

bool TActionRunner::MayStart(std::size_t i, bool stopping) {
  TSlot& slot = slots_[i];
  for (const std::size_t need : slot.Needs) {
    const TSlot& other = slots_[need];
    if (other.State != TSlotState::ssDone) return false;
    if (other.Outcome.Result == TActionResult::arSucceeded) continue;
    // A dependency that failed or did not run keeps this one from running at all.
    slot.State = TSlotState::ssDone;
    slot.Outcome.Result = TActionResult::arNotRun;
    slot.Outcome.Reason =
        "it depends on " + other.Outcome.Action->Name() + ", which " +
        (other.Outcome.Result == TActionResult::arNotRun ? "did not run" : "did not succeed");
    return false;
  }
  if (stopping || alone_) return false;
  if (slot.Alone && running_ > 0) {
    // It waits for the running ones to finish, and nothing after it overtakes it.
    holding_ = true;
    return false;
  }
  if (slot.Folder.empty()) return true;
  return std::none_of(slots_.begin(), slots_.end(), [&](const TSlot& other) {
    return other.State == TSlotState::ssRunning && other.Folder == slot.Folder;
  });
}

void TActionRunner::Execute(std::size_t i) {
  const std::shared_ptr<TCustomMxAction> action = slots_[i].Outcome.Action;
  TBuildLog& log = THost::Instance().Log();
  log.Write(action->Name(), {"Running " + action->GetFormattedDescription()});
  const auto started = std::chrono::steady_clock::now();
  bool ok = false;
  std::string reason;
  try {
    // A stop that came while the action was being started is not lost to it.
    ok = !terminated_ && action->Execute();
  } catch (const std::exception& e) {
    // An action that throws has failed; its message is the reason the user sees.
    reason = e.what();
  } catch (...) {
    reason = "The action failed with an error of no known kind";
  }
  if (!reason.empty()) log.Write(action->Name(), {reason});
  if (!ok) log.Write(action->Name(), {"Action failed"});
  std::lock_guard lock(mutex_);
  TSlot& slot = slots_[i];
  slot.Outcome.Time = std::chrono::steady_clock::now() - started;
  slot.Outcome.Reason = std::move(reason);
  slot.Outcome.Result = ok ? TActionResult::arSucceeded
                           : (terminated_ ? TActionResult::arStopped : TActionResult::arFailed);
  slot.State = TSlotState::ssDone;
  failed_ = failed_ || !ok;
  --running_;
  if (slot.Alone) alone_ = false;
  finished_.notify_all();
}

bool TActionRunner::Run(const std::vector<std::string>& names, const TSchedule& schedule) {
  const auto queue = Queue(names);
  const TActionGraph graph(queue);
  {
    std::lock_guard lock(mutex_);
    slots_.assign(queue.size(), {});
    for (std::size_t i = 0; i < queue.size(); ++i) {
      slots_[i].Outcome.Action = queue[i];
      slots_[i].Needs = graph.Needs(i);
      slots_[i].Folder = FolderKey(queue[i]->ProjectFolder());
      slots_[i].Alone = queue[i]->RunsAlone();
    }
    running_ = 0;
    failed_ = false;
    alone_ = false;
  }
  const unsigned jobs =
      schedule.Jobs != 0 ? schedule.Jobs : std::max(1u, std::thread::hardware_concurrency());
  script_.SetStopRequested(terminated_);
  // Joined however the run ends.
  std::vector<std::jthread> threads;
  std::unique_lock lock(mutex_);
  while (true) {
    const bool stopping = terminated_ || (failed_ && !schedule.KeepGoing);
    bool started = false;
    holding_ = false;
    for (std::size_t i = 0; i < slots_.size() && running_ < jobs && !holding_; ++i) {
      if (slots_[i].State != TSlotState::ssWaiting || !MayStart(i, stopping)) continue;
      slots_[i].State = TSlotState::ssRunning;
      ++running_;
      alone_ = alone_ || slots_[i].Alone;
      started = true;
      if (jobs == 1) {
        // One at a time: on this thread, as a run always went.
        lock.unlock();
        Execute(i);
        lock.lock();
        break;
      }
      try {
        threads.emplace_back([this, i] { Execute(i); });
      } catch (const std::system_error&) {
        // No thread to be had (a limit on processes): this one runs here, the others wait.
        lock.unlock();
        Execute(i);
        lock.lock();
        break;
      }
    }
    if (started) continue;
    if (running_ == 0) break;
    finished_.wait(lock);
  }
  // What never started says why.
  for (auto& slot : slots_) {
    if (slot.State != TSlotState::ssWaiting) continue;
    slot.State = TSlotState::ssDone;
    slot.Outcome.Reason = terminated_ ? "the run was stopped" : "an action before it failed";
  }
  lock.unlock();
  threads.clear();
  return !terminated_ && std::all_of(slots_.begin(), slots_.end(), [](const TSlot& s) {
    return s.Outcome.Result == TActionResult::arSucceeded;
  });
}

void TActionRunner::Terminate() {
  terminated_ = true;
  script_.SetStopRequested(true);
  std::lock_guard lock(mutex_);
  for (const auto& slot : slots_) {
    const auto& action = slot.Outcome.Action;
    if (slot.State == TSlotState::ssRunning && action->CanTerminate()) action->TerminateAction();
  }
  finished_.notify_all();
}

std::vector<TActionOutcome> TActionRunner::Outcomes() const {
  std::lock_guard lock(mutex_);
  std::vector<TActionOutcome> outcomes;
  for (const auto& slot : slots_)
    outcomes.push_back(slot.Outcome);
  return outcomes;
}

}  // namespace mx::engine
