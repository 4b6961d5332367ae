#pragma once

#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "moxtal/engine/BuildScript.h"

namespace mx::engine {

/// Runs a build script's actions in order and stops at the first failure. A stop request from
/// another thread reaches the running action through TerminateAction and keeps later actions
/// from starting.
class TActionRunner {
 public:
  explicit TActionRunner(TBuildScript& script) : script_(script) {}

  /// Runs the enabled actions, or only those named (in script order). Returns true when every
  /// action that ran succeeded. Throws mx::Exception for a name the script lacks.
  bool Run(const std::vector<std::string>& names = {});
  /// Asks the running action to stop; safe from any thread.
  void Terminate();
  bool Terminated() const { return terminated_; }
  /// The actions that ran, in order.
  const std::vector<std::shared_ptr<TCustomMxAction>>& Ran() const { return ran_; }

 private:
  TBuildScript& script_;
  std::mutex mutex_;
  std::shared_ptr<TCustomMxAction> running_;
  std::atomic<bool> terminated_{false};
  std::vector<std::shared_ptr<TCustomMxAction>> ran_;
};

}  // namespace mx::engine
