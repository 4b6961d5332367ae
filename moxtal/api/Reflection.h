#pragma once
// Published properties, declared once per class. A class lists its properties in declaration
// order, each with its name, kind and accessors; that one table drives saving and loading,
// GetPropAsString/SetPropAsString, script access and JSON output.
//
// Text forms: "True"/"False", decimal integers, enumeration value names, sets as "[a,b]" in
// ordinal order ("[]" when empty), string lists as their lines (CR LF after each).

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <variant>
#include <vector>

#include "moxtal/api/MxTypes.h"
#include "platform/Exception.h"
#include "platform/StringList.h"

namespace mx {

class IPersistentObject;
using TObjectRef = std::shared_ptr<IPersistentObject>;

enum class TPropKind : std::uint8_t {
  pkBoolean,
  pkInteger,   // 32-bit signed
  pkCardinal,  // 32-bit unsigned
  pkString,
  pkEnum,
  pkSet,
  pkStringList,
  pkObject,  // a child object offered to scripts; read-only and not stored
};

/// A property value: Boolean, integer (also enumeration ordinals and set bits), text, the lines
/// of a string list, or an object.
using TPropValue =
    std::variant<bool, std::int64_t, std::string, std::vector<std::string>, TObjectRef>;

/// A property that does not exist or cannot take a value.
class EPropertyError : public Exception {
 public:
  using Exception::Exception;
};

struct TPropInfo {
  TPropInfo(std::string name, TPropKind kind, const TEnumInfo* enumInfo = nullptr)
      : Name(std::move(name)), Kind(kind), Enum(enumInfo) {}

  std::string Name;
  TPropKind Kind = TPropKind::pkString;
  const TEnumInfo* Enum = nullptr;  // enumerations and sets
  bool Stored = true;
  std::function<TPropValue(const IPersistentObject&)> Get;
  std::function<void(IPersistentObject&, const TPropValue&)> Set;  // empty when read-only
  /// String lists only: the object's own list, for scripts that edit it in place.
  std::function<platform::TStringList*(IPersistentObject&)> List;

  bool ReadOnly() const { return !Set; }
};

/// A class's name, its parent and its own published properties.
class TClassInfo {
 public:
  TClassInfo(std::string name, const TClassInfo* parent)
      : name_(std::move(name)), parent_(parent) {}
  const std::string& Name() const { return name_; }
  const TClassInfo* Parent() const { return parent_; }
  /// Every published property, the parent's first, each class's in declaration order.
  std::vector<const TPropInfo*> Properties() const;
  /// A property by name, compared without regard to letter case; nullptr when absent.
  const TPropInfo* FindProperty(std::string_view name) const;
  /// True for this class and every class derived from `className`.
  bool InheritsFrom(std::string_view className) const;
  void Add(TPropInfo property) { own_.push_back(std::move(property)); }

 private:
  std::string name_;
  const TClassInfo* parent_;
  std::vector<TPropInfo> own_;
};

/// Every object whose published properties the host can see.
class IPersistentObject {
 public:
  virtual ~IPersistentObject() = default;
  virtual const TClassInfo& ClassInfo() const = 0;
};

/// The text form of a value of a property.
std::string PropValueToText(const TPropInfo& property, const TPropValue& value);
/// A value of a property from its text form; throws EConvertError or EPropertyError with a
/// message naming the text and what it should have been.
TPropValue PropValueFromText(const TPropInfo& property, std::string_view text);

/// "CLASS has no property 'NAME'", with the nearest name and the class's properties.
std::string UnknownPropertyMessage(const TClassInfo& cls, std::string_view name);

/// The names of the object's published properties, in order; with `includeUnstored` false,
/// only those the host stores.
std::vector<std::string> GetPropertyList(const IPersistentObject& object, bool includeUnstored);
/// A property by name, or throws EPropertyError "<class> has no property '<name>'".
const TPropInfo& GetPropInfo(const IPersistentObject& object, std::string_view name);
bool HasProperty(const IPersistentObject& object, std::string_view name);
std::string GetPropAsString(const IPersistentObject& object, std::string_view name);
void SetPropAsString(IPersistentObject& object, std::string_view name, std::string_view text);
TPropValue GetPropValue(const IPersistentObject& object, std::string_view name);
void SetPropValue(IPersistentObject& object, std::string_view name, const TPropValue& value);

/// Fills a TClassInfo from member accessors of T: getters are const member functions (or any
/// callable on const T&), setters take the value.
template <class T>
class TClassBuilder {
 public:
  explicit TClassBuilder(TClassInfo& info) : info_(info) {}

