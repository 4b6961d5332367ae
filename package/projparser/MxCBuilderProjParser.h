#pragma once
// The abstract project parser: the plain values of a project, its ten option records and the
// fixed order in which the option families are parsed and applied.

#include <memory>
#include <string>

#include "package/options/MxCBuilderOptions.h"
#include "package/options/MxCBuilderSettings.h"
#include "package/projparser/MxCBuilderUtils.h"

namespace mx::bcc {

class TMxCBuilderProjectParser : public ICBuilderProjectParser {
 public:
  TMxCBuilderProjectParser(const std::string& projectFile, TCBuilderVersion version,
                           TCBuilderProjParserOptions options);

  std::string GetConditionals() const override { return conditionals_; }
  void SetConditionals(const std::string& value) override { conditionals_ = value; }
  bool GetDebug() const override { return debug_; }
  void SetDebug(bool value) override { debug_ = value; }
  bool GetBuildAll() const override { return buildAll_; }
  void SetBuildAll(bool value) override { buildAll_ = value; }
  std::string GetIncludePath() const override { return includePath_; }
  void SetIncludePath(const std::string& value) override { includePath_ = value; }
  std::string GetLibraryPath() const override { return libraryPath_; }
  void SetLibraryPath(const std::string& value) override { libraryPath_ = value; }
  std::string GetIntermediateOutputPath() const override { return intermediateOutputPath_; }
  void SetIntermediateOutputPath(const std::string& value) override {
    intermediateOutputPath_ = value;
  }
  std::string GetFinalOutputPath() const override { return finalOutputPath_; }
  void SetFinalOutputPath(const std::string& value) override { finalOutputPath_ = value; }
  std::string GetBPILIBOutputPath() const override { return bpiLibOutputPath_; }
  void SetBPILIBOutputPath(const std::string& value) override { bpiLibOutputPath_ = value; }
  std::string GetMakeOptions() const override { return makeOptions_; }
  void SetMakeOptions(const std::string& value) override { makeOptions_ = value; }
  std::string GetVersionInfo() const override { return versionInfo_; }
  void SetVersionInfo(const std::string& value) override { versionInfo_ = value; }
  platform::TStringList& GetPackages() override { return packages_; }
  void SetPackages(const platform::TStringList& value) override { packages_.Assign(value); }
  bool GetUsePackages() const override { return usePackages_; }
  void SetUsePackages(bool value) override { usePackages_ = value; }
  TCBuilderVersion GetCBuilderVersion() const override { return version_; }
  TCBuilderProjectType GetProjectType() const override { return projectType_; }

  std::shared_ptr<ICBuilderCompilerOptions> GetCompilerOptions() const override {
    return compiler_;
  }
  std::shared_ptr<ICBuilderAdvCompilerOptions> GetAdvCompilerOptions() const override {
    return advCompiler_;
  }
  std::shared_ptr<ICBuilderLinkerOptions> GetLinkerOptions() const override { return linker_; }
  std::shared_ptr<ICBuilderAdvLinkerOptions> GetAdvLinkerOptions() const override {
    return advLinker_;
  }
  std::shared_ptr<ICBuilderCPPOptions> GetCPPOptions() const override { return cpp_; }
  std::shared_ptr<ICBuilderPascalOptions> GetPascalOptions() const override { return pascal_; }
  std::shared_ptr<ICBuilderTASMOptions> GetTASMOptions() const override { return tasm_; }
  std::shared_ptr<ICBuilderCorbaOptions> GetCorbaOptions() const override { return corba_; }
  std::shared_ptr<ICBuilderCodeGuardOptions> GetCodeGuardOptions() const override {
    return codeGuard_;
  }
  std::shared_ptr<ICBuilderTLibOptions> GetTLibOptions() const override { return tlib_; }

