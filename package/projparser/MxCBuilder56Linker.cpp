// The linker and advanced linker families: "/PROJECT/OPTIONS/LFLAGS" and the runtime library
// choice in SYSDEFINES, ALLOBJ and ALLLIB.
#include <cmath>

#include "package/projparser/MxCBuilder56Elements.h"
#include "package/projparser/MxCBuilder56ProjParser.h"
#include "package/projparser/SwitchRows.h"
#include "platform/Conversions.h"
#include "platform/DateTimeFormat.h"
#include "platform/StrUtils.h"

namespace mx::bcc {

using namespace platform;
using namespace elements;

namespace {

constexpr std::uint32_t kMinHeap = 0x1000;
constexpr std::uint32_t kMaxHeap = 0x100000;
constexpr std::uint32_t kMinStack = 0x2000;
constexpr std::uint32_t kMaxStack = 0x100000;
constexpr std::uint32_t kImageBase = 0x400000;

// A version argument: a decimal fraction in the system's notation, 4.1 when it is not one.
std::pair<std::int32_t, std::int32_t> Version(std::string_view text) {
  const double value =
      std::fabs(TryStrToFloat(text, UserFormatSettings().DecimalSeparator).value_or(4.1));
  const double major = std::trunc(value);
  return {static_cast<std::int32_t>(major), static_cast<std::int32_t>(Round((value - major) * 10))};
}

using switches::TChoice;
using switches::TFlag;

// The linker family's switches that are not numbers, in the order it writes them.
using LinkerRec = ICBuilderLinkerOptions;
constexpr TChoice<LinkerRec, TCBuilderLinkerWarnings> kLinkerWarnings{
    .Get = &LinkerRec::GetLinkerWarnings,
    .Set = &LinkerRec::SetLinkerWarnings,
    .Reads = {{{"-w", TCBuilderLinkerWarnings::lwAll}}},
    .Removed = {"-w"},
    .Writes = {"-w", nullptr},
    .Otherwise = TCBuilderLinkerWarnings::lwSelected};
constexpr std::array<TFlag<LinkerRec>, 2> kDebugAndState{{
    {&LinkerRec::GetDebugInformation, &LinkerRec::SetDebugInformation, "-v", "-v-"},
    {&LinkerRec::GetDontGenerateStateFile, &LinkerRec::SetDontGenerateStateFile, "-Gn", "-Gn-"},
}};
constexpr TChoice<LinkerRec, TCBuilderMapFile> kMapFile{
    .Get = &LinkerRec::GetMapFile,
    .Set = &LinkerRec::SetMapFile,
    .Reads = {{{"-x", TCBuilderMapFile::cmOff},
               {"-m", TCBuilderMapFile::cmPublics},
               {"-s", TCBuilderMapFile::cmDetailed}}},
    .Removed = {"-x", "-m", "-s"},
    .Writes = {"-x", nullptr, "-m", "-s"},
    .Otherwise = TCBuilderMapFile::cmSegments};
constexpr std::array<TFlag<LinkerRec>, 2> kNamesAndLib{{
    {&LinkerRec::GetShowMangledNames, &LinkerRec::SetShowMangledNames, "-M", nullptr},
    {&LinkerRec::GetGenerateLibFile, &LinkerRec::SetGenerateLibFile, "-Gl", nullptr},
}};

// The advanced linker's switches that are on or off, in the order it writes them.
using AdvLinkerRec = ICBuilderAdvLinkerOptions;
constexpr std::array<TFlag<AdvLinkerRec>, 3> kAdvancedLinkerFlags{{
    {&AdvLinkerRec::GetCaseInsensitiveLink, &AdvLinkerRec::SetCaseInsensitiveLink, "-c-", "-c"},
    {&AdvLinkerRec::GetCalcCheckSum, &AdvLinkerRec::SetCalcCheckSum, "-Gz", nullptr},
    {&AdvLinkerRec::GetReplaceResources, &AdvLinkerRec::SetReplaceResources, "-Rr", nullptr},
}};

std::string HexArgument(std::uint32_t value) {
  return IntToHex(static_cast<std::int64_t>(value), 4);
}

// Items separated by blanks and ";", empty ones dropped.
TStringList Items(std::string_view text) {
  TStringList list;  // names compare without regard to case
  std::string item;
  for (const char c : text) {
    if (c == ' ' || c == ';') {
      if (!item.empty()) list.Add(item);
      item.clear();
    } else {
      item += c;
    }
  }
  if (!item.empty()) list.Add(item);
  return list;
}

std::string JoinItems(const TStringList& list) {
  std::string text;
  for (const auto& item : list)
    text += item + " ";
  return Trim(text);
}

}  // namespace

void TMxCBuilder56ProjectParser::ParseLinkerOptions() {
  auto& r = *linker_;
  if (const auto flags = ElementValue(kLFlags)) {
    const auto known = LoadKnownWarnings("BCBLinkerWarnings.txt");
    const TStringList t = Tokens(*flags);
    for (const auto& token : t) {
      if (IsWarning(token) && known->Contains(NormaliseWarning(token))) {
        r.GetWarnings().Add(WarningToInternalFormat(token));
      }
    }
    switches::Parse(t, r, kLinkerWarnings);
    switches::ParseAll(t, r, kDebugAndState);
    switches::Parse(t, r, kMapFile);
    switches::ParseAll(t, r, kNamesAndLib);
    r.SetMinHeapSize(kMinHeap);
    r.SetImageBase(kImageBase);
    r.SetMaxHeapSize(kMaxHeap);
    r.SetMinStackSize(kMinStack);
    r.SetMaxStackSize(kMaxStack);
    const auto number = [](const std::string& token, std::size_t from) {
      return static_cast<std::uint32_t>(
          StrToInt(token.size() > from ? token.substr(from) : std::string()));
    };
    for (const auto& token : t) {
      const std::string two = token.substr(0, 2);
      if (two == "-V") {
        const auto [major, minor] = Version(std::string_view(token).substr(2));
        r.SetSubSystemMajor(static_cast<std::uint32_t>(major));
        r.SetSubSystemMinor(static_cast<std::uint32_t>(minor));
      } else if (two == "-E") {
        r.SetMaxErrors(static_cast<std::int32_t>(number(token, 2)));
      }
      const std::string three = token.substr(0, 3);
      if (three == "-H:") r.SetMinHeapSize(number(token, 3));
      if (three == "-HC") r.SetMaxHeapSize(number(token, 4));
      if (three == "-S:") r.SetMinStackSize(number(token, 3));
      if (three == "-Sc") r.SetMaxStackSize(number(token, 4));
      if (three == "-B:") r.SetImageBase(number(token, 3));
    }
  }
  if (const auto defines = ElementValue(kSysDefines))
    r.SetUseDynamicRTL(SplitDefines(*defines).IndexOf("_RTLDLL") >= 0);
}

namespace {

// The linker's switches with the record's settings forced onto them: the record's warnings
// first, the project's other switches after them.
std::string ForcedLinkerFlags(ICBuilderLinkerOptions& r, const std::string& flags) {
  using P = TMxCBuilder56ProjectParser;
  TStringList w;
  w.SetCaseSensitive(true);
  w.SetSorted(true);
  w.SetDuplicates(TDuplicates::dupIgnore);
  w.AddStrings(r.GetWarnings());
  TStringList l = P::Tokens(flags, true);
  const auto known = LoadKnownWarnings("BCBLinkerWarnings.txt");
  for (int i = l.Count() - 1; i >= 0; --i) {
    if (known->Contains(NormaliseWarning(l[i]))) l.Delete(i);
  }
  w.SetSorted(false);
  for (int i = 0; i < w.Count(); ++i)
    w.SetStrings(i, InternalFormatToWarning(w[i]));
  w.AddStrings(l);

  switches::Apply(w, r, kLinkerWarnings);
  switches::ApplyAll(w, r, kDebugAndState);
  switches::Apply(w, r, kMapFile);
  switches::ApplyAll(w, r, kNamesAndLib);
  for (const char* prefix : {"-V", "-E", "-H:", "-HC", "-S:", "-Sc", "-B:"}) {
    P::RemoveOption(w, prefix, std::string_view(prefix).size(), true);
  }
  const std::uint32_t major = r.GetSubSystemMajor();
  const std::uint32_t minor = r.GetSubSystemMinor();
  if (major + minor != 0 && major != 4)
    w.Add("-V" + std::to_string(major) + "." + std::to_string(minor));
  if (r.GetMaxErrors() >= 2) w.Add("-E" + std::to_string(r.GetMaxErrors()));
  if (r.GetMinHeapSize() != kMinHeap) w.Add("-H:0x" + HexArgument(r.GetMinHeapSize()));
  if (r.GetMaxHeapSize() != kMaxHeap) w.Add("-HC:0x" + HexArgument(r.GetMaxHeapSize()));
  if (r.GetMinStackSize() != kMinStack) w.Add("-S:0x" + HexArgument(r.GetMinStackSize()));
  if (r.GetMaxStackSize() != kMaxStack) w.Add("-Sc:0x" + HexArgument(r.GetMaxStackSize()));
  if (r.GetImageBase() != kImageBase) w.Add("-B:0x" + HexArgument(r.GetImageBase()));
  return P::Join(w, false);
}

// The run-time library of the kind wanted (static or dynamic) in place of the other kind, at
// the end of the list; the multithreaded one is added when neither form of the wanted kind is
// there. `family` is "cp32" (with the VCL) or "cw32".
void ChooseRuntimeLibrary(TStringList& libs, bool dynamic, const std::string& family) {
  const std::string staticSingle = family + ".lib";
  const std::string staticMulti = family + "mt.lib";
  const std::string dynamicSingle = family + "i.lib";
  const std::string dynamicMulti = family + "mti.lib";
  const std::string& fromSingle = dynamic ? staticSingle : dynamicSingle;
  const std::string& toSingle = dynamic ? dynamicSingle : staticSingle;
  const std::string& fromMulti = dynamic ? staticMulti : dynamicMulti;
  const std::string& toMulti = dynamic ? dynamicMulti : staticMulti;
  if (const int i = libs.IndexOf(fromSingle); i >= 0) {
    libs.Delete(i);
    libs.Add(toSingle);
  } else if (const int j = libs.IndexOf(fromMulti); j >= 0) {
    libs.Delete(j);
    libs.Add(toMulti);
  } else if (libs.IndexOf(toSingle) < 0 && libs.IndexOf(toMulti) < 0) {
    libs.Add(toMulti);
  }
}

}  // namespace

void TMxCBuilder56ProjectParser::ApplyLinkerSettings(const ICBuilderProjectSettings& action) {
  auto& r = *action.GetLinkerOpt();
  if (const auto flags = ElementValue(kLFlags))
    SetElementValue(kLFlags, ForcedLinkerFlags(r, *flags));

  bool noVcl = false;
  if (const auto text = ElementValue(kSysDefines)) {
    TStringList defines = SplitDefines(*text);
    const int rtl = defines.IndexOf("_RTLDLL");
    if (!r.GetUseDynamicRTL() && rtl >= 0) defines.Delete(rtl);
    if (r.GetUseDynamicRTL() && rtl < 0) defines.Add("_RTLDLL");
    noVcl = defines.IndexOf("_NO_VCL") >= 0;
    SetElementValue(kSysDefines, JoinDefines(defines));
  }
  if (const auto text = ElementValue(kAllObj)) {
    TStringList objects = Items(*text);
    if (!noVcl) {
      const int memmgr = objects.IndexOf("Memmgr.lib");
      if (r.GetUseDynamicRTL() && memmgr < 0) {
        if (objects.Count() <= 1) {
          objects.Add("Memmgr.lib");
        } else {
          objects.Insert(1, "Memmgr.lib");
        }
      }
      if (!r.GetUseDynamicRTL() && memmgr >= 0) objects.Delete(memmgr);
    }
    SetElementValue(kAllObj, JoinItems(objects));
  }
  if (const auto text = ElementValue(kAllLib)) {
    TStringList libs = Items(*text);
    ChooseRuntimeLibrary(libs, r.GetUseDynamicRTL(), noVcl ? "cw32" : "cp32");
    SetElementValue(kAllLib, JoinItems(libs));
  }
}

void TMxCBuilder56ProjectParser::ParseAdvLinkerOptions() {
  const auto flags = ElementValue(kLFlags);
  if (!flags) return;
  const TStringList t = Tokens(*flags);
  auto& r = *advLinker_;
  switches::ParseAll(t, r, kAdvancedLinkerFlags);
  for (const auto& token : t) {
    const std::string two = token.substr(0, 2);
    if (two == "-U") {
      const auto [major, minor] = Version(std::string_view(token).substr(2));
      r.SetUserMajorVersion(major);
      r.SetUserMinorVersion(minor);
    } else if (two == "-d") {
      r.SetDelayLoadDLLS(token.substr(2));
    } else if (token.compare(0, 3, "-GC") == 0) {
      r.SetImageComment(token.substr(3));
    }
  }
}

void TMxCBuilder56ProjectParser::ApplyAdvLinkerSettings(const ICBuilderProjectSettings& action) {
  const auto flags = ElementValue(kLFlags);
  if (!flags) return;
  const auto& r = *action.GetAdvLinkerOpt();
  TStringList t = Tokens(*flags);
  switches::ApplyAll(t, r, kAdvancedLinkerFlags);
  RemoveOption(t, "-d", 2, true);
  if (!r.GetDelayLoadDLLS().empty()) t.Add("-d" + r.GetDelayLoadDLLS());
  RemoveOption(t, "-GC", 3, true);
  if (!r.GetImageComment().empty()) t.Add("-GC" + r.GetImageComment());
  RemoveOption(t, "-U", 2, true);
  if (r.GetUserMajorVersion() > 0 && r.GetUserMinorVersion() > 0) {
    t.Add("-U" + std::to_string(r.GetUserMajorVersion()) + "." +
          std::to_string(r.GetUserMinorVersion()));
  }
  SetElementValue(kLFlags, Join(t, false));
}

}  // namespace mx::bcc