  template <class G, class S>
  TClassBuilder& Boolean(const char* name, G get, S set) {
    return Scalar(name, TPropKind::pkBoolean, get, set);
  }
  template <class G, class S>
  TClassBuilder& Integer(const char* name, G get, S set) {
    return Scalar(name, TPropKind::pkInteger, get, set);
  }
  template <class G, class S>
  TClassBuilder& Cardinal(const char* name, G get, S set) {
    return Scalar(name, TPropKind::pkCardinal, get, set);
  }
  template <class G, class S>
  TClassBuilder& String(const char* name, G get, S set) {
    TPropInfo p{name, TPropKind::pkString};
    p.Get = [get](const IPersistentObject& o) {
      return TPropValue(std::string(std::invoke(get, Self(o))));
    };
    p.Set = [set](IPersistentObject& o, const TPropValue& v) {
      std::invoke(set, Self(o), std::get<std::string>(v));
    };
    info_.Add(std::move(p));
    return *this;
  }
  template <class G, class S>
  TClassBuilder& Enum(const char* name, G get, S set) {
    using E = std::decay_t<std::invoke_result_t<G, const T&>>;
    TPropInfo p{name, TPropKind::pkEnum, &EnumInfoOf(E{})};
    p.Get = [get](const IPersistentObject& o) {
      return TPropValue(static_cast<std::int64_t>(std::invoke(get, Self(o))));
    };
    p.Set = [set](IPersistentObject& o, const TPropValue& v) {
      std::invoke(set, Self(o), static_cast<E>(std::get<std::int64_t>(v)));
    };
    info_.Add(std::move(p));
    return *this;
  }
  template <class G, class S>
  TClassBuilder& Set(const char* name, G get, S set) {
    using SetType = std::decay_t<std::invoke_result_t<G, const T&>>;
    using E = decltype(ElementOf(SetType{}));
    TPropInfo p{name, TPropKind::pkSet, &EnumInfoOf(E{})};
    p.Get = [get](const IPersistentObject& o) {
      return TPropValue(static_cast<std::int64_t>(std::invoke(get, Self(o)).Bits()));
    };
    p.Set = [set](IPersistentObject& o, const TPropValue& v) {
      std::invoke(set, Self(o),
                  SetType::FromBits(static_cast<std::uint32_t>(std::get<std::int64_t>(v))));
    };
    info_.Add(std::move(p));
    return *this;
  }
  /// `get` returns the object's own list (a reference); `set` copies the lines of a list.
  template <class G, class S>
  TClassBuilder& StringList(const char* name, G get, S set) {
    TPropInfo p{name, TPropKind::pkStringList};
    p.Get = [get](const IPersistentObject& o) {
      return TPropValue(std::invoke(get, const_cast<T&>(Self(o))).Lines());
    };
    p.Set = [set](IPersistentObject& o, const TPropValue& v) {
      platform::TStringList lines;
      for (const auto& line : std::get<std::vector<std::string>>(v))
        lines.Add(line);
      std::invoke(set, Self(o), lines);
    };
    p.List = [get](IPersistentObject& o) -> platform::TStringList* {
      return &std::invoke(get, Self(o));
    };
    info_.Add(std::move(p));
    return *this;
  }
  /// A read-only, unstored view of a child object for scripts.
  template <class G>
  TClassBuilder& Object(const char* name, G get) {
    TPropInfo p{name, TPropKind::pkObject};
    p.Stored = false;
    p.Get = [get](const IPersistentObject& o) {
      return TPropValue(std::dynamic_pointer_cast<IPersistentObject>(std::invoke(get, Self(o))));
    };
    info_.Add(std::move(p));
    return *this;
  }

 private:
  template <class E>
  static E ElementOf(TSet<E>);

  static const T& Self(const IPersistentObject& o) { return dynamic_cast<const T&>(o); }
  static T& Self(IPersistentObject& o) { return dynamic_cast<T&>(o); }

  template <class G, class S>
  TClassBuilder& Scalar(const char* name, TPropKind kind, G get, S set) {
    TPropInfo p{name, kind};
    p.Get = [get](const IPersistentObject& o) {
      if constexpr (std::is_same_v<std::decay_t<std::invoke_result_t<G, const T&>>, bool>) {
        return TPropValue(static_cast<bool>(std::invoke(get, Self(o))));
      } else {
        return TPropValue(static_cast<std::int64_t>(std::invoke(get, Self(o))));
      }
    };
    p.Set = [set, kind](IPersistentObject& o, const TPropValue& v) {
      using Arg = std::decay_t<std::invoke_result_t<G, const T&>>;
      if (kind == TPropKind::pkBoolean) {
        std::invoke(set, Self(o), static_cast<Arg>(std::get<bool>(v)));
      } else {
        std::invoke(set, Self(o), static_cast<Arg>(std::get<std::int64_t>(v)));
      }
    };
    info_.Add(std::move(p));
    return *this;
  }

  TClassInfo& info_;
};

}  // namespace mx
