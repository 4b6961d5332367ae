#include "VersionInfoAction.h"

#include "package/action/VersionResource.h"
#include "platform/StringList.h"

namespace mx::bcc {

void TVersionInfoAction::SetAutoIncBuild(bool value) {
  if (value == autoIncBuild_) return;
  autoIncBuild_ = value;
  if (value) {
    RegisterDynamicProperty("BuildVersion");
  } else {
    UnRegisterDynamicProperty("BuildVersion");
  }
}

void TVersionInfoAction::UpdateFileVersion() {
  SetVersionInfoKey("FileVersion",
                    DottedVersion(majorVersion_, minorVersion_, releaseVersion_, buildVersion_));
}

void TVersionInfoAction::RemoveVersionInfoKey(std::string_view name) {
  versionInfoKeys_ = WithoutVersionKey(versionInfoKeys_, name);
}

void TVersionInfoAction::SetVersionInfoKey(std::string_view name, std::string_view value) {
  versionInfoKeys_ = WithVersionKey(versionInfoKeys_, name, value);
}

std::string TVersionInfoAction::GetVersionInfoKey(std::string_view name) const {
  return platform::TStringList(versionInfoKeys_).Values(name);
}

}  // namespace mx::bcc
