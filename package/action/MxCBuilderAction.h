#pragma once
// The action that builds a C++Builder 5 or 6 project or package: its stored settings, the ten
// option records it forces onto the project, its presets and script methods, and its build.

#include <array>
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "moxtal/api/Action.h"
#include "package/actionbase/VersionInfoAction.h"
#include "package/options/MxCBuilderOptions.h"
#include "package/options/MxCBuilderSettings.h"
#include "package/projparser/MxCBuilderUtils.h"
#include "platform/Event.h"

namespace mx::bcc {

class TCustomMxCBuilderAction : public TVersionInfoAction, public ICBuilderProjectSettings {
 public:
  TCustomMxCBuilderAction();
  static std::string ClassActionName() { return "Compile C++Builder Project"; }
  std::string GetActionName() const override { return ClassActionName(); }

  std::vector<std::shared_ptr<IQlXMLObject>> GetChildren() const override;
  /// A loaded child replaces the record of every option family whose interface it supports.
  void AddChildObject(std::shared_ptr<IQlXMLObject> child) override;
  bool Execute() override;
  /// The action name, " [ ", the unexpanded project file and " ]".
  std::string GetFormattedDescription() const override;
  std::string ProjectFolder() const override;
  std::optional<TProjectFiles> ProjectFiles() const override;
  std::string DescribeTakenProject(const std::string& resourceFile) const override;
  bool Validate(IMxActionValidationError& errors) override;
  void DescribeRequirements(IMxBuildRequirements& requirements) const override;
  void GetHiddenProperties(platform::TStringList& list) const override;
  void GetPropertyHelp(platform::TStringList& list) const override;
  void GetPropertyAlias(platform::TStringList& list) const override;
  void GetReadOnlyProperties(platform::TStringList& list) const override;
  /// Signals the stop event; the running tool ends with exit code 999.
  void TerminateAction() override { stopEvent_.SetEvent(); }
  bool CanTerminate() const override { return true; }
  std::string GetQuickHelpFilename() const override { return "Plugins\\CBuilder.html"; }
  int GetHelpTopicID() const override { return 1140; }

