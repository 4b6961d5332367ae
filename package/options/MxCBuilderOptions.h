#pragma once
// The ten option records: one class per tool family, holding the settings that the action forces
// onto a project and that a parser reads from one.

#include "package/options/MxCBuilderIntf.h"

namespace mx::bcc {

class TMxCBuilderCompilerOptions : public TQlXMLObject, public ICBuilderCompilerOptions {
 public:
  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }

  TBCBCompilerOptimisations GetOptimisation() const override { return Optimisation_; }
  void SetOptimisation(TBCBCompilerOptimisations value) override { Optimisation_ = value; }
  TBCBCompilerWarnings GetOutputWarnings() const override { return OutputWarnings_; }
  void SetOutputWarnings(TBCBCompilerWarnings value) override { OutputWarnings_ = value; }
  platform::TStringList& GetWarnings() override { return Warnings_; }
  void SetWarnings(const platform::TStringList& value) override { Warnings_.Assign(value); }
  bool GetDebugInformation() const override { return DebugInfo_; }
  void SetDebugInformation(bool value) override { DebugInfo_ = value; }
  bool GetLineNumberInformation() const override { return LineNoInfo_; }
  void SetLineNumberInformation(bool value) override { LineNoInfo_ = value; }
  bool GetDisableInlineExpansion() const override { return DisableInline_; }
  void SetDisableInlineExpansion(bool value) override { DisableInline_ = value; }
  TBCBCompilerPreCompiledHeader GetPreCompHeaders() const override { return PreCompiledHeaders_; }
  void SetPreCompHeaders(TBCBCompilerPreCompiledHeader value) override {
    PreCompiledHeaders_ = value;
  }
  std::string GetPreCompFile() const override { return PreCompFile_; }
  void SetPreCompFile(const std::string& value) override { PreCompFile_ = value; }
  std::string GetStopAfterFile() const override { return StopAfterFile_; }
  void SetStopAfterFile(const std::string& value) override { StopAfterFile_ = value; }
  bool GetMergeDupStrings() const override { return MergeDupStrings_; }
  void SetMergeDupStrings(bool value) override { MergeDupStrings_ = value; }
  bool GetStackFrames() const override { return StackFrames_; }
  void SetStackFrames(bool value) override { StackFrames_ = value; }
  bool GetEnumsAsInt() const override { return EnumsAsInt_; }
  void SetEnumsAsInt(bool value) override { EnumsAsInt_ = value; }
  bool GetShowGeneralMessages() const override { return ShowGeneralMessages_; }
  void SetShowGeneralMessages(bool value) override { ShowGeneralMessages_ = value; }
  bool GetExtendedErrorInfo() const override { return ExtendedErrorInfo_; }
  void SetExtendedErrorInfo(bool value) override { ExtendedErrorInfo_ = value; }

 private:
  TBCBCompilerOptimisations Optimisation_;
  TBCBCompilerWarnings OutputWarnings_{TBCBCompilerWarnings::cwSelected};
  platform::TStringList Warnings_;
  bool DebugInfo_{true};
  bool LineNoInfo_{true};
  bool DisableInline_{true};
  TBCBCompilerPreCompiledHeader PreCompiledHeaders_{TBCBCompilerPreCompiledHeader::pcCache};
  std::string PreCompFile_{"$(BCB)\\lib\\vcl50.csm"};
  std::string StopAfterFile_;
  bool MergeDupStrings_{false};
  bool StackFrames_{true};
  bool EnumsAsInt_{false};
  bool ShowGeneralMessages_{false};
  bool ExtendedErrorInfo_{false};
};

