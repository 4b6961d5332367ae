#pragma once
// Values, methods and event scripts of the host's scripting engine (Lua).

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "moxtal/api/Reflection.h"
#include "platform/StringList.h"

namespace mx {

/// An object handed to a script. `KeepAlive` holds shared ownership when the object may
/// outlive the call that wrapped it; otherwise the object must outlive the script run.
struct TScriptObject {
  IPersistentObject* Object = nullptr;
  std::shared_ptr<void> KeepAlive;
};

/// A string list handed to a script, edited in place.
struct TScriptStrings {
  platform::TStringList* List = nullptr;
  std::shared_ptr<void> KeepAlive;
};

/// A value passed between the host and a script: nil, Boolean, integer, number, text, an
/// object or a string list.
using TScriptValue = std::variant<std::monostate, bool, std::int64_t, double, std::string,
                                  TScriptObject, TScriptStrings>;

/// The declared type of a script method's parameter or result.
enum class TScriptType : std::uint8_t {
  stNone,
  stBoolean,
  stInteger,
  stNumber,
  stWideString,
  stObject
};

struct TScriptParamDecl {
  std::string Name;
  TScriptType Type = TScriptType::stWideString;
};

/// A method that scripts can call on objects of one class (and its descendants).
struct TScriptMethod {
  std::string Name;
  std::string Signature;  // for people: "SetVersionInfoKey(name, Value: WideString)"
  std::vector<TScriptParamDecl> Params;
  TScriptType Result = TScriptType::stNone;
  std::function<TScriptValue(IPersistentObject& self, const std::vector<TScriptValue>& args)> Call;
};

/// One parameter of an event script. `WrittenBack` parameters are read back after the run.
struct TMxScriptParam {
  std::string Name;
  bool WrittenBack = false;
  TScriptValue Value;
};

/// An event script of an action: its Lua source and its declared parameters.
class TMxScript {
 public:
  explicit TMxScript(std::string name) : name_(std::move(name)) {}
  const std::string& Name() const { return name_; }
  const std::string& Text() const { return text_; }
  void SetText(std::string text) { text_ = std::move(text); }

  const std::vector<TMxScriptParam>& Params() const { return params_; }
  std::vector<TMxScriptParam>& Params() { return params_; }
  void ClearParams() { params_.clear(); }
  /// Declares a parameter (at the end of the list).
  void AddParam(std::string name, bool writtenBack) {
    params_.push_back({std::move(name), writtenBack, {}});
  }
  /// The parameter of that name (case-insensitive), or nullptr.
  TMxScriptParam* FindParam(std::string_view name);
  /// Sets a declared parameter's value; throws mx::Exception for an undeclared one.
  void SetParam(std::string_view name, TScriptValue value);
  /// A parameter's value (nil for an undeclared one).
  TScriptValue GetParam(std::string_view name);

 private:
  std::string name_;
  std::string text_;
  std::vector<TMxScriptParam> params_;
};

/// A value as Boolean the way scripts mean it: nil and false are false, numbers are true when
/// not zero, texts go through the text-to-Boolean rule.
bool ScriptValueToBool(const TScriptValue& value);
/// A value as text ("" for nil).
std::string ScriptValueToString(const TScriptValue& value);

}  // namespace mx