  std::string GetProjectFile() const { return projectFile_; }
  void SetProjectFile(const std::string& value);
  TCBuilderProjectType GetProjectType() const { return projectType_; }
  void SetProjectType(TCBuilderProjectType value) { projectType_ = value; }
  bool GetBuildAll() const { return buildAll_; }
  void SetBuildAll(bool value) { buildAll_ = value; }
  std::string GetConditionals() const override { return conditionals_; }
  void SetConditionals(const std::string& value) { conditionals_ = value; }
  bool GetRegenerateResource() const { return regenerateResource_; }
  void SetRegenerateResource(bool value) { regenerateResource_ = value; }
  std::string GetIconFile() const { return iconFile_; }
  void SetIconFile(const std::string& value) { iconFile_ = value; }
  TCBuilderVersion GetCBuilderVersion() const override { return cBuilderVersion_; }
  void SetCBuilderVersion(TCBuilderVersion value) { cBuilderVersion_ = value; }
  std::string GetIncludePath() const override { return includePath_; }
  void SetIncludePath(const std::string& value) { includePath_ = value; }
  std::string GetLibraryPath() const override { return libraryPath_; }
  void SetLibraryPath(const std::string& value) { libraryPath_ = value; }
  std::string GetIntermediateOutputPath() const override { return intermediateOutputPath_; }
  void SetIntermediateOutputPath(const std::string& value) { intermediateOutputPath_ = value; }
  std::string GetFinalOutputPath() const override { return finalOutputPath_; }
  void SetFinalOutputPath(const std::string& value) { finalOutputPath_ = value; }
  std::string GetBPILIBOutputPath() const override { return bpiLibOutputPath_; }
  void SetBPILIBOutputPath(const std::string& value) { bpiLibOutputPath_ = value; }
  std::string GetMakeOptions() const { return makeOptions_; }
  void SetMakeOptions(const std::string& value) { makeOptions_ = value; }
  std::string GetBPR2MakOptions() const { return bpr2MakOptions_; }
  void SetBPR2MakOptions(const std::string& value) { bpr2MakOptions_ = value; }
  std::string GetPackages() const override { return packages_; }
  void SetPackages(const std::string& value) { packages_ = value; }
  bool GetUsePackages() const override { return usePackages_; }
  void SetUsePackages(bool value) { usePackages_ = value; }
  bool GetCaptureMakeOuput() const { return captureMakeOuput_; }
  void SetCaptureMakeOuput(bool value) { captureMakeOuput_ = value; }
  bool GetUseRegForBPLPath() const override { return useRegForBPLPath_; }
  void SetUseRegForBPLPath(bool value) { useRegForBPLPath_ = value; }
  bool GetUseRegForBPIPath() const override { return useRegForBPIPath_; }
  void SetUseRegForBPIPath(bool value) { useRegForBPIPath_ = value; }
  bool UsesFamily(TSettingsFamily family) const override {
    return useFamily_[static_cast<std::size_t>(family)];
  }
  void SetUsesFamily(TSettingsFamily family, bool value) {
    useFamily_[static_cast<std::size_t>(family)] = value;
  }
  bool GetPreProcessProjectFile() const override { return preProcessProjectFile_; }
  void SetPreProcessProjectFile(bool value) { preProcessProjectFile_ = value; }
  std::shared_ptr<ICBuilderCompilerOptions> GetCompilerOpt() const override { return compilerOpt_; }
  std::shared_ptr<ICBuilderAdvCompilerOptions> GetAdvCompilerOpt() const override {
    return advCompilerOpt_;
  }
  std::shared_ptr<ICBuilderLinkerOptions> GetLinkerOpt() const override { return linkerOpt_; }
  std::shared_ptr<ICBuilderAdvLinkerOptions> GetAdvLinkerOpt() const override {
    return advLinkerOpt_;
  }
  std::shared_ptr<ICBuilderCPPOptions> GetCppOpt() const override { return cppOpt_; }
  std::shared_ptr<ICBuilderPascalOptions> GetPascalOpt() const override { return pascalOpt_; }
  std::shared_ptr<ICBuilderTASMOptions> GetTASMOpt() const override { return tASMOpt_; }
  std::shared_ptr<ICBuilderCorbaOptions> GetCorbaOpt() const override { return corbaOpt_; }
  std::shared_ptr<ICBuilderCodeGuardOptions> GetCodeGuardOpt() const override {
    return codeGuardOpt_;
  }
  std::shared_ptr<ICBuilderTLibOptions> GetTLibOpt() const override { return tLibOpt_; }
  bool GetUseEurekaLogCompiler() const { return useEurekaLogCompiler_; }
  void SetUseEurekaLogCompiler(bool value) { useEurekaLogCompiler_ = value; }

  // The expansion the parser uses is the action's own.
  std::string ExpandExpression(std::string_view text, bool strict) const override {
    return TVersionInfoAction::ExpandExpression(text, strict);
  }
  bool TryExpandExpression(std::string_view label, std::string_view text, std::string& result,
                           bool strict) const override {
    return TVersionInfoAction::TryExpandExpression(label, text, result, strict);
  }

  /// Lets the parser force this action's selected option families onto its document.
  void ApplyActionSettings(ICBuilderProjectParser& parser);
  void SetupDebug();
  void SetupRelease();

  /// Writes the project's resource script (the project file with extension ".rc") from the
  /// icon and version settings; false when the step failed.
  bool GenerateResource();
  /// The resource script's lines for the given expanded icon path; false when an expansion
  /// failed (already reported).
  bool BuildResourceScript(const std::string& iconPath, platform::TStringList& lines);
  TVersionResource ResourceVersion() const override;
  /// Applies the property set named by VersionInfoPropertySetName to the version settings.
  bool LoadVersionInfoFromPropertySet();