class TMxCBuilderAdvCompilerOptions : public TQlXMLObject, public ICBuilderAdvCompilerOptions {
 public:
  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }

  TCBuilderInstructionSet GetInstructionSet() const override { return InstructionSet_; }
  void SetInstructionSet(TCBuilderInstructionSet value) override { InstructionSet_ = value; }
  TCBuilderDataAlignment GetDataAlignment() const override { return DataAlignment_; }
  void SetDataAlignment(TCBuilderDataAlignment value) override { DataAlignment_ = value; }
  TCBuilderCallingConvention GetCallingConvention() const override { return CallingConvention_; }
  void SetCallingConvention(TCBuilderCallingConvention value) override {
    CallingConvention_ = value;
  }
  TCBuilderRegisterVariables GetRegisterVariables() const override { return RegisterVariables_; }
  void SetRegisterVariables(TCBuilderRegisterVariables value) override {
    RegisterVariables_ = value;
  }
  bool GetOutputAutoDepInfo() const override { return OutputAutoDepInfo_; }
  void SetOutputAutoDepInfo(bool value) override { OutputAutoDepInfo_ = value; }
  bool GetGenerateUnderscores() const override { return GenerateUnderscores_; }
  void SetGenerateUnderscores(bool value) override { GenerateUnderscores_ = value; }
  bool GetFloatingPointNone() const override { return FloatingPointNone_; }
  void SetFloatingPointNone(bool value) override { FloatingPointNone_ = value; }
  bool GetFloatingPointFast() const override { return FloatingPointFast_; }
  void SetFloatingPointFast(bool value) override { FloatingPointFast_ = value; }
  bool GetFloatingPointFixFDIV() const override { return FloatingPointFixFDIV_; }
  void SetFloatingPointFixFDIV(bool value) override { FloatingPointFixFDIV_ = value; }
  TCBuilderLanguageCompliance GetLanguageCompliance() const override { return LanguageCompliance_; }
  void SetLanguageCompliance(TCBuilderLanguageCompliance value) override {
    LanguageCompliance_ = value;
  }
  bool GetNestedComments() const override { return NestedComments_; }
  void SetNestedComments(bool value) override { NestedComments_ = value; }
  bool GetMFCCompatibility() const override { return MFCCompatibility_; }
  void SetMFCCompatibility(bool value) override { MFCCompatibility_ = value; }
  std::int32_t GetIdentifierLength() const override { return IdentifierLength_; }
  void SetIdentifierLength(std::int32_t value) override { IdentifierLength_ = value; }

 private:
  TCBuilderInstructionSet InstructionSet_{TCBuilderInstructionSet::is386};
  TCBuilderDataAlignment DataAlignment_{TCBuilderDataAlignment::daByte};
  TCBuilderCallingConvention CallingConvention_{TCBuilderCallingConvention::ccC};
  TCBuilderRegisterVariables RegisterVariables_{TCBuilderRegisterVariables::rvNone};
  bool OutputAutoDepInfo_{true};
  bool GenerateUnderscores_{false};
  bool FloatingPointNone_{false};
  bool FloatingPointFast_{false};
  bool FloatingPointFixFDIV_{false};
  TCBuilderLanguageCompliance LanguageCompliance_{TCBuilderLanguageCompliance::lcBorland};
  bool NestedComments_{false};
  bool MFCCompatibility_{false};
  std::int32_t IdentifierLength_{0};
};

