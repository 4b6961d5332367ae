#pragma once
// Properties of objects by dotted path ("CompilerOpt.DebugInfo") and as JSON.

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <nlohmann/json_fwd.hpp>

#include "moxtal/api/Action.h"

namespace mx::engine {

/// Every property of an object as (path, text) pairs, descending into object properties:
/// "ProjectFile", ..., "CompilerOpt.DebugInfo". String lists give their lines joined by "\n";
/// line breaks inside a text show as "\r" and "\n".
std::vector<std::pair<std::string, std::string>> PropertyTexts(const IPersistentObject& object);

/// Sets a property by dotted path from its command-line text form, in which the two characters
/// "\n" separate the lines of a string list. Throws mx::Exception naming the path and problem.
void SetPropertyByPath(IPersistentObject& object, std::string_view path, std::string_view text);

/// An object's properties as JSON with natural types: Booleans, numbers, enumeration names,
/// sets as arrays of names, string lists as arrays of lines, object properties nested.
nlohmann::json PropertiesToJson(const IPersistentObject& object);

/// An action of a build script as JSON: class, name, enabled, description, properties, events.
nlohmann::json ActionToJson(const TCustomMxAction& action);

}  // namespace mx::engine