  platform::TEvent& StopEvent() { return stopEvent_; }

 private:
  /// What the first steps of a build work out for the later ones.
  struct TBuild {
    std::string Project;           // the project file, expanded
    std::string ProjectDir;        // its folder, with a trailing delimiter
    std::string WorkDir;           // its folder, where the tools run
    std::string TemporaryProject;  // "MxTemp.BPR" or "MxTemp.BPK" beside the project
    TCBuilderVersion Version = TCBuilderVersion::cvError;
  };
  // The steps of a build, in order; each sends its own status message and returns false when
  // the build must stop.
  bool LoadPropertySetSettings();
  bool PrepareProject(TBuild& build);
  bool GenerateMakefile(const TBuild& build);
  bool CompileResourceScript(const TBuild& build);
  bool RunMake(const TBuild& build);
  // The tools of a project of `version`, where the build starts them; each throws
  // mx::Exception when the version's variable is not defined.
  /// Make of that version, in its "emake.exe" form when asked.
  std::string MakeTool(TCBuilderVersion version) const;
  /// bpr2mak, beside that version's make.
  std::string GeneratorTool(TCBuilderVersion version) const;
  std::string ResourceCompilerTool(TCBuilderVersion version) const;
  /// The project's kind and the tools its build starts, for the checks before a build.
  void DescribeProjectAndTools(IMxBuildRequirements& requirements) const;

  std::string projectFile_;
  TCBuilderProjectType projectType_ = TCBuilderProjectType::ptExe;
  bool buildAll_ = true;
  std::string conditionals_;
  bool regenerateResource_ = true;
  std::string iconFile_;
  TCBuilderVersion cBuilderVersion_ = TCBuilderVersion::cvError;
  std::string includePath_;
  std::string libraryPath_;
  std::string intermediateOutputPath_;
  std::string finalOutputPath_;
  std::string bpiLibOutputPath_;
  std::string makeOptions_;
  std::string bpr2MakOptions_;
  std::string packages_;
  bool usePackages_ = false;
  bool captureMakeOuput_ = true;
  bool useRegForBPLPath_ = false;
  bool useRegForBPIPath_ = false;
  std::array<bool, kFamilyCount> useFamily_ = [] {
    std::array<bool, kFamilyCount> defaults{};
    for (const TFamilySwitch& row : kFamilySwitches)
      defaults[static_cast<std::size_t>(row.Family)] = row.Default;
    return defaults;
  }();
  bool preProcessProjectFile_ = false;
  bool useEurekaLogCompiler_ = false;
  std::shared_ptr<ICBuilderCompilerOptions> compilerOpt_;
  std::shared_ptr<ICBuilderAdvCompilerOptions> advCompilerOpt_;
  std::shared_ptr<ICBuilderLinkerOptions> linkerOpt_;
  std::shared_ptr<ICBuilderAdvLinkerOptions> advLinkerOpt_;
  std::shared_ptr<ICBuilderCPPOptions> cppOpt_;
  std::shared_ptr<ICBuilderPascalOptions> pascalOpt_;
  std::shared_ptr<ICBuilderTASMOptions> tASMOpt_;
  std::shared_ptr<ICBuilderCorbaOptions> corbaOpt_;
  std::shared_ptr<ICBuilderCodeGuardOptions> codeGuardOpt_;
  std::shared_ptr<ICBuilderTLibOptions> tLibOpt_;
  platform::TEvent stopEvent_{platform::TEvent::TResetMode::Auto};
};

/// The published form of the action: every property of the base, in declaration order.
class TMxCBuilderAction : public TCustomMxCBuilderAction {
 public:
  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }
};

/// Registers the persistence classes of the action's records, then the action with its palette
/// bitmap (the bytes of a .bmp file).
void RegisterCBuilderAction(std::string bitmap);
/// Registers the action's script methods.
void RegisterCBuilderScriptMethods();

}  // namespace mx::bcc
