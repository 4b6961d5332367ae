// The Pascal compiler ("/PROJECT/OPTIONS/PFLAGS"), assembler ("/PROJECT/OPTIONS/AFLAGS") and
// librarian (LFLAGS, LISTFILE and SYSDEFINES of library projects) families.
#include "package/projparser/MxCBuilder56Elements.h"
#include "package/projparser/MxCBuilder56ProjParser.h"
#include "package/projparser/SwitchRows.h"
#include "platform/Conversions.h"
#include "platform/StrUtils.h"

namespace mx::bcc {

using namespace platform;
using namespace elements;

namespace {

using switches::TFlag;

// The Pascal family's switches that are on or off, in the order it writes them, apart from the
// rows with rules of their own (the field alignment, which depends on the version, and the
// reference information, two settings in one switch).
using PascalRec = ICBuilderPascalOptions;
constexpr TFlag<PascalRec> kOptimisation{
    &PascalRec::GetOptimisation, &PascalRec::SetOptimisation, "-$O", "-$O-", true, true};
constexpr TFlag<PascalRec> kStackFrames{&PascalRec::GetStackFrames, &PascalRec::SetStackFrames,
                                        "-$W", nullptr};
constexpr std::array<TFlag<PascalRec>, 13> kFlags{{
    {&PascalRec::GetSafeDivide, &PascalRec::SetSafeDivide, "-$U", nullptr},
    {&PascalRec::GetVarStringChecks, &PascalRec::SetVarStringChecks, nullptr, "-$V-", true},
    {&PascalRec::GetBoolEval, &PascalRec::SetBoolEval, "-$B", nullptr},
    {&PascalRec::GetExtendedSyntax, &PascalRec::SetExtendedSyntax, nullptr, "-$X-", true},
    {&PascalRec::GetTypedPointers, &PascalRec::SetTypedPointers, "-$T", nullptr},
    {&PascalRec::GetOpenStrings, &PascalRec::SetOpenStrings, nullptr, "-$P-", true},
    {&PascalRec::GetHugeStrings, &PascalRec::SetHugeStrings, nullptr, "-$H-", true},
    {&PascalRec::GetAssignableConst, &PascalRec::SetAssignableConst, nullptr, "-$J-", true},
    {&PascalRec::GetRangeChecking, &PascalRec::SetRangeChecking, "-$R", nullptr},
    {&PascalRec::GetIOChecking, &PascalRec::SetIOChecking, nullptr, "-$I-", true},
    {&PascalRec::GetOverflowChecking, &PascalRec::SetOverflowChecking, "-$Q", nullptr},
    {&PascalRec::GetDebugInfo, &PascalRec::SetDebugInfo, nullptr, "-$D-", true},
    {&PascalRec::GetLocalSymbols, &PascalRec::SetLocalSymbols, nullptr, "-$L-", true},
}};
constexpr std::array<TFlag<PascalRec>, 3> kLateFlags{{
    {&PascalRec::GetAssertions, &PascalRec::SetAssertions, nullptr, "-$C-", true},
    {&PascalRec::GetShowHints, &PascalRec::SetShowHints, nullptr, "-H-", true},
    {&PascalRec::GetShowWarnings, &PascalRec::SetShowWarnings, nullptr, "-W-", true},
}};

// The rest of an item after `prefix` as an integer, or `fallback`.
std::uint32_t NumberAfter(const std::string& item, std::size_t prefix, std::uint32_t fallback) {
  const auto v = TryStrToInt(item.substr(prefix));
  return v ? static_cast<std::uint32_t>(*v) : fallback;
}

}  // namespace

void TMxCBuilder56ProjectParser::ParsePascalOptions() {
  const auto flags = ElementValue(kPFlags);
  if (!flags) return;
  const TStringList t = Tokens(*flags);
  auto& r = *pascal_;
  switches::Parse(t, r, kOptimisation);
  using FA = TCBuilderPascalFieldAlign;
  if (GetCBuilderVersion() == TCBuilderVersion::cvBCB5) {
    r.SetAlignFields(Has(t, "-$A") ? FA::fa8 : Has(t, "-$A-") ? FA::fa1 : FA::fa8);
  } else {
    FA align = FA::fa1;
    if (Has(t, "-$A")) {
      align = FA::fa8;
    } else if (Has(t, "-$A1")) {
      align = FA::fa1;
    } else if (Has(t, "-$A2")) {
      align = FA::fa2;
    } else if (Has(t, "-$A4")) {
      align = FA::fa4;
    } else if (Has(t, "-$A8")) {
      align = FA::fa8;
    }
    r.SetAlignFields(align);
  }
  switches::Parse(t, r, kStackFrames);
  switches::ParseAll(t, r, kFlags);
  if (Has(t, "-$Y-")) {
    r.SetReferenceInfo(false);
  } else if (Has(t, "-$Y+")) {
    r.SetReferenceInfo(true);
    r.SetDefinitionsOnly(false);
  } else if (Has(t, "-$YD")) {
    r.SetReferenceInfo(true);
    r.SetDefinitionsOnly(true);
  }
  switches::ParseAll(t, r, kLateFlags);
}

void TMxCBuilder56ProjectParser::ApplyPascalSettings(const ICBuilderProjectSettings& action) {
  const auto flags = ElementValue(kPFlags);
  if (!flags) return;
  const auto& r = *action.GetPascalOpt();
  TStringList t = Tokens(*flags);
  switches::Apply(t, r, kOptimisation);
  static const char* const kAlign[] = {"-$A1", "-$A2", "-$A4", "-$A8"};
  const int align = static_cast<int>(r.GetAlignFields()) & 3;
  ReplaceSwitch(t, {"-$A-", "-$A", "-$A1", "-$A2", "-$A4", "-$A8"},
                GetCBuilderVersion() != TCBuilderVersion::cvBCB5       ? kAlign[align]
                : r.GetAlignFields() == TCBuilderPascalFieldAlign::fa1 ? "-$A-"
                                                                       : nullptr);
  switches::Apply(t, r, kStackFrames);
  switches::ApplyAll(t, r, kFlags);
  ReplaceSwitch(t, {"-$Y-", "-$Y+", "-$YD"},
                !r.GetReferenceInfo()     ? "-$Y-"
                : !r.GetDefinitionsOnly() ? "-$Y+"
                                          : "-$YD");
  switches::ApplyAll(t, r, kLateFlags);
  t.Insert(0, "/Q");
  SetElementValue(kPFlags, Join(t, false));
}

void TMxCBuilder56ProjectParser::ParseTASMOptions() {
  const auto flags = ElementValue(kAFlags);
  if (!flags) return;
  TStringList t = Tokens(*flags);
  auto& r = *tasm_;
  t.SetCaseSensitive(false);
  if (Has(t, "/zn")) {
    r.SetDebugInfo(TCBuilderTASMDebugInfo::tdNone);
  } else if (Has(t, "/zd")) {
    r.SetDebugInfo(TCBuilderTASMDebugInfo::tdLineNumbers);
  } else if (Has(t, "/zi")) {
    r.SetDebugInfo(TCBuilderTASMDebugInfo::tdFull);
  }
  // From here on every switch is compared exactly.
  t.SetCaseSensitive(true);
  if (Has(t, "/mu")) {
    r.SetCaseSensitivity(TCBuilderTASMCaseSensitivity::csNone);
  } else if (Has(t, "/mx")) {
    r.SetCaseSensitivity(TCBuilderTASMCaseSensitivity::csGlobals);
  } else if (Has(t, "/ml")) {
    r.SetCaseSensitivity(TCBuilderTASMCaseSensitivity::csAll);
  }
  if (Has(t, "/w0")) {
    r.SetWarnings(TCBuilderTASMWarnings::twNone);
  } else if (Has(t, "/w1")) {
    r.SetWarnings(TCBuilderTASMWarnings::twLevel1);
  } else if (Has(t, "/w2")) {
    r.SetWarnings(TCBuilderTASMWarnings::twLevel2);
  }
  if (Has(t, "/l")) {
    r.SetGenerateListing(true);
    r.SetListingType(TCBuilderTASMListingType::ltNormal);
  } else if (Has(t, "/la")) {
    r.SetGenerateListing(true);
    r.SetListingType(TCBuilderTASMListingType::ltExpanded);
  } else {
    r.SetGenerateListing(false);
  }
  r.SetCrossReference(Has(t, "/c"));
  r.SetSymbolTablesInfo(Has(t, "/n"));
  r.SetIncludeFalseConditionals(Has(t, "/x"));
  r.SetIncludeErrorMessages(Has(t, "/z"));
  for (const auto& item : t) {
    if (item.compare(0, 3, "/kh") == 0) {
      r.SetHashTableCapacity(NumberAfter(item, 3, 8192));
    } else if (item.compare(0, 3, "/mv") == 0) {
      r.SetMaxSymbolLength(NumberAfter(item, 3, 1));
    } else if (item.compare(0, 2, "/m") == 0 &&
               (item.size() == 2 ||
                std::string_view("luvx").find(item[2]) == std::string_view::npos)) {
      r.SetMaxPasses(NumberAfter(item, 2, 1));
    } else if (item.compare(0, 2, "/j") == 0) {
      r.SetAddDirective(item.substr(2));
    }
  }
}

void TMxCBuilder56ProjectParser::ApplyTASMSettings(const ICBuilderProjectSettings& action) {
  const auto flags = ElementValue(kAFlags);
  if (!flags) return;
  const auto& r = *action.GetTASMOpt();
  TStringList t = Tokens(*flags);
  static const char* const kDebug[] = {"/zn", "/zd", "/zi"};
  ReplaceSwitch(t, {"/zn", "/zd", "/zi"}, kDebug[std::min(static_cast<int>(r.GetDebugInfo()), 2)]);
  static const char* const kCase[] = {"/mu", "/mx", "/ml"};
  ReplaceSwitch(t, {"/mu", "/mx", "/ml"},
                kCase[std::min(static_cast<int>(r.GetCaseSensitivity()), 2)]);
  static const char* const kWarn[] = {"/w0", "/w1", "/w2"};
  ReplaceSwitch(t, {"/w0", "/w1", "/w2"}, kWarn[std::min(static_cast<int>(r.GetWarnings()), 2)]);
  const bool listing = r.GetGenerateListing();
  ReplaceSwitch(t, {"/l", "/la"},
                !listing                                                   ? nullptr
                : r.GetListingType() == TCBuilderTASMListingType::ltNormal ? "/l"
                                                                           : "/la");
  SetSwitch(t, "/c", listing && r.GetCrossReference());
  SetSwitch(t, "/n", listing && r.GetSymbolTablesInfo());
  SetSwitch(t, "/x", listing && r.GetIncludeFalseConditionals());
  SetSwitch(t, "/z", listing && r.GetIncludeErrorMessages());
  if (r.GetHashTableCapacity() != 8192) t.Add("/kh" + std::to_string(r.GetHashTableCapacity()));
  if (r.GetMaxSymbolLength() != 12) t.Add("/mv" + std::to_string(r.GetMaxSymbolLength()));
  if (r.GetMaxPasses() > 1) t.Add("/m" + std::to_string(r.GetMaxPasses()));
  if (!r.GetAddDirective().empty()) t.Add("/j" + r.GetAddDirective());
  SetElementValue(kAFlags, Join(t, false));
}

void TMxCBuilder56ProjectParser::ParseTLibOptions() {
  auto& r = *tlib_;
  if (const auto flags = ElementValue(kLFlags)) {
    const TStringList t = Tokens(*flags, true);
    r.SetCaseSensitive(Has(t, "/C"));
    r.SetCreateExtendedDictionary(Has(t, "/E"));
    r.SetPurgeComments(Has(t, "/0"));
    r.SetPageSize(16);
    for (const auto& item : t) {
      if (item.compare(0, 2, "/P") == 0) {
        r.SetPageSize(StrToIntDef(item.substr(2), 16));
        break;
      }
    }
  }
  r.SetListFile(ElementValue(kListFile).value_or(""));
  if (const auto defines = ElementValue(kSysDefines))
    r.SetUseRTL(defines->find("_RTLDLL") != std::string::npos);
}

void TMxCBuilder56ProjectParser::ApplyTLibSettings(const ICBuilderProjectSettings& action) {
  const auto& r = *action.GetTLibOpt();
  if (const auto flags = ElementValue(kLFlags)) {
    TStringList t = Tokens(*flags, true);
    SetSwitch(t, "/C", r.GetCaseSensitive());
    SetSwitch(t, "/E", r.GetCreateExtendedDictionary());
    SetSwitch(t, "/0", r.GetPurgeComments());
    RemoveOption(t, "/P", 2, true);
    if (r.GetPageSize() != 16) t.Add("/P" + std::to_string(r.GetPageSize()));
    SetElementValue(kLFlags, Join(t, false));
  }
  if (ElementValue(kListFile)) SetElementValue(kListFile, r.GetListFile());
  if (const auto text = ElementValue(kSysDefines)) {
    TStringList defines = SplitDefines(*text);
    const int rtl = defines.IndexOf("_RTLDLL");
    if (!r.GetUseRTL() && rtl >= 0) defines.Delete(rtl);
    if (r.GetUseRTL() && rtl < 0) defines.Add("_RTLDLL");
    SetElementValue(kSysDefines, JoinDefines(defines));
  }
}

}  // namespace mx::bcc
