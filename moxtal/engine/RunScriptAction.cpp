#include "RunScriptAction.h"

#include "moxtal/engine/BuildScript.h"
#include "moxtal/engine/Host.h"
#include "moxtal/engine/LuaEngine.h"
#include "platform/StrUtils.h"

namespace mx::engine {

const TClassInfo& TMxRunScriptAction::StaticClassInfo() {
  static const TClassInfo info = [] {
    TClassInfo c("TMxRunScriptAction", &TMxAction::StaticClassInfo());
    TClassBuilder<TMxRunScriptAction>(c).String("Script", &TMxRunScriptAction::GetScript,
                                                &TMxRunScriptAction::SetScript);
    return c;
  }();
  return info;
}

bool TMxRunScriptAction::Validate(IMxActionValidationError& errors) {
  if (platform::Trim(script_).empty()) {
    errors.AddError("Script", "The script is empty");
    return false;
  }
  return true;
}

bool TMxRunScriptAction::Execute() {
  auto* script = dynamic_cast<TBuildScript*>(&Context());
  TLuaEngine lua(
      script ? TVariableLookup([script](std::string_view n) { return script->LookupVariable(n); })
             : TVariableLookup(
                   [](std::string_view n) { return THost::Instance().LookupVariable(n); }));
  lua.SetPrint([this](const std::string& line) { SendMessage(line); });
  // A stop request that came before the run is not carried into it.
  stop_ = false;
  lua.SetStopFlag(&stop_);
  std::vector<std::pair<std::string, TScriptValue>> actions;
  if (script) {
    for (const auto& a : script->Actions())
      actions.emplace_back(a->Name(), TScriptObject{a.get(), a});
  }
  lua.SetGlobalTable("Actions", actions);
  try {
    lua.Run(script_, Name().empty() ? ClassActionName() : Name());
  } catch (const Exception& e) {
    SendMessage(std::string("Script error : ") + e.what());
    return false;
  }
  return true;
}

void RegisterHostActions() {
  RegisterXMLClasses({XMLClass<TMxRunScriptAction>()});
  MxActionServices().RegisterAction(ActionRegistration<TMxRunScriptAction>("Scripting", "SCRIPT"));
}

}  // namespace mx::engine