class TMxCBuilderLinkerOptions : public TQlXMLObject, public ICBuilderLinkerOptions {
 public:
  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }

  bool GetDebugInformation() const override { return DebugInfo_; }
  void SetDebugInformation(bool value) override { DebugInfo_ = value; }
  bool GetUseDynamicRTL() const override { return UseDynamicRTL_; }
  void SetUseDynamicRTL(bool value) override { UseDynamicRTL_ = value; }
  bool GetUseDebugLibraries() const override { return UseDebugLibraries_; }
  void SetUseDebugLibraries(bool value) override { UseDebugLibraries_ = value; }
  bool GetGenerateImportLib() const override { return GenerateImportLib_; }
  void setGenerateImportLib(bool value) override { GenerateImportLib_ = value; }
  bool GetGenerateLibFile() const override { return GenerateLibFile_; }
  void SetGenerateLibFile(bool value) override { GenerateLibFile_ = value; }
  bool GetDontGenerateStateFile() const override { return DontGenerateStateFile_; }
  void SetDontGenerateStateFile(bool value) override { DontGenerateStateFile_ = value; }
  bool GetShowMangledNames() const override { return ShowMangledNames_; }
  void SetShowMangledNames(bool value) override { ShowMangledNames_ = value; }
  std::int32_t GetMaxErrors() const override { return MaxErrors_; }
  void SetMaxErrors(std::int32_t value) override { MaxErrors_ = value; }
  TCBuilderMapFile GetMapFile() const override { return MapFile_; }
  void SetMapFile(TCBuilderMapFile value) override { MapFile_ = value; }
  TCBuilderLinkerWarnings GetLinkerWarnings() const override { return LinkerWarnings_; }
  void SetLinkerWarnings(TCBuilderLinkerWarnings value) override { LinkerWarnings_ = value; }
  platform::TStringList& GetWarnings() override { return Warnings_; }
  void SetWarnings(const platform::TStringList& value) override { Warnings_.Assign(value); }
  std::uint32_t GetMaxStackSize() const override { return MaxStackSize_; }
  void SetMaxStackSize(std::uint32_t value) override { MaxStackSize_ = value; }
  std::uint32_t GetMinStackSize() const override { return MinStackSize_; }
  void SetMinStackSize(std::uint32_t value) override { MinStackSize_ = value; }
  std::uint32_t GetMinHeapSize() const override { return MinHeapSize_; }
  void SetMinHeapSize(std::uint32_t value) override { MinHeapSize_ = value; }
  std::uint32_t GetMaxHeapSize() const override { return MaxHeapSize_; }
  void SetMaxHeapSize(std::uint32_t value) override { MaxHeapSize_ = value; }
  std::uint32_t GetImageBase() const override { return ImageBase_; }
  void SetImageBase(std::uint32_t value) override { ImageBase_ = value; }
  std::uint32_t GetSubSystemMinor() const override { return SubSystemMinor_; }
  void SetSubSystemMinor(std::uint32_t value) override { SubSystemMinor_ = value; }
  std::uint32_t GetSubSystemMajor() const override { return SubSystemMajor_; }
  void SetSubSystemMajor(std::uint32_t value) override { SubSystemMajor_ = value; }

 private:
  bool DebugInfo_{false};
  bool UseDynamicRTL_{false};
  bool UseDebugLibraries_{false};
  bool GenerateImportLib_{false};
  bool GenerateLibFile_{false};
  bool DontGenerateStateFile_{false};
  bool ShowMangledNames_{false};
  std::int32_t MaxErrors_{0};
  TCBuilderMapFile MapFile_{TCBuilderMapFile::cmOff};
  TCBuilderLinkerWarnings LinkerWarnings_{TCBuilderLinkerWarnings::lwAll};
  platform::TStringList Warnings_;
  std::uint32_t MaxStackSize_{0};
  std::uint32_t MinStackSize_{0};
  std::uint32_t MinHeapSize_{0};
  std::uint32_t MaxHeapSize_{0};
  std::uint32_t ImageBase_{0};
  std::uint32_t SubSystemMinor_{0};
  std::uint32_t SubSystemMajor_{0};
};

class TMxCBuilderAdvLinkerOptions : public TQlXMLObject, public ICBuilderAdvLinkerOptions {
 public:
  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }

  bool GetCaseInsensitiveLink() const override { return CaseInsensitiveLink_; }
  void SetCaseInsensitiveLink(bool value) override { CaseInsensitiveLink_ = value; }
  bool GetCalcCheckSum() const override { return CalcCheckSum_; }
  void SetCalcCheckSum(bool value) override { CalcCheckSum_ = value; }
  bool GetReplaceResources() const override { return ReplaceResources_; }
  void SetReplaceResources(bool value) override { ReplaceResources_ = value; }
  std::int32_t GetUserMajorVersion() const override { return UserMajorVersion_; }
  void SetUserMajorVersion(std::int32_t value) override { UserMajorVersion_ = value; }
  std::int32_t GetUserMinorVersion() const override { return UserMinorVersion_; }
  void SetUserMinorVersion(std::int32_t value) override { UserMinorVersion_ = value; }
  std::string GetImageComment() const override { return ImageComment_; }
  void SetImageComment(const std::string& value) override { ImageComment_ = value; }
  std::string GetDelayLoadDLLS() const override { return DelayLoadDLLS_; }
  void SetDelayLoadDLLS(const std::string& value) override { DelayLoadDLLS_ = value; }

 private:
  bool CaseInsensitiveLink_{false};
  bool CalcCheckSum_{false};
  bool ReplaceResources_{false};
  std::int32_t UserMajorVersion_{0};
  std::int32_t UserMinorVersion_{0};
  std::string ImageComment_;
  std::string DelayLoadDLLS_;
};

