#include "MxRegister.h"

#include "package/action/MxCBuilderAction.h"
#include "package/host/BprCommand.h"
#include "package/options/MxCBuilderIntf.h"

namespace mx::bcc {

const char* PackageDescription() {
  return "Moxtal 5.0 - C++Builder Support Package";
}

void Register(bool /*designTime*/) {
  // The C++Builder 5/6 action: persistence classes of its records, the action, its script
  // methods, then the script constants of the option values. Property editors and pages come
  // with the pages.
  RegisterCBuilderAction();
  RegisterScriptContants();
  RegisterBprCommand();
}

}  // namespace mx::bcc
