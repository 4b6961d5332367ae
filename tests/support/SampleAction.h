#pragma once
// An action for the host's tests: a few properties of every kind, the ten option records of the
// C++Builder package as child objects, two script methods and an event script.

#include <memory>
#include <string>
#include <vector>

#include "moxtal/api/Action.h"
#include "package/options/MxCBuilderOptions.h"

namespace mx::testing {

MX_ENUM(TSampleMode, smDebug, smRelease)

class TSampleAction : public TMxAction {
 public:
  TSampleAction();
  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }
  static std::string ClassActionName() { return "Sample Build"; }
  std::string GetActionName() const override { return ClassActionName(); }
  std::string GetFormattedDescription() const override {
    return GetActionName() + " [ " + projectFile_ + " ]";
  }

  bool Execute() override;
  bool Validate(IMxActionValidationError& errors) override;
  void InitialiseScriptParams(TMxScript& script) override;

  std::vector<std::shared_ptr<IQlXMLObject>> GetChildren() const override;
  void AddChildObject(std::shared_ptr<IQlXMLObject> child) override;

  std::string GetProjectFile() const { return projectFile_; }
  void SetProjectFile(const std::string& v) { projectFile_ = v; }
  std::int32_t GetBuildNumber() const { return buildNumber_; }
  void SetBuildNumber(std::int32_t v) { buildNumber_ = v; }
  bool GetAutoIncBuild() const { return autoIncBuild_; }
  void SetAutoIncBuild(bool v);
  TSampleMode GetMode() const { return mode_; }
  void SetMode(TSampleMode v) { mode_ = v; }

  std::shared_ptr<bcc::ICBuilderCompilerOptions> CompilerOpt() const { return compiler_; }
  std::shared_ptr<bcc::ICBuilderLinkerOptions> LinkerOpt() const { return linker_; }
  /// The ten records in the package's order.
  const std::vector<std::shared_ptr<IQlXMLObject>>& Records() const { return records_; }

  /// What Execute does after the log line: run the "OnBuilt" event, or nothing.
  std::vector<std::string> BuiltLines;

 private:
  std::string projectFile_;
  std::int32_t buildNumber_ = 0;
  bool autoIncBuild_ = false;
  TSampleMode mode_ = TSampleMode::smDebug;
  std::vector<std::shared_ptr<IQlXMLObject>> records_;
  std::shared_ptr<bcc::ICBuilderCompilerOptions> compiler_;
  std::shared_ptr<bcc::ICBuilderLinkerOptions> linker_;
};

/// Registers the option records, the package's script constants, the sample action and its
/// script methods "Bump" and "Describe" (once per process).
void RegisterSampleAction();

}  // namespace mx::testing
