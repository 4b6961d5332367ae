#pragma once
// An action for the host's tests, which build and run without any package: properties of every
// kind, two option records of its own as child objects, two script methods and an event script.

#include <memory>
#include <string>
#include <vector>

#include "moxtal/api/Action.h"

namespace mx::testing {

MX_ENUM(TSampleMode, smDebug, smRelease)
MX_ENUM(TSampleWarnings, swNone, swAll, swSelected)
MX_ENUM(TSampleOptimisation, soSpeed, soSize, soInline)
MX_ENUM(TSampleMapFile, mfOff, mfSegments, mfPublics, mfDetailed)
using TSampleOptimisations = TSet<TSampleOptimisation>;

/// A compiler-like record: a Boolean, an enumeration, a set, a string list and a text.
class TSampleCompilerRecord : public TQlXMLObject {
 public:
  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }
  bool GetDebugInfo() const { return debugInfo_; }
  void SetDebugInfo(bool v) { debugInfo_ = v; }
  TSampleWarnings GetOutputWarnings() const { return outputWarnings_; }
  void SetOutputWarnings(TSampleWarnings v) { outputWarnings_ = v; }
  TSampleOptimisations GetOptimisation() const { return optimisation_; }
  void SetOptimisation(TSampleOptimisations v) { optimisation_ = v; }
  platform::TStringList& GetWarnings() { return warnings_; }
  void SetWarnings(const platform::TStringList& v) { warnings_.Assign(v); }
  std::string GetPreCompFile() const { return preCompFile_; }
  void SetPreCompFile(const std::string& v) { preCompFile_ = v; }

 private:
  bool debugInfo_ = true;
  TSampleWarnings outputWarnings_ = TSampleWarnings::swSelected;
  TSampleOptimisations optimisation_;
  platform::TStringList warnings_;
  std::string preCompFile_ = "$(BCB)\\lib\\vcl50.csm";
};

/// A linker-like record: enumerations and an unsigned number with defaults that are not zero.
class TSampleLinkerRecord : public TQlXMLObject {
 public:
  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }
  TSampleMapFile GetMapFile() const { return mapFile_; }
  void SetMapFile(TSampleMapFile v) { mapFile_ = v; }
  TSampleWarnings GetLinkerWarnings() const { return linkerWarnings_; }
  void SetLinkerWarnings(TSampleWarnings v) { linkerWarnings_ = v; }
  std::uint32_t GetImageBase() const { return imageBase_; }
  void SetImageBase(std::uint32_t v) { imageBase_ = v; }

 private:
  TSampleMapFile mapFile_ = TSampleMapFile::mfSegments;
  TSampleWarnings linkerWarnings_ = TSampleWarnings::swAll;
  std::uint32_t imageBase_ = 0x400000;
};

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

  std::shared_ptr<TSampleCompilerRecord> CompilerOpt() const { return compiler_; }
  std::shared_ptr<TSampleLinkerRecord> LinkerOpt() const { return linker_; }
  /// The two records, compiler first.
  std::vector<std::shared_ptr<IQlXMLObject>> Records() const { return {compiler_, linker_}; }

  /// What Execute does after the log line: run the "OnBuilt" event, or nothing.
  std::vector<std::string> BuiltLines;

 private:
  std::string projectFile_;
  std::int32_t buildNumber_ = 0;
  bool autoIncBuild_ = false;
  TSampleMode mode_ = TSampleMode::smDebug;
  std::shared_ptr<TSampleCompilerRecord> compiler_;
  std::shared_ptr<TSampleLinkerRecord> linker_;
};

/// Registers the two record classes, the constants of the sample enumerations, the host's own
/// actions, the sample action and its script methods "Bump" and "Describe" (once per process).
void RegisterSampleAction();

}  // namespace mx::testing
