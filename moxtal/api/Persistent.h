#pragma once
// Persistable objects: what the host saves with a build script and re-creates by class name.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "moxtal/api/Reflection.h"

namespace mx {

/// An object the host stores with its published properties and child objects.
class IQlXMLObject : public virtual IPersistentObject {
 public:
  /// The child objects to store with this one, in order.
  virtual std::vector<std::shared_ptr<IQlXMLObject>> GetChildren() const = 0;
  /// Called by the host for each child object it loads.
  virtual void AddChildObject(std::shared_ptr<IQlXMLObject> child) = 0;
};

/// Base class of persistable objects: no properties and no children of its own.
class TQlXMLObject : public virtual IQlXMLObject,
                     public std::enable_shared_from_this<TQlXMLObject> {
 public:
  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }
  std::vector<std::shared_ptr<IQlXMLObject>> GetChildren() const override { return {}; }
  void AddChildObject(std::shared_ptr<IQlXMLObject>) override {}
};

/// How the host re-creates a class it finds in a saved script.
struct TXMLClass {
  const TClassInfo* Info;
  std::function<std::shared_ptr<IQlXMLObject>()> Create;
};

/// The registration of class T, created with its default constructor.
template <class T>
TXMLClass XMLClass() {
  return TXMLClass{&T::StaticClassInfo(),
                   [] { return std::static_pointer_cast<IQlXMLObject>(std::make_shared<T>()); }};
}

/// Makes classes known to the host's persistence so that saved objects can be re-created.
void RegisterXMLClasses(const std::vector<TXMLClass>& classes);
/// A new object of a registered class (name compared without regard to case), or nullptr.
std::shared_ptr<IQlXMLObject> CreateXMLObject(std::string_view className);

}  // namespace mx
