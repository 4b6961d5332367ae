#pragma once

#include <atomic>

#include "moxtal/api/Action.h"
#include "moxtal/engine/Variables.h"

namespace mx::engine {

/// Runs an event script of an action: its parameters become globals, written-back ones are
/// read back afterwards, `print` goes to the action's build log; while `*stop` is true the script
/// ends with "Terminated by user". Throws mx::Exception "<script>:<line>: <message>" when the
/// script fails.
void RunEventScript(TCustomMxAction& action, TMxScript& script, const TVariableLookup& lookup,
                    const std::atomic<bool>* stop = nullptr);

}  // namespace mx::engine
