#pragma once
// Properties of objects by dotted path ("CompilerOpt.DebugInfo") and as JSON.

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <nlohmann/json_fwd.hpp>

#include "moxtal/api/Action.h"
#include "moxtal/api/ObjectText.h"

namespace mx::engine {

/// An object's properties as JSON with natural types: Booleans, numbers, enumeration names,
/// sets as arrays of names, string lists as arrays of lines, object properties nested.
nlohmann::ordered_json PropertiesToJson(const IPersistentObject& object);

/// An action of a build script as JSON: class, name, enabled, description, properties, events.
nlohmann::ordered_json ActionToJson(const TCustomMxAction& action);

}  // namespace mx::engine
