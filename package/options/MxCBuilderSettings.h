#pragma once
// What a project parser reads from an action when it forces the action's settings onto a
// project. The C++Builder 5/6 action implements it; the parser knows nothing else of actions.

#include <memory>
#include <string>
#include <string_view>

#include "package/options/MxCBuilderIntf.h"

namespace mx::bcc {

class ICBuilderProjectSettings {
 public:
  virtual ~ICBuilderProjectSettings() = default;

  // Which option families replace the project's own.
  virtual bool GetUseDirectorySettings() const = 0;
  virtual bool GetUseCompilerSettings() const = 0;
  virtual bool GetUseAdvCompilerSettings() const = 0;
  virtual bool GetUseTLibSettings() const = 0;
  virtual bool GetUseLinkerSettings() const = 0;
  virtual bool GetUseAdvLinkerSettings() const = 0;
  virtual bool GetUseCPPSettings() const = 0;
  virtual bool GetUsePascalSettings() const = 0;
  virtual bool GetUseVersionInfo() const = 0;
  virtual bool GetUseTASMSettings() const = 0;
  virtual bool GetUseCorbaSettings() const = 0;
  virtual bool GetUsePackageSettings() const = 0;
  virtual bool GetUseCodeGuardSettings() const = 0;
  virtual bool GetPreProcessProjectFile() const = 0;

  // The ten option records.
  virtual std::shared_ptr<ICBuilderCompilerOptions> GetCompilerOpt() const = 0;
  virtual std::shared_ptr<ICBuilderAdvCompilerOptions> GetAdvCompilerOpt() const = 0;
  virtual std::shared_ptr<ICBuilderLinkerOptions> GetLinkerOpt() const = 0;
  virtual std::shared_ptr<ICBuilderAdvLinkerOptions> GetAdvLinkerOpt() const = 0;
  virtual std::shared_ptr<ICBuilderCPPOptions> GetCppOpt() const = 0;
  virtual std::shared_ptr<ICBuilderPascalOptions> GetPascalOpt() const = 0;
  virtual std::shared_ptr<ICBuilderTASMOptions> GetTASMOpt() const = 0;
  virtual std::shared_ptr<ICBuilderCorbaOptions> GetCorbaOpt() const = 0;
  virtual std::shared_ptr<ICBuilderCodeGuardOptions> GetCodeGuardOpt() const = 0;
  virtual std::shared_ptr<ICBuilderTLibOptions> GetTLibOpt() const = 0;

  // Directories, conditionals and packages.
  virtual TCBuilderVersion GetCBuilderVersion() const = 0;
  virtual std::string GetConditionals() const = 0;
  virtual std::string GetIncludePath() const = 0;
  virtual std::string GetLibraryPath() const = 0;
  virtual std::string GetIntermediateOutputPath() const = 0;
  virtual std::string GetFinalOutputPath() const = 0;
  virtual std::string GetBPILIBOutputPath() const = 0;
  virtual bool GetUseRegForBPLPath() const = 0;
  virtual bool GetUseRegForBPIPath() const = 0;
  virtual std::string GetPackages() const = 0;
  virtual bool GetUsePackages() const = 0;

  /// The text with host variables expanded as the action's build expands them; throws
  /// mx::Exception when a variable cannot be expanded and `strict` is set.
  virtual std::string ExpandExpression(std::string_view text, bool strict) const = 0;
  /// As ExpandExpression, but a failure is logged as "Error expanding <label> : <message>" and
  /// gives false.
  virtual bool TryExpandExpression(std::string_view label, std::string_view text,
                                   std::string& result, bool strict) const = 0;
};

}  // namespace mx::bcc
