#include "moxtal/api/Commands.h"

#include "moxtal/engine/Host.h"
#include "platform/Exception.h"

namespace mx {

IMxCommandServices& MxCommandServices() {
  return engine::THost::Instance();
}

std::pair<std::string, std::string> SplitAssignment(std::string_view text, std::string_view what,
                                                    std::string_view form) {
  const auto eq = text.find('=');
  if (eq == std::string_view::npos || eq == 0) {
    throw Exception(std::string(what) + " \"" + std::string(text) + "\" is not of the form " +
                    std::string(form));
  }
  return {std::string(text.substr(0, eq)), std::string(text.substr(eq + 1))};
}

}  // namespace mx
