// The service locators packages reach the host through.
#include "moxtal/api/Services.h"

#include "moxtal/engine/DesignServices.h"
#include "moxtal/engine/Host.h"
#include "moxtal/engine/HostContext.h"

namespace mx {

IMxActionServices& MxActionServices() {
  return engine::THost::Instance();
}

IMxScriptingServices& MxScriptingServices() {
  return engine::THost::Instance();
}

IMxPackageServices& MxPackageServices() {
  return engine::THost::Instance();
}

namespace {

IMxApplicationServices* designContext = nullptr;

}  // namespace

IMxApplicationServices& MxDesignApplicationServices() {
  static engine::THostContext context;
  return designContext ? *designContext : context;
}

IMxApplicationServices* engine::SetDesignApplicationServices(IMxApplicationServices* services) {
  IMxApplicationServices* before = designContext;
  designContext = services;
  return before;
}

}  // namespace mx
