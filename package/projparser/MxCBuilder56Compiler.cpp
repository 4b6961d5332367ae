// The compiler, advanced compiler, C++ and CodeGuard families: "/PROJECT/OPTIONS/CFLAG1",
// the selected warnings of "/PROJECT/MACROS/WARNINGS", and CodeGuard's library and IDE line.
#include "moxtal/api/Quoting.h"
#include "package/projparser/MxCBuilder56Elements.h"
#include "package/projparser/MxCBuilder56ProjParser.h"
#include "package/projparser/SwitchRows.h"
#include "platform/Conversions.h"
#include "platform/StrUtils.h"

namespace mx::bcc {

using namespace platform;
using namespace elements;

namespace {

constexpr const char* kCompilerWarnings = "BCBCompilerWarnings.txt";

// The value part of the first token "name=value", as a string list finds a name=value line.
std::optional<std::string> NamedToken(const TStringList& list, std::string_view name) {
  const int i = list.IndexOfName(name);
  if (i < 0) return std::nullopt;
  return list.ValueFromIndex(i);
}

// A decimal number, or `fallback` when the text is not one.
std::int32_t DecimalOr(std::string_view text, std::int32_t fallback) {
  if (text.empty() || text.find_first_not_of("+-0123456789") != std::string_view::npos)
    return fallback;
  return StrToIntDef(text, fallback);
}

using switches::TChoice;
using switches::TFlag;

// The compiler family's switches that are on or off, in the order it writes them (after the
// optimisation, the pre-compiled headers and the warnings).
using CompilerRec = ICBuilderCompilerOptions;
constexpr std::array<TFlag<CompilerRec>, 7> kCompilerFlags{{
    {&CompilerRec::GetDebugInformation, &CompilerRec::SetDebugInformation, "-v", "-v-", false,
     true},
    {&CompilerRec::GetMergeDupStrings, &CompilerRec::SetMergeDupStrings, "-d", "-d-"},
    {&CompilerRec::GetEnumsAsInt, &CompilerRec::SetEnumsAsInt, "-b", "-b-", false, true},
    {&CompilerRec::GetStackFrames, &CompilerRec::SetStackFrames, "-k", "-k-", false, true},
    {&CompilerRec::GetLineNumberInformation, &CompilerRec::SetLineNumberInformation, "-y", "-y-"},
    {&CompilerRec::GetDisableInlineExpansion, &CompilerRec::SetDisableInlineExpansion, "-vi-",
     "-vi", true, true},
    {&CompilerRec::GetExtendedErrorInfo, &CompilerRec::SetExtendedErrorInfo, "-Q", "-Q-"},
}};

// The advanced compiler family, in the order it writes its settings (the identifier length, a
// number, comes last).
using AdvRec = ICBuilderAdvCompilerOptions;
constexpr TChoice<AdvRec, TCBuilderInstructionSet> kInstructionSet{
    .Get = &AdvRec::GetInstructionSet,
    .Set = &AdvRec::SetInstructionSet,
    .Reads = {{{"-3", TCBuilderInstructionSet::is386},
               {"-4", TCBuilderInstructionSet::is486},
               {"-5", TCBuilderInstructionSet::isPentium},
               {"-6", TCBuilderInstructionSet::isPentiumPro}}},
    .Removed = {"-3", "-4", "-5", "-6"},
    .Writes = {nullptr, "-4", "-5", "-6"},
    .Keeps = true};
constexpr TChoice<AdvRec, TCBuilderDataAlignment> kDataAlignment{
    .Get = &AdvRec::GetDataAlignment,
    .Set = &AdvRec::SetDataAlignment,
    .Reads = {{{"-a-", TCBuilderDataAlignment::daByte},
               {"-a1", TCBuilderDataAlignment::daByte},
               {"-a2", TCBuilderDataAlignment::daWord},
               {"-a4", TCBuilderDataAlignment::daDoubleWord},
               {"-a8", TCBuilderDataAlignment::daQuadWord}}},
    .Removed = {"-a", "-a-", "-a1", "-a2", "-a4", "-a8"},
    .Writes = {"-a1", "-a2", "-a4", "-a8"},
    .Keeps = true};
constexpr TChoice<AdvRec, TCBuilderCallingConvention> kCallingConvention{
    .Get = &AdvRec::GetCallingConvention,
    .Set = &AdvRec::SetCallingConvention,
    .Reads = {{{"-p", TCBuilderCallingConvention::ccPascal},
               {"-p-", TCBuilderCallingConvention::ccC},
               {"-pc", TCBuilderCallingConvention::ccC},
               {"-pr", TCBuilderCallingConvention::ccRegister},
               {"-ps", TCBuilderCallingConvention::ccStdCall}}},
    .Removed = {"-p", "-p-", "-pc", "-pr", "-ps"},
    .Writes = {nullptr, "-p", "-pr", "-ps"},
    .Keeps = true};
constexpr TChoice<AdvRec, TCBuilderRegisterVariables> kRegisterVariables{
    .Get = &AdvRec::GetRegisterVariables,
    .Set = &AdvRec::SetRegisterVariables,
    .Reads = {{{"-r", TCBuilderRegisterVariables::rvAuto},
               {"-r-", TCBuilderRegisterVariables::rvNone},
               {"-rd", TCBuilderRegisterVariables::rvKeyword}}},
    .Removed = {"-r-", "-r", "-rd"},
    .Writes = {"-r-", "-r", "-rd"},
    .Otherwise = TCBuilderRegisterVariables::rvAuto};
constexpr std::array<TFlag<AdvRec>, 5> kFloatingAndUnderscores{{
    {&AdvRec::GetOutputAutoDepInfo, &AdvRec::SetOutputAutoDepInfo, "-X-", "-X", true, true},
    {&AdvRec::GetGenerateUnderscores, &AdvRec::SetGenerateUnderscores, "-u", "-u-", true, false,
     true},
    {&AdvRec::GetFloatingPointNone, &AdvRec::SetFloatingPointNone, "-f-", "-f"},
    {&AdvRec::GetFloatingPointFast, &AdvRec::SetFloatingPointFast, "-ff", "-ff-"},
    {&AdvRec::GetFloatingPointFixFDIV, &AdvRec::SetFloatingPointFixFDIV, "-fp", "-fp-"},
}};
constexpr TChoice<AdvRec, TCBuilderLanguageCompliance> kLanguageCompliance{
    .Get = &AdvRec::GetLanguageCompliance,
    .Set = &AdvRec::SetLanguageCompliance,
    .Reads = {{{"-A-", TCBuilderLanguageCompliance::lcBorland},
               {"-A", TCBuilderLanguageCompliance::lcANSI},
               {"-AU", TCBuilderLanguageCompliance::lcUnixV},
               {"-AK", TCBuilderLanguageCompliance::lcKR}}},
    .Removed = {"-A-", "-AU", "-AK", "-A"},
    .Writes = {nullptr, "-A", "-AU", "-AK"},
    .Otherwise = TCBuilderLanguageCompliance::lcBorland};
constexpr std::array<TFlag<AdvRec>, 2> kCommentsAndMfc{{
    {&AdvRec::GetNestedComments, &AdvRec::SetNestedComments, "-C", "-C-"},
    {&AdvRec::GetMFCCompatibility, &AdvRec::SetMFCCompatibility, "-VF", nullptr},
}};

// The C++ family, in the order it writes its settings.
using CppRec = ICBuilderCPPOptions;
constexpr TChoice<CppRec, TCBuilderMemberPointers> kMemberPointers{
    .Get = &CppRec::GetMemberPointers,
    .Set = &CppRec::SetMemberPointers,
    .Reads = {{{"-Vmv", TCBuilderMemberPointers::mpAllCases},
               {"-Vmm", TCBuilderMemberPointers::mpMultipleInheritance},
               {"-Vms", TCBuilderMemberPointers::mpSingleInheritance},
               {"-Vmd", TCBuilderMemberPointers::mpSmallest}}},
    .Removed = {"-Vmv", "-Vmm", "-Vms", "-Vmd"},
    .Writes = {nullptr, "-Vmm", "-Vms", "-Vmd"},
    .Otherwise = TCBuilderMemberPointers::mpAllCases};
constexpr std::array<TFlag<CppRec>, 11> kCppFlags{{
    {&CppRec::GetHonourMemberPrecision, &CppRec::SetHonourMemberPrecision, "-Vmp", nullptr},
    {&CppRec::GetZeroLengthEmptyBaseClasses, &CppRec::SetZeroLengthEmptyBaseClasses, "-Ve",
     nullptr},
    {&CppRec::GetZeroLengthEmptyClassMembers, &CppRec::SetZeroLengthEmptyClassMembers, "-Vx",
     nullptr},
    {&CppRec::GetDontRestrictForLoop, &CppRec::SetDontRestrictForLoop, "-Vd", nullptr},
    {&CppRec::GetDontMangleCodeModifiers, &CppRec::SetDontMangleCodeModifiers, "-VC", nullptr},
    {&CppRec::GetExternalTemplates, &CppRec::SetExternalTemplates, "-Jgx", nullptr},
    {&CppRec::GetEnabledRTTI, &CppRec::SetEnabledRTTI, nullptr, "-RT-", true},
    {&CppRec::GetEnabledExceptions, &CppRec::SetEnabledExceptions, nullptr, "-x-", true},
    {&CppRec::GetDestructorCleanup, &CppRec::SetDestructorCleanup, nullptr, "-xd-", true},
    {&CppRec::GetFastExceptionPrologs, &CppRec::SetFastExceptionPrologs, "-xf", nullptr},
    {&CppRec::GetLocalInformation, &CppRec::SetLocalInformation, "-xp", nullptr},
}};
constexpr TChoice<CppRec, TCBuilderVirtualTables> kVirtualTables{
    .Get = &CppRec::GetVirtualTables,
    .Set = &CppRec::SetVirtualTables,
    .Reads = {{{"-V0", TCBuilderVirtualTables::vtExternal},
               {"-V1", TCBuilderVirtualTables::vtPublic},
               {"-Vs", TCBuilderVirtualTables::vtLocal}}},
    .Removed = {"-V0", "-V1", "-Vs"},
    .Writes = {nullptr, "-Vs", "-V0", "-V1"},
    .Otherwise = TCBuilderVirtualTables::vtSmart};
constexpr TFlag<CppRec> kForceCpp{&CppRec::GetForceCPPCompile, &CppRec::SetForceCPPCompile, "-P",
                                  nullptr};

}  // namespace

void TMxCBuilder56ProjectParser::ParseCompilerOptions() {
  bool selectedWarning = false;
  if (const auto macro = ElementValue(kWarnings)) {
    const auto known = LoadKnownWarnings(kCompilerWarnings);
    for (const auto& token : Tokens(*macro)) {
      if (IsWarning(token) && known->Contains(NormaliseWarning(token))) {
        compiler_->GetWarnings().Add(WarningToInternalFormat(token));
        selectedWarning = true;
      }
    }
  }
  const auto flags = ElementValue(kCFlags);
  if (!flags) return;
  const TStringList t = Tokens(*flags);
  using O = TBCBCompilerOptimisation;
  TBCBCompilerOptimisations optimisation;
  if (Has(t, "-Od")) {
    optimisation = {};
  } else if (Has(t, "-O2")) {
    optimisation = {O::coInlineIntrinsic, O::coInductionVariables, O::coCommonSubExpression};
  } else {
    if (Has(t, "-Oi")) optimisation.Include(O::coInlineIntrinsic);
    if (Has(t, "-Ov")) optimisation.Include(O::coInductionVariables);
    if (Has(t, "-Og")) optimisation.Include(O::coCommonSubExpression);
    if (Has(t, "-OS")) optimisation.Include(O::coPentiumScheduling);
  }
  compiler_->SetOptimisation(optimisation);

  compiler_->SetPreCompHeaders(TBCBCompilerPreCompiledHeader::pcNone);
  if (const auto file = NamedToken(t, "-H")) {
    compiler_->SetPreCompHeaders(TBCBCompilerPreCompiledHeader::pcUse);
    compiler_->SetPreCompFile(StripQuotes(*file));
  }
  if (Has(t, "-Hc")) compiler_->SetPreCompHeaders(TBCBCompilerPreCompiledHeader::pcCache);
  if (const auto file = NamedToken(t, "-Hh")) compiler_->SetStopAfterFile(StripQuotes(*file));

  switches::ParseAll(t, *compiler_, kCompilerFlags);
  TBCBCompilerWarnings warnings = TBCBCompilerWarnings::cwSelected;
  if (Has(t, "-w")) {
    warnings = selectedWarning ? TBCBCompilerWarnings::cwSelected : TBCBCompilerWarnings::cwAll;
  } else if (Has(t, "-w-")) {
    warnings = TBCBCompilerWarnings::cwNone;
  }
  compiler_->SetOutputWarnings(warnings);
}

void TMxCBuilder56ProjectParser::ApplyCompilerSettings(const ICBuilderProjectSettings& action) {
  const auto& record = *action.GetCompilerOpt();
  if (const auto macro = ElementValue(kWarnings)) {
    const auto known = LoadKnownWarnings(kCompilerWarnings);
    TStringList selected;
    selected.SetCaseSensitive(true);
    selected.SetSorted(true);
    selected.SetDuplicates(TDuplicates::dupIgnore);
    selected.AddStrings(action.GetCompilerOpt()->GetWarnings());
    TStringList others = Tokens(*macro, true);
    for (int i = others.Count() - 1; i >= 0; --i) {
      if (known->Contains(NormaliseWarning(others[i]))) others.Delete(i);
    }
    selected.SetSorted(false);
    for (int i = 0; i < selected.Count(); ++i)
      selected.SetStrings(i, InternalFormatToWarning(selected[i]));
    selected.AddStrings(others);
    SetElementValue(kWarnings, Join(selected, false));
  }
  const auto flags = ElementValue(kCFlags);
  if (!flags) return;
  TStringList t = Tokens(*flags);
  using O = TBCBCompilerOptimisation;
  const TBCBCompilerOptimisations optimisation = record.GetOptimisation();
  if (optimisation.Empty()) {
    ReplaceSwitch(t, {"-Od", "-O2", "-Oi", "-Ov", "-Og", "-OS"}, "-Od");
  } else if (optimisation == TBCBCompilerOptimisations{O::coInlineIntrinsic,
                                                       O::coInductionVariables,
                                                       O::coCommonSubExpression}) {
    ReplaceSwitch(t, {"-Od", "-O2", "-Oi", "-Ov", "-Og", "-OS"}, "-O2");
  } else {
    ReplaceSwitch(t, {"-Od", "-O2", "-Oi", "-Ov", "-Og", "-OS"}, nullptr);
    if (optimisation.Contains(O::coInlineIntrinsic)) t.Add("-Oi");
    if (optimisation.Contains(O::coInductionVariables)) t.Add("-Ov");
    if (optimisation.Contains(O::coCommonSubExpression)) t.Add("-Og");
    if (optimisation.Contains(O::coPentiumScheduling)) t.Add("-OS");
  }

  const auto expand = [&action](std::string_view text) {
    return action.ExpandExpression(text, true);
  };
  ReplaceSwitch(t, {"-H", "-Hc", "-Hh"}, nullptr);
  RemoveOption(t, "-H=", 3, true);
  const auto pch = record.GetPreCompHeaders();
  if (pch != TBCBCompilerPreCompiledHeader::pcNone) {
    t.Add("-H=" + QuoteString(ProtectedExpand(record.GetPreCompFile(), expand), true));
    if (pch == TBCBCompilerPreCompiledHeader::pcCache) t.Add("-Hc");
    if (!record.GetStopAfterFile().empty()) {
      t.Add("-Hh='" + ProtectedExpand(record.GetStopAfterFile(), expand) + "'");
    }
  }
  const TBCBCompilerWarnings warnings = record.GetOutputWarnings();
  ReplaceSwitch(t, {"-w", "-w-"},
                warnings == TBCBCompilerWarnings::cwNone  ? "-w-"
                : warnings == TBCBCompilerWarnings::cwAll ? "-w"
                                                          : nullptr);
  switches::ApplyAll(t, record, kCompilerFlags);
  SetElementValue(kCFlags, Join(t, true));
}

void TMxCBuilder56ProjectParser::ParseAdvCompilerOptions() {
  const auto flags = ElementValue(kCFlags);
  if (!flags) return;
  const TStringList t = Tokens(*flags);
  auto& r = *advCompiler_;
  switches::Parse(t, r, kInstructionSet);
  switches::Parse(t, r, kDataAlignment);
  switches::Parse(t, r, kCallingConvention);
  switches::Parse(t, r, kRegisterVariables);
  switches::ParseAll(t, r, kFloatingAndUnderscores);
  switches::Parse(t, r, kLanguageCompliance);
  switches::ParseAll(t, r, kCommentsAndMfc);
  r.SetIdentifierLength(250);
  for (const auto& token : t) {
    if (token.compare(0, 2, "-i") == 0) {
      r.SetIdentifierLength(DecimalOr(std::string_view(token).substr(2), 250));
      break;
    }
  }
}

void TMxCBuilder56ProjectParser::ApplyAdvCompilerSettings(const ICBuilderProjectSettings& action) {
  const auto flags = ElementValue(kCFlags);
  if (!flags) return;
  const auto& r = *action.GetAdvCompilerOpt();
  TStringList t = Tokens(*flags);
  switches::Apply(t, r, kInstructionSet);
  switches::Apply(t, r, kDataAlignment);
  switches::Apply(t, r, kCallingConvention);
  switches::Apply(t, r, kRegisterVariables);
  switches::ApplyAll(t, r, kFloatingAndUnderscores);
  switches::Apply(t, r, kLanguageCompliance);
  switches::ApplyAll(t, r, kCommentsAndMfc);
  RemoveOption(t, "-i", 2, true);
  if (r.GetIdentifierLength() != 250) t.Add("-i" + std::to_string(r.GetIdentifierLength()));
  SetElementValue(kCFlags, Join(t, false));
}

void TMxCBuilder56ProjectParser::ParseCPPOptions() {
  const auto flags = ElementValue(kCFlags);
  if (!flags) return;
  const TStringList t = Tokens(*flags);
  auto& r = *cpp_;
  switches::Parse(t, r, kMemberPointers);
  switches::ParseAll(t, r, kCppFlags);
  switches::Parse(t, r, kVirtualTables);
  switches::Parse(t, r, kForceCpp);
}

void TMxCBuilder56ProjectParser::ApplyCPPSettings(const ICBuilderProjectSettings& action) {
  const auto flags = ElementValue(kCFlags);
  if (!flags) return;
  const auto& r = *action.GetCppOpt();
  TStringList t = Tokens(*flags);
  switches::Apply(t, r, kMemberPointers);
  switches::ApplyAll(t, r, kCppFlags);
  switches::Apply(t, r, kVirtualTables);
  switches::Apply(t, r, kForceCpp);
  SetElementValue(kCFlags, Join(t, false));
}

void TMxCBuilder56ProjectParser::ParseCodeGuardOptions() {
  const auto flags = ElementValue(kCFlags);
  if (!flags) return;
  const TStringList t = Tokens(*flags);
  auto& r = *codeGuard_;
  r.SetCodeGuardValidation(false);
  const auto check = [&](const char* token, void (ICBuilderCodeGuardOptions::*set)(bool)) {
    const bool on = Has(t, token);
    (r.*set)(on);
    if (on) r.SetCodeGuardValidation(true);
  };
  check("-vGd", &ICBuilderCodeGuardOptions::SetValidateGlobalAndStackAccess);
  check("-vGt", &ICBuilderCodeGuardOptions::SetValidateThisPointer);
  check("-vGc", &ICBuilderCodeGuardOptions::SetValidatePointerAccesses);
}

void TMxCBuilder56ProjectParser::ApplyCodeGuardSettings(const ICBuilderProjectSettings& action) {
  const auto& r = *action.GetCodeGuardOpt();
  const bool on = r.GetCodeGuardValidation();
  if (const auto flags = ElementValue(kCFlags)) {
    TStringList t = Tokens(*flags);
    SetSwitch(t, "-vGd", on && r.GetValidateGlobalAndStackAccess());
    SetSwitch(t, "-vGt", on && r.GetValidateThisPointer());
    SetSwitch(t, "-vGc", on && r.GetValidatePointerAccesses());
    SetElementValue(kCFlags, Join(t, false));
  }
  if (const auto libs = ElementValue(kAllLib)) {
    TStringList items;  // compared without regard to case
    ParseAttributes(*libs, items);
    const int at = items.IndexOf("cg32.lib");
    if (on && at < 0) items.Insert(0, "CG32.LIB");
    if (!on && at >= 0) items.Delete(at);
    SetElementValue(kAllLib, Join(items, true));
  }
  TXmlNode ide = Element(kIdeOptions);
  if (!ide) return;
  TXmlNode text = ide.FirstTextChild();
  if (!text) {
    text = document_.CreateTextNode("");
    ide.AppendChild(text);
  }
  TStringList lines(text.Data());
  const std::string value = on ? "1" : "0";
  if (const int line = lines.IndexOfName("LinkCGLIB"); line >= 0) {
    lines.SetStrings(line, lines.Names(line) + "=" + value);
  } else if (const int compiler = lines.IndexOf("[Compiler]"); compiler >= 0) {
    lines.Insert(compiler + 1, "LinkCGLIB=" + value);
  } else {
    lines.Add("[Compiler]");
    lines.Add("LinkCGLIB=" + value);
  }
  text.SetData(lines.Text());
}

}  // namespace mx::bcc
