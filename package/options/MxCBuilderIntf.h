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

// Each option family is declared once, as a list of rows
//   X(Kind, Type, Name, Getter, Setter, Default)
// from which its interface, its record's storage and accessors and its reflection all follow.
// Kind is the reflection kind (Boolean, Integer, Cardinal, Enum, Set, String, StringList), Name
// the property as a build script stores it, Getter and Setter the accessors the parser and the
// pages call, Default the value of a new record. Accessor names are the system's own, the odd
// ones included ("setGenerateImportLib", "setIDLPrecompiledHeaders"): do not "fix" them.
#define MX_OPTION_INTERFACE(Kind, Type, Name, Get, Set, Default) \
  MX_OPTION_ABSTRACT_##Kind(Type, Get, Set)
#define MX_OPTION_ABSTRACT_VALUE(Type, Get, Set) \
  virtual Type Get() const = 0;                  \
  virtual void Set(Type value) = 0;
#define MX_OPTION_ABSTRACT_Boolean MX_OPTION_ABSTRACT_VALUE
#define MX_OPTION_ABSTRACT_Integer MX_OPTION_ABSTRACT_VALUE
#define MX_OPTION_ABSTRACT_Cardinal MX_OPTION_ABSTRACT_VALUE
#define MX_OPTION_ABSTRACT_Enum MX_OPTION_ABSTRACT_VALUE
#define MX_OPTION_ABSTRACT_Set MX_OPTION_ABSTRACT_VALUE
#define MX_OPTION_ABSTRACT_String(Type, Get, Set) \
  virtual Type Get() const = 0;                   \
  virtual void Set(const Type& value) = 0;
#define MX_OPTION_ABSTRACT_StringList(Type, Get, Set) \
  virtual Type& Get() = 0;                            \
  virtual void Set(const Type& value) = 0;

/// The compiler settings of a project or an action.
#define MX_COMPILER_OPTIONS(X)                                                                     \
  X(Set, TBCBCompilerOptimisations, Optimisation, GetOptimisation, SetOptimisation, )              \
  X(Enum, TBCBCompilerWarnings, OutputWarnings, GetOutputWarnings, SetOutputWarnings,              \
    TBCBCompilerWarnings::cwSelected)                                                              \
  X(StringList, platform::TStringList, Warnings, GetWarnings, SetWarnings, )                       \
  X(Boolean, bool, DebugInfo, GetDebugInformation, SetDebugInformation, true)                      \
  X(Boolean, bool, LineNoInfo, GetLineNumberInformation, SetLineNumberInformation, true)           \
  X(Boolean, bool, DisableInline, GetDisableInlineExpansion, SetDisableInlineExpansion, true)      \
  X(Enum, TBCBCompilerPreCompiledHeader, PreCompiledHeaders, GetPreCompHeaders, SetPreCompHeaders, \
    TBCBCompilerPreCompiledHeader::pcCache)                                                        \
  X(String, std::string, PreCompFile, GetPreCompFile, SetPreCompFile, "$(BCB)\\lib\\vcl50.csm")    \
  X(String, std::string, StopAfterFile, GetStopAfterFile, SetStopAfterFile, )                      \
  X(Boolean, bool, MergeDupStrings, GetMergeDupStrings, SetMergeDupStrings, false)                 \
  X(Boolean, bool, StackFrames, GetStackFrames, SetStackFrames, true)                              \
  X(Boolean, bool, EnumsAsInt, GetEnumsAsInt, SetEnumsAsInt, false)                                \
  X(Boolean, bool, ShowGeneralMessages, GetShowGeneralMessages, SetShowGeneralMessages, false)     \
  X(Boolean, bool, ExtendedErrorInfo, GetExtendedErrorInfo, SetExtendedErrorInfo, false)
class ICBuilderCompilerOptions : public virtual IQlXMLObject {
 public:
  MX_COMPILER_OPTIONS(MX_OPTION_INTERFACE)
};

