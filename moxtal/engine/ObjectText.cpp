#include "moxtal/api/ObjectText.h"

#include <nlohmann/json.hpp>

#include "moxtal/engine/ObjectJson.h"
#include "platform/StrUtils.h"

namespace mx {
namespace {

void Collect(const IPersistentObject& object, const std::string& prefix,
             std::vector<std::pair<std::string, std::string>>& out) {
  for (const TPropInfo* p : object.ClassInfo().Properties()) {
    const TPropValue v = p->Get(object);
    if (p->Kind == TPropKind::pkObject) {
      if (const auto& child = std::get<TObjectRef>(v)) Collect(*child, prefix + p->Name + ".", out);
      continue;
    }
    std::string text;
    if (p->Kind == TPropKind::pkStringList) {
      for (const auto& line : std::get<std::vector<std::string>>(v))
        text += (text.empty() ? "" : "\\n") + line;
    } else {
      // Line breaks inside a text show as \r and \n, so every property stays on one line.
      text = platform::ReplaceAll(platform::ReplaceAll(PropValueToText(*p, v), "\r", "\\r"), "\n",
                                  "\\n");
    }
    out.emplace_back(prefix + p->Name, text);
  }
}

}  // namespace

std::vector<std::pair<std::string, std::string>> PropertyTexts(const IPersistentObject& object) {
  std::vector<std::pair<std::string, std::string>> out;
  Collect(object, "", out);
  return out;
}

void SetPropertyByPath(IPersistentObject& object, std::string_view path, std::string_view text) {
  IPersistentObject* target = &object;
  TObjectRef holder;
  std::string_view rest = path;
  for (auto dot = rest.find('.'); dot != std::string_view::npos; dot = rest.find('.')) {
    const TPropInfo* p = target->ClassInfo().FindProperty(rest.substr(0, dot));
    if (!p || p->Kind != TPropKind::pkObject) {
      throw Exception(target->ClassInfo().Name() + " has no object property '" +
                      std::string(rest.substr(0, dot)) + "' (in " + std::string(path) + ")");
    }
    holder = std::get<TObjectRef>(p->Get(*target));
    if (!holder) throw Exception(std::string(path) + ": " + p->Name + " is not set");
    target = holder.get();
    rest.remove_prefix(dot + 1);
  }
  const TPropInfo& p = GetPropInfo(*target, rest);
  try {
    if (p.Kind == TPropKind::pkStringList) {
      SetPropAsString(*target, rest, platform::ReplaceAll(text, "\\n", "\r\n"));
    } else {
      SetPropAsString(*target, rest, text);
    }
  } catch (const Exception& e) {
    throw Exception(std::string(path) + ": " + e.what());
  }
}

std::string PropertiesToJsonText(const IPersistentObject& object, int indent) {
  return engine::PropertiesToJson(object).dump(indent);
}

}  // namespace mx
