#include "MxCBuilderProjParser.h"

#include "platform/FileNames.h"

namespace mx::bcc {

TMxCBuilderProjectParser::TMxCBuilderProjectParser(const std::string& projectFile,
                                                   TCBuilderVersion version,
                                                   TCBuilderProjParserOptions options)
    : projectFolder_(platform::machinepath::ExtractFilePath(projectFile)),
      version_(version),
      options_(options) {
  compiler_ = std::make_shared<TMxCBuilderCompilerOptions>();
  advCompiler_ = std::make_shared<TMxCBuilderAdvCompilerOptions>();
  linker_ = std::make_shared<TMxCBuilderLinkerOptions>();
  advLinker_ = std::make_shared<TMxCBuilderAdvLinkerOptions>();
  cpp_ = std::make_shared<TMxCBuilderCPPOptions>();
  pascal_ = std::make_shared<TMxCBuilderPascalOptions>();
  tasm_ = std::make_shared<TMxCBuilderTASMOptions>();
  corba_ = std::make_shared<TMxCBuilderCorbaOptions>();
  codeGuard_ = std::make_shared<TMxCBuilderCodeGuardOptions>();
  tlib_ = std::make_shared<TMxCBuilderTLibOptions>();
}

void TMxCBuilderProjectParser::ParseFamilies() {
  using O = TCBuilderProjParserOption;
  const auto selected = [this](O o) { return options_.Contains(o); };
  if (selected(O::poDirectories)) ParseDirectoryOptions();
  if (selected(O::poVersionInfo)) ParseVersionInfo();
  if (selected(O::poCompiler)) ParseCompilerOptions();
  if (selected(O::poAdvCompiler)) ParseAdvCompilerOptions();
  if (projectType_ != TCBuilderProjectType::ptLIB) {
    if (selected(O::poLinker)) ParseLinkerOptions();
    if (selected(O::poAdvLinker)) ParseAdvLinkerOptions();
  } else if (selected(O::poTLib)) {
    ParseTLibOptions();
  }
  if (selected(O::poPascal)) ParsePascalOptions();
  if (selected(O::poTASM)) ParseTASMOptions();
  if (selected(O::poCpp)) ParseCPPOptions();
  if (selected(O::poCorba)) ParseCorbaOptions();
  if (selected(O::poCodeGuard)) ParseCodeGuardOptions();
  // Version information and directories are read again: the families in between may have
  // changed what they derive from.
  if (selected(O::poVersionInfo)) ParseVersionInfo();
  if (selected(O::poPackage)) ParsePackageOptions();
  if (selected(O::poDirectories)) ParseDirectoryOptions();
}

void TMxCBuilderProjectParser::ApplyChanges(TCustomMxAction& anyAction, bool preProcess) {
  const auto* settings = dynamic_cast<const ICBuilderProjectSettings*>(&anyAction);
  if (!settings) throw platform::EInvalidCast();
  const ICBuilderProjectSettings& action = *settings;
  if (preProcess) PreProcessProjectFile();
  if (action.GetUseDirectorySettings()) ApplyDirectorySettings(action);
  if (action.GetUseCompilerSettings()) ApplyCompilerSettings(action);
  if (action.GetUseAdvCompilerSettings()) ApplyAdvCompilerSettings(action);
  if (projectType_ == TCBuilderProjectType::ptLIB) {
    if (action.GetUseTLibSettings()) ApplyTLibSettings(action);
  } else {
    if (action.GetUseLinkerSettings()) ApplyLinkerSettings(action);
    if (action.GetUseAdvLinkerSettings()) ApplyAdvLinkerSettings(action);
  }
  if (action.GetUseCPPSettings()) ApplyCPPSettings(action);
  if (action.GetUsePascalSettings()) ApplyPascalSettings(action);
  if (action.GetUseVersionInfo()) ApplyVersionInfoSettings(action);
  if (action.GetUseTASMSettings()) ApplyTASMSettings(action);
  if (action.GetUseCorbaSettings()) ApplyCorbaSettings(action);
  if (action.GetUsePackageSettings()) ApplyPackageSettings(action);
  if (action.GetUseCodeGuardSettings()) ApplyCodeGuardSettings(action);
}

}  // namespace mx::bcc
