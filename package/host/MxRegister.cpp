#include "MxRegister.h"

#include "package/options/MxCBuilderIntf.h"
#include "package/options/MxCBuilderOptions.h"

namespace mx::bcc {

const char* PackageDescription() {
  return "Moxtal 5.0 - C++Builder Support Package";
}

void Register(bool /*designTime*/) {
  // The C++Builder 5/6 action: the persistence classes of its option records, then the
  // script constants of their values.
  RegisterOptionClasses();
  RegisterScriptContants();
}

}  // namespace mx::bcc
