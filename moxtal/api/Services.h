#pragma once
// The services the host offers to packages. A package reaches them through the functions at the
// end of this file; the host (moxtal/engine) implements them.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "moxtal/api/Pages.h"
#include "moxtal/api/Persistent.h"
#include "moxtal/api/Scripting.h"
#include "platform/Registry.h"

namespace mx {

class TCustomMxAction;

/// Expansion of host variables: "%NAME%" is replaced by the variable's value, "%%" by "%".
class IMxApplicationServices {
 public:
  virtual ~IMxApplicationServices() = default;
  /// With `strict` true an undefined variable throws an error naming it; with `strict` false
  /// an undefined "%NAME%" stays as it is.
  virtual std::string ExpandExpression(std::string_view text, bool strict) = 0;
};

/// A named property set of the build script, with a type name such as "Win32 Version Info".
class IMxPropertySet {
 public:
  virtual ~IMxPropertySet() = default;
  virtual std::string Name() const = 0;
  virtual std::string TypeName() const = 0;
  /// An object whose published properties are "ObjectID", "Name" and then the set's values,
  /// in stored order.
  virtual std::shared_ptr<IPersistentObject> Values() = 0;
};

/// Registration of an action class: its name and category as shown, its palette bitmap, and
/// how to create one.
struct TActionRegistration {
  std::string Name;
  std::string Category;
  const TClassInfo* Class = nullptr;
  std::string BitmapName;
  std::function<std::shared_ptr<TCustomMxAction>()> Create;
  /// The palette bitmap (the bytes of a .bmp file), "" when the package has none.
  std::string Bitmap;
};

class IMxActionServices {
 public:
  virtual ~IMxActionServices() = default;
  virtual void RegisterAction(TActionRegistration registration) = 0;
  virtual const std::vector<TActionRegistration>& RegisteredActions() const = 0;
  /// A registered action by class name or shown name (case-insensitive), or nullptr.
  virtual const TActionRegistration* FindAction(std::string_view classOrName) const = 0;

  /// Adds a property page for actions of `actionClass`; pages show in registration order.
  virtual void RegisterPropertyPage(const TClassInfo& actionClass, TPageClass page) = 0;
  /// The pages registered for the class of an action (those of its ancestors included).
  virtual std::vector<TPageClass> PropertyPages(const TClassInfo& actionClass) const = 0;
  virtual void RegisterPropertyEditor(TPropertyEditorRegistration editor) = 0;
  /// The property editors registered for the class of an action (and its ancestors).
  virtual std::vector<TPropertyEditorRegistration> PropertyEditors(
      const TClassInfo& actionClass) const = 0;
};

class IMxScriptingServices {
 public:
  virtual ~IMxScriptingServices() = default;
  /// Makes `method` callable by scripts on objects of `className` and its descendants.
  virtual void RegisterScriptMethod(const std::string& className, TScriptMethod method) = 0;
  /// Makes a named integer constant a global of every script.
  virtual void RegisterConstant(const std::string& name, std::int64_t value) = 0;
  virtual std::vector<TScriptMethod> ScriptMethods(const TClassInfo& cls) const = 0;
  virtual std::vector<std::pair<std::string, std::int64_t>> Constants() const = 0;
  /// An object as a script value; it must outlive the script run.
  virtual TScriptValue WrapObject(IPersistentObject& object) = 0;
  /// A string list as a script value, edited in place; it must outlive the script run.
  virtual TScriptValue WrapStrings(platform::TStringList& list) = 0;
};

class IMxPackageServices {
 public:
  virtual ~IMxPackageServices() = default;
  /// Publishes a host variable (a later value for the same name replaces the earlier one).
  virtual void SetVariable(const std::string& name, const std::string& value) = 0;
  /// The registry the host is configured with (a registry file, or the Windows registry).
  virtual std::shared_ptr<platform::IRegistry> Registry() = 0;
  /// Where that registry is, for messages: the registry file's name, "the Wine prefix DIR",
  /// "the Windows registry", or "none" with what to give instead.
  virtual std::string RegistryName() = 0;
  /// The host option that asks packages to import the C++Builder 6 environment variables.
  virtual bool ReadBCB6Vars() = 0;
  /// The folder of the host's executable, where data files of packages live.
  virtual std::string HostFolder() = 0;
};

IMxActionServices& MxActionServices();
IMxScriptingServices& MxScriptingServices();

/// Makes every value of enumeration E a script constant holding its ordinal, in order.
template <class E>
void RegisterEnumConstants() {
  const TEnumInfo& info = EnumInfoOf(E{});
  for (int i = 0; i < info.Count(); ++i)
    MxScriptingServices().RegisterConstant(info.Name(i), i);
}

IMxPackageServices& MxPackageServices();
/// The design-time expansion service (host and package variables, no build script).
IMxApplicationServices& MxDesignApplicationServices();

}  // namespace mx