class TMxCBuilderCPPOptions : public TQlXMLObject, public ICBuilderCPPOptions {
 public:
  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }

  TCBuilderMemberPointers GetMemberPointers() const override { return MemberPointers_; }
  void SetMemberPointers(TCBuilderMemberPointers value) override { MemberPointers_ = value; }
  bool GetHonourMemberPrecision() const override { return HonourMemberPrecision_; }
  void SetHonourMemberPrecision(bool value) override { HonourMemberPrecision_ = value; }
  bool GetDontRestrictForLoop() const override { return DontRestrictForLoop_; }
  void SetDontRestrictForLoop(bool value) override { DontRestrictForLoop_ = value; }
  bool GetDontMangleCodeModifiers() const override { return DontMangleCodeModifiers_; }
  void SetDontMangleCodeModifiers(bool value) override { DontMangleCodeModifiers_ = value; }
  bool GetZeroLengthEmptyBaseClasses() const override { return ZeroLengthEmptyBaseClasses_; }
  void SetZeroLengthEmptyBaseClasses(bool value) override { ZeroLengthEmptyBaseClasses_ = value; }
  bool GetZeroLengthEmptyClassMembers() const override { return ZeroLengthEmptyClassMembers_; }
  void SetZeroLengthEmptyClassMembers(bool value) override { ZeroLengthEmptyClassMembers_ = value; }
  bool GetExternalTemplates() const override { return ExternalTemplates_; }
  void SetExternalTemplates(bool value) override { ExternalTemplates_ = value; }
  bool GetEnabledRTTI() const override { return EnabledRTTI_; }
  void SetEnabledRTTI(bool value) override { EnabledRTTI_ = value; }
  bool GetEnabledExceptions() const override { return EnabledExceptions_; }
  void SetEnabledExceptions(bool value) override { EnabledExceptions_ = value; }
  bool GetLocalInformation() const override { return LocalInformation_; }
  void SetLocalInformation(bool value) override { LocalInformation_ = value; }
  bool GetDestructorCleanup() const override { return DestructorCleanup_; }
  void SetDestructorCleanup(bool value) override { DestructorCleanup_ = value; }
  bool GetFastExceptionPrologs() const override { return FastExceptionPrologs_; }
  void SetFastExceptionPrologs(bool value) override { FastExceptionPrologs_ = value; }
  TCBuilderVirtualTables GetVirtualTables() const override { return VirtualTables_; }
  void SetVirtualTables(TCBuilderVirtualTables value) override { VirtualTables_ = value; }
  bool GetForceCPPCompile() const override { return ForceCPPCompile_; }
  void SetForceCPPCompile(bool value) override { ForceCPPCompile_ = value; }

 private:
  TCBuilderMemberPointers MemberPointers_{TCBuilderMemberPointers::mpAllCases};
  bool HonourMemberPrecision_{false};
  bool DontRestrictForLoop_{false};
  bool DontMangleCodeModifiers_{false};
  bool ZeroLengthEmptyBaseClasses_{true};
  bool ZeroLengthEmptyClassMembers_{true};
  bool ExternalTemplates_{false};
  bool EnabledRTTI_{true};
  bool EnabledExceptions_{true};
  bool LocalInformation_{false};
  bool DestructorCleanup_{true};
  bool FastExceptionPrologs_{false};
  TCBuilderVirtualTables VirtualTables_{TCBuilderVirtualTables::vtSmart};
  bool ForceCPPCompile_{false};
};

