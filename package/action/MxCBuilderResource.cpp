// The resource script of a C++Builder 5/6 project: main icon and version information.
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "package/action/MxCBuilderAction.h"
#include "platform/CodePage.h"
#include "platform/Conversions.h"
#include "platform/DateTimeFormat.h"
#include "platform/FileNames.h"
#include "platform/StrUtils.h"

namespace mx::bcc {

using namespace platform;

bool TCustomMxCBuilderAction::BuildResourceScript(const std::string& iconPath, TStringList& lines) {
  if (!iconPath.empty()) lines.Add("MAINICON ICON \"" + iconPath + "\"");
  if (!includeVerInfo_) return true;

  // A copy: the compile date must not end up in the stored property.
  TStringList keys(versionInfoKeys_);
  if (includeCompileDate_) {
    const TDateTimeParts now = Now();
    keys.SetValue("Compile Date", FormatLongDate(now) + " " + FormatShortTime(now));
  }
  lines.Add("1 VERSIONINFO");

  std::string fileVersion;
  if (autoUpdateFileVersion_ && !usePropertySet_) {
    fileVersion = std::to_string(majorVersion_) + "," + std::to_string(minorVersion_) + "," +
                  std::to_string(releaseVersion_) + "," + std::to_string(buildVersion_);
  } else if (!TryExpandExpression("FileVersion", keys.Values("FileVersion"), fileVersion, true)) {
    return false;
  }
  std::string productVersion;
  if (linkProductVersionToFileVersion_) {
    productVersion = fileVersion;
  } else if (!TryExpandExpression("ProductVersion", keys.Values("PRODUCTVERSION"), productVersion,
                                  false)) {
    return false;
  }
  fileVersion = ReplaceAll(fileVersion, ".", ",");
  productVersion = ReplaceAll(productVersion, ".", ",");
  lines.Add("FILEVERSION " + fileVersion);
  lines.Add("PRODUCTVERSION " + productVersion);
  fileVersion = ReplaceAll(fileVersion, ",", ".");
  productVersion = ReplaceAll(productVersion, ",", ".");

  const int flags = (isDebug_ ? 0x01 : 0) | (isPreRelease_ ? 0x02 : 0) | (isPrivate_ ? 0x08 : 0) |
                    (isSpecial_ ? 0x20 : 0);
  const int codePage = GetACP();
  lines.Add("FILEFLAGSMASK 0x3FL");
  lines.Add("FILEFLAGS 0x" + IntToHex(flags, 2) + "L");
  lines.Add("FILEOS 0x40004L");
  lines.Add(isDLL_ ? "FILETYPE 0x2L" : "FILETYPE 0x1L");
  lines.Add("FILESUBTYPE 0x0L");
  lines.Add("BEGIN");
  lines.Add("    BLOCK \"StringFileInfo\"");
  lines.Add("    BEGIN");
  lines.Add("         BLOCK \"" + IntToHex(locale_, 4) + IntToHex(codePage, 4) + "\"");
  lines.Add("         BEGIN");
  for (int i = 0; i < keys.Count(); ++i) {
    const std::string name = keys.Names(i);
    const std::string value = keys.Values(name);
    std::string written;
    if (UpperCase(name) == "FILEVERSION") {
      written = fileVersion;
    } else if (UpperCase(name) == "PRODUCTVERSION") {
      written = productVersion;
    } else if (value.empty()) {
      continue;
    } else if (!TryExpandExpression("Version info value", value, written, false)) {
      return false;
    }
    lines.Add("              VALUE \"" + name + "\", \"" + written + "\\0\"");
  }
  lines.Add("         END");
  lines.Add("    END");
  lines.Add("    BLOCK \"VarFileInfo\"");
  lines.Add("    BEGIN");
  lines.Add("         VALUE \"Translation\", 0x" + IntToHex(locale_, 4) + ", " +
            std::to_string(codePage));
  lines.Add("    END");
  lines.Add("END");
  return true;
}

bool TCustomMxCBuilderAction::GenerateResource() {
  std::string project;
  if (!TryExpandExpression("ProjectFile", projectFile_, project, true)) return false;
  const std::string script = machinepath::ChangeFileExt(project, ".rc");
  std::error_code ec;
  std::filesystem::remove(machinepath::ToFsPath(script), ec);

  std::string iconPath;
  try {
    iconPath = ExpandExpression(iconFile_, true);
  } catch (const Exception& e) {
    auto message = CreateStatusMessage();
    message->Add(e.what());
    SendStatusMessage(message);
    return false;
  }
  TStringList lines;
  if (!BuildResourceScript(iconPath, lines)) return false;

  // Resource compilers read the system's ANSI code page.
  const std::string bytes = Utf8ToAnsi(lines.Text(), GetACP());
  std::ofstream out(machinepath::ToFsPath(script), std::ios::binary | std::ios::trunc);
  if (!out) throw EFOpenError("Cannot create file \"" + script + "\". " + std::strerror(errno));
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw EFOpenError("Cannot write file \"" + script + "\". " + std::strerror(errno));
  return true;
}

bool TCustomMxCBuilderAction::LoadVersionInfoFromPropertySet() {
  const auto set = GetPropertySetAPI(versionInfoPropertySetName_);
  if (!set) {
    SendMessage("Unable to find property set: " + versionInfoPropertySetName_);
    return false;
  }
  const auto values = set->Values();
  for (const std::string& name : GetPropertyList(*values, true)) {
    if (name == "ObjectID" || name == "Name") continue;
    const std::string text = GetPropAsString(*values, name);
    if (HasProperty(*this, name)) {
      SetPropAsString(*this, name, text);
      continue;
    }
    const bool on = StrToBoolDef(text, false);
    if (name == "DLL") {
      isDLL_ = on;
    } else if (name == "DebugBuild" || name == "SpecialBuild" || name == "PrivateBuild" ||
               name == "PreReleaseBuild") {
      bool& flag = name == "DebugBuild"     ? isDebug_
                   : name == "SpecialBuild" ? isSpecial_
                   : name == "PrivateBuild" ? isPrivate_
                                            : isPreRelease_;
      flag = on;
      if (on) {
        SetVersionInfoKey(name, text);
      } else {
        RemoveVersionInfoKey(name);
      }
    } else if (name == "FileVersion") {
      if (autoUpdateFileVersion_) {
        UpdateFileVersion();
      } else {
        SetVersionInfoKey("FileVersion", text);
      }
    } else {
      SetVersionInfoKey(name, text);
    }
  }
  return true;
}

}  // namespace mx::bcc
