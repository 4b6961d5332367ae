#include "MxCBuilderIntf.h"

#include "moxtal/api/Services.h"

namespace mx::bcc {

void RegisterScriptContants() {
  RegisterEnumConstants<TBCBCompilerOptimisation>();
  RegisterEnumConstants<TBCBCompilerPreCompiledHeader>();
  RegisterEnumConstants<TBCBCompilerWarnings>();
  RegisterEnumConstants<TBCBSpeedSetting>();
  RegisterEnumConstants<TCBuilderInstructionSet>();
  RegisterEnumConstants<TCBuilderDataAlignment>();
  RegisterEnumConstants<TCBuilderCallingConvention>();
  RegisterEnumConstants<TCBuilderRegisterVariables>();
  RegisterEnumConstants<TCBuilderLanguageCompliance>();
  RegisterEnumConstants<TCBuilderMapFile>();
  RegisterEnumConstants<TCBuilderLinkerWarnings>();
  RegisterEnumConstants<TCBuilderMemberPointers>();
  RegisterEnumConstants<TCBuilderVirtualTables>();
  RegisterEnumConstants<TCBuilderPascalFieldAlign>();
  RegisterEnumConstants<TCBuilderTASMDebugInfo>();
  RegisterEnumConstants<TCBuilderTASMCaseSensitivity>();
  RegisterEnumConstants<TCBuilderTASMWarnings>();
  RegisterEnumConstants<TCBuilderTASMListingType>();
}

}  // namespace mx::bcc
