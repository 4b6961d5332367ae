#pragma once
// The text of a build script: what a script stores, written as a whole for a new file, or edited
// into the text it was loaded from so that only what changed changes.

#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "moxtal/api/Persistent.h"

namespace mx::engine {

/// The root element of a build script file.
inline constexpr const char* kBuildScriptRoot = "BuildScript";

/// A stored property value: the text form, or the lines of a string list.
using TStoredValue = std::variant<std::string, std::vector<std::string>>;

struct TStoredObject {
  std::string Class;
  std::vector<std::pair<std::string, TStoredValue>> Properties;
  std::vector<TStoredObject> Children;
};

struct TStoredAction {
  std::string Name;
  bool Enabled = true;
  /// The actions it depends on, by name: a <DependsOn action="..."/> element each.
  std::vector<std::string> DependsOn;
  TStoredObject Object;
  /// Event scripts that have text, by name.
  std::vector<std::pair<std::string, std::string>> Events;
};

struct TStoredPropertySet {
  std::string Name;
  std::string Type;
  std::vector<std::pair<std::string, std::string>> Values;
};

/// Everything a build script stores, in its order.
struct TStoredScript {
  std::vector<std::pair<std::string, std::string>> Variables;
  std::vector<TStoredPropertySet> PropertySets;
  std::vector<TStoredAction> Actions;
};

/// Throws mx::Exception "<where>: <problem>; a build script cannot store it" when `text` holds
/// bytes that are not UTF-8 or characters XML does not allow.
void CheckStorableText(std::string_view text, const std::string& where);

/// What an object stores: every stored property, then its child objects. Throws mx::Exception
/// naming the property when a text cannot be stored in a build script (bytes that are not
/// UTF-8, control characters); `where` says whose object it is.
TStoredObject StoreObject(const IQlXMLObject& object, const std::string& where);

/// The whole text of a new build script.
std::string WriteScriptText(const TStoredScript& script);

/// The text a script was loaded from, edited from what it stored then (`loaded`) to what it
/// stores now (`current`): changed values are replaced where they stand, new elements are
/// added after their siblings with their indentation, removed ones go with their line; every
/// other byte (comments, blank lines, quoting, attribute order, line ends) stays as it was.
/// `current` holds the loaded actions first, in their order.
std::string EditScriptText(std::string_view source, const TStoredScript& loaded,
                           const TStoredScript& current);

}  // namespace mx::engine
