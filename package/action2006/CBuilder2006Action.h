#pragma once
// The action that builds a C++Builder 2006 project (bdsproj2mak and make) or a C++Builder 2007
// project (MSBuild), from its own properties; it never opens the project file.

#include <atomic>
#include <memory>
#include <mutex>
#include <string>

#include "moxtal/api/Action.h"
#include "package/actionbase/ToolResult.h"
#include "package/actionbase/VersionInfoAction.h"
#include "platform/Event.h"
#include "platform/StringList.h"

namespace mx::bcc {

namespace cb2006 {
/// Which tool chain builds the project.
MX_ENUM(TCBuilderVersion, cb2006, cb2007)
}  // namespace cb2006

/// Build everything or only what changed; the names are passed to MSBuild as the target.
MX_ENUM(TCBuildMakeType, Build, Make)
/// The resource compiler the user names; rcOther is the page's third choice, kept with the
/// script and writing the resource script as rcBorland does.
MX_ENUM(TMxCBResourceCompiler, rcBorland, rcMicrosoft, rcOther)

class TCBuilder2006Action : public TVersionInfoAction {
 public:
  TCBuilder2006Action();
  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }
  static std::string ClassActionName() { return "C++Builder 2006/7 Project"; }
  std::string GetActionName() const override { return ClassActionName(); }
  std::string GetFormattedDescription() const override {
    return GetActionName() + " [ " + projectFile_ + " ]";
  }
  /// Always valid: a missing project file shows when the build runs.
  bool Validate(IMxActionValidationError&) override { return true; }
  void DescribeRequirements(IMxBuildRequirements& requirements) const override;
  std::vector<std::string> InferSettings(const std::vector<std::string>& given) override;
  std::string DescribeTakenProject(const std::string& resourceFile) const override;
  std::string ProjectFolder() const override;
  std::optional<TProjectFiles> ProjectFiles() const override;
  void InitialiseScriptParams(TMxScript& script) override;
  bool Execute() override;
  /// Sets the terminated flag and, while a build runs, signals its stop event under the lock.
  void TerminateAction() override;
  bool CanTerminate() const override { return true; }

  std::string GetProjectFile() const { return projectFile_; }
  void SetProjectFile(const std::string& v) { projectFile_ = v; }
  std::string GetConfig() const { return config_; }
  void SetConfig(const std::string& v) { config_ = v; }
  std::string GetTemplateFile() const { return templateFile_; }
  void SetTemplateFile(const std::string& v) { templateFile_ = v; }
  std::string GetMakeOptions() const { return makeOptions_; }
  void SetMakeOptions(const std::string& v) { makeOptions_ = v; }
  TCBuildMakeType GetBuildType() const { return buildType_; }
  void SetBuildType(TCBuildMakeType v) { buildType_ = v; }
  bool GetRegenerateResource() const { return regenerateResource_; }
  void SetRegenerateResource(bool v) { regenerateResource_ = v; }
  std::string GetIconFile() const { return iconFile_; }
  void SetIconFile(const std::string& v) { iconFile_ = v; }
  cb2006::TCBuilderVersion GetCBuilderVersion() const { return cbuilderVersion_; }
  void SetCBuilderVersion(cb2006::TCBuilderVersion v) { cbuilderVersion_ = v; }
  platform::TStringList& GetMSBuildProperties() { return msbuildProperties_; }
  void SetMSBuildProperties(const platform::TStringList& v) { msbuildProperties_.Assign(v); }
  bool GetIncludeManifest() const { return includeManifest_; }
  void SetIncludeManifest(bool v) { includeManifest_ = v; }
  std::string GetManifestFile() const { return manifestFile_; }
  void SetManifestFile(const std::string& v) { manifestFile_ = v; }
  TMxCBResourceCompiler GetResourceCompilerType() const { return resourceCompilerType_; }
  /// Switching to rcMicrosoft with blank options sets the options to "%1%".
  void SetResourceCompilerType(TMxCBResourceCompiler v);
  std::string GetResourceCompilerPath() const { return resourceCompilerPath_; }
  void SetResourceCompilerPath(const std::string& v) { resourceCompilerPath_ = v; }
  std::string GetResourceCompilerOptions() const { return resourceCompilerOptions_; }
  void SetResourceCompilerOptions(const std::string& v) { resourceCompilerOptions_ = v; }

