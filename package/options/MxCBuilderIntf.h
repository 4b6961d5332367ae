#pragma once
// The option vocabulary of the C++Builder 5/6 tool families: enumerations, the optimisation set,
// one interface per option family and the page interfaces.

#include <cstdint>
#include <memory>
#include <string>

#include "moxtal/api/MxTypes.h"
#include "moxtal/api/Persistent.h"
#include "platform/StringList.h"

namespace mx::bcc {

/// Compiler: element type of the optimisation set.
MX_ENUM(TBCBCompilerOptimisation, coPentiumScheduling, coInlineIntrinsic, coInductionVariables,
        coCommonSubExpression)

/// Compiler: pre-compiled headers.
MX_ENUM(TBCBCompilerPreCompiledHeader, pcNone, pcUse, pcCache)

/// Compiler: warnings.
MX_ENUM(TBCBCompilerWarnings, cwNone, cwAll, cwSelected)

/// Page preset.
MX_ENUM(TBCBSpeedSetting, ssFullDebug, ssRelease)

/// Advanced compiler.
MX_ENUM(TCBuilderInstructionSet, is386, is486, isPentium, isPentiumPro)

/// Advanced compiler.
MX_ENUM(TCBuilderDataAlignment, daByte, daWord, daDoubleWord, daQuadWord)

/// Advanced compiler.
MX_ENUM(TCBuilderCallingConvention, ccC, ccPascal, ccRegister, ccStdCall)

/// Advanced compiler.
MX_ENUM(TCBuilderRegisterVariables, rvNone, rvAuto, rvKeyword)

/// Advanced compiler.
MX_ENUM(TCBuilderLanguageCompliance, lcBorland, lcANSI, lcUnixV, lcKR)

/// Linker.
MX_ENUM(TCBuilderMapFile, cmOff, cmSegments, cmPublics, cmDetailed)

/// Linker.
MX_ENUM(TCBuilderLinkerWarnings, lwAll, lwSelected)

/// C++.
MX_ENUM(TCBuilderMemberPointers, mpAllCases, mpMultipleInheritance, mpSingleInheritance, mpSmallest)

/// C++.
MX_ENUM(TCBuilderVirtualTables, vtSmart, vtLocal, vtExternal, vtPublic)

/// Pascal.
MX_ENUM(TCBuilderPascalFieldAlign, fa1, fa2, fa4, fa8)

/// Assembler.
MX_ENUM(TCBuilderTASMDebugInfo, tdNone, tdLineNumbers, tdFull)

/// Assembler.
MX_ENUM(TCBuilderTASMCaseSensitivity, csNone, csGlobals, csAll)

/// Assembler.
MX_ENUM(TCBuilderTASMWarnings, twNone, twLevel1, twLevel2)

/// Assembler.
MX_ENUM(TCBuilderTASMListingType, ltNormal, ltExpanded)

using TBCBCompilerOptimisations = TSet<TBCBCompilerOptimisation>;

/// The C++Builder version of a project file; cvError when it is not recognised.
MX_ENUM(TCBuilderVersion, cvError, cvBCB3, cvBCB4, cvBCB5, cvBCB6, cvBCB7)
/// What a project builds: a program, a package, a DLL or a static library.
MX_ENUM(TCBuilderProjectType, ptExe, ptBPL, ptDLL, ptLIB)

/// The compiler settings of a project or an action.
class ICBuilderCompilerOptions : public virtual IQlXMLObject {
 public:
  static constexpr TGuid IID{"{7C2B54E0-1D3A-4F88-A6B2-3E90C5D10101}"};
  virtual TBCBCompilerOptimisations GetOptimisation() const = 0;
  virtual void SetOptimisation(TBCBCompilerOptimisations value) = 0;
  virtual TBCBCompilerWarnings GetOutputWarnings() const = 0;
  virtual void SetOutputWarnings(TBCBCompilerWarnings value) = 0;
  virtual void SetWarnings(const platform::TStringList& value) = 0;
  virtual platform::TStringList& GetWarnings() = 0;
  virtual TBCBCompilerPreCompiledHeader GetPreCompHeaders() const = 0;
  virtual void SetPreCompHeaders(TBCBCompilerPreCompiledHeader value) = 0;
  virtual std::string GetPreCompFile() const = 0;
  virtual void SetPreCompFile(const std::string& value) = 0;
  virtual std::string GetStopAfterFile() const = 0;
  virtual void SetStopAfterFile(const std::string& value) = 0;
  virtual bool GetDebugInformation() const = 0;
  virtual void SetDebugInformation(bool value) = 0;
  virtual bool GetLineNumberInformation() const = 0;
  virtual void SetLineNumberInformation(bool value) = 0;
  virtual bool GetDisableInlineExpansion() const = 0;
  virtual void SetDisableInlineExpansion(bool value) = 0;
  virtual bool GetStackFrames() const = 0;
  virtual void SetStackFrames(bool value) = 0;
  virtual bool GetMergeDupStrings() const = 0;
  virtual void SetMergeDupStrings(bool value) = 0;
  virtual bool GetEnumsAsInt() const = 0;
  virtual void SetEnumsAsInt(bool value) = 0;
  virtual bool GetShowGeneralMessages() const = 0;
  virtual void SetShowGeneralMessages(bool value) = 0;
  virtual bool GetExtendedErrorInfo() const = 0;
  virtual void SetExtendedErrorInfo(bool value) = 0;
};

/// The advanced compiler settings of a project or an action.
class ICBuilderAdvCompilerOptions : public virtual IQlXMLObject {
 public:
  static constexpr TGuid IID{"{7C2B54E0-1D3A-4F88-A6B2-3E90C5D10102}"};
  virtual TCBuilderInstructionSet GetInstructionSet() const = 0;
  virtual void SetInstructionSet(TCBuilderInstructionSet value) = 0;
  virtual TCBuilderDataAlignment GetDataAlignment() const = 0;
  virtual void SetDataAlignment(TCBuilderDataAlignment value) = 0;
  virtual TCBuilderCallingConvention GetCallingConvention() const = 0;
  virtual void SetCallingConvention(TCBuilderCallingConvention value) = 0;
  virtual TCBuilderRegisterVariables GetRegisterVariables() const = 0;
  virtual void SetRegisterVariables(TCBuilderRegisterVariables value) = 0;
  virtual bool GetFloatingPointNone() const = 0;
  virtual void SetFloatingPointNone(bool value) = 0;
  virtual bool GetFloatingPointFast() const = 0;
  virtual void SetFloatingPointFast(bool value) = 0;
  virtual bool GetFloatingPointFixFDIV() const = 0;
  virtual void SetFloatingPointFixFDIV(bool value) = 0;
  virtual TCBuilderLanguageCompliance GetLanguageCompliance() const = 0;
  virtual void SetLanguageCompliance(TCBuilderLanguageCompliance value) = 0;
  virtual bool GetNestedComments() const = 0;
  virtual void SetNestedComments(bool value) = 0;
  virtual bool GetMFCCompatibility() const = 0;
  virtual void SetMFCCompatibility(bool value) = 0;
  virtual std::int32_t GetIdentifierLength() const = 0;
  virtual void SetIdentifierLength(std::int32_t value) = 0;
  virtual bool GetOutputAutoDepInfo() const = 0;
  virtual void SetOutputAutoDepInfo(bool value) = 0;
  virtual bool GetGenerateUnderscores() const = 0;
  virtual void SetGenerateUnderscores(bool value) = 0;
};

/// The linker settings of a project or an action.
class ICBuilderLinkerOptions : public virtual IQlXMLObject {
 public:
  static constexpr TGuid IID{"{7C2B54E0-1D3A-4F88-A6B2-3E90C5D10103}"};
  virtual bool GetDebugInformation() const = 0;
  virtual void SetDebugInformation(bool value) = 0;
  virtual bool GetUseDynamicRTL() const = 0;
  virtual void SetUseDynamicRTL(bool value) = 0;
  virtual bool GetUseDebugLibraries() const = 0;
  virtual void SetUseDebugLibraries(bool value) = 0;
  virtual bool GetGenerateImportLib() const = 0;
  virtual void setGenerateImportLib(bool value) = 0;
  virtual bool GetGenerateLibFile() const = 0;
  virtual void SetGenerateLibFile(bool value) = 0;
  virtual bool GetDontGenerateStateFile() const = 0;
  virtual void SetDontGenerateStateFile(bool value) = 0;
  virtual bool GetShowMangledNames() const = 0;
  virtual void SetShowMangledNames(bool value) = 0;
  virtual std::int32_t GetMaxErrors() const = 0;
  virtual void SetMaxErrors(std::int32_t value) = 0;
  virtual TCBuilderMapFile GetMapFile() const = 0;
  virtual void SetMapFile(TCBuilderMapFile value) = 0;
  virtual TCBuilderLinkerWarnings GetLinkerWarnings() const = 0;
  virtual void SetLinkerWarnings(TCBuilderLinkerWarnings value) = 0;
  virtual platform::TStringList& GetWarnings() = 0;
  virtual void SetWarnings(const platform::TStringList& value) = 0;
  virtual std::uint32_t GetMinStackSize() const = 0;
  virtual void SetMinStackSize(std::uint32_t value) = 0;
  virtual std::uint32_t GetMaxStackSize() const = 0;
  virtual void SetMaxStackSize(std::uint32_t value) = 0;
  virtual std::uint32_t GetMinHeapSize() const = 0;
  virtual void SetMinHeapSize(std::uint32_t value) = 0;
  virtual std::uint32_t GetMaxHeapSize() const = 0;
  virtual void SetMaxHeapSize(std::uint32_t value) = 0;
  virtual std::uint32_t GetImageBase() const = 0;
  virtual void SetImageBase(std::uint32_t value) = 0;
  virtual std::uint32_t GetSubSystemMinor() const = 0;
  virtual void SetSubSystemMinor(std::uint32_t value) = 0;
  virtual std::uint32_t GetSubSystemMajor() const = 0;
  virtual void SetSubSystemMajor(std::uint32_t value) = 0;
};

/// The advanced linker settings of a project or an action.
class ICBuilderAdvLinkerOptions : public virtual IQlXMLObject {
 public:
  static constexpr TGuid IID{"{7C2B54E0-1D3A-4F88-A6B2-3E90C5D10104}"};
  virtual bool GetCaseInsensitiveLink() const = 0;
  virtual void SetCaseInsensitiveLink(bool value) = 0;
  virtual bool GetCalcCheckSum() const = 0;
  virtual void SetCalcCheckSum(bool value) = 0;
  virtual bool GetReplaceResources() const = 0;
  virtual void SetReplaceResources(bool value) = 0;
  virtual std::int32_t GetUserMajorVersion() const = 0;
  virtual void SetUserMajorVersion(std::int32_t value) = 0;
  virtual std::int32_t GetUserMinorVersion() const = 0;
  virtual void SetUserMinorVersion(std::int32_t value) = 0;
  virtual std::string GetImageComment() const = 0;
  virtual void SetImageComment(const std::string& value) = 0;
  virtual std::string GetDelayLoadDLLS() const = 0;
  virtual void SetDelayLoadDLLS(const std::string& value) = 0;
};

/// The C++ settings of a project or an action.
class ICBuilderCPPOptions : public virtual IQlXMLObject {
 public:
  static constexpr TGuid IID{"{7C2B54E0-1D3A-4F88-A6B2-3E90C5D10105}"};
  virtual TCBuilderMemberPointers GetMemberPointers() const = 0;
  virtual void SetMemberPointers(TCBuilderMemberPointers value) = 0;
  virtual bool GetHonourMemberPrecision() const = 0;
  virtual void SetHonourMemberPrecision(bool value) = 0;
  virtual bool GetDontRestrictForLoop() const = 0;
  virtual void SetDontRestrictForLoop(bool value) = 0;
  virtual bool GetDontMangleCodeModifiers() const = 0;
  virtual void SetDontMangleCodeModifiers(bool value) = 0;
  virtual bool GetZeroLengthEmptyBaseClasses() const = 0;
  virtual void SetZeroLengthEmptyBaseClasses(bool value) = 0;
  virtual bool GetZeroLengthEmptyClassMembers() const = 0;
  virtual void SetZeroLengthEmptyClassMembers(bool value) = 0;
  virtual bool GetExternalTemplates() const = 0;
  virtual void SetExternalTemplates(bool value) = 0;
  virtual bool GetEnabledRTTI() const = 0;
  virtual void SetEnabledRTTI(bool value) = 0;
  virtual bool GetEnabledExceptions() const = 0;
  virtual void SetEnabledExceptions(bool value) = 0;
  virtual bool GetLocalInformation() const = 0;
  virtual void SetLocalInformation(bool value) = 0;
  virtual bool GetDestructorCleanup() const = 0;
  virtual void SetDestructorCleanup(bool value) = 0;
  virtual bool GetFastExceptionPrologs() const = 0;
  virtual void SetFastExceptionPrologs(bool value) = 0;
  virtual TCBuilderVirtualTables GetVirtualTables() const = 0;
  virtual void SetVirtualTables(TCBuilderVirtualTables value) = 0;
  virtual bool GetForceCPPCompile() const = 0;
  virtual void SetForceCPPCompile(bool value) = 0;
};

/// The Pascal settings of a project or an action.
class ICBuilderPascalOptions : public virtual IQlXMLObject {
 public:
  static constexpr TGuid IID{"{7C2B54E0-1D3A-4F88-A6B2-3E90C5D10106}"};
  virtual bool GetOptimisation() const = 0;
  virtual void SetOptimisation(bool value) = 0;
  virtual bool GetStackFrames() const = 0;
  virtual void SetStackFrames(bool value) = 0;
  virtual bool GetSafeDivide() const = 0;
  virtual void SetSafeDivide(bool value) = 0;
  virtual TCBuilderPascalFieldAlign GetAlignFields() const = 0;
  virtual void SetAlignFields(TCBuilderPascalFieldAlign value) = 0;
  virtual bool GetVarStringChecks() const = 0;
  virtual void SetVarStringChecks(bool value) = 0;
  virtual bool GetBoolEval() const = 0;
  virtual void SetBoolEval(bool value) = 0;
  virtual bool GetExtendedSyntax() const = 0;
  virtual void SetExtendedSyntax(bool value) = 0;
  virtual bool GetTypedPointers() const = 0;
  virtual void SetTypedPointers(bool value) = 0;
  virtual bool GetOpenStrings() const = 0;
  virtual void SetOpenStrings(bool value) = 0;
  virtual bool GetHugeStrings() const = 0;
  virtual void SetHugeStrings(bool value) = 0;
  virtual bool GetAssignableConst() const = 0;
  virtual void SetAssignableConst(bool value) = 0;
  virtual bool GetRangeChecking() const = 0;
  virtual void SetRangeChecking(bool value) = 0;
  virtual bool GetIOChecking() const = 0;
  virtual void SetIOChecking(bool value) = 0;
  virtual bool GetOverflowChecking() const = 0;
  virtual void SetOverflowChecking(bool value) = 0;
  virtual bool GetDebugInfo() const = 0;
  virtual void SetDebugInfo(bool value) = 0;
  virtual bool GetLocalSymbols() const = 0;
  virtual void SetLocalSymbols(bool value) = 0;
  virtual bool GetReferenceInfo() const = 0;
  virtual void SetReferenceInfo(bool value) = 0;
  virtual bool GetDefinitionsOnly() const = 0;
  virtual void SetDefinitionsOnly(bool value) = 0;
  virtual bool GetAssertions() const = 0;
  virtual void SetAssertions(bool value) = 0;
  virtual bool GetShowHints() const = 0;
  virtual void SetShowHints(bool value) = 0;
  virtual bool GetShowWarnings() const = 0;
  virtual void SetShowWarnings(bool value) = 0;
};

/// The assembler settings of a project or an action.
class ICBuilderTASMOptions : public virtual IQlXMLObject {
 public:
  static constexpr TGuid IID{"{7C2B54E0-1D3A-4F88-A6B2-3E90C5D10107}"};
  virtual TCBuilderTASMDebugInfo GetDebugInfo() const = 0;
  virtual void SetDebugInfo(TCBuilderTASMDebugInfo value) = 0;
  virtual TCBuilderTASMCaseSensitivity GetCaseSensitivity() const = 0;
  virtual void SetCaseSensitivity(TCBuilderTASMCaseSensitivity value) = 0;
  virtual TCBuilderTASMWarnings GetWarnings() const = 0;
  virtual void SetWarnings(TCBuilderTASMWarnings value) = 0;
  virtual std::uint32_t GetHashTableCapacity() const = 0;
  virtual void SetHashTableCapacity(std::uint32_t value) = 0;
  virtual std::uint32_t GetMaxPasses() const = 0;
  virtual void SetMaxPasses(std::uint32_t value) = 0;
  virtual std::uint32_t GetMaxSymbolLength() const = 0;
  virtual void SetMaxSymbolLength(std::uint32_t value) = 0;
  virtual bool GetGenerateListing() const = 0;
  virtual void SetGenerateListing(bool value) = 0;
  virtual TCBuilderTASMListingType GetListingType() const = 0;
  virtual void SetListingType(TCBuilderTASMListingType value) = 0;
  virtual bool GetCrossReference() const = 0;
  virtual void SetCrossReference(bool value) = 0;
  virtual bool GetSymbolTablesInfo() const = 0;
  virtual void SetSymbolTablesInfo(bool value) = 0;
  virtual bool GetIncludeFalseConditionals() const = 0;
  virtual void SetIncludeFalseConditionals(bool value) = 0;
  virtual bool GetIncludeErrorMessages() const = 0;
  virtual void SetIncludeErrorMessages(bool value) = 0;
  virtual std::string GetAddDirective() const = 0;
  virtual void SetAddDirective(const std::string& value) = 0;
};

/// The IDL settings of a project or an action.
class ICBuilderCorbaOptions : public virtual IQlXMLObject {
 public:
  static constexpr TGuid IID{"{7C2B54E0-1D3A-4F88-A6B2-3E90C5D10108}"};
  virtual bool GetGenerateObjectWrappers() const = 0;
  virtual void SetGenerateObjectWrappers(bool value) = 0;
  virtual bool GetGenerateTie() const = 0;
  virtual void SetGenerateTie(bool value) = 0;
  virtual bool GetGenerateVirtualImplInh() const = 0;
  virtual void SetGenerateVirtualImplInh(bool value) = 0;
  virtual bool GetGenerateTypecodeInfo() const = 0;
  virtual void SetGenerateTypecodeInfo(bool value) = 0;
  virtual bool GetGenerateIncludeFilesCode() const = 0;
  virtual void SetGenerateIncludeFilesCode(bool value) = 0;
  virtual bool GetGenerateStreamOperators() const = 0;
  virtual void SetGenerateStreamOperators(bool value) = 0;
  virtual std::string GetHeaderExtension() const = 0;
  virtual void SetHeaderExtension(const std::string& value) = 0;
  virtual std::string GetSourceExtension() const = 0;
  virtual void SetSourceExtension(const std::string& value) = 0;
  virtual std::string GetAdditionalIDLOptions() const = 0;
  virtual void SetAdditionalIDLOptions(const std::string& value) = 0;
  virtual bool GetIDLAddServerUnit() const = 0;
  virtual void SetIDLAddServerUnit(bool value) = 0;
  virtual bool GetIDLAddClientUnit() const = 0;
  virtual void SetIDLAddClientUnit(bool value) = 0;
  virtual bool GetIDLPrecompiledHeaders() const = 0;
  virtual void setIDLPrecompiledHeaders(bool value) = 0;
  virtual bool GetCorbaIncludeIR() const = 0;
  virtual void SetCorbaIncludeIR(bool value) = 0;
  virtual bool GetCorbaIncludeDSI() const = 0;
  virtual void SetCorbaIncludeDSI(bool value) = 0;
};

/// The CodeGuard settings of a project or an action.
class ICBuilderCodeGuardOptions : public virtual IQlXMLObject {
 public:
  static constexpr TGuid IID{"{7C2B54E0-1D3A-4F88-A6B2-3E90C5D10109}"};
  virtual bool GetCodeGuardValidation() const = 0;
  virtual void SetCodeGuardValidation(bool value) = 0;
  virtual bool GetValidateGlobalAndStackAccess() const = 0;
  virtual void SetValidateGlobalAndStackAccess(bool value) = 0;
  virtual bool GetValidateThisPointer() const = 0;
  virtual void SetValidateThisPointer(bool value) = 0;
  virtual bool GetValidatePointerAccesses() const = 0;
  virtual void SetValidatePointerAccesses(bool value) = 0;
};

/// The librarian settings of a project or an action.
class ICBuilderTLibOptions : public virtual IQlXMLObject {
 public:
  static constexpr TGuid IID{"{7C2B54E0-1D3A-4F88-A6B2-3E90C5D1010A}"};
  virtual bool GetCaseSensitive() const = 0;
  virtual void SetCaseSensitive(bool value) = 0;
  virtual bool GetCreateExtendedDictionary() const = 0;
  virtual void SetCreateExtendedDictionary(bool value) = 0;
  virtual bool GetPurgeComments() const = 0;
  virtual void SetPurgeComments(bool value) = 0;
  virtual std::int32_t GetPageSize() const = 0;
  virtual void SetPageSize(std::int32_t value) = 0;
  virtual std::string GetListFile() const = 0;
  virtual void SetListFile(const std::string& value) = 0;
  virtual bool GetUseRTL() const = 0;
  virtual void SetUseRTL(bool value) = 0;
};

class ICBuilderProjectParser;

/// A property page that reloads its controls from the option records of a parsed project.
class ICBuilderPropertyFrame {
 public:
  static constexpr TGuid IID{"{438E8A7F-96B5-4DFF-8ABE-E6A8907CDCCF}"};
  virtual ~ICBuilderPropertyFrame() = default;
  virtual void LoadSettings(const std::shared_ptr<ICBuilderProjectParser>& parser) = 0;
};

/// A property page that sets its controls to the debug or release preset of its family.
class ICBuilderSpeedSetting {
 public:
  static constexpr TGuid IID{"{A1DED511-C7F8-43BB-97C4-F46D55A9DA9D}"};
  virtual ~ICBuilderSpeedSetting() = default;
  virtual void SpeedSetting(TBCBSpeedSetting setting) = 0;
};

/// Registers every enumeration value above as a script constant holding its ordinal, in the
/// order of the declarations: 60 constants from coPentiumScheduling to ltExpanded.
void RegisterScriptContants();

}  // namespace mx::bcc
