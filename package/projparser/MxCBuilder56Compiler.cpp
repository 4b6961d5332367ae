// The compiler, advanced compiler, C++ and CodeGuard families: "/PROJECT/OPTIONS/CFLAG1",
// the selected warnings of "/PROJECT/MACROS/WARNINGS", and CodeGuard's library and IDE line.
#include "moxtal/api/Quoting.h"
#include "package/projparser/MxCBuilder56Elements.h"
#include "package/projparser/MxCBuilder56ProjParser.h"
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

  compiler_->SetDebugInformation(Has(t, "-v"));
  compiler_->SetLineNumberInformation(Has(t, "-y"));
  compiler_->SetDisableInlineExpansion(!Has(t, "-vi"));
  compiler_->SetMergeDupStrings(Has(t, "-d"));
  compiler_->SetStackFrames(Has(t, "-k"));
  compiler_->SetEnumsAsInt(Has(t, "-b"));
  compiler_->SetExtendedErrorInfo(Has(t, "-Q"));
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
  ReplaceSwitch(t, {"-v", "-v-"}, record.GetDebugInformation() ? "-v" : "-v-");
  ReplaceSwitch(t, {"-d", "-d-"}, record.GetMergeDupStrings() ? "-d" : nullptr);
  ReplaceSwitch(t, {"-b", "-b-"}, record.GetEnumsAsInt() ? "-b" : "-b-");
  ReplaceSwitch(t, {"-k", "-k-"}, record.GetStackFrames() ? "-k" : "-k-");
  ReplaceSwitch(t, {"-y", "-y-"}, record.GetLineNumberInformation() ? "-y" : nullptr);
  ReplaceSwitch(t, {"-vi", "-vi-"}, record.GetDisableInlineExpansion() ? "-vi-" : "-vi");
  ReplaceSwitch(t, {"-Q", "-Q-"}, record.GetExtendedErrorInfo() ? "-Q" : nullptr);
  SetElementValue(kCFlags, Join(t, true));
}

void TMxCBuilder56ProjectParser::ParseAdvCompilerOptions() {
  const auto flags = ElementValue(kCFlags);
  if (!flags) return;
  const TStringList t = Tokens(*flags);
  auto& r = *advCompiler_;
  // The first switch of a chain that is present decides; none leaves the value as it was.
  const auto firstOf = [&t](std::initializer_list<std::pair<const char*, int>> chain, int current) {
    for (const auto& [token, value] : chain) {
      if (Has(t, token)) return value;
    }
    return current;
  };
  using IS = TCBuilderInstructionSet;
  r.SetInstructionSet(static_cast<IS>(firstOf({{"-3", 0}, {"-4", 1}, {"-5", 2}, {"-6", 3}},
                                              static_cast<int>(r.GetInstructionSet()))));
  r.SetDataAlignment(static_cast<TCBuilderDataAlignment>(
      firstOf({{"-a-", 0}, {"-a1", 0}, {"-a2", 1}, {"-a4", 2}, {"-a8", 3}},
              static_cast<int>(r.GetDataAlignment()))));
  using CC = TCBuilderCallingConvention;
  r.SetCallingConvention(static_cast<CC>(firstOf({{"-p", static_cast<int>(CC::ccPascal)},
                                                  {"-p-", static_cast<int>(CC::ccC)},
                                                  {"-pc", static_cast<int>(CC::ccC)},
                                                  {"-pr", static_cast<int>(CC::ccRegister)},
                                                  {"-ps", static_cast<int>(CC::ccStdCall)}},
                                                 static_cast<int>(r.GetCallingConvention()))));
  using RV = TCBuilderRegisterVariables;
  r.SetRegisterVariables(static_cast<RV>(firstOf({{"-r", static_cast<int>(RV::rvAuto)},
                                                  {"-r-", static_cast<int>(RV::rvNone)},
                                                  {"-rd", static_cast<int>(RV::rvKeyword)}},
                                                 static_cast<int>(RV::rvAuto))));
  r.SetOutputAutoDepInfo(Has(t, "-X") ? false : true);
  r.SetGenerateUnderscores(Has(t, "-u") ? true : !Has(t, "-u-"));
  r.SetFloatingPointNone(Has(t, "-f-"));
  r.SetFloatingPointFast(Has(t, "-ff"));
  r.SetFloatingPointFixFDIV(Has(t, "-fp"));
  using LC = TCBuilderLanguageCompliance;
  r.SetLanguageCompliance(static_cast<LC>(firstOf({{"-A-", static_cast<int>(LC::lcBorland)},
                                                   {"-A", static_cast<int>(LC::lcANSI)},
                                                   {"-AU", static_cast<int>(LC::lcUnixV)},
                                                   {"-AK", static_cast<int>(LC::lcKR)}},
                                                  static_cast<int>(LC::lcBorland))));
  r.SetNestedComments(Has(t, "-C"));
  r.SetMFCCompatibility(Has(t, "-VF"));
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
  static const char* const kInstructionSets[] = {nullptr, "-4", "-5", "-6"};
  ReplaceSwitch(t, {"-3", "-4", "-5", "-6"},
                kInstructionSets[static_cast<int>(r.GetInstructionSet()) & 3]);
  static const char* const kAlignments[] = {"-a1", "-a2", "-a4", "-a8"};
  ReplaceSwitch(t, {"-a", "-a-", "-a1", "-a2", "-a4", "-a8"},
                kAlignments[static_cast<int>(r.GetDataAlignment()) & 3]);
  static const char* const kConventions[] = {nullptr, "-p", "-pr", "-ps"};
  ReplaceSwitch(t, {"-p", "-p-", "-pc", "-pr", "-ps"},
                kConventions[static_cast<int>(r.GetCallingConvention()) & 3]);
  static const char* const kRegisters[] = {"-r-", "-r", "-rd"};
  ReplaceSwitch(t, {"-r-", "-r", "-rd"},
                kRegisters[std::min(static_cast<int>(r.GetRegisterVariables()), 2)]);
  ReplaceSwitch(t, {"-X", "-X-"}, r.GetOutputAutoDepInfo() ? "-X-" : "-X");
  ReplaceSwitch(t, {"-u", "-u-"}, r.GetGenerateUnderscores() ? nullptr : "-u-");
  ReplaceSwitch(t, {"-f", "-f-"}, r.GetFloatingPointNone() ? "-f-" : nullptr);
  ReplaceSwitch(t, {"-ff", "-ff-"}, r.GetFloatingPointFast() ? "-ff" : nullptr);
  ReplaceSwitch(t, {"-fp", "-fp-"}, r.GetFloatingPointFixFDIV() ? "-fp" : nullptr);
  static const char* const kCompliance[] = {nullptr, "-A", "-AU", "-AK"};
  ReplaceSwitch(t, {"-A-", "-AU", "-AK", "-A"},
                kCompliance[static_cast<int>(r.GetLanguageCompliance()) & 3]);
  ReplaceSwitch(t, {"-C", "-C-"}, r.GetNestedComments() ? "-C" : nullptr);
  SetSwitch(t, "-VF", r.GetMFCCompatibility());
  RemoveOption(t, "-i", 2, true);
  if (r.GetIdentifierLength() != 250) t.Add("-i" + std::to_string(r.GetIdentifierLength()));
  SetElementValue(kCFlags, Join(t, false));
}

