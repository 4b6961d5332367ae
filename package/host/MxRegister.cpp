#include "MxRegister.h"

#include "package/action/MxCBuilderAction.h"
#include "package/action2006/CBuilder2006Action.h"
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
  // The C++Builder 2006/2007 action, then the constants of its version enumeration (the option
  // values again, unchanged, then cb2006 and cb2007).
  RegisterCBuilder2006Action();
  RegisterScriptContants();
  MxScriptingServices().RegisterConstant("cb2006", 0);
  MxScriptingServices().RegisterConstant("cb2007", 1);
  RegisterBprCommand();
}

}  // namespace mx::bcc
