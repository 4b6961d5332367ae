#pragma once

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

 private:
  std::string script_;
};

/// Registers the host's own actions.
void RegisterHostActions();

}  // namespace mx::engine