void TMxCBuilder56ProjectParser::ParseCPPOptions() {
  const auto flags = ElementValue(kCFlags);
  if (!flags) return;
  const TStringList t = Tokens(*flags);
  auto& r = *cpp_;
  using MP = TCBuilderMemberPointers;
  MP pointers = MP::mpAllCases;
  if (Has(t, "-Vmv")) {
    pointers = MP::mpAllCases;
  } else if (Has(t, "-Vmm")) {
    pointers = MP::mpMultipleInheritance;
  } else if (Has(t, "-Vms")) {
    pointers = MP::mpSingleInheritance;
  } else if (Has(t, "-Vmd")) {
    pointers = MP::mpSmallest;
  }
  r.SetMemberPointers(pointers);
  r.SetHonourMemberPrecision(Has(t, "-Vmp"));
  r.SetZeroLengthEmptyBaseClasses(Has(t, "-Ve"));
  r.SetZeroLengthEmptyClassMembers(Has(t, "-Vx"));
  r.SetDontRestrictForLoop(Has(t, "-Vd"));
  r.SetDontMangleCodeModifiers(Has(t, "-VC"));
  r.SetExternalTemplates(Has(t, "-Jgx"));
  r.SetEnabledRTTI(!Has(t, "-RT-"));
  r.SetEnabledExceptions(!Has(t, "-x-"));
  r.SetDestructorCleanup(!Has(t, "-xd-"));
  r.SetFastExceptionPrologs(Has(t, "-xf"));
  r.SetLocalInformation(Has(t, "-xp"));
  using VT = TCBuilderVirtualTables;
  VT tables = VT::vtSmart;
  if (Has(t, "-V0")) {
    tables = VT::vtExternal;
  } else if (Has(t, "-V1")) {
    tables = VT::vtPublic;
  } else if (Has(t, "-Vs")) {
    tables = VT::vtLocal;
  }
  r.SetVirtualTables(tables);
  r.SetForceCPPCompile(Has(t, "-P"));
}

void TMxCBuilder56ProjectParser::ApplyCPPSettings(const ICBuilderProjectSettings& action) {
  const auto flags = ElementValue(kCFlags);
  if (!flags) return;
  const auto& r = *action.GetCppOpt();
  TStringList t = Tokens(*flags);
  static const char* const kPointers[] = {nullptr, "-Vmm", "-Vms", "-Vmd"};
  ReplaceSwitch(t, {"-Vmv", "-Vmm", "-Vms", "-Vmd"},
                kPointers[static_cast<int>(r.GetMemberPointers()) & 3]);
  SetSwitch(t, "-Vmp", r.GetHonourMemberPrecision());
  SetSwitch(t, "-Ve", r.GetZeroLengthEmptyBaseClasses());
  SetSwitch(t, "-Vx", r.GetZeroLengthEmptyClassMembers());
  SetSwitch(t, "-Vd", r.GetDontRestrictForLoop());
  SetSwitch(t, "-VC", r.GetDontMangleCodeModifiers());
  SetSwitch(t, "-Jgx", r.GetExternalTemplates());
  SetSwitch(t, "-RT-", !r.GetEnabledRTTI());
  SetSwitch(t, "-x-", !r.GetEnabledExceptions());
  SetSwitch(t, "-xd-", !r.GetDestructorCleanup());
  SetSwitch(t, "-xf", r.GetFastExceptionPrologs());
  SetSwitch(t, "-xp", r.GetLocalInformation());
  static const char* const kTables[] = {nullptr, "-Vs", "-V0", "-V1"};
  ReplaceSwitch(t, {"-V0", "-V1", "-Vs"}, kTables[static_cast<int>(r.GetVirtualTables()) & 3]);
  SetSwitch(t, "-P", r.GetForceCPPCompile());
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
