#include "MxCBuilderIntf.h"

#include "moxtal/api/Services.h"

namespace mx::bcc {
namespace {

template <class E>
void RegisterValues() {
  const TEnumInfo& info = EnumInfoOf(E{});
  for (int i = 0; i < info.Count(); ++i)
    MxScriptingServices().RegisterConstant(info.Name(i), static_cast<std::uint8_t>(i));
}

}  // namespace

void RegisterScriptContants() {
  RegisterValues<TBCBCompilerOptimisation>();
  RegisterValues<TBCBCompilerPreCompiledHeader>();
  RegisterValues<TBCBCompilerWarnings>();
  RegisterValues<TBCBSpeedSetting>();
  RegisterValues<TCBuilderInstructionSet>();
  RegisterValues<TCBuilderDataAlignment>();
  RegisterValues<TCBuilderCallingConvention>();
  RegisterValues<TCBuilderRegisterVariables>();
  RegisterValues<TCBuilderLanguageCompliance>();
  RegisterValues<TCBuilderMapFile>();
  RegisterValues<TCBuilderLinkerWarnings>();
  RegisterValues<TCBuilderMemberPointers>();
  RegisterValues<TCBuilderVirtualTables>();
  RegisterValues<TCBuilderPascalFieldAlign>();
  RegisterValues<TCBuilderTASMDebugInfo>();
  RegisterValues<TCBuilderTASMCaseSensitivity>();
  RegisterValues<TCBuilderTASMWarnings>();
  RegisterValues<TCBuilderTASMListingType>();
}

}  // namespace mx::bcc
