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
  for (const TFamilySwitch& row : kFamilySwitches)
    if (action.UsesFamily(row.Family)) ApplyFamily(row.Family, action);
}

void TMxCBuilderProjectParser::ApplyFamily(TSettingsFamily family,
                                           const ICBuilderProjectSettings& action) {
  // A library has no linker: its type library settings stand in for the linker's.
  const bool library = projectType_ == TCBuilderProjectType::ptLIB;
  switch (family) {
    case TSettingsFamily::sfDirectory:
      ApplyDirectorySettings(action);
      break;
    case TSettingsFamily::sfCompiler:
      ApplyCompilerSettings(action);
      break;
    case TSettingsFamily::sfAdvCompiler:
      ApplyAdvCompilerSettings(action);
      break;
    case TSettingsFamily::sfTLib:
      if (library) ApplyTLibSettings(action);
      break;
    case TSettingsFamily::sfLinker:
      if (!library) ApplyLinkerSettings(action);
      break;
    case TSettingsFamily::sfAdvLinker:
      if (!library) ApplyAdvLinkerSettings(action);
      break;
    case TSettingsFamily::sfCPP:
      ApplyCPPSettings(action);
      break;
    case TSettingsFamily::sfPascal:
      ApplyPascalSettings(action);
      break;
    case TSettingsFamily::sfVersionInfo:
      ApplyVersionInfoSettings(action);
      break;
    case TSettingsFamily::sfTASM:
      ApplyTASMSettings(action);
      break;
    case TSettingsFamily::sfCorba:
      ApplyCorbaSettings(action);
      break;
    case TSettingsFamily::sfPackage:
      ApplyPackageSettings(action);
      break;
    case TSettingsFamily::sfCodeGuard:
      ApplyCodeGuardSettings(action);
      break;
  }
}

}  // namespace mx::bcc