/// The advanced compiler settings of a project or an action.
#define MX_ADV_COMPILER_OPTIONS(X)                                                                \
  X(Enum, TCBuilderInstructionSet, InstructionSet, GetInstructionSet, SetInstructionSet,          \
    TCBuilderInstructionSet::is386)                                                               \
  X(Enum, TCBuilderDataAlignment, DataAlignment, GetDataAlignment, SetDataAlignment,              \
    TCBuilderDataAlignment::daByte)                                                               \
  X(Enum, TCBuilderCallingConvention, CallingConvention, GetCallingConvention,                    \
    SetCallingConvention, TCBuilderCallingConvention::ccC)                                        \
  X(Enum, TCBuilderRegisterVariables, RegisterVariables, GetRegisterVariables,                    \
    SetRegisterVariables, TCBuilderRegisterVariables::rvNone)                                     \
  X(Boolean, bool, OutputAutoDepInfo, GetOutputAutoDepInfo, SetOutputAutoDepInfo, true)           \
  X(Boolean, bool, GenerateUnderscores, GetGenerateUnderscores, SetGenerateUnderscores, false)    \
  X(Boolean, bool, FloatingPointNone, GetFloatingPointNone, SetFloatingPointNone, false)          \
  X(Boolean, bool, FloatingPointFast, GetFloatingPointFast, SetFloatingPointFast, false)          \
  X(Boolean, bool, FloatingPointFixFDIV, GetFloatingPointFixFDIV, SetFloatingPointFixFDIV, false) \
  X(Enum, TCBuilderLanguageCompliance, LanguageCompliance, GetLanguageCompliance,                 \
    SetLanguageCompliance, TCBuilderLanguageCompliance::lcBorland)                                \
  X(Boolean, bool, NestedComments, GetNestedComments, SetNestedComments, false)                   \
  X(Boolean, bool, MFCCompatibility, GetMFCCompatibility, SetMFCCompatibility, false)             \
  X(Integer, std::int32_t, IdentifierLength, GetIdentifierLength, SetIdentifierLength, 0)
class ICBuilderAdvCompilerOptions : public virtual IQlXMLObject {
 public:
  MX_ADV_COMPILER_OPTIONS(MX_OPTION_INTERFACE)
};

/// The linker settings of a project or an action.
#define MX_LINKER_OPTIONS(X)                                                                  \
  X(Boolean, bool, DebugInfo, GetDebugInformation, SetDebugInformation, false)                \
  X(Boolean, bool, UseDynamicRTL, GetUseDynamicRTL, SetUseDynamicRTL, false)                  \
  X(Boolean, bool, UseDebugLibraries, GetUseDebugLibraries, SetUseDebugLibraries, false)      \
  X(Boolean, bool, GenerateImportLib, GetGenerateImportLib, setGenerateImportLib, false)      \
  X(Boolean, bool, GenerateLibFile, GetGenerateLibFile, SetGenerateLibFile, false)            \
  X(Boolean, bool, DontGenerateStateFile, GetDontGenerateStateFile, SetDontGenerateStateFile, \
    false)                                                                                    \
  X(Boolean, bool, ShowMangledNames, GetShowMangledNames, SetShowMangledNames, false)         \
  X(Integer, std::int32_t, MaxErrors, GetMaxErrors, SetMaxErrors, 0)                          \
  X(Enum, TCBuilderMapFile, MapFile, GetMapFile, SetMapFile, TCBuilderMapFile::cmOff)         \
  X(Enum, TCBuilderLinkerWarnings, LinkerWarnings, GetLinkerWarnings, SetLinkerWarnings,      \
    TCBuilderLinkerWarnings::lwAll)                                                           \
  X(StringList, platform::TStringList, Warnings, GetWarnings, SetWarnings, )                  \
  X(Cardinal, std::uint32_t, MaxStackSize, GetMaxStackSize, SetMaxStackSize, 0)               \
  X(Cardinal, std::uint32_t, MinStackSize, GetMinStackSize, SetMinStackSize, 0)               \
  X(Cardinal, std::uint32_t, MinHeapSize, GetMinHeapSize, SetMinHeapSize, 0)                  \
  X(Cardinal, std::uint32_t, MaxHeapSize, GetMaxHeapSize, SetMaxHeapSize, 0)                  \
  X(Cardinal, std::uint32_t, ImageBase, GetImageBase, SetImageBase, 0)                        \
  X(Cardinal, std::uint32_t, SubSystemMinor, GetSubSystemMinor, SetSubSystemMinor, 0)         \
  X(Cardinal, std::uint32_t, SubSystemMajor, GetSubSystemMajor, SetSubSystemMajor, 0)
class ICBuilderLinkerOptions : public virtual IQlXMLObject {
 public:
  MX_LINKER_OPTIONS(MX_OPTION_INTERFACE)
};

