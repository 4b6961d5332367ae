#include "EventScript.h"

#include "moxtal/engine/LuaEngine.h"

namespace mx::engine {

void RunEventScript(TCustomMxAction& action, TMxScript& script, const TVariableLookup& lookup,
                    const std::atomic<bool>* stop) {
  TLuaEngine lua(lookup);
  lua.SetStopFlag(stop);
  lua.SetPrint([&action](const std::string& line) { action.SendMessage(line); });
  for (const auto& p : script.Params())
    lua.SetGlobal(p.Name, p.Value);
  lua.Run(script.Text(), script.Name());
  for (auto& p : script.Params()) {
    if (p.WrittenBack) p.Value = lua.GetGlobal(p.Name);
  }
}

}  // namespace mx::engine
