#include "VersionInfoAction.h"

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

}  // namespace mx::bcc