class TMxCBuilderPascalOptions : public TQlXMLObject, public ICBuilderPascalOptions {
 public:
  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }

  bool GetOptimisation() const override { return Optimisation_; }
  void SetOptimisation(bool value) override { Optimisation_ = value; }
  TCBuilderPascalFieldAlign GetAlignFields() const override { return AlignFields_; }
  void SetAlignFields(TCBuilderPascalFieldAlign value) override { AlignFields_ = value; }
  bool GetStackFrames() const override { return StackFrames_; }
  void SetStackFrames(bool value) override { StackFrames_ = value; }
  bool GetSafeDivide() const override { return SafeDivide_; }
  void SetSafeDivide(bool value) override { SafeDivide_ = value; }
  bool GetVarStringChecks() const override { return VarStringChecks_; }
  void SetVarStringChecks(bool value) override { VarStringChecks_ = value; }
  bool GetBoolEval() const override { return BoolEval_; }
  void SetBoolEval(bool value) override { BoolEval_ = value; }
  bool GetExtendedSyntax() const override { return ExtendedSyntax_; }
  void SetExtendedSyntax(bool value) override { ExtendedSyntax_ = value; }
  bool GetTypedPointers() const override { return TypedPointers_; }
  void SetTypedPointers(bool value) override { TypedPointers_ = value; }
  bool GetOpenStrings() const override { return OpenStrings_; }
  void SetOpenStrings(bool value) override { OpenStrings_ = value; }
  bool GetHugeStrings() const override { return HugeStrings_; }
  void SetHugeStrings(bool value) override { HugeStrings_ = value; }
  bool GetAssignableConst() const override { return AssignableConst_; }
  void SetAssignableConst(bool value) override { AssignableConst_ = value; }
  bool GetRangeChecking() const override { return RangeChecking_; }
  void SetRangeChecking(bool value) override { RangeChecking_ = value; }
  bool GetIOChecking() const override { return IOChecking_; }
  void SetIOChecking(bool value) override { IOChecking_ = value; }
  bool GetOverflowChecking() const override { return OverflowChecking_; }
  void SetOverflowChecking(bool value) override { OverflowChecking_ = value; }
  bool GetDebugInfo() const override { return DebugInfo_; }
  void SetDebugInfo(bool value) override { DebugInfo_ = value; }
  bool GetLocalSymbols() const override { return LocalSymbols_; }
  void SetLocalSymbols(bool value) override { LocalSymbols_ = value; }
  bool GetReferenceInfo() const override { return ReferenceInfo_; }
  void SetReferenceInfo(bool value) override { ReferenceInfo_ = value; }
  bool GetDefinitionsOnly() const override { return DefinitionsOnly_; }
  void SetDefinitionsOnly(bool value) override { DefinitionsOnly_ = value; }
  bool GetAssertions() const override { return Assertions_; }
  void SetAssertions(bool value) override { Assertions_ = value; }
  bool GetShowHints() const override { return ShowHints_; }
  void SetShowHints(bool value) override { ShowHints_ = value; }
  bool GetShowWarnings() const override { return ShowWarnings_; }
  void SetShowWarnings(bool value) override { ShowWarnings_ = value; }

 private:
  bool Optimisation_{false};
  TCBuilderPascalFieldAlign AlignFields_{TCBuilderPascalFieldAlign::fa8};
  bool StackFrames_{true};
  bool SafeDivide_{false};
  bool VarStringChecks_{true};
  bool BoolEval_{false};
  bool ExtendedSyntax_{true};
  bool TypedPointers_{false};
  bool OpenStrings_{true};
  bool HugeStrings_{true};
  bool AssignableConst_{false};
  bool RangeChecking_{false};
  bool IOChecking_{true};
  bool OverflowChecking_{false};
  bool DebugInfo_{true};
  bool LocalSymbols_{true};
  bool ReferenceInfo_{true};
  bool DefinitionsOnly_{true};
  bool Assertions_{true};
  bool ShowHints_{true};
  bool ShowWarnings_{true};
};

