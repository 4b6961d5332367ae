// The resource script of a C++Builder 5/6 project: main icon and version information.

#include "package/action/MxCBuilderAction.h"
#include "package/actionbase/VersionResource.h"
#include "platform/CodePage.h"
#include "platform/DateTimeFormat.h"
#include "platform/FileNames.h"
#include "platform/StrUtils.h"

namespace mx::bcc {

using namespace platform;

TVersionResource TCustomMxCBuilderAction::ResourceVersion() const {
  TVersionResource r = VersionResource();
  r.FileVersionFromNumbers = autoUpdateFileVersion_ && !usePropertySet_;
  return r;
}

bool TCustomMxCBuilderAction::BuildResourceScript(const std::string& iconPath, TStringList& lines) {
  if (const auto problem = QuotedTextProblem(iconPath)) {
    SendMessage("The icon file " + iconPath + " holds " + *problem +
                ", which a resource script cannot hold between quotes: rename it");
    return false;
  }
  if (!iconPath.empty()) lines.Add("MAINICON ICON \"" + iconPath + "\"");
  if (!includeVerInfo_) return true;
  return AddVersionResource(ResourceVersion(), *this, lines);
}

bool TCustomMxCBuilderAction::GenerateResource() {
  std::string script;
  std::string iconPath;
  if (!PrepareResourceScript(projectFile_, iconFile_, script, iconPath)) return false;
  TStringList lines;
  if (!BuildResourceScript(iconPath, lines)) return false;

  SaveResourceScript(lines, script);
  return true;
}

bool TCustomMxCBuilderAction::LoadVersionInfoFromPropertySet() {
  return ApplyVersionPropertySet(
      *this, versionInfoPropertySetName_,
      {&isDLL_, &isDebug_, &isSpecial_, &isPrivate_, &isPreRelease_},
      [this](std::string_view n, std::string_view v) { SetVersionInfoKey(n, v); },
      [this](std::string_view n) { RemoveVersionInfoKey(n); },
      [this](const std::string& name, const std::string& text) {
        // The file version follows the numbers when they make it.
        if (name == "FileVersion" && autoUpdateFileVersion_) {
          UpdateFileVersion();
        } else {
          SetVersionInfoKey(name, text);
        }
      });
}

}  // namespace mx::bcc
