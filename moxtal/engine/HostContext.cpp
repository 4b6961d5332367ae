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

std::uint64_t THostContext::BeginLog(const TCustomMxAction& action) {
  return THost::Instance().Log().Begin(action.Name(), action.GetActionName());
}

void THostContext::LogLine(std::uint64_t entry, std::string_view line) {
  THost::Instance().Log().Line(entry, line);
}

void THostContext::LogLine(std::uint64_t entry, std::string_view line,
                           const TDiagnostics& diagnostics) {
  THost::Instance().Log().Line(entry, line, diagnostics);
}

void THostContext::EndLog(std::uint64_t entry) {
  THost::Instance().Log().End(entry);
}

const TToolSetup& THostContext::ToolSetup() {
  return THost::Instance().ToolSetup();
}

std::string THostContext::BaseFolder() {
  return platform::machinepath::CurrentFolder();
}

void THostContext::ExecuteScript(TCustomMxAction& action, TMxScript& script) {
  RunEventScript(action, script, HostVariables());
}

}  // namespace mx::engine
