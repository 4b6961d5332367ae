#include "ActionRunner.h"

#include "moxtal/engine/Host.h"
#include "platform/StrUtils.h"

namespace mx::engine {

bool TActionRunner::Run(const std::vector<std::string>& names) {
  std::vector<std::shared_ptr<TCustomMxAction>> queue;
  if (names.empty()) {
    for (const auto& a : script_.Actions()) {
      if (a->Enabled()) queue.push_back(a);
    }
  } else {
    for (const auto& n : names) {
      if (!script_.FindAction(n)) throw Exception(script_.NoSuchActionMessage(n));
    }
    for (const auto& a : script_.Actions()) {
      for (const auto& n : names) {
        if (platform::SameText(a->Name(), n)) {
          queue.push_back(a);
          break;
        }
      }
    }
  }
  TBuildLog& log = THost::Instance().Log();
  script_.SetStopRequested(terminated_);
  for (const auto& action : queue) {
    if (terminated_) return false;
    {
      std::lock_guard lock(mutex_);
      running_ = action;
    }
    log.Write(action->Name(), {"Running " + action->GetFormattedDescription()});
    bool ok = false;
    try {
      ok = action->Execute();
    } catch (const std::exception& e) {
      // An action that throws has failed; its message is the reason the user sees.
      log.Write(action->Name(), {e.what()});
    }
    {
      std::lock_guard lock(mutex_);
      running_.reset();
    }
    ran_.push_back(action);
    if (!ok) {
      log.Write(action->Name(), {"Action failed"});
      return false;
    }
  }
  return !terminated_;
}

void TActionRunner::Terminate() {
  terminated_ = true;
  script_.SetStopRequested(true);
  std::lock_guard lock(mutex_);
  if (running_ && running_->CanTerminate()) running_->TerminateAction();
}

}  // namespace mx::engine
