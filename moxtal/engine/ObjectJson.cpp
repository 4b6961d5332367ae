#include "ObjectJson.h"

#include <nlohmann/json.hpp>

namespace mx::engine {

nlohmann::ordered_json PropertiesToJson(const IPersistentObject& object) {
  nlohmann::ordered_json out = nlohmann::ordered_json::object();
  for (const TPropInfo* p : object.ClassInfo().Properties()) {
    const TPropValue v = p->Get(object);
    switch (p->Kind) {
      case TPropKind::pkBoolean:
        out[p->Name] = std::get<bool>(v);
        break;
      case TPropKind::pkInteger:
      case TPropKind::pkCardinal:
        out[p->Name] = std::get<std::int64_t>(v);
        break;
      case TPropKind::pkString:
        out[p->Name] = std::get<std::string>(v);
        break;
      case TPropKind::pkEnum:
        out[p->Name] = p->Enum->Name(static_cast<int>(std::get<std::int64_t>(v)));
        break;
      case TPropKind::pkSet: {
        nlohmann::ordered_json members = nlohmann::ordered_json::array();
        const auto bits = static_cast<std::uint32_t>(std::get<std::int64_t>(v));
        for (int i = 0; i < p->Enum->Count(); ++i) {
          if (bits & (std::uint32_t{1} << i)) members.push_back(p->Enum->Name(i));
        }
        out[p->Name] = members;
        break;
      }
      case TPropKind::pkStringList:
        out[p->Name] = std::get<std::vector<std::string>>(v);
        break;
      case TPropKind::pkObject:
        if (const auto& child = std::get<TObjectRef>(v)) out[p->Name] = PropertiesToJson(*child);
        break;
    }
  }
  return out;
}

nlohmann::ordered_json ActionToJson(const TCustomMxAction& action) {
  nlohmann::ordered_json events = nlohmann::ordered_json::object();
  for (const auto& s : action.Scripts())
    events[s->Name()] = s->Text();
  return {{"class", action.ClassInfo().Name()},
          {"name", action.Name()},
          {"enabled", action.Enabled()},
          {"dependsOn", action.DependsOn()},
          {"description", action.GetFormattedDescription()},
          {"properties", PropertiesToJson(action)},
          {"events", events}};
}

}  // namespace mx::engine
