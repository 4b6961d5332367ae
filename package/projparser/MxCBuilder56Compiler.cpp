// The compiler, advanced compiler, C++ and CodeGuard families: "/PROJECT/OPTIONS/CFLAG1",
// the selected warnings of "/PROJECT/MACROS/WARNINGS", and CodeGuard's library and IDE line.
#include "moxtal/api/Quoting.h"
#include "package/action/MxCBuilderAction.h"
#include "package/projparser/MxCBuilder56ProjParser.h"
#include "platform/Conversions.h"
#include "platform/StrUtils.h"

namespace mx::bcc {

using namespace platform;
using P = TMxCBuilder56ProjectParser;

namespace {

constexpr const char* kCFlags = "/PROJECT/OPTIONS/CFLAG1";
constexpr const char* kWarnings = "/PROJECT/MACROS/WARNINGS";
constexpr const char* kCompilerWarnings = "BCBCompilerWarnings.txt";

bool Has(const TStringList& list, std::string_view token) {
  return list.IndexOf(token) >= 0;
}

void Remove(TStringList& list, std::initializer_list<const char*> forms) {
  for (const char* form : forms)
    P::RemoveOption(list, form, true);
}

void AddIf(TStringList& list, bool condition, const char* token) {
  if (condition) list.Add(token);
}

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
    const TStringList known = LoadKnownWarnings(kCompilerWarnings);
    for (const auto& token : Tokens(*macro)) {
      if (IsWarning(token) && known.IndexOfName(NormaliseWarning(token)) >= 0) {
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

void TMxCBuilder56ProjectParser::ApplyCompilerSettings(TMxCBuilderAction& action) {
  const auto& record = *action.GetCompilerOpt();
  if (const auto macro = ElementValue(kWarnings)) {
    const TStringList known = LoadKnownWarnings(kCompilerWarnings);
    TStringList selected;
    selected.SetCaseSensitive(true);
    selected.SetSorted(true);
    selected.SetDuplicates(TDuplicates::dupIgnore);
    selected.AddStrings(action.GetCompilerOpt()->GetWarnings());
    TStringList others = Tokens(*macro, true);
    for (int i = others.Count() - 1; i >= 0; --i) {
      if (known.IndexOfName(NormaliseWarning(others[i])) >= 0) others.Delete(i);
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
  Remove(t, {"-Od", "-O2", "-Oi", "-Ov", "-Og", "-OS"});
  if (optimisation.Empty()) {
    t.Add("-Od");
  } else if (optimisation == TBCBCompilerOptimisations{O::coInlineIntrinsic,
                                                       O::coInductionVariables,
                                                       O::coCommonSubExpression}) {
    t.Add("-O2");
  } else {
    AddIf(t, optimisation.Contains(O::coInlineIntrinsic), "-Oi");
    AddIf(t, optimisation.Contains(O::coInductionVariables), "-Ov");
    AddIf(t, optimisation.Contains(O::coCommonSubExpression), "-Og");
    AddIf(t, optimisation.Contains(O::coPentiumScheduling), "-OS");
  }

  const auto expand = [&action](std::string_view text) {
    return action.ExpandExpression(text, true);
  };
  Remove(t, {"-H", "-Hc", "-Hh"});
  RemoveOption(t, "-H=", 3, true);
  const auto pch = record.GetPreCompHeaders();
  if (pch != TBCBCompilerPreCompiledHeader::pcNone) {
    t.Add("-H=" + QuoteString(ProtectedExpand(record.GetPreCompFile(), expand), true));
    if (pch == TBCBCompilerPreCompiledHeader::pcCache) t.Add("-Hc");
    if (!record.GetStopAfterFile().empty()) {
      t.Add("-Hh='" + ProtectedExpand(record.GetStopAfterFile(), expand) + "'");
    }
  }
  Remove(t, {"-w", "-w-"});
  if (record.GetOutputWarnings() == TBCBCompilerWarnings::cwNone) t.Add("-w-");
  if (record.GetOutputWarnings() == TBCBCompilerWarnings::cwAll) t.Add("-w");
  Remove(t, {"-v", "-v-"});
  t.Add(record.GetDebugInformation() ? "-v" : "-v-");
  Remove(t, {"-d", "-d-"});
  AddIf(t, record.GetMergeDupStrings(), "-d");
  Remove(t, {"-b", "-b-"});
  t.Add(record.GetEnumsAsInt() ? "-b" : "-b-");
  Remove(t, {"-k", "-k-"});
  t.Add(record.GetStackFrames() ? "-k" : "-k-");
  Remove(t, {"-y", "-y-"});
  AddIf(t, record.GetLineNumberInformation(), "-y");
  Remove(t, {"-vi", "-vi-"});
  t.Add(record.GetDisableInlineExpansion() ? "-vi-" : "-vi");
  Remove(t, {"-Q", "-Q-"});
  AddIf(t, record.GetExtendedErrorInfo(), "-Q");
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

void TMxCBuilder56ProjectParser::ApplyAdvCompilerSettings(TMxCBuilderAction& action) {
  const auto flags = ElementValue(kCFlags);
  if (!flags) return;
  const auto& r = *action.GetAdvCompilerOpt();
  TStringList t = Tokens(*flags);
  Remove(t, {"-3", "-4", "-5", "-6"});
  static const char* const kInstructionSets[] = {nullptr, "-4", "-5", "-6"};
  if (const char* s = kInstructionSets[static_cast<int>(r.GetInstructionSet()) & 3]) t.Add(s);
  Remove(t, {"-a", "-a-", "-a1", "-a2", "-a4", "-a8"});
  static const char* const kAlignments[] = {"-a1", "-a2", "-a4", "-a8"};
  t.Add(kAlignments[static_cast<int>(r.GetDataAlignment()) & 3]);
  Remove(t, {"-p", "-p-", "-pc", "-pr", "-ps"});
  static const char* const kConventions[] = {nullptr, "-p", "-pr", "-ps"};
  if (const char* s = kConventions[static_cast<int>(r.GetCallingConvention()) & 3]) t.Add(s);
  Remove(t, {"-r-", "-r", "-rd"});
  static const char* const kRegisters[] = {"-r-", "-r", "-rd"};
  t.Add(kRegisters[std::min(static_cast<int>(r.GetRegisterVariables()), 2)]);
  Remove(t, {"-X", "-X-"});
  t.Add(r.GetOutputAutoDepInfo() ? "-X-" : "-X");
  Remove(t, {"-u", "-u-"});
  AddIf(t, !r.GetGenerateUnderscores(), "-u-");
  Remove(t, {"-f", "-f-"});
  AddIf(t, r.GetFloatingPointNone(), "-f-");
  Remove(t, {"-ff", "-ff-"});
  AddIf(t, r.GetFloatingPointFast(), "-ff");
  Remove(t, {"-fp", "-fp-"});
  AddIf(t, r.GetFloatingPointFixFDIV(), "-fp");
  Remove(t, {"-A-", "-AU", "-AK", "-A"});
  static const char* const kCompliance[] = {nullptr, "-A", "-AU", "-AK"};
  if (const char* s = kCompliance[static_cast<int>(r.GetLanguageCompliance()) & 3]) t.Add(s);
  Remove(t, {"-C", "-C-"});
  AddIf(t, r.GetNestedComments(), "-C");
  Remove(t, {"-VF"});
  AddIf(t, r.GetMFCCompatibility(), "-VF");
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

void TMxCBuilder56ProjectParser::ApplyCPPSettings(TMxCBuilderAction& action) {
  const auto flags = ElementValue(kCFlags);
  if (!flags) return;
  const auto& r = *action.GetCppOpt();
  TStringList t = Tokens(*flags);
  Remove(t, {"-Vmv", "-Vmm", "-Vms", "-Vmd"});
  static const char* const kPointers[] = {nullptr, "-Vmm", "-Vms", "-Vmd"};
  if (const char* s = kPointers[static_cast<int>(r.GetMemberPointers()) & 3]) t.Add(s);
  const auto flag = [&t](const char* token, bool add) {
    RemoveOption(t, token, true);
    AddIf(t, add, token);
  };
  flag("-Vmp", r.GetHonourMemberPrecision());
  flag("-Ve", r.GetZeroLengthEmptyBaseClasses());
  flag("-Vx", r.GetZeroLengthEmptyClassMembers());
  flag("-Vd", r.GetDontRestrictForLoop());
  flag("-VC", r.GetDontMangleCodeModifiers());
  flag("-Jgx", r.GetExternalTemplates());
  flag("-RT-", !r.GetEnabledRTTI());
  flag("-x-", !r.GetEnabledExceptions());
  flag("-xd-", !r.GetDestructorCleanup());
  flag("-xf", r.GetFastExceptionPrologs());
  flag("-xp", r.GetLocalInformation());
  Remove(t, {"-V0", "-V1", "-Vs"});
  static const char* const kTables[] = {nullptr, "-Vs", "-V0", "-V1"};
  if (const char* s = kTables[static_cast<int>(r.GetVirtualTables()) & 3]) t.Add(s);
  flag("-P", r.GetForceCPPCompile());
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

void TMxCBuilder56ProjectParser::ApplyCodeGuardSettings(TMxCBuilderAction& action) {
  const auto& r = *action.GetCodeGuardOpt();
  const bool on = r.GetCodeGuardValidation();
  if (const auto flags = ElementValue(kCFlags)) {
    TStringList t = Tokens(*flags);
    Remove(t, {"-vGd", "-vGt", "-vGc"});
    if (on) {
      AddIf(t, r.GetValidateGlobalAndStackAccess(), "-vGd");
      AddIf(t, r.GetValidateThisPointer(), "-vGt");
      AddIf(t, r.GetValidatePointerAccesses(), "-vGc");
    }
    SetElementValue(kCFlags, Join(t, false));
  }
  if (const auto libs = ElementValue("/PROJECT/LINKER/ALLLIB")) {
    TStringList items;  // compared without regard to case
    ParseAttributes(*libs, items);
    const int at = items.IndexOf("cg32.lib");
    if (on && at < 0) items.Insert(0, "CG32.LIB");
    if (!on && at >= 0) items.Delete(at);
    SetElementValue("/PROJECT/LINKER/ALLLIB", Join(items, true));
  }
  TXmlNode ide = Document().SelectSingleNode("/PROJECT/IDEOPTIONS");
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
