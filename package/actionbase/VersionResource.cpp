#include "VersionResource.h"

#include "platform/CodePage.h"
#include "platform/Conversions.h"
#include "platform/DateTimeFormat.h"
#include "platform/StrUtils.h"
#include "platform/WholeFile.h"

#include <algorithm>

namespace mx::bcc {

using namespace platform;

namespace {

// A text of the action expanded as a build expands it: through TryExpandExpression (which
// reports a failure) when `report`, else with the failure's message left in `error`.
bool Expand(const TCustomMxAction& action, bool report, std::string* error, std::string_view label,
            std::string_view text, std::string& result, bool strict) {
  if (report) return action.TryExpandExpression(label, text, result, strict);
  try {
    result = action.ExpandExpression(text, strict);
    return true;
  } catch (const Exception& e) {
    if (error) *error = "Error expanding " + std::string(label) + " : " + e.what();
    return false;
  }
}

// True for "1", "1.0", ... up to four numbers, separated by dots or commas.
bool IsVersionNumbers(std::string_view text) {
  int parts = 0;
  std::size_t start = 0;
  while (true) {
    const std::size_t end = std::min(text.find_first_of(".,", start), text.size());
    const std::string_view part = text.substr(start, end - start);
    if (part.empty() || part.find_first_not_of("0123456789") != part.npos || ++parts > 4)
      return false;
    if (end == text.size()) return true;
    start = end + 1;
  }
}

}  // namespace

std::optional<std::string> QuotedTextProblem(std::string_view text) {
  for (const char c : text) {
    if (c == '"') return std::string("a double quote (\")");
    if (static_cast<unsigned char>(c) < 0x20) {
      return "a control character (code " + std::to_string(static_cast<unsigned char>(c)) + ")";
    }
  }
  if (!text.empty() && text.back() == '\\') return std::string("a backslash (\\) at its end");
  return std::nullopt;
}

std::optional<TVersionText> ExpandVersionText(const TVersionResource& r,
                                              const TCustomMxAction& action, bool report,
                                              std::string* error) {
  // A copy: the compile date must not end up in the stored property.
  TStringList keys(r.VersionInfoKeys);
  if (r.IncludeCompileDate) {
    const TDateTimeParts now = Now();
    keys.SetValue("Compile Date", FormatLongDate(now) + " " + FormatShortTime(now));
  }
  TVersionText text;
  text.FileVersionFromEntry = !r.FileVersionFromNumbers;
  if (r.FileVersionFromNumbers) {
    text.FileVersion = DottedVersion(r.Major, r.Minor, r.Release, r.Build);
  } else if (!Expand(action, report, error, "FileVersion", keys.Values("FileVersion"),
                     text.FileVersion, r.FileVersionStrict)) {
    return std::nullopt;
  }
  text.ProductVersionFromEntry = !r.LinkProductVersionToFileVersion;
  if (r.LinkProductVersionToFileVersion) {
    text.ProductVersion = text.FileVersion;
  } else if (!Expand(action, report, error, "ProductVersion", keys.Values("PRODUCTVERSION"),
                     text.ProductVersion, false)) {
    return std::nullopt;
  }
  // The entries show the versions as the numbers are written, with dots.
  text.FileVersion = ReplaceAll(text.FileVersion, ",", ".");
  text.ProductVersion = ReplaceAll(text.ProductVersion, ",", ".");
  for (int i = 0; i < keys.Count(); ++i) {
    const std::string name = keys.Names(i);
    const std::string value = keys.Values(name);
    std::string written;
    if (UpperCase(name) == "FILEVERSION") {
      written = text.FileVersion;
    } else if (UpperCase(name) == "PRODUCTVERSION") {
      written = text.ProductVersion;
    } else if (value.empty() && !r.WriteEmptyValues) {
      continue;
    } else if (!Expand(action, report, error, "Version info value", value, written, false)) {
      return std::nullopt;
    }
    text.Values.emplace_back(name, written);
  }
  return text;
}

std::vector<std::string> VersionTextProblems(const TVersionText& text) {
  std::vector<std::string> problems;
  if (text.FileVersionFromEntry && !IsVersionNumbers(text.FileVersion)) {
    problems.push_back("the file version \"" + text.FileVersion +
                       "\" (the entry FileVersion) is not up to four numbers such as 1.0.0.0, "
                       "which FILEVERSION must be");
  }
  if (text.ProductVersion.empty() && text.ProductVersionFromEntry) {
    problems.push_back(
        "there is no product version for PRODUCTVERSION: give the entry ProductVersion (such as "
        "1.0.0.0), or link the product version to the file version");
  } else if (text.ProductVersionFromEntry && !IsVersionNumbers(text.ProductVersion)) {
    problems.push_back("the product version \"" + text.ProductVersion +
                       "\" (the entry ProductVersion) is not up to four numbers such as 1.0.0.0, "
                       "which PRODUCTVERSION must be");
  }
  for (const auto& [name, value] : text.Values) {
    if (const auto problem = QuotedTextProblem(name)) {
      problems.push_back("the name of the version entry \"" + name + "\" holds " + *problem +
                         ", which a resource script cannot hold between quotes");
    } else if (const auto bad = QuotedTextProblem(value)) {
      problems.push_back("the version entry " + name + " holds " + *bad +
                         ", which a resource script cannot hold between quotes: " + value);
    }
  }
  return problems;
}

bool AddVersionResource(const TVersionResource& r, const TCustomMxAction& action,
                        TStringList& lines) {
  const auto text = ExpandVersionText(r, action, true);
  if (!text) return false;
  // A text that would end its quotes early could add entries of its own, or stop the resource
  // compiler: it is refused before anything is written.
  const auto problems = VersionTextProblems(*text);
  for (const auto& problem : problems)
    action.SendMessage("Version information: " + problem);
  if (!problems.empty()) return false;
  lines.Add("1 VERSIONINFO");
  lines.Add("FILEVERSION " + ReplaceAll(text->FileVersion, ".", ","));
  lines.Add("PRODUCTVERSION " + ReplaceAll(text->ProductVersion, ".", ","));
  const int flags = (r.IsDebug ? 0x01 : 0) | (r.IsPreRelease ? 0x02 : 0) |
                    (r.IsPrivate ? 0x08 : 0) | (r.IsSpecial ? 0x20 : 0);
  const int codePage = GetACP();
  lines.Add("FILEFLAGSMASK 0x3FL");
  lines.Add("FILEFLAGS 0x" + IntToHex(flags, 2) + "L");
  lines.Add(r.FileOS);
  lines.Add(r.IsDLL ? "FILETYPE 0x2L" : "FILETYPE 0x1L");
  lines.Add("FILESUBTYPE 0x0L");
  lines.Add("BEGIN");
  lines.Add("    BLOCK \"StringFileInfo\"");
  lines.Add("    BEGIN");
  lines.Add("         BLOCK \"" + IntToHex(r.Locale, 4) + IntToHex(codePage, 4) + "\"");
  lines.Add("         BEGIN");
  for (const auto& [name, written] : text->Values)
    lines.Add("              VALUE \"" + name + "\", \"" + written + "\\0\"");
  lines.Add("         END");
  lines.Add("    END");
  lines.Add("    BLOCK \"VarFileInfo\"");
  lines.Add("    BEGIN");
  lines.Add("         VALUE \"Translation\", 0x" + IntToHex(r.Locale, 4) + ", " +
            std::to_string(codePage));
  lines.Add("    END");
  lines.Add("END");
  return true;
}

bool ApplyVersionPropertySet(
    TCustomMxAction& action, const std::string& setName, const TVersionFlags& flags,
    const std::function<void(std::string_view, std::string_view)>& setKey,
    const std::function<void(std::string_view)>& removeKey,
    const std::function<void(const std::string&, const std::string&)>& other) {
  const auto set = action.GetPropertySetAPI(setName);
  if (!set) {
    action.SendMessage("Unable to find property set: " + setName);
    return false;
  }
  const auto values = set->Values();
  for (const std::string& name : GetPropertyList(*values, true)) {
    if (name == "ObjectID" || name == "Name") continue;
    const std::string text = GetPropAsString(*values, name);
    if (HasProperty(action, name)) {
      SetPropAsString(action, name, text);
      continue;
    }
    const bool on = StrToBoolDef(text, false);
    bool* flag = name == "DLL"               ? flags.IsDLL
                 : name == "DebugBuild"      ? flags.IsDebug
                 : name == "SpecialBuild"    ? flags.IsSpecial
                 : name == "PrivateBuild"    ? flags.IsPrivate
                 : name == "PreReleaseBuild" ? flags.IsPreRelease
                                             : nullptr;
    if (!flag) {
      other(name, text);
      continue;
    }
    *flag = on;
    if (name == "DLL") continue;
    if (on) {
      setKey(name, text);
    } else {
      removeKey(name);
    }
  }
  return true;
}

std::string WithVersionKey(const std::string& keys, std::string_view name, std::string_view value) {
  TStringList list(keys);
  list.SetValue(name, value);
  return list.Text();
}

std::string WithoutVersionKey(const std::string& keys, std::string_view name) {
  TStringList list(keys);
  const int i = list.IndexOfName(name);
  if (i < 0) return keys;
  list.Delete(i);
  return list.Text();
}

std::string DottedVersion(std::int32_t major, std::int32_t minor, std::int32_t release,
                          std::int32_t build) {
  return std::to_string(major) + "." + std::to_string(minor) + "." + std::to_string(release) + "." +
         std::to_string(build);
}

void SaveResourceScript(const TStringList& lines, const std::string& path) {
  // Resource compilers read the system's ANSI code page.
  WriteWholeFile(path, Utf8ToAnsi(lines.Text(), GetACP()));
}

}  // namespace mx::bcc
