#include "MxRegister.h"

#include "package/action/MxCBuilderAction.h"
#include "package/action2006/CBuilder2006Action.h"
#include "package/host/BprCommand.h"
#include "package/host/GroupReaders.h"
#include "package/host/PaletteBitmaps.h"
#include "package/options/MxCBuilderIntf.h"
#include "package/pages/PageRegistration.h"

namespace mx::bcc {

const char* PackageDescription() {
  return "Moxtal 5.0 - C++Builder Support Package";
}

void Register(bool designTime) {
  // The C++Builder 5/6 action: persistence classes of its records, the action, its property
  // editors (design time only), its script methods, then the script constants of the option
  // values.
  RegisterCBuilderAction(PaletteBitmap("BCB"));
  if (designTime) RegisterPropertyEditors();
  RegisterCBuilderScriptMethods();
  RegisterScriptContants();
  // The C++Builder 2006/2007 action.
  RegisterCBuilder2006Action(PaletteBitmap("BCB2006"));
  // The pages (design time only), then the constants again, unchanged, with the values of the
  // 2006/2007 action's version enumeration.
  if (designTime) {
    RegisterPropertyPages();
    RegisterCBuilder2006PropertyPages();
  }
  RegisterScriptContants();
  MxScriptingServices().RegisterConstant("cb2006", 0);
  MxScriptingServices().RegisterConstant("cb2007", 1);
  RegisterBprCommand();
  RegisterGroupReaders();
}

}  // namespace mx::bcc
