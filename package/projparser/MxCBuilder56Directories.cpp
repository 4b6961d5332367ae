// Directories, conditionals, packages and version information.
#include "moxtal/api/Quoting.h"
#include "package/projparser/MxCBuilder56Elements.h"
#include "package/projparser/MxCBuilder56ProjParser.h"
#include "platform/FileNames.h"
#include "platform/StrUtils.h"

namespace mx::bcc {

using namespace platform;
using namespace elements;

namespace {

// Trim, add a trailing backslash, take the folder part, drop the trailing backslash.
std::string NormalisePath(std::string_view path) {
  return wintext::ExcludeTrailingPathDelimiter(
      wintext::ExtractFilePath(wintext::IncludeTrailingPathDelimiter(Trim(path))));
}

// The argument of the first `flag` anywhere in `text`: quoted up to the closing quote, or up
// to the next blank.
std::optional<std::string> SwitchArgument(std::string_view text, std::string_view flag) {
  const auto at = text.find(flag);
  if (at == std::string_view::npos) return std::nullopt;
  std::string_view rest = text.substr(at + flag.size());
  if (!rest.empty() && rest.front() == '"') {
    rest.remove_prefix(1);
    return std::string(rest.substr(0, rest.find('"')));
  }
  return std::string(rest.substr(0, rest.find(' ')));
}

std::string UserLibraryPath(TCBuilderVersion version, const char* value, const char* caller) {
  const char* key = nullptr;
  switch (version) {
    case TCBuilderVersion::cvBCB5:
      key = "Software\\Borland\\C++Builder\\5.0\\Library";
      break;
    case TCBuilderVersion::cvBCB6:
      key = "Software\\Borland\\C++Builder\\6.0\\Library";
      break;
    case TCBuilderVersion::cvBCB7:
      key = "Software\\Borland\\C++Builder\\7.0\\Library";
      break;
    default:
      throw Exception(std::string("Invalid compiler version passed to ") + caller);
  }
  const auto registry = MxPackageServices().Registry();
  const auto k = registry ? registry->OpenKeyReadOnly(TRegistryRoot::rkCurrentUser, key) : nullptr;
  return k ? k->ReadString(value).value_or("") : std::string();
}

std::string JoinSpaced(const TStringList& list) {
  std::string text;
  for (const auto& item : list)
    text += item + " ";
  return Trim(text);
}

// Every item that begins with `prefix` becomes `replacement`; true when there was one.
bool ReplacePrefixed(TStringList& items, std::string_view prefix, const std::string& replacement) {
  bool found = false;
  for (int i = 0; i < items.Count(); ++i) {
    if (std::string_view(items[i]).substr(0, prefix.size()) == prefix) {
      items.SetStrings(i, replacement);
      found = true;
    }
  }
  return found;
}

// A switch line with every `prefix` item carrying `argument`, or the switch appended.
std::string WithSwitch(std::string_view text, const std::string& prefix,
                       const std::string& argument) {
  TStringList items = TMxCBuilder56ProjectParser::Tokens(text);
  const bool found = ReplacePrefixed(items, prefix, prefix + argument);
  return JoinSpaced(items) + (found ? "" : " " + prefix + argument);
}

// Expands, turning a failure into an error that names what was being expanded.
std::string Expanded(const std::string& what, const std::function<std::string()>& expand) {
  try {
    return expand();
  } catch (const Exception& e) {
    throw Exception("Error expanding " + what + " : " + e.what());
  }
}

}  // namespace

std::string TMxCBuilder56ProjectParser::GetUserBPIPath(TCBuilderVersion version) {
  return UserLibraryPath(version, "Package DCP Output", "GetUserBPIPath");
}

std::string TMxCBuilder56ProjectParser::GetUserBPLPath(TCBuilderVersion version) {
  return UserLibraryPath(version, "Package DPL Output", "GetUserBPLPath");
}

void TMxCBuilder56ProjectParser::ParseDirectoryOptions() {
  if (!Options().Contains(TCBuilderProjParserOption::poDirectories)) return;
  if (const auto v = ElementValue(kUserDefines)) SetConditionals(*v);
  if (const auto v = ElementValue(kLibPath))
    SetLibraryPath(FixupLibPathBackSlash(ReplaceAll(*v, "\"", "")));
  if (const auto v = ElementValue(kIncludePath))
    SetIncludePath(FixupLibPathBackSlash(ReplaceAll(*v, "\"", "")));
  if (const auto v = ElementValue(kLFlags)) {
    if (const auto dir = SwitchArgument(*v, "-l")) SetBPILIBOutputPath(NormalisePath(*dir));
    if (const auto dir = SwitchArgument(*v, "-I")) SetIntermediateOutputPath(NormalisePath(*dir));
  }
}

void TMxCBuilder56ProjectParser::ApplyDirectorySettings(const ICBuilderProjectSettings& action) {
  const auto expand = [&action](std::string_view text) {
    return action.ExpandExpression(text, true);
  };
  if ((!action.GetFinalOutputPath().empty() || action.GetUseRegForBPLPath())) {
    if (const auto old = ElementValue(kProject)) {
      const std::string dir = Expanded("Final Output Path", [&] {
        return action.GetUseRegForBPLPath() ? GetUserBPLPath(action.GetCBuilderVersion())
                                            : ProtectedExpand(action.GetFinalOutputPath(), expand);
      });
      SetElementValue(kProject, DoubleQuoteString(wintext::IncludeTrailingPathDelimiter(dir) +
                                                      wintext::ExtractFileName(StripQuotes(*old)),
                                                  true));
    }
  }
  if (!action.GetConditionals().empty()) {
    const std::string conditionals =
        Expanded("Conditionals", [&] { return expand(action.GetConditionals()); });
    if (ElementValue(kUserDefines)) SetElementValue(kUserDefines, conditionals);
  }
  if (!action.GetLibraryPath().empty() && ElementValue(kLibPath)) {
    const std::string paths =
        Expanded("Library Path", [&] { return ProtectedExpand(action.GetLibraryPath(), expand); });
    SetElementValue(kLibPath, FixupLibPathBackSlash(paths));
  }
  if (!action.GetIncludePath().empty() && ElementValue(kIncludePath)) {
    const std::string paths =
        Expanded("Include Path", [&] { return ProtectedExpand(action.GetIncludePath(), expand); });
    SetElementValue(kIncludePath, FixupLibPathQuotes(paths));
  }
  if (!action.GetIntermediateOutputPath().empty()) {
    const std::string dir = Expanded("Intermediate Output Path", [&] {
      return ProtectedExpand(action.GetIntermediateOutputPath(), expand);
    });
    const std::string quoted = FixupPathBackSlash(dir);
    if (const auto objects = ElementValue(kObjFiles); objects && !objects->empty()) {
      TStringList items = Tokens(*objects);
      for (int i = 0; i < items.Count(); ++i) {
        const std::string name = wintext::ExtractFileName(StripQuotes(items[i]));
        items.SetStrings(i, dir.empty() ? name : wintext::IncludeTrailingPathDelimiter(dir) + name);
      }
      SetElementValue(kObjFiles, ReplaceAll(ReplaceAll(JoinSpaced(items), "\r", ""), "\n", ""));
    }
    if (const auto pflags = ElementValue(kPFlags); pflags && !pflags->empty()) {
      TStringList items = Tokens(*pflags);
      const bool hasN2 = ReplacePrefixed(items, "-N2", "-N2" + quoted);
      const bool hasN0 = ReplacePrefixed(items, "-N0", "-N0" + quoted);
      std::string text = JoinSpaced(items);
      if (!hasN0) text += " -N0" + quoted;
      if (!hasN2) text += " -N2" + quoted;
      SetElementValue(kPFlags, text);
    }
    if (const auto lflags = ElementValue(kLFlags); lflags && !lflags->empty()) {
      SetElementValue(kLFlags, WithSwitch(*lflags, "-I", quoted));
    }
  }
  if ((!action.GetBPILIBOutputPath().empty() || action.GetUseRegForBPIPath()) &&
      ElementValue(kLFlags)) {
    const std::string dir =
        action.GetUseRegForBPIPath()
            ? GetUserBPIPath(action.GetCBuilderVersion())
            : ProtectedExpand(action.GetBPILIBOutputPath(), [this](std::string_view text) {
                return Services().ExpandExpression(text, true);
              });
    const std::string argument =
        DoubleQuoteString(wintext::ExcludeTrailingPathDelimiter(dir), false);
    if (const auto lflags = ElementValue(kLFlags); !lflags->empty()) {
      SetElementValue(kLFlags, WithSwitch(*lflags, "-l", argument));
    }
  }
}

void TMxCBuilder56ProjectParser::ParsePackageOptions() {
  if (const auto v = ElementValue(kPackages)) {
    GetPackages().Clear();
    ParseAttributes(*v, GetPackages());
  }
  if (const auto v = ElementValue(kAllObj)) {
    SetUsePackages(v->find("$(PACKAGES)") != std::string::npos);
  } else if (const auto d = ElementValue(kSysDefines)) {
    SetUsePackages(d->find("USEPACKAGES") != std::string::npos);
  }
}

void TMxCBuilder56ProjectParser::ApplyPackageSettings(const ICBuilderProjectSettings& action) {
  TStringList packages;  // look-ups ignore case
  if (ElementValue(kPackages)) {
    std::string expanded;
    if (action.TryExpandExpression("Packages", action.GetPackages(), expanded, false)) {
      BuildList(Trim(ReplaceAll(expanded, ";", " ")), packages, " ", 0);
      SetElementValue(kPackages, Trim(ReplaceAll(expanded, ";", " ")));
    }
  }
  const bool use = action.GetUsePackages();
  if (const auto v = ElementValue(kSysDefines)) {
    TStringList defines;
    BuildList(*v, defines, ";", 0);
    const int at = defines.IndexOf("USEPACKAGES");
    if (!use && at >= 0) defines.Delete(at);
    if (use && at < 0) defines.Add("USEPACKAGES");
    std::string text;
    for (const auto& d : defines)
      text += d + ";";
    if (!text.empty()) text.pop_back();
    SetElementValue(kSysDefines, text);
  }
  if (const auto v = ElementValue(kAllObj)) {
    TStringList objects;
    std::string item;
    for (const char c : *v + " ") {
      if (c == ' ' || c == ';') {
        if (!item.empty()) objects.Add(item);
        item.clear();
      } else {
        item += c;
      }
    }
    const int at = objects.IndexOf("$(PACKAGES)");
    if (use && at < 0) {
      if (objects.Count() <= 1) {
        objects.Add("$(PACKAGES)");
      } else {
        objects.Insert(1, "$(PACKAGES)");
      }
    }
    if (!use && at >= 0) objects.Delete(at);
    SetElementValue(kAllObj, JoinSpaced(objects));
  }
  const auto spare = ElementValue(kSpareLibs);
  if (!spare) return;
  TStringList s;
  BuildList(*spare, s, " ", 3);
  if (const auto libraries = ElementValue(kLibraries)) {
    TStringList l;
    BuildList(*libraries, l, " ", 3);
    if (use) {
      for (int i = l.Count() - 1; i >= 0; --i) {
        if (packages.IndexOf(l[i] + "bpi") >= 0) {
          const std::string stem = l[i];
          l.Delete(i);
          if (s.IndexOf(stem) < 0) s.Add(stem);
        }
      }
    } else {
      for (const auto& package : packages) {
        const std::string stem = package.substr(0, package.size() > 3 ? package.size() - 3 : 0);
        if (l.IndexOf(stem) < 0) l.Add(stem);
        if (s.IndexOf(stem) < 0) s.Add(stem);
      }
    }
    std::string text;
    for (const auto& item : l)
      text += item + "lib ";
    SetElementValue(kLibraries, Trim(text));
  }
  std::string text;
  for (const auto& item : s)
    text += item + "lib ";
  SetElementValue(kSpareLibs, Trim(text));
}

void TMxCBuilder56ProjectParser::ParseVersionInfo() {
  if (!Options().Contains(TCBuilderProjParserOption::poVersionInfo)) return;
  const TXmlNode ide = Element(kIdeOptions);
  if (!ide) return;
  if (const TXmlNode text = ide.FirstTextChild()) SetVersionInfo(text.Data());
  savedComment_.clear();
  for (const TXmlNode& comment : ide.CommentChildren())
    savedComment_ += comment.Data();
}

void TMxCBuilder56ProjectParser::ApplyVersionInfoSettings(const ICBuilderProjectSettings&) {
  TXmlNode ide = Element(kIdeOptions);
  if (!ide) return;
  if (TXmlNode text = ide.FirstTextChild()) text.SetData(GetVersionInfo());
  if (savedComment_.empty()) return;
  auto comments = ide.CommentChildren();
  if (!comments.empty()) {
    comments.front().SetData(savedComment_);
  } else {
    ide.AppendChild(document_.CreateComment(savedComment_));
  }
}

}  // namespace mx::bcc