/// The advanced linker settings of a project or an action.
#define MX_ADV_LINKER_OPTIONS(X)                                                               \
  X(Boolean, bool, CaseInsensitiveLink, GetCaseInsensitiveLink, SetCaseInsensitiveLink, false) \
  X(Boolean, bool, CalcCheckSum, GetCalcCheckSum, SetCalcCheckSum, false)                      \
  X(Boolean, bool, ReplaceResources, GetReplaceResources, SetReplaceResources, false)          \
  X(Integer, std::int32_t, UserMajorVersion, GetUserMajorVersion, SetUserMajorVersion, 0)      \
  X(Integer, std::int32_t, UserMinorVersion, GetUserMinorVersion, SetUserMinorVersion, 0)      \
  X(String, std::string, ImageComment, GetImageComment, SetImageComment, )                     \
  X(String, std::string, DelayLoadDLLS, GetDelayLoadDLLS, SetDelayLoadDLLS, )
class ICBuilderAdvLinkerOptions : public virtual IQlXMLObject {
 public:
  MX_ADV_LINKER_OPTIONS(MX_OPTION_INTERFACE)
};

/// The C++ settings of a project or an action.
#define MX_CPP_OPTIONS(X)                                                                         \
  X(Enum, TCBuilderMemberPointers, MemberPointers, GetMemberPointers, SetMemberPointers,          \
    TCBuilderMemberPointers::mpAllCases)                                                          \
  X(Boolean, bool, HonourMemberPrecision, GetHonourMemberPrecision, SetHonourMemberPrecision,     \
    false)                                                                                        \
  X(Boolean, bool, DontRestrictForLoop, GetDontRestrictForLoop, SetDontRestrictForLoop, false)    \
  X(Boolean, bool, DontMangleCodeModifiers, GetDontMangleCodeModifiers,                           \
    SetDontMangleCodeModifiers, false)                                                            \
  X(Boolean, bool, ZeroLengthEmptyBaseClasses, GetZeroLengthEmptyBaseClasses,                     \
    SetZeroLengthEmptyBaseClasses, true)                                                          \
  X(Boolean, bool, ZeroLengthEmptyClassMembers, GetZeroLengthEmptyClassMembers,                   \
    SetZeroLengthEmptyClassMembers, true)                                                         \
  X(Boolean, bool, ExternalTemplates, GetExternalTemplates, SetExternalTemplates, false)          \
  X(Boolean, bool, EnabledRTTI, GetEnabledRTTI, SetEnabledRTTI, true)                             \
  X(Boolean, bool, EnabledExceptions, GetEnabledExceptions, SetEnabledExceptions, true)           \
  X(Boolean, bool, LocalInformation, GetLocalInformation, SetLocalInformation, false)             \
  X(Boolean, bool, DestructorCleanup, GetDestructorCleanup, SetDestructorCleanup, true)           \
  X(Boolean, bool, FastExceptionPrologs, GetFastExceptionPrologs, SetFastExceptionPrologs, false) \
  X(Enum, TCBuilderVirtualTables, VirtualTables, GetVirtualTables, SetVirtualTables,              \
    TCBuilderVirtualTables::vtSmart)                                                              \
  X(Boolean, bool, ForceCPPCompile, GetForceCPPCompile, SetForceCPPCompile, false)
class ICBuilderCPPOptions : public virtual IQlXMLObject {
 public:
  MX_CPP_OPTIONS(MX_OPTION_INTERFACE)
};