class TMxCBuilderTASMOptions : public TQlXMLObject, public ICBuilderTASMOptions {
 public:
  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }

  TCBuilderTASMDebugInfo GetDebugInfo() const override { return DebugInfo_; }
  void SetDebugInfo(TCBuilderTASMDebugInfo value) override { DebugInfo_ = value; }
  TCBuilderTASMCaseSensitivity GetCaseSensitivity() const override { return CaseSensitivity_; }
  void SetCaseSensitivity(TCBuilderTASMCaseSensitivity value) override { CaseSensitivity_ = value; }
  TCBuilderTASMWarnings GetWarnings() const override { return Warnings_; }
  void SetWarnings(TCBuilderTASMWarnings value) override { Warnings_ = value; }
  std::uint32_t GetHashTableCapacity() const override { return HashTableCapacity_; }
  void SetHashTableCapacity(std::uint32_t value) override { HashTableCapacity_ = value; }
  std::uint32_t GetMaxPasses() const override { return MaxPasses_; }
  void SetMaxPasses(std::uint32_t value) override { MaxPasses_ = value; }
  std::uint32_t GetMaxSymbolLength() const override { return MaxSymbolLength_; }
  void SetMaxSymbolLength(std::uint32_t value) override { MaxSymbolLength_ = value; }
  bool GetGenerateListing() const override { return GenerateListing_; }
  void SetGenerateListing(bool value) override { GenerateListing_ = value; }
  TCBuilderTASMListingType GetListingType() const override { return ListingType_; }
  void SetListingType(TCBuilderTASMListingType value) override { ListingType_ = value; }
  bool GetCrossReference() const override { return CrossReference_; }
  void SetCrossReference(bool value) override { CrossReference_ = value; }
  bool GetSymbolTablesInfo() const override { return SymbolTablesInfo_; }
  void SetSymbolTablesInfo(bool value) override { SymbolTablesInfo_ = value; }
  bool GetIncludeErrorMessages() const override { return IncludeErrorMessages_; }
  void SetIncludeErrorMessages(bool value) override { IncludeErrorMessages_ = value; }
  bool GetIncludeFalseConditionals() const override { return IncludeFalseConditionals_; }
  void SetIncludeFalseConditionals(bool value) override { IncludeFalseConditionals_ = value; }
  std::string GetAddDirective() const override { return AddDirective_; }
  void SetAddDirective(const std::string& value) override { AddDirective_ = value; }

 private:
  TCBuilderTASMDebugInfo DebugInfo_{TCBuilderTASMDebugInfo::tdLineNumbers};
  TCBuilderTASMCaseSensitivity CaseSensitivity_{TCBuilderTASMCaseSensitivity::csGlobals};
  TCBuilderTASMWarnings Warnings_{TCBuilderTASMWarnings::twLevel2};
  std::uint32_t HashTableCapacity_{8192};
  std::uint32_t MaxPasses_{1};
  std::uint32_t MaxSymbolLength_{12};
  bool GenerateListing_{false};
  TCBuilderTASMListingType ListingType_{TCBuilderTASMListingType::ltNormal};
  bool CrossReference_{false};
  bool SymbolTablesInfo_{false};
  bool IncludeErrorMessages_{false};
  bool IncludeFalseConditionals_{false};
  std::string AddDirective_;
};

class TMxCBuilderCorbaOptions : public TQlXMLObject, public ICBuilderCorbaOptions {
 public:
  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }

  bool GetGenerateObjectWrappers() const override { return GenerateObjectWrappers_; }
  void SetGenerateObjectWrappers(bool value) override { GenerateObjectWrappers_ = value; }
  bool GetGenerateTie() const override { return GenerateTie_; }
  void SetGenerateTie(bool value) override { GenerateTie_ = value; }
  bool GetGenerateVirtualImplInh() const override { return GenerateVirtualImplInh_; }
  void SetGenerateVirtualImplInh(bool value) override { GenerateVirtualImplInh_ = value; }
  bool GetGenerateTypecodeInfo() const override { return GenerateTypecodeInfo_; }
  void SetGenerateTypecodeInfo(bool value) override { GenerateTypecodeInfo_ = value; }
  bool GetGenerateIncludeFilesCode() const override { return GenerateIncludeFilesCode_; }
  void SetGenerateIncludeFilesCode(bool value) override { GenerateIncludeFilesCode_ = value; }
  bool GetGenerateStreamOperators() const override { return GenerateStreamOperators_; }
  void SetGenerateStreamOperators(bool value) override { GenerateStreamOperators_ = value; }
  std::string GetHeaderExtension() const override { return HeaderExtension_; }
  void SetHeaderExtension(const std::string& value) override { HeaderExtension_ = value; }
  std::string GetAdditionalIDLOptions() const override { return AdditionalIDLOptions_; }
  void SetAdditionalIDLOptions(const std::string& value) override { AdditionalIDLOptions_ = value; }
  bool GetIDLAddServerUnit() const override { return IDLAddServerUnit_; }
  void SetIDLAddServerUnit(bool value) override { IDLAddServerUnit_ = value; }
  bool GetIDLAddClientUnit() const override { return IDLAddClientUnit_; }
  void SetIDLAddClientUnit(bool value) override { IDLAddClientUnit_ = value; }
  bool GetIDLPrecompiledHeaders() const override { return IDLPrecompiledHeaders_; }
  void setIDLPrecompiledHeaders(bool value) override { IDLPrecompiledHeaders_ = value; }
  bool GetCorbaIncludeIR() const override { return CorbaIncludeIR_; }
  void SetCorbaIncludeIR(bool value) override { CorbaIncludeIR_ = value; }
  bool GetCorbaIncludeDSI() const override { return CorbaIncludeDSI_; }
  void SetCorbaIncludeDSI(bool value) override { CorbaIncludeDSI_ = value; }
  std::string GetSourceExtension() const override { return SourceExtension_; }
  void SetSourceExtension(const std::string& value) override { SourceExtension_ = value; }

 private:
  bool GenerateObjectWrappers_{false};
  bool GenerateTie_{true};
  bool GenerateVirtualImplInh_{false};
  bool GenerateTypecodeInfo_{false};
  bool GenerateIncludeFilesCode_{false};
  bool GenerateStreamOperators_{true};
  std::string HeaderExtension_{"hh"};
  std::string AdditionalIDLOptions_{"-boa"};
  bool IDLAddServerUnit_{true};
  bool IDLAddClientUnit_{true};
  bool IDLPrecompiledHeaders_{true};
  bool CorbaIncludeIR_{false};
  bool CorbaIncludeDSI_{false};
  std::string SourceExtension_{"cpp"};
};

