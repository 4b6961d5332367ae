#pragma once
// Published properties as text for people and tools: one line per property, JSON, and setting
// a property by its dotted path. The host implements these; packages use them in commands.

#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "moxtal/api/Reflection.h"

namespace mx {

/// Every property of an object as (path, text) pairs, descending into object properties:
/// "ProjectFile", ..., "CompilerOpt.DebugInfo". String lists give their lines joined by "\n";
/// line breaks inside a text show as "\r" and "\n".
std::vector<std::pair<std::string, std::string>> PropertyTexts(const IPersistentObject& object);

/// Sets a property by dotted path from its command-line text form, in which the two characters
/// "\n" separate the lines of a string list. Throws mx::Exception naming the path and problem.
void SetPropertyByPath(IPersistentObject& object, std::string_view path, std::string_view text);

/// An object's properties as JSON text with natural types: Booleans, numbers, enumeration
/// names, sets as arrays of names, string lists as arrays of lines, object properties nested.
std::string PropertiesToJsonText(const IPersistentObject& object, int indent);

}  // namespace mx
