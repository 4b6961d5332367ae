#pragma once
// Where actions outside any build script live: the host's variables, its build log, no
// property sets.

#include "moxtal/api/Action.h"

namespace mx::engine {

class THostContext : public IMxActionContext {
 public:
  std::string ExpandExpression(std::string_view text, bool strict) override;
  std::uint64_t BeginLog(const TCustomMxAction& action) override;
  void LogLine(std::uint64_t entry, std::string_view line) override;
  void LogLine(std::uint64_t entry, std::string_view line,
               const TDiagnostics& diagnostics) override;
  void EndLog(std::uint64_t entry) override;
  std::shared_ptr<IMxPropertySet> FindPropertySet(std::string_view) override { return nullptr; }
  void ExecuteScript(TCustomMxAction& action, TMxScript& script) override;
  std::string BaseFolder() override;
  const TToolSetup& ToolSetup() override;
};

}  // namespace mx::engine
