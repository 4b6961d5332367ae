#include "moxtal/api/Reflection.h"

#include "platform/Conversions.h"
#include "platform/StrUtils.h"

namespace mx {

using namespace platform;

std::vector<const TPropInfo*> TClassInfo::Properties() const {
  std::vector<const TPropInfo*> all =
      parent_ ? parent_->Properties() : std::vector<const TPropInfo*>{};
  for (const auto& p : own_)
    all.push_back(&p);
  return all;
}

const TPropInfo* TClassInfo::FindProperty(std::string_view name) const {
  for (const auto& p : own_) {
    if (SameText(p.Name, name)) return &p;
  }
  return parent_ ? parent_->FindProperty(name) : nullptr;
}

bool TClassInfo::InheritsFrom(std::string_view className) const {
  for (const TClassInfo* c = this; c; c = c->parent_) {
    if (SameText(c->name_, className)) return true;
  }
  return false;
}

std::string PropValueToText(const TPropInfo& p, const TPropValue& v) {
  switch (p.Kind) {
    case TPropKind::pkBoolean:
      return BoolToStr(std::get<bool>(v));
    case TPropKind::pkInteger:
    case TPropKind::pkCardinal:
      return std::to_string(std::get<std::int64_t>(v));
    case TPropKind::pkString:
      return std::get<std::string>(v);
    case TPropKind::pkEnum:
      return p.Enum->Name(static_cast<int>(std::get<std::int64_t>(v)));
    case TPropKind::pkSet: {
      const auto bits = static_cast<std::uint32_t>(std::get<std::int64_t>(v));
      std::string text = "[";
      for (int i = 0; i < p.Enum->Count(); ++i) {
        if (bits & (std::uint32_t{1} << i)) {
          if (text.size() > 1) text += ",";
          text += p.Enum->Name(i);
        }
      }
      return text + "]";
    }
    case TPropKind::pkStringList: {
      TStringList lines;
      for (const auto& line : std::get<std::vector<std::string>>(v))
        lines.Add(line);
      return lines.Text();
    }
    case TPropKind::pkObject:
      break;
  }
  const auto& object = std::get<TObjectRef>(v);
  return object ? "(" + object->ClassInfo().Name() + ")" : "(none)";
}

TPropValue PropValueFromText(const TPropInfo& p, std::string_view text) {
  switch (p.Kind) {
    case TPropKind::pkBoolean:
      if (const auto value = TryStrToBool(text)) return *value;
      throw EConvertError("'" + std::string(text) + "' is not a Boolean value: give True or False");
    case TPropKind::pkInteger:
      return static_cast<std::int64_t>(StrToInt(text));
    case TPropKind::pkCardinal: {
      // Read as 64 bits, so "$FFFFFFFF" and "4294967295" both fit.
      const auto v = TryStrToInt64(text);
      if (!v || *v < 0 || *v > 0xFFFFFFFFLL) {
        throw EConvertError("'" + std::string(text) + "' is not a valid unsigned 32-bit value");
      }
      return *v;
    }
    case TPropKind::pkString:
      return std::string(text);
    case TPropKind::pkEnum: {
      const auto ordinal = p.Enum->Ordinal(Trim(text));
      if (!ordinal) {
        throw EConvertError("'" + std::string(text) + "' is not a valid " + p.Enum->TypeName() +
                            " value" + NamesHint(Trim(text), p.Enum->Names(), "its values"));
      }
      return static_cast<std::int64_t>(*ordinal);
    }
    case TPropKind::pkSet: {
      std::string body = Trim(text);
      if (!body.empty() && body.front() == '[') body.erase(0, 1);
      if (!body.empty() && body.back() == ']') body.pop_back();
      std::uint32_t bits = 0;
      std::size_t start = 0;
      while (start <= body.size()) {
        const auto comma = body.find(',', start);
        const std::string name = Trim(
            body.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
        if (!name.empty()) {
          const auto ordinal = p.Enum->Ordinal(name);
          if (!ordinal) {
            throw EConvertError("'" + name + "' is not a member of " + p.Enum->TypeName() +
                                " (in '" + std::string(text) + "')" +
                                NamesHint(name, p.Enum->Names(), "its members"));
          }
          bits |= std::uint32_t{1} << *ordinal;
        }
        if (comma == std::string::npos) break;
        start = comma + 1;
      }
      return static_cast<std::int64_t>(bits);
    }
    case TPropKind::pkStringList:
      return TStringList(text).Lines();
    case TPropKind::pkObject:
      break;
  }
  throw EPropertyError("Property '" + p.Name + "' is read-only");
}

std::vector<std::string> GetPropertyList(const IPersistentObject& object, bool includeUnstored) {
  std::vector<std::string> names;
  for (const TPropInfo* p : object.ClassInfo().Properties()) {
    if (includeUnstored || p->Stored) names.push_back(p->Name);
  }
  return names;
}

std::string UnknownPropertyMessage(const TClassInfo& cls, std::string_view name) {
  std::vector<std::string> names;
  for (const TPropInfo* p : cls.Properties())
    names.push_back(p->Name);
  return cls.Name() + " has no property '" + std::string(name) + "'" +
         NamesHint(name, names, "its properties");
}

const TPropInfo& GetPropInfo(const IPersistentObject& object, std::string_view name) {
  const TPropInfo* p = object.ClassInfo().FindProperty(name);
  if (!p) throw EPropertyError(UnknownPropertyMessage(object.ClassInfo(), name));
  return *p;
}

bool HasProperty(const IPersistentObject& object, std::string_view name) {
  return object.ClassInfo().FindProperty(name) != nullptr;
}

std::string GetPropAsString(const IPersistentObject& object, std::string_view name) {
  const TPropInfo& p = GetPropInfo(object, name);
  return PropValueToText(p, p.Get(object));
}

void SetPropAsString(IPersistentObject& object, std::string_view name, std::string_view text) {
  const TPropInfo& p = GetPropInfo(object, name);
  if (p.ReadOnly()) throw EPropertyError("Property '" + p.Name + "' is read-only");
  p.Set(object, PropValueFromText(p, text));
}

TPropValue GetPropValue(const IPersistentObject& object, std::string_view name) {
  const TPropInfo& p = GetPropInfo(object, name);
  return p.Get(object);
}

void SetPropValue(IPersistentObject& object, std::string_view name, const TPropValue& value) {
  const TPropInfo& p = GetPropInfo(object, name);
  if (p.ReadOnly()) throw EPropertyError("Property '" + p.Name + "' is read-only");
  p.Set(object, value);
}

}  // namespace mx