class TMxCBuilderCodeGuardOptions : public TQlXMLObject, public ICBuilderCodeGuardOptions {
 public:
  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }

  bool GetCodeGuardValidation() const override { return CodeGuardValidation_; }
  void SetCodeGuardValidation(bool value) override { CodeGuardValidation_ = value; }
  bool GetValidateGlobalAndStackAccess() const override { return ValidateGlobalAndStackAccess_; }
  void SetValidateGlobalAndStackAccess(bool value) override {
    ValidateGlobalAndStackAccess_ = value;
  }
  bool GetValidateThisPointer() const override { return ValidateThisPointer_; }
  void SetValidateThisPointer(bool value) override { ValidateThisPointer_ = value; }
  bool GetValidatePointerAccesses() const override { return ValidatePointerAccesses_; }
  void SetValidatePointerAccesses(bool value) override { ValidatePointerAccesses_ = value; }

 private:
  bool CodeGuardValidation_{false};
  bool ValidateGlobalAndStackAccess_{false};
  bool ValidateThisPointer_{false};
  bool ValidatePointerAccesses_{false};
};

class TMxCBuilderTLibOptions : public TQlXMLObject, public ICBuilderTLibOptions {
 public:
  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }

  bool GetCaseSensitive() const override { return CaseSensitive_; }
  void SetCaseSensitive(bool value) override { CaseSensitive_ = value; }
  bool GetCreateExtendedDictionary() const override { return CreateExtendedDictionary_; }
  void SetCreateExtendedDictionary(bool value) override { CreateExtendedDictionary_ = value; }
  bool GetPurgeComments() const override { return PurgeComments_; }
  void SetPurgeComments(bool value) override { PurgeComments_ = value; }
  std::int32_t GetPageSize() const override { return PageSize_; }
  void SetPageSize(std::int32_t value) override { PageSize_ = value; }
  std::string GetListFile() const override { return ListFile_; }
  void SetListFile(const std::string& value) override { ListFile_ = value; }
  bool GetUseRTL() const override { return UseRTL_; }
  void SetUseRTL(bool value) override { UseRTL_ = value; }

 private:
  bool CaseSensitive_{false};
  bool CreateExtendedDictionary_{false};
  bool PurgeComments_{false};
  std::int32_t PageSize_{16};
  std::string ListFile_;
  bool UseRTL_{false};
};

/// Makes the ten record classes known to the host's persistence, in the order compiler,
/// advanced compiler, linker, advanced linker, C++, Pascal, assembler, IDL, CodeGuard, librarian.
void RegisterOptionClasses();

}  // namespace mx::bcc
