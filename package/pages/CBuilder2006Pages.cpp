// Every page of the C++Builder 2006/2007 action, in one place.
#include "moxtal/api/Services.h"
#include "package/action2006/CBuilder2006Action.h"
#include "package/pages/CBResourceCompilerFrame.h"
#include "package/pages/CBuilder2006ProjectFrame.h"
#include "package/pages/CBuilder2006VersionInfoFrame.h"
#include "package/pages/PageRegistration.h"

namespace mx::bcc {

void RegisterCBuilder2006PropertyPages() {
  IMxActionServices& services = MxActionServices();
  const TClassInfo& action = TCBuilder2006Action::StaticClassInfo();
  services.RegisterPropertyPage(action,
                                PageClass<TCBuilder2006ProjectFrame>("TCBuilder2006ProjectFrame"));
  services.RegisterPropertyPage(
      action, PageClass<TCBuilder2006VersionInfoFrame>("TCBuilder2006VersionInfoFrame"));
  services.RegisterPropertyPage(action,
                                PageClass<TCBResourceCompilerFrame>("TCBResourceCompilerFrame"));
}

}  // namespace mx::bcc
