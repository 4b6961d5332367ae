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

const char* MessageDlgTitle(TMsgDlgType type) {
  switch (type) {
    case TMsgDlgType::mtWarning:
      return "Warning";
    case TMsgDlgType::mtError:
      return "Error";
    case TMsgDlgType::mtInformation:
      return "Information";
    case TMsgDlgType::mtConfirmation:
      return "Confirm";
    case TMsgDlgType::mtCustom:
      break;
  }
  return "moxtal";
}

platform::TStringList CheckListResult(const platform::TStringList& selection,
                                      const std::vector<std::pair<std::string, bool>>& items) {
  platform::TStringList result;
  for (const auto& [name, checked] : items) {
    const int at = selection.IndexOfName(name);
    if (checked) {
      result.Add(name + "=1");
    } else if (at >= 0 && selection.ValueFromIndex(at) == "0") {
      result.Add(name + "=0");
    }
  }
  return result;
}

}  // namespace engine

}  // namespace mx