/// The Pascal settings of a project or an action.
#define MX_PASCAL_OPTIONS(X)                                                          \
  X(Boolean, bool, Optimisation, GetOptimisation, SetOptimisation, false)             \
  X(Enum, TCBuilderPascalFieldAlign, AlignFields, GetAlignFields, SetAlignFields,     \
    TCBuilderPascalFieldAlign::fa8)                                                   \
  X(Boolean, bool, StackFrames, GetStackFrames, SetStackFrames, true)                 \
  X(Boolean, bool, SafeDivide, GetSafeDivide, SetSafeDivide, false)                   \
  X(Boolean, bool, VarStringChecks, GetVarStringChecks, SetVarStringChecks, true)     \
  X(Boolean, bool, BoolEval, GetBoolEval, SetBoolEval, false)                         \
  X(Boolean, bool, ExtendedSyntax, GetExtendedSyntax, SetExtendedSyntax, true)        \
  X(Boolean, bool, TypedPointers, GetTypedPointers, SetTypedPointers, false)          \
  X(Boolean, bool, OpenStrings, GetOpenStrings, SetOpenStrings, true)                 \
  X(Boolean, bool, HugeStrings, GetHugeStrings, SetHugeStrings, true)                 \
  X(Boolean, bool, AssignableConst, GetAssignableConst, SetAssignableConst, false)    \
  X(Boolean, bool, RangeChecking, GetRangeChecking, SetRangeChecking, false)          \
  X(Boolean, bool, IOChecking, GetIOChecking, SetIOChecking, true)                    \
  X(Boolean, bool, OverflowChecking, GetOverflowChecking, SetOverflowChecking, false) \
  X(Boolean, bool, DebugInfo, GetDebugInfo, SetDebugInfo, true)                       \
  X(Boolean, bool, LocalSymbols, GetLocalSymbols, SetLocalSymbols, true)              \
  X(Boolean, bool, ReferenceInfo, GetReferenceInfo, SetReferenceInfo, true)           \
  X(Boolean, bool, DefinitionsOnly, GetDefinitionsOnly, SetDefinitionsOnly, true)     \
  X(Boolean, bool, Assertions, GetAssertions, SetAssertions, true)                    \
  X(Boolean, bool, ShowHints, GetShowHints, SetShowHints, true)                       \
  X(Boolean, bool, ShowWarnings, GetShowWarnings, SetShowWarnings, true)
class ICBuilderPascalOptions : public virtual IQlXMLObject {
 public:
  MX_PASCAL_OPTIONS(MX_OPTION_INTERFACE)
};

/// The assembler settings of a project or an action.
#define MX_TASM_OPTIONS(X)                                                                        \
  X(Enum, TCBuilderTASMDebugInfo, DebugInfo, GetDebugInfo, SetDebugInfo,                          \
    TCBuilderTASMDebugInfo::tdLineNumbers)                                                        \
  X(Enum, TCBuilderTASMCaseSensitivity, CaseSensitivity, GetCaseSensitivity, SetCaseSensitivity,  \
    TCBuilderTASMCaseSensitivity::csGlobals)                                                      \
  X(Enum, TCBuilderTASMWarnings, Warnings, GetWarnings, SetWarnings,                              \
    TCBuilderTASMWarnings::twLevel2)                                                              \
  X(Cardinal, std::uint32_t, HashTableCapacity, GetHashTableCapacity, SetHashTableCapacity, 8192) \
  X(Cardinal, std::uint32_t, MaxPasses, GetMaxPasses, SetMaxPasses, 1)                            \
  X(Cardinal, std::uint32_t, MaxSymbolLength, GetMaxSymbolLength, SetMaxSymbolLength, 12)         \
  X(Boolean, bool, GenerateListing, GetGenerateListing, SetGenerateListing, false)                \
  X(Enum, TCBuilderTASMListingType, ListingType, GetListingType, SetListingType,                  \
    TCBuilderTASMListingType::ltNormal)                                                           \
  X(Boolean, bool, CrossReference, GetCrossReference, SetCrossReference, false)                   \
  X(Boolean, bool, SymbolTablesInfo, GetSymbolTablesInfo, SetSymbolTablesInfo, false)             \
  X(Boolean, bool, IncludeErrorMessages, GetIncludeErrorMessages, SetIncludeErrorMessages, false) \
  X(Boolean, bool, IncludeFalseConditionals, GetIncludeFalseConditionals,                         \
    SetIncludeFalseConditionals, false)                                                           \
  X(String, std::string, AddDirective, GetAddDirective, SetAddDirective, )
class ICBuilderTASMOptions : public virtual IQlXMLObject {
 public:
  MX_TASM_OPTIONS(MX_OPTION_INTERFACE)
};

