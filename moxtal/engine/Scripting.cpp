#include "moxtal/api/Scripting.h"

#include "platform/Conversions.h"
#include "platform/StrUtils.h"

namespace mx {

TMxScriptParam* TMxScript::FindParam(std::string_view name) {
  for (auto& p : params_) {
    if (platform::SameText(p.Name, name)) return &p;
  }
  return nullptr;
}

void TMxScript::SetParam(std::string_view name, TScriptValue value) {
  TMxScriptParam* p = FindParam(name);
  if (!p) throw Exception("Script " + name_ + " has no parameter '" + std::string(name) + "'");
  p->Value = std::move(value);
}

TScriptValue TMxScript::GetParam(std::string_view name) {
  TMxScriptParam* p = FindParam(name);
  return p ? p->Value : TScriptValue{};
}

bool ScriptValueToBool(const TScriptValue& v) {
  if (const auto* b = std::get_if<bool>(&v)) return *b;
  if (const auto* i = std::get_if<std::int64_t>(&v)) return *i != 0;
  if (const auto* d = std::get_if<double>(&v)) return *d != 0.0;
  if (const auto* s = std::get_if<std::string>(&v)) return platform::StrToBoolDef(*s, false);
  return !std::holds_alternative<std::monostate>(v);
}

std::string ScriptValueToString(const TScriptValue& v) {
  if (const auto* b = std::get_if<bool>(&v)) return platform::BoolToStr(*b);
  if (const auto* i = std::get_if<std::int64_t>(&v)) return std::to_string(*i);
  if (const auto* d = std::get_if<double>(&v)) return std::to_string(*d);
  if (const auto* s = std::get_if<std::string>(&v)) return *s;
  if (const auto* l = std::get_if<TScriptStrings>(&v))
    return l->List ? l->List->Text() : std::string();
  if (const auto* o = std::get_if<TScriptObject>(&v))
    return o->Object ? o->Object->ClassInfo().Name() : std::string();
  return {};
}

}  // namespace mx
