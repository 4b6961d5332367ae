#pragma once

#include <atomic>
#include <string>

#include "moxtal/api/Action.h"

namespace mx::engine {

/// A host action that runs Lua: the build script's actions are reachable by name in the global
/// table Actions (Actions["Build App"]:SetupRelease()), and print() writes to the build log.
class TMxRunScriptAction : public TMxAction {
 public:
  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }
  static std::string ClassActionName() { return "Run Script"; }
  std::string GetActionName() const override { return ClassActionName(); }

  const std::string& GetScript() const { return script_; }
  void SetScript(const std::string& script) { script_ = script; }

  bool Execute() override;
  bool Validate(IMxActionValidationError& errors) override;
  /// Ends a running script at its next instructions.
  void TerminateAction() override { stop_ = true; }
  bool CanTerminate() const override { return true; }
  /// Its script reaches every action of the build script: nothing else runs beside it.
  bool RunsAlone() const override { return true; }

 private:
  std::string script_;
  std::atomic<bool> stop_{false};
};

/// Registers the host's own actions.
void RegisterHostActions();

}  // namespace mx::engine
