#include "HostContext.h"

#include "moxtal/engine/EventScript.h"
#include "moxtal/engine/Host.h"
#include "platform/FileNames.h"

namespace mx::engine {
namespace {

TVariableLookup HostVariables() {
  return [](std::string_view name) { return THost::Instance().LookupVariable(name); };
}

}  // namespace

std::string THostContext::ExpandExpression(std::string_view text, bool strict) {
  return ExpandVariables(text, HostVariables(), strict);
}

void THostContext::Log(const TCustomMxAction& action, const std::vector<std::string>& lines) {
  THost::Instance().Log().Write(action.Name(), lines);
}

std::string THostContext::BaseFolder() {
  return platform::machinepath::CurrentFolder();
}

void THostContext::ExecuteScript(TCustomMxAction& action, TMxScript& script) {
  RunEventScript(action, script, HostVariables());
}

}  // namespace mx::engine
