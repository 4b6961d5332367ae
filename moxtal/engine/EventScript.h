#pragma once

#include "moxtal/api/Action.h"
#include "moxtal/engine/Variables.h"

namespace mx::engine {

/// Runs an event script of an action: its parameters become globals, written-back ones are
/// read back afterwards, `print` goes to the action's build log. Throws mx::Exception
/// "<script>:<line>: <message>" when the script fails.
void RunEventScript(TCustomMxAction& action, TMxScript& script, const TVariableLookup& lookup);

}  // namespace mx::engine
