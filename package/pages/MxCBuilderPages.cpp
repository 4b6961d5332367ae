// Every page and property editor of the C++Builder 5/6 action, in one place.
#include "moxtal/api/Services.h"
#include "package/action/MxCBuilderAction.h"
#include "package/pages/MxBCBAdvCompilerFrame.h"
#include "package/pages/MxBCBAdvLinkerFrame.h"
#include "package/pages/MxBCBCPPFrame.h"
#include "package/pages/MxBCBCodeGuardFrame.h"
#include "package/pages/MxBCBCompilerFrame.h"
#include "package/pages/MxBCBCorbaFrame.h"
#include "package/pages/MxBCBLinkerFrame.h"
#include "package/pages/MxBCBPascalFrame.h"
#include "package/pages/MxBCBTASMFrame.h"
#include "package/pages/MxBCBTLibFrame.h"
#include "package/pages/MxCBuilderDirectoryFrame.h"
#include "package/pages/MxCBuilderProjectFrame.h"
#include "package/pages/PageRegistration.h"
#include "package/pages/VersionInfoFrame.h"

namespace mx::bcc {

void RegisterPropertyPages() {
  const TClassInfo& action = TMxCBuilderAction::StaticClassInfo();
  IMxActionServices& services = MxActionServices();
  services.RegisterPropertyPage(action,
                                PageClass<TMxCBuilderProjectFrame>("TMxCBuilderProjectFrame"));
  services.RegisterPropertyPage(action, PageClass<TMxBCBCompilerFrame>("TMxBCBCompilerFrame"));
  services.RegisterPropertyPage(action,
                                PageClass<TMxBCBAdvCompilerFrame>("TMxBCBAdvCompilerFrame"));
  services.RegisterPropertyPage(action, PageClass<TMxBCBTLibFrame>("TMxBCBTLibFrame"));
  services.RegisterPropertyPage(action, PageClass<TMxBCBLinkerFrame>("TMxBCBLinkerFrame"));
  services.RegisterPropertyPage(action, PageClass<TMxBCBAdvLinkerFrame>("TMxBCBAdvLinkerFrame"));
  services.RegisterPropertyPage(action, PageClass<TMxBCBCPPFrame>("TMxBCBCPPFrame"));
  services.RegisterPropertyPage(action, PageClass<TMxBCBPascalFrame>("TMxBCBPascalFrame"));
  services.RegisterPropertyPage(action, PageClass<TMxBCBTASMFrame>("TMxBCBTASMFrame"));
  services.RegisterPropertyPage(action,
                                PageClass<TMxCBuilderDirectoryFrame>("TMxCBuilderDirectoryFrame"));
  services.RegisterPropertyPage(action,
                                PageClass<TCBuilderVersionInfoFrame>("TCBuilderVersionInfoFrame"));
  services.RegisterPropertyPage(action, PageClass<TMxBCBCodeGuardFrame>("TMxBCBCodeGuardFrame"));
  services.RegisterPropertyPage(action, PageClass<TMxBCBCorbaFrame>("TMxBCBCorbaFrame"));
}

// The editors of two properties of the C++Builder 5/6 action: the project file opens the
// action's pages, the icon file is picked with a file dialog.
void RegisterPropertyEditors() {
  IMxActionServices& services = MxActionServices();
  const TClassInfo* action = &TMxCBuilderAction::StaticClassInfo();
  services.RegisterPropertyEditor(
      {"string", action, "ProjectFile", "TShowActionPropertiesEditor", std::nullopt});
  services.RegisterPropertyEditor(
      {"string", action, "IconFile", "TBCBProjectIconEdit",
       TFileNameEditSettings{"ico", "Icon Files (*.ico)|*.ico", "Select Icon"}});
}

}  // namespace mx::bcc
