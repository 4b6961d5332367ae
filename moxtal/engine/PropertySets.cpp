#include "PropertySets.h"

namespace mx::engine {

TPropertySetValues::TPropertySetValues(std::string objectId, std::string name)
    : objectId_(std::move(objectId)), name_(std::move(name)) {
  AddIdentity();
}

// The class information lists this object's own values: each new value adds its property.
void TPropertySetValues::SetValue(const std::string& name, const std::string& value) {
  const bool known = values_.Find(name).has_value();
  values_.Set(name, value);
  if (known) return;
  TPropInfo p{name, TPropKind::pkString};
  p.Get = [key = name](const IPersistentObject& o) {
    return TPropValue(dynamic_cast<const TPropertySetValues&>(o).values_.Find(key).value_or(""));
  };
  p.Set = [key = name](IPersistentObject& o, const TPropValue& v) {
    dynamic_cast<TPropertySetValues&>(o).values_.Set(key, std::get<std::string>(v));
  };
  info_.Add(std::move(p));
}

void TPropertySetValues::AddIdentity() {
  const auto fixed = [](const char* name, std::string TPropertySetValues::*field) {
    TPropInfo p{name, TPropKind::pkString};
    p.Get = [field](const IPersistentObject& o) {
      return TPropValue(dynamic_cast<const TPropertySetValues&>(o).*field);
    };
    return p;
  };
  info_.Add(fixed("ObjectID", &TPropertySetValues::objectId_));
  info_.Add(fixed("Name", &TPropertySetValues::name_));
}

TMxPropertySet::TMxPropertySet(std::string name, std::string typeName)
    : name_(std::move(name)), typeName_(std::move(typeName)) {
  // The object identifier is derived from the name, so it is stable across loads.
  values_ = std::make_shared<TPropertySetValues>("{PS-" + name_ + "}", name_);
}

}  // namespace mx::engine
