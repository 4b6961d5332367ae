#pragma once
// The pages of an action as JSON: what the headless editor prints and what tests and other
// front ends read.

#include <nlohmann/json_fwd.hpp>

#include "moxtal/engine/PageDialog.h"

namespace mx::engine {

/// One control with its kind, name, caption, hint, enabled and visible flags, its value and,
/// for containers, its controls.
nlohmann::ordered_json ControlToJson(const TControl& control);

/// {"action", "class", "pages": [{"caption", "class", "visible", "controls"}]}.
nlohmann::ordered_json PagesToJson(TPageDialog& dialog);

}  // namespace mx::engine
