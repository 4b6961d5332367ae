#include "VersionResource.h"

#include "platform/CodePage.h"
#include "platform/Conversions.h"
#include "platform/DateTimeFormat.h"
#include "platform/StrUtils.h"
#include "platform/WholeFile.h"

namespace mx::bcc {

using namespace platform;

bool AddVersionResource(const TVersionResource& r, const TCustomMxAction& action,
                        TStringList& lines) {
  // A copy: the compile date must not end up in the stored property.
  TStringList keys(r.VersionInfoKeys);
  if (r.IncludeCompileDate) {
    const TDateTimeParts now = Now();
    keys.SetValue("Compile Date", FormatLongDate(now) + " " + FormatShortTime(now));
  }
  lines.Add("1 VERSIONINFO");

  std::string fileVersion;
  if (r.FileVersionFromNumbers) {
    fileVersion = std::to_string(r.Major) + "," + std::to_string(r.Minor) + "," +
                  std::to_string(r.Release) + "," + std::to_string(r.Build);
  } else if (!action.TryExpandExpression("FileVersion", keys.Values("FileVersion"), fileVersion,
                                         r.FileVersionStrict)) {
    return false;
  }
  std::string productVersion;
  if (r.LinkProductVersionToFileVersion) {
    productVersion = fileVersion;
  } else if (!action.TryExpandExpression("ProductVersion", keys.Values("PRODUCTVERSION"),
                                         productVersion, false)) {
    return false;
  }
  fileVersion = ReplaceAll(fileVersion, ".", ",");
  productVersion = ReplaceAll(productVersion, ".", ",");
  lines.Add("FILEVERSION " + fileVersion);
  lines.Add("PRODUCTVERSION " + productVersion);
  fileVersion = ReplaceAll(fileVersion, ",", ".");
  productVersion = ReplaceAll(productVersion, ",", ".");

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
  for (int i = 0; i < keys.Count(); ++i) {
    const std::string name = keys.Names(i);
    const std::string value = keys.Values(name);
    std::string written;
    if (UpperCase(name) == "FILEVERSION") {
      written = fileVersion;
    } else if (UpperCase(name) == "PRODUCTVERSION") {
      written = productVersion;
    } else if (value.empty() && !r.WriteEmptyValues) {
      continue;
    } else if (!action.TryExpandExpression("Version info value", value, written, false)) {
      return false;
    }
    lines.Add("              VALUE \"" + name + "\", \"" + written + "\\0\"");
  }
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
