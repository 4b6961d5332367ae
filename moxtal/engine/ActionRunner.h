#pragma once
// The runner of a build script's actions: a scheduler that starts an action once the actions it
// depends on have succeeded, up to a number of them at once, each on a build thread of its own.

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "moxtal/engine/BuildScript.h"

namespace mx::engine {

/// How the actions of a run are scheduled.
struct TSchedule {
  /// How many actions run at once; 0 is one per processor. With 1 the actions run one after
  /// the other on the caller's thread, in the script's order.
  unsigned Jobs = 1;
  /// After a failure, still start every action whose dependencies succeeded.
  bool KeepGoing = false;
};

/// What became of an action of a run.
enum class TActionResult : std::uint8_t { arSucceeded, arFailed, arStopped, arNotRun };

struct TActionOutcome {
  std::shared_ptr<TCustomMxAction> Action;
  TActionResult Result = TActionResult::arNotRun;
  /// Why an action did not run ("it depends on Lib, which failed"), or the error that ended it;
  /// "" otherwise.
  std::string Reason;
  std::chrono::steady_clock::duration Time{};
};

/// Runs a build script's actions. What runs at once and what never does:
/// - an action starts only when every action of the run it depends on (DependsOn) has succeeded;
///   a dependency outside the run (not enabled, or not named) is taken as done;
/// - two actions whose projects are in the same folder never run at once, since a build keeps
///   its temporary files there;
/// - an action that reaches the other actions (a "Run Script" action) runs alone;
/// - ties go to the script's order.
/// The variables, the registry and the tool setup are only read while actions run; each action
/// changes only itself; the log takes whole lines under its own lock.
class TActionRunner {
 public:
  explicit TActionRunner(TBuildScript& script) : script_(script) {}

  /// Runs the enabled actions, or only those named (in script order). Returns true when every
  /// action of the run succeeded. After a failure no new action starts unless the schedule keeps
  /// going; running ones finish. Throws mx::Exception for a name the script lacks.
  bool Run(const std::vector<std::string>& names = {}, const TSchedule& schedule = {});
  /// Asks every running action to stop and starts no other; safe from any thread.
  void Terminate();
  bool Terminated() const { return terminated_; }
  /// Every action of the last run, in the script's order, with what became of it.
  std::vector<TActionOutcome> Outcomes() const;

 private:
  enum class TSlotState : std::uint8_t { ssWaiting, ssRunning, ssDone };
  /// An action of the run and where it stands.
  struct TSlot {
    TActionOutcome Outcome;
    TSlotState State = TSlotState::ssWaiting;
    std::vector<std::size_t> Needs;  // the positions of the actions it depends on
    /// The project's folder, which no two running actions share; "" when it has none.
    std::string Folder;
    bool Alone = false;
  };
  /// The actions a run runs, in the script's order.
  std::vector<std::shared_ptr<TCustomMxAction>> Queue(const std::vector<std::string>& names) const;
  /// Whether slot `i` may start now; marks it not run when a dependency did not succeed.
  bool MayStart(std::size_t i, bool stopping);
  /// Runs one action and records what became of it.
  void Execute(std::size_t i);

  TBuildScript& script_;
  mutable std::mutex mutex_;
  std::condition_variable finished_;
  std::vector<TSlot> slots_;
  std::size_t running_ = 0;
  bool failed_ = false;
  bool alone_ = false;    // an action that runs alone is running
  bool holding_ = false;  // an action that runs alone waits: none after it starts
  std::atomic<bool> terminated_{false};
};

}  // namespace mx::engine