/// The IDL settings of a project or an action.
#define MX_CORBA_OPTIONS(X)                                                                       \
  X(Boolean, bool, GenerateObjectWrappers, GetGenerateObjectWrappers, SetGenerateObjectWrappers,  \
    false)                                                                                        \
  X(Boolean, bool, GenerateTie, GetGenerateTie, SetGenerateTie, true)                             \
  X(Boolean, bool, GenerateVirtualImplInh, GetGenerateVirtualImplInh, SetGenerateVirtualImplInh,  \
    false)                                                                                        \
  X(Boolean, bool, GenerateTypecodeInfo, GetGenerateTypecodeInfo, SetGenerateTypecodeInfo, false) \
  X(Boolean, bool, GenerateIncludeFilesCode, GetGenerateIncludeFilesCode,                         \
    SetGenerateIncludeFilesCode, false)                                                           \
  X(Boolean, bool, GenerateStreamOperators, GetGenerateStreamOperators,                           \
    SetGenerateStreamOperators, true)                                                             \
  X(String, std::string, HeaderExtension, GetHeaderExtension, SetHeaderExtension, "hh")           \
  X(String, std::string, AdditionalIDLOptions, GetAdditionalIDLOptions, SetAdditionalIDLOptions,  \
    "-boa")                                                                                       \
  X(Boolean, bool, IDLAddServerUnit, GetIDLAddServerUnit, SetIDLAddServerUnit, true)              \
  X(Boolean, bool, IDLAddClientUnit, GetIDLAddClientUnit, SetIDLAddClientUnit, true)              \
  X(Boolean, bool, IDLPrecompiledHeaders, GetIDLPrecompiledHeaders, setIDLPrecompiledHeaders,     \
    true)                                                                                         \
  X(Boolean, bool, CorbaIncludeIR, GetCorbaIncludeIR, SetCorbaIncludeIR, false)                   \
  X(Boolean, bool, CorbaIncludeDSI, GetCorbaIncludeDSI, SetCorbaIncludeDSI, false)                \
  X(String, std::string, SourceExtension, GetSourceExtension, SetSourceExtension, "cpp")
class ICBuilderCorbaOptions : public virtual IQlXMLObject {
 public:
  MX_CORBA_OPTIONS(MX_OPTION_INTERFACE)
};

/// The CodeGuard settings of a project or an action.
#define MX_CODE_GUARD_OPTIONS(X)                                                               \
  X(Boolean, bool, CodeGuardValidation, GetCodeGuardValidation, SetCodeGuardValidation, false) \
  X(Boolean, bool, ValidateGlobalAndStackAccess, GetValidateGlobalAndStackAccess,              \
    SetValidateGlobalAndStackAccess, false)                                                    \
  X(Boolean, bool, ValidateThisPointer, GetValidateThisPointer, SetValidateThisPointer, false) \
  X(Boolean, bool, ValidatePointerAccesses, GetValidatePointerAccesses,                        \
    SetValidatePointerAccesses, false)
class ICBuilderCodeGuardOptions : public virtual IQlXMLObject {
 public:
  MX_CODE_GUARD_OPTIONS(MX_OPTION_INTERFACE)
};

/// The librarian settings of a project or an action.
#define MX_TLIB_OPTIONS(X)                                                   \
  X(Boolean, bool, CaseSensitive, GetCaseSensitive, SetCaseSensitive, false) \
  X(Boolean, bool, CreateExtendedDictionary, GetCreateExtendedDictionary,    \
    SetCreateExtendedDictionary, false)                                      \
  X(Boolean, bool, PurgeComments, GetPurgeComments, SetPurgeComments, false) \
  X(Integer, std::int32_t, PageSize, GetPageSize, SetPageSize, 16)           \
  X(String, std::string, ListFile, GetListFile, SetListFile, )               \
  X(Boolean, bool, UseRTL, GetUseRTL, SetUseRTL, false)
class ICBuilderTLibOptions : public virtual IQlXMLObject {
 public:
  MX_TLIB_OPTIONS(MX_OPTION_INTERFACE)
};

class ICBuilderProjectParser;

/// A property page that reloads its controls from the option records of a parsed project.
class ICBuilderPropertyFrame {
 public:
  virtual ~ICBuilderPropertyFrame() = default;
  virtual void LoadSettings(const std::shared_ptr<ICBuilderProjectParser>& parser) = 0;
};

/// A property page that sets its controls to the debug or release preset of its family.
class ICBuilderSpeedSetting {
 public:
  virtual ~ICBuilderSpeedSetting() = default;
  virtual void SpeedSetting(TBCBSpeedSetting setting) = 0;
};

/// Registers every enumeration value above as a script constant holding its ordinal, in the
/// order of the declarations: 60 constants from coPentiumScheduling to ltExpanded.
void RegisterScriptContants();

}  // namespace mx::bcc
