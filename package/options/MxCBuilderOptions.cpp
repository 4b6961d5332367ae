#include "MxCBuilderOptions.h"

namespace mx::bcc {

const TClassInfo& TMxCBuilderCompilerOptions::StaticClassInfo() {
  static const TClassInfo info = [] {
    using T = TMxCBuilderCompilerOptions;
    TClassInfo c("TMxCBuilderCompilerOptions", &TQlXMLObject::StaticClassInfo());
    TClassBuilder<T>(c)
        .Set("Optimisation", &T::GetOptimisation, &T::SetOptimisation)
        .Enum("OutputWarnings", &T::GetOutputWarnings, &T::SetOutputWarnings)
        .StringList("Warnings", &T::GetWarnings, &T::SetWarnings)
        .Boolean("DebugInfo", &T::GetDebugInformation, &T::SetDebugInformation)
        .Boolean("LineNoInfo", &T::GetLineNumberInformation, &T::SetLineNumberInformation)
        .Boolean("DisableInline", &T::GetDisableInlineExpansion, &T::SetDisableInlineExpansion)
        .Enum("PreCompiledHeaders", &T::GetPreCompHeaders, &T::SetPreCompHeaders)
        .String("PreCompFile", &T::GetPreCompFile, &T::SetPreCompFile)
        .String("StopAfterFile", &T::GetStopAfterFile, &T::SetStopAfterFile)
        .Boolean("MergeDupStrings", &T::GetMergeDupStrings, &T::SetMergeDupStrings)
        .Boolean("StackFrames", &T::GetStackFrames, &T::SetStackFrames)
        .Boolean("EnumsAsInt", &T::GetEnumsAsInt, &T::SetEnumsAsInt)
        .Boolean("ShowGeneralMessages", &T::GetShowGeneralMessages, &T::SetShowGeneralMessages)
        .Boolean("ExtendedErrorInfo", &T::GetExtendedErrorInfo, &T::SetExtendedErrorInfo);
    return c;
  }();
  return info;
}

const TClassInfo& TMxCBuilderAdvCompilerOptions::StaticClassInfo() {
  static const TClassInfo info = [] {
    using T = TMxCBuilderAdvCompilerOptions;
    TClassInfo c("TMxCBuilderAdvCompilerOptions", &TQlXMLObject::StaticClassInfo());
    TClassBuilder<T>(c)
        .Enum("InstructionSet", &T::GetInstructionSet, &T::SetInstructionSet)
        .Enum("DataAlignment", &T::GetDataAlignment, &T::SetDataAlignment)
        .Enum("CallingConvention", &T::GetCallingConvention, &T::SetCallingConvention)
        .Enum("RegisterVariables", &T::GetRegisterVariables, &T::SetRegisterVariables)
        .Boolean("OutputAutoDepInfo", &T::GetOutputAutoDepInfo, &T::SetOutputAutoDepInfo)
        .Boolean("GenerateUnderscores", &T::GetGenerateUnderscores, &T::SetGenerateUnderscores)
        .Boolean("FloatingPointNone", &T::GetFloatingPointNone, &T::SetFloatingPointNone)
        .Boolean("FloatingPointFast", &T::GetFloatingPointFast, &T::SetFloatingPointFast)
        .Boolean("FloatingPointFixFDIV", &T::GetFloatingPointFixFDIV, &T::SetFloatingPointFixFDIV)
        .Enum("LanguageCompliance", &T::GetLanguageCompliance, &T::SetLanguageCompliance)
        .Boolean("NestedComments", &T::GetNestedComments, &T::SetNestedComments)
        .Boolean("MFCCompatibility", &T::GetMFCCompatibility, &T::SetMFCCompatibility)
        .Integer("IdentifierLength", &T::GetIdentifierLength, &T::SetIdentifierLength);
    return c;
  }();
  return info;
}

const TClassInfo& TMxCBuilderLinkerOptions::StaticClassInfo() {
  static const TClassInfo info = [] {
    using T = TMxCBuilderLinkerOptions;
    TClassInfo c("TMxCBuilderLinkerOptions", &TQlXMLObject::StaticClassInfo());
    TClassBuilder<T>(c)
        .Boolean("DebugInfo", &T::GetDebugInformation, &T::SetDebugInformation)
        .Boolean("UseDynamicRTL", &T::GetUseDynamicRTL, &T::SetUseDynamicRTL)
        .Boolean("UseDebugLibraries", &T::GetUseDebugLibraries, &T::SetUseDebugLibraries)
        .Boolean("GenerateImportLib", &T::GetGenerateImportLib, &T::setGenerateImportLib)
        .Boolean("GenerateLibFile", &T::GetGenerateLibFile, &T::SetGenerateLibFile)
        .Boolean("DontGenerateStateFile", &T::GetDontGenerateStateFile,
                 &T::SetDontGenerateStateFile)
        .Boolean("ShowMangledNames", &T::GetShowMangledNames, &T::SetShowMangledNames)
        .Integer("MaxErrors", &T::GetMaxErrors, &T::SetMaxErrors)
        .Enum("MapFile", &T::GetMapFile, &T::SetMapFile)
        .Enum("LinkerWarnings", &T::GetLinkerWarnings, &T::SetLinkerWarnings)
        .StringList("Warnings", &T::GetWarnings, &T::SetWarnings)
        .Cardinal("MaxStackSize", &T::GetMaxStackSize, &T::SetMaxStackSize)
        .Cardinal("MinStackSize", &T::GetMinStackSize, &T::SetMinStackSize)
        .Cardinal("MinHeapSize", &T::GetMinHeapSize, &T::SetMinHeapSize)
        .Cardinal("MaxHeapSize", &T::GetMaxHeapSize, &T::SetMaxHeapSize)
        .Cardinal("ImageBase", &T::GetImageBase, &T::SetImageBase)
        .Cardinal("SubSystemMinor", &T::GetSubSystemMinor, &T::SetSubSystemMinor)
        .Cardinal("SubSystemMajor", &T::GetSubSystemMajor, &T::SetSubSystemMajor);
    return c;
  }();
  return info;
}

const TClassInfo& TMxCBuilderAdvLinkerOptions::StaticClassInfo() {
  static const TClassInfo info = [] {
    using T = TMxCBuilderAdvLinkerOptions;
    TClassInfo c("TMxCBuilderAdvLinkerOptions", &TQlXMLObject::StaticClassInfo());
    TClassBuilder<T>(c)
        .Boolean("CaseInsensitiveLink", &T::GetCaseInsensitiveLink, &T::SetCaseInsensitiveLink)
        .Boolean("CalcCheckSum", &T::GetCalcCheckSum, &T::SetCalcCheckSum)
        .Boolean("ReplaceResources", &T::GetReplaceResources, &T::SetReplaceResources)
        .Integer("UserMajorVersion", &T::GetUserMajorVersion, &T::SetUserMajorVersion)
        .Integer("UserMinorVersion", &T::GetUserMinorVersion, &T::SetUserMinorVersion)
        .String("ImageComment", &T::GetImageComment, &T::SetImageComment)
        .String("DelayLoadDLLS", &T::GetDelayLoadDLLS, &T::SetDelayLoadDLLS);
    return c;
  }();
  return info;
}

const TClassInfo& TMxCBuilderCPPOptions::StaticClassInfo() {
  static const TClassInfo info = [] {
    using T = TMxCBuilderCPPOptions;
    TClassInfo c("TMxCBuilderCPPOptions", &TQlXMLObject::StaticClassInfo());
    TClassBuilder<T>(c)
        .Enum("MemberPointers", &T::GetMemberPointers, &T::SetMemberPointers)
        .Boolean("HonourMemberPrecision", &T::GetHonourMemberPrecision,
                 &T::SetHonourMemberPrecision)
        .Boolean("DontRestrictForLoop", &T::GetDontRestrictForLoop, &T::SetDontRestrictForLoop)
        .Boolean("DontMangleCodeModifiers", &T::GetDontMangleCodeModifiers,
                 &T::SetDontMangleCodeModifiers)
        .Boolean("ZeroLengthEmptyBaseClasses", &T::GetZeroLengthEmptyBaseClasses,
                 &T::SetZeroLengthEmptyBaseClasses)
        .Boolean("ZeroLengthEmptyClassMembers", &T::GetZeroLengthEmptyClassMembers,
                 &T::SetZeroLengthEmptyClassMembers)
        .Boolean("ExternalTemplates", &T::GetExternalTemplates, &T::SetExternalTemplates)
        .Boolean("EnabledRTTI", &T::GetEnabledRTTI, &T::SetEnabledRTTI)
        .Boolean("EnabledExceptions", &T::GetEnabledExceptions, &T::SetEnabledExceptions)
        .Boolean("LocalInformation", &T::GetLocalInformation, &T::SetLocalInformation)
        .Boolean("DestructorCleanup", &T::GetDestructorCleanup, &T::SetDestructorCleanup)
        .Boolean("FastExceptionPrologs", &T::GetFastExceptionPrologs, &T::SetFastExceptionPrologs)
        .Enum("VirtualTables", &T::GetVirtualTables, &T::SetVirtualTables)
        .Boolean("ForceCPPCompile", &T::GetForceCPPCompile, &T::SetForceCPPCompile);
    return c;
  }();
  return info;
}

const TClassInfo& TMxCBuilderPascalOptions::StaticClassInfo() {
  static const TClassInfo info = [] {
    using T = TMxCBuilderPascalOptions;
    TClassInfo c("TMxCBuilderPascalOptions", &TQlXMLObject::StaticClassInfo());
    TClassBuilder<T>(c)
        .Boolean("Optimisation", &T::GetOptimisation, &T::SetOptimisation)
        .Enum("AlignFields", &T::GetAlignFields, &T::SetAlignFields)
        .Boolean("StackFrames", &T::GetStackFrames, &T::SetStackFrames)
        .Boolean("SafeDivide", &T::GetSafeDivide, &T::SetSafeDivide)
        .Boolean("VarStringChecks", &T::GetVarStringChecks, &T::SetVarStringChecks)
        .Boolean("BoolEval", &T::GetBoolEval, &T::SetBoolEval)
        .Boolean("ExtendedSyntax", &T::GetExtendedSyntax, &T::SetExtendedSyntax)
        .Boolean("TypedPointers", &T::GetTypedPointers, &T::SetTypedPointers)
        .Boolean("OpenStrings", &T::GetOpenStrings, &T::SetOpenStrings)
        .Boolean("HugeStrings", &T::GetHugeStrings, &T::SetHugeStrings)
        .Boolean("AssignableConst", &T::GetAssignableConst, &T::SetAssignableConst)
        .Boolean("RangeChecking", &T::GetRangeChecking, &T::SetRangeChecking)
        .Boolean("IOChecking", &T::GetIOChecking, &T::SetIOChecking)
        .Boolean("OverflowChecking", &T::GetOverflowChecking, &T::SetOverflowChecking)
        .Boolean("DebugInfo", &T::GetDebugInfo, &T::SetDebugInfo)
        .Boolean("LocalSymbols", &T::GetLocalSymbols, &T::SetLocalSymbols)
        .Boolean("ReferenceInfo", &T::GetReferenceInfo, &T::SetReferenceInfo)
        .Boolean("DefinitionsOnly", &T::GetDefinitionsOnly, &T::SetDefinitionsOnly)
        .Boolean("Assertions", &T::GetAssertions, &T::SetAssertions)
        .Boolean("ShowHints", &T::GetShowHints, &T::SetShowHints)
        .Boolean("ShowWarnings", &T::GetShowWarnings, &T::SetShowWarnings);
    return c;
  }();
  return info;
}

const TClassInfo& TMxCBuilderTASMOptions::StaticClassInfo() {
  static const TClassInfo info = [] {
    using T = TMxCBuilderTASMOptions;
    TClassInfo c("TMxCBuilderTASMOptions", &TQlXMLObject::StaticClassInfo());
    TClassBuilder<T>(c)
        .Enum("DebugInfo", &T::GetDebugInfo, &T::SetDebugInfo)
        .Enum("CaseSensitivity", &T::GetCaseSensitivity, &T::SetCaseSensitivity)
        .Enum("Warnings", &T::GetWarnings, &T::SetWarnings)
        .Cardinal("HashTableCapacity", &T::GetHashTableCapacity, &T::SetHashTableCapacity)
        .Cardinal("MaxPasses", &T::GetMaxPasses, &T::SetMaxPasses)
        .Cardinal("MaxSymbolLength", &T::GetMaxSymbolLength, &T::SetMaxSymbolLength)
        .Boolean("GenerateListing", &T::GetGenerateListing, &T::SetGenerateListing)
        .Enum("ListingType", &T::GetListingType, &T::SetListingType)
        .Boolean("CrossReference", &T::GetCrossReference, &T::SetCrossReference)
        .Boolean("SymbolTablesInfo", &T::GetSymbolTablesInfo, &T::SetSymbolTablesInfo)
        .Boolean("IncludeErrorMessages", &T::GetIncludeErrorMessages, &T::SetIncludeErrorMessages)
        .Boolean("IncludeFalseConditionals", &T::GetIncludeFalseConditionals,
                 &T::SetIncludeFalseConditionals)
        .String("AddDirective", &T::GetAddDirective, &T::SetAddDirective);
    return c;
  }();
  return info;
}

const TClassInfo& TMxCBuilderCorbaOptions::StaticClassInfo() {
  static const TClassInfo info = [] {
    using T = TMxCBuilderCorbaOptions;
    TClassInfo c("TMxCBuilderCorbaOptions", &TQlXMLObject::StaticClassInfo());
    TClassBuilder<T>(c)
        .Boolean("GenerateObjectWrappers", &T::GetGenerateObjectWrappers,
                 &T::SetGenerateObjectWrappers)
        .Boolean("GenerateTie", &T::GetGenerateTie, &T::SetGenerateTie)
        .Boolean("GenerateVirtualImplInh", &T::GetGenerateVirtualImplInh,
                 &T::SetGenerateVirtualImplInh)
        .Boolean("GenerateTypecodeInfo", &T::GetGenerateTypecodeInfo, &T::SetGenerateTypecodeInfo)
        .Boolean("GenerateIncludeFilesCode", &T::GetGenerateIncludeFilesCode,
                 &T::SetGenerateIncludeFilesCode)
        .Boolean("GenerateStreamOperators", &T::GetGenerateStreamOperators,
                 &T::SetGenerateStreamOperators)
        .String("HeaderExtension", &T::GetHeaderExtension, &T::SetHeaderExtension)
        .String("AdditionalIDLOptions", &T::GetAdditionalIDLOptions, &T::SetAdditionalIDLOptions)
        .Boolean("IDLAddServerUnit", &T::GetIDLAddServerUnit, &T::SetIDLAddServerUnit)
        .Boolean("IDLAddClientUnit", &T::GetIDLAddClientUnit, &T::SetIDLAddClientUnit)
        .Boolean("IDLPrecompiledHeaders", &T::GetIDLPrecompiledHeaders,
                 &T::setIDLPrecompiledHeaders)
        .Boolean("CorbaIncludeIR", &T::GetCorbaIncludeIR, &T::SetCorbaIncludeIR)
        .Boolean("CorbaIncludeDSI", &T::GetCorbaIncludeDSI, &T::SetCorbaIncludeDSI)
        .String("SourceExtension", &T::GetSourceExtension, &T::SetSourceExtension);
    return c;
  }();
  return info;
}

const TClassInfo& TMxCBuilderCodeGuardOptions::StaticClassInfo() {
  static const TClassInfo info = [] {
    using T = TMxCBuilderCodeGuardOptions;
    TClassInfo c("TMxCBuilderCodeGuardOptions", &TQlXMLObject::StaticClassInfo());
    TClassBuilder<T>(c)
        .Boolean("CodeGuardValidation", &T::GetCodeGuardValidation, &T::SetCodeGuardValidation)
        .Boolean("ValidateGlobalAndStackAccess", &T::GetValidateGlobalAndStackAccess,
                 &T::SetValidateGlobalAndStackAccess)
        .Boolean("ValidateThisPointer", &T::GetValidateThisPointer, &T::SetValidateThisPointer)
        .Boolean("ValidatePointerAccesses", &T::GetValidatePointerAccesses,
                 &T::SetValidatePointerAccesses);
    return c;
  }();
  return info;
}

const TClassInfo& TMxCBuilderTLibOptions::StaticClassInfo() {
  static const TClassInfo info = [] {
    using T = TMxCBuilderTLibOptions;
    TClassInfo c("TMxCBuilderTLibOptions", &TQlXMLObject::StaticClassInfo());
    TClassBuilder<T>(c)
        .Boolean("CaseSensitive", &T::GetCaseSensitive, &T::SetCaseSensitive)
        .Boolean("CreateExtendedDictionary", &T::GetCreateExtendedDictionary,
                 &T::SetCreateExtendedDictionary)
        .Boolean("PurgeComments", &T::GetPurgeComments, &T::SetPurgeComments)
        .Integer("PageSize", &T::GetPageSize, &T::SetPageSize)
        .String("ListFile", &T::GetListFile, &T::SetListFile)
        .Boolean("UseRTL", &T::GetUseRTL, &T::SetUseRTL);
    return c;
  }();
  return info;
}

void RegisterOptionClasses() {
  RegisterXMLClasses({XMLClass<TMxCBuilderCompilerOptions>(),
                      XMLClass<TMxCBuilderAdvCompilerOptions>(),
                      XMLClass<TMxCBuilderLinkerOptions>(), XMLClass<TMxCBuilderAdvLinkerOptions>(),
                      XMLClass<TMxCBuilderCPPOptions>(), XMLClass<TMxCBuilderPascalOptions>(),
                      XMLClass<TMxCBuilderTASMOptions>(), XMLClass<TMxCBuilderCorbaOptions>(),
                      XMLClass<TMxCBuilderCodeGuardOptions>(), XMLClass<TMxCBuilderTLibOptions>()});
}

}  // namespace mx::bcc
