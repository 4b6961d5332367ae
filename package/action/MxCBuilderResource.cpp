// The resource script of a C++Builder 5/6 project: main icon and version information.
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "package/action/MxCBuilderAction.h"
#include "package/action/VersionResource.h"
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
  TVersionResource r;
  r.Major = majorVersion_;
  r.Minor = minorVersion_;
  r.Release = releaseVersion_;
  r.Build = buildVersion_;
  r.IsDebug = isDebug_;
  r.IsPreRelease = isPreRelease_;
  r.IsPrivate = isPrivate_;
  r.IsSpecial = isSpecial_;
  r.IsDLL = isDLL_;
  r.VersionInfoKeys = versionInfoKeys_;
  r.Locale = locale_;
  r.IncludeCompileDate = includeCompileDate_;
  r.LinkProductVersionToFileVersion = linkProductVersionToFileVersion_;
  r.FileVersionFromNumbers = autoUpdateFileVersion_ && !usePropertySet_;
  return AddVersionResource(r, *this, lines);
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

  SaveResourceScript(lines, script);
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
