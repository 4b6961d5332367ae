#pragma once

#include <atomic>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "moxtal/api/Scripting.h"
#include "moxtal/engine/Variables.h"

struct lua_State;

namespace mx::engine {

/// One Lua 5.4 state with the host's vocabulary: the constants packages registered are globals,
/// wrapped objects expose their published properties and script methods, wrapped string lists
/// offer Count, Add, Insert, Delete, IndexOf, Clear, Text and 0-based indexed access, and
/// Expand("text") expands host variables.
class TLuaEngine {
 public:
  explicit TLuaEngine(TVariableLookup lookup);
  ~TLuaEngine();
  TLuaEngine(const TLuaEngine&) = delete;
  TLuaEngine& operator=(const TLuaEngine&) = delete;

  /// While `*stop` is true a running script ends with the error "Terminated by user".
  void SetStopFlag(const std::atomic<bool>* stop);
  /// Where print() sends its line.
  void SetPrint(std::function<void(const std::string&)> print);
  void SetGlobal(const std::string& name, const TScriptValue& value);
  /// A global as a host value (tables become nil).
  TScriptValue GetGlobal(const std::string& name);
  /// A global table of name = value pairs.
  void SetGlobalTable(const std::string& name,
                      const std::vector<std::pair<std::string, TScriptValue>>& entries);
  /// Runs Lua source; throws mx::Exception with Lua's message ("<chunk>:<line>: <message>").
  void Run(std::string_view source, const std::string& chunkName);

  lua_State* State() { return L_; }

 private:
  lua_State* L_;
};

}  // namespace mx::engine