  /// make's parameters: the build switch, the options, -f and the makefile, the configuration.
  std::string MakeParameters(const std::string& makeOptions, const std::string& makefile,
                             const std::string& config) const;
  /// The MSBuild properties as name="value" entries joined by ";" (expanded).
  std::string GetMSBuildPropertiesParam();
  bool LoadVersionInfoFromPropertySet();
  /// The resource script's lines for the given expanded icon and manifest paths.
  TVersionResource ResourceVersion() const override;
  bool BuildResourceScript(const std::string& iconPath, const std::string& manifestPath,
                           platform::TStringList& lines);
  bool GenerateResource();
  bool CompileResource(const std::string& project, const std::string& projectDir);
  /// The 2006 build step; `process` holds the settings of the tools' process object, `project`
  /// is the project file of this machine.
  bool BuildWithMake(TMxProcessParams& process, const std::string& project,
                     const std::string& projectDir, const std::string& config,
                     const std::string& templateFile, const std::string& makeOptions,
                     const std::string& makePath);
  /// The 2007 build step.
  bool BuildWithMSBuild(TMxProcessParams& process, const std::string& project,
                        const std::string& config, const std::string& msbuildPath);
  /// Offers the generated makefile to the "OnMakeFileGenerated" script; false fails the build.
  bool DoMakeFileGeneratedScriptEvent(const std::string& makeFile);

 private:
  /// The tools of one build: bdsproj2mak and make with the template and make options for
  /// C++Builder 2006, MSBuild for 2007.
  struct TTools {
    std::string Generator;
    std::string Make;
    std::string TemplateFile;
    std::string MakeOptions;
    std::string MSBuild;
  };
  // The steps of a build, in order; each logs its own failure and returns false when the build
  // must stop.
  bool FindMakeTools(TTools& tools);
  bool FindMSBuild(TTools& tools);
  // Where the build starts its tools; each throws mx::Exception when the variable that names it
  // is not defined.
  std::string GeneratorTool() const;
  std::string MakeTool() const;
  /// MSBuild of the .NET Framework 2.0; "" when the framework is not installed.
  std::string MSBuildTool() const;
  std::string ResourceCompilerTool() const;
  /// The project's kind and the tools its build starts, for the checks before a build.
  void DescribeProjectAndTools(IMxBuildRequirements& requirements) const;
  bool LoadPropertySetSettings();
  bool Build(const TTools& tools, const std::string& project, const std::string& config);
  /// Runs a tool of the build, each line of its output a log line as it comes, and logs how it
  /// ended in its own words (`report`, or the build tools' when none); true when it returned 0.
  bool RunBuildTool(const TMxProcessParams& process, const std::string& tool,
                    const std::string& succeeded, const TToolReport* report = nullptr);

  std::string projectFile_;
  std::string config_;
  std::string templateFile_;
  std::string makeOptions_;
  TCBuildMakeType buildType_ = TCBuildMakeType::Build;
  bool regenerateResource_ = true;
  std::string iconFile_;
  cb2006::TCBuilderVersion cbuilderVersion_ = cb2006::TCBuilderVersion::cb2006;
  platform::TStringList msbuildProperties_;
  bool includeManifest_ = false;
  std::string manifestFile_;
  TMxCBResourceCompiler resourceCompilerType_ = TMxCBResourceCompiler::rcBorland;
  std::string resourceCompilerPath_;
  std::string resourceCompilerOptions_;

  // Shared with TerminateAction on another thread: the flag, and the stop event that exists
  // only while Execute runs, guarded by the lock.
  std::atomic<bool> terminated_{false};
  std::mutex lock_;
  std::unique_ptr<platform::TEvent> stopEvent_;
};

/// Registers the action with the host (name, category "Compilers", bitmap "BCB2006" given as
/// the bytes of a .bmp file).
void RegisterCBuilder2006Action(std::string bitmap);

}  // namespace mx::bcc
