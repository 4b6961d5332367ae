#include "DesignServices.h"

#include <iostream>

#include "moxtal/api/Action.h"
#include "moxtal/engine/ConsoleDesignServices.h"

namespace mx {

namespace {

IMxDesignServices* installed = nullptr;

}  // namespace

IMxDesignServices& MxDesignServices() {
  if (installed) return *installed;
  static engine::TConsoleDesignServices console(false, std::cin, std::cerr);
  return console;
}

std::string GetWin32PropertySetsStrs() {
  return "Win32 Version Info";
}

namespace {

// The property sets of the script whose expansion the design time uses (the editor sets it).
class TPropertySetDesignServices : public IMxPropertySetDesignServices {
 public:
  std::vector<std::string> PropertySetNames(std::string_view typeName) override {
    auto* script = dynamic_cast<IMxActionContext*>(&MxDesignApplicationServices());
    return script ? script->PropertySetNames(typeName) : std::vector<std::string>();
  }
};

}  // namespace

IMxPropertySetDesignServices& MxPropertySetDesignServices() {
  static TPropertySetDesignServices services;
  return services;
}

namespace engine {

IMxDesignServices* SetDesignServices(IMxDesignServices* services) {
  IMxDesignServices* before = installed;
  installed = services;
  return before;
}

}  // namespace engine

}  // namespace mx