  /// Applies each family whose flag the action sets, in the fixed order; the librarian
  /// replaces the two linker families for library projects. An action without C++Builder
  /// project settings throws the invalid-cast error.
  void ApplyChanges(TCustomMxAction& action, bool preProcess) override;
  /// Applies one family's settings, when the project's type has that family.
  void ApplyFamily(TSettingsFamily family, const ICBuilderProjectSettings& action);
  /// Nothing in the base.
  virtual void PreProcessProjectFile() {}

  // The option families, implemented by the concrete parser.
  virtual void ParseCompilerOptions() = 0;
  virtual void ParseAdvCompilerOptions() = 0;
  virtual void ParseLinkerOptions() = 0;
  virtual void ParseAdvLinkerOptions() = 0;
  virtual void ParsePascalOptions() = 0;
  virtual void ParseTASMOptions() = 0;
  virtual void ParseCPPOptions() = 0;
  virtual void ParseCorbaOptions() = 0;
  virtual void ParseCodeGuardOptions() = 0;
  virtual void ParseVersionInfo() = 0;
  virtual void ParsePackageOptions() = 0;
  virtual void ParseDirectoryOptions() = 0;
  virtual void ParseTLibOptions() = 0;
  virtual void ApplyCompilerSettings(const ICBuilderProjectSettings& action) = 0;
  virtual void ApplyAdvCompilerSettings(const ICBuilderProjectSettings& action) = 0;
  virtual void ApplyTLibSettings(const ICBuilderProjectSettings& action) = 0;
  virtual void ApplyLinkerSettings(const ICBuilderProjectSettings& action) = 0;
  virtual void ApplyAdvLinkerSettings(const ICBuilderProjectSettings& action) = 0;
  virtual void ApplyPascalSettings(const ICBuilderProjectSettings& action) = 0;
  virtual void ApplyTASMSettings(const ICBuilderProjectSettings& action) = 0;
  virtual void ApplyCPPSettings(const ICBuilderProjectSettings& action) = 0;
  virtual void ApplyCorbaSettings(const ICBuilderProjectSettings& action) = 0;
  virtual void ApplyCodeGuardSettings(const ICBuilderProjectSettings& action) = 0;
  virtual void ApplyVersionInfoSettings(const ICBuilderProjectSettings& action) = 0;
  virtual void ApplyPackageSettings(const ICBuilderProjectSettings& action) = 0;
  virtual void ApplyDirectorySettings(const ICBuilderProjectSettings& action) = 0;

  /// The project file's folder, with its trailing delimiter.
  const std::string& ProjectFolder() const { return projectFolder_; }
  TCBuilderProjParserOptions Options() const { return options_; }

 protected:
  /// Calls the family parsers of the selected families in the fixed order.
  void ParseFamilies();

  TCBuilderProjectType projectType_ = TCBuilderProjectType::ptExe;
  std::string finalOutputPath_;

 private:
  std::string projectFolder_;
  TCBuilderVersion version_;
  TCBuilderProjParserOptions options_;
  std::string intermediateOutputPath_;
  std::string bpiLibOutputPath_;
  std::string makeOptions_;
  std::string conditionals_;
  std::string libraryPath_;
  std::string includePath_;
  std::string versionInfo_;
  bool buildAll_ = false;
  bool debug_ = false;
  bool usePackages_ = false;
  platform::TStringList packages_;

 protected:
  std::shared_ptr<ICBuilderCompilerOptions> compiler_;
  std::shared_ptr<ICBuilderAdvCompilerOptions> advCompiler_;
  std::shared_ptr<ICBuilderLinkerOptions> linker_;
  std::shared_ptr<ICBuilderAdvLinkerOptions> advLinker_;
  std::shared_ptr<ICBuilderCPPOptions> cpp_;
  std::shared_ptr<ICBuilderPascalOptions> pascal_;
  std::shared_ptr<ICBuilderTASMOptions> tasm_;
  std::shared_ptr<ICBuilderCorbaOptions> corba_;
  std::shared_ptr<ICBuilderCodeGuardOptions> codeGuard_;
  std::shared_ptr<ICBuilderTLibOptions> tlib_;
};

}  // namespace mx::bcc
