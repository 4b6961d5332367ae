#pragma once

#include <memory>
#include <string>
#include <vector>

#include "moxtal/api/Services.h"
#include "moxtal/engine/Variables.h"

namespace mx::engine {

/// The value object of a property set: published properties "ObjectID" and "Name", then one
/// text property per value, in stored order.
class TPropertySetValues : public IPersistentObject {
 public:
  TPropertySetValues(std::string objectId, std::string name);
  const TClassInfo& ClassInfo() const override { return info_; }
  void SetValue(const std::string& name, const std::string& value);
  const TVariables& Values() const { return values_; }

 private:
  /// The two properties every set has first: its object identifier and its name.
  void AddIdentity();
  std::string objectId_;
  std::string name_;
  TVariables values_;
  TClassInfo info_{"TMxPropertySetValues", nullptr};
};

class TMxPropertySet : public IMxPropertySet {
 public:
  TMxPropertySet(std::string name, std::string typeName);
  std::string Name() const override { return name_; }
  std::string TypeName() const override { return typeName_; }
  std::shared_ptr<IPersistentObject> Values() override { return values_; }
  TPropertySetValues& ValueObject() { return *values_; }

 private:
  std::string name_;
  std::string typeName_;
  std::shared_ptr<TPropertySetValues> values_;
};

}  // namespace mx::engine
