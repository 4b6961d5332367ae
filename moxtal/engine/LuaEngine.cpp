#include "LuaEngine.h"

#include <lua.hpp>

#include <memory>

#include "moxtal/api/Services.h"
#include "platform/Exception.h"
#include "platform/XmlWriter.h"

namespace mx::engine {
namespace {

constexpr const char* kObjectType = "mx.object";
constexpr const char* kStringsType = "mx.strings";
constexpr const char* kPrintKey = "mx.print";
constexpr const char* kLookupKey = "mx.lookup";

// C++ exceptions must not cross Lua's C frames: run the body, turn an exception into a Lua
// error raised after every C++ object of the body is gone.
template <class F>
int Guarded(lua_State* L, F body) {
  bool failed = false;
  try {
    return body();
  } catch (const std::exception& e) {
    // Like luaL_error: the script's chunk and line first.
    luaL_where(L, 1);
    lua_pushstring(L, e.what());
    lua_concat(L, 2);
    failed = true;
  }
  return failed ? lua_error(L) : 0;
}

struct TObjectBox {
  IPersistentObject* Object;
  std::shared_ptr<void> KeepAlive;
};

struct TStringsBox {
  platform::TStringList* List;
  std::shared_ptr<void> KeepAlive;
};

void PushValue(lua_State* L, const TScriptValue& v);

void PushObject(lua_State* L, IPersistentObject* object, std::shared_ptr<void> keepAlive) {
  if (!object) {
    lua_pushnil(L);
    return;
  }
  void* memory = lua_newuserdatauv(L, sizeof(TObjectBox), 0);
  new (memory) TObjectBox{object, std::move(keepAlive)};
  luaL_setmetatable(L, kObjectType);
}

void PushStrings(lua_State* L, platform::TStringList* list, std::shared_ptr<void> keepAlive) {
  if (!list) {
    lua_pushnil(L);
    return;
  }
  void* memory = lua_newuserdatauv(L, sizeof(TStringsBox), 0);
  new (memory) TStringsBox{list, std::move(keepAlive)};
  luaL_setmetatable(L, kStringsType);
}

void PushValue(lua_State* L, const TScriptValue& v) {
  if (const auto* b = std::get_if<bool>(&v)) {
    lua_pushboolean(L, *b);
  } else if (const auto* i = std::get_if<std::int64_t>(&v)) {
    lua_pushinteger(L, *i);
  } else if (const auto* d = std::get_if<double>(&v)) {
    lua_pushnumber(L, *d);
  } else if (const auto* s = std::get_if<std::string>(&v)) {
    lua_pushlstring(L, s->data(), s->size());
  } else if (const auto* o = std::get_if<TScriptObject>(&v)) {
    PushObject(L, o->Object, o->KeepAlive);
  } else if (const auto* l = std::get_if<TScriptStrings>(&v)) {
    PushStrings(L, l->List, l->KeepAlive);
  } else {
    lua_pushnil(L);
  }
}

TScriptValue ToValue(lua_State* L, int index) {
  switch (lua_type(L, index)) {
    case LUA_TBOOLEAN:
      return static_cast<bool>(lua_toboolean(L, index));
    case LUA_TNUMBER:
      if (lua_isinteger(L, index)) return static_cast<std::int64_t>(lua_tointeger(L, index));
      return lua_tonumber(L, index);
    case LUA_TSTRING: {
      std::size_t n = 0;
      const char* s = lua_tolstring(L, index, &n);
      return std::string(s, n);
    }
    case LUA_TUSERDATA:
      if (auto* o = static_cast<TObjectBox*>(luaL_testudata(L, index, kObjectType))) {
        return TScriptObject{o->Object, o->KeepAlive};
      }
      if (auto* l = static_cast<TStringsBox*>(luaL_testudata(L, index, kStringsType))) {
        return TScriptStrings{l->List, l->KeepAlive};
      }
      return {};
    default:
      return {};
  }
}

std::string ToText(lua_State* L, int index) {
  std::size_t n = 0;
  const char* s = luaL_tolstring(L, index, &n);
  std::string text(s, n);
  lua_pop(L, 1);
  return text;
}

// Property values go to Lua as booleans, integers (enumerations as ordinals), strings, tables
// of ordinals (sets), live string lists and objects.
void PushProperty(lua_State* L, TObjectBox& box, const TPropInfo& p) {
  const TPropValue v = p.Get(*box.Object);
  switch (p.Kind) {
    case TPropKind::pkBoolean:
      lua_pushboolean(L, std::get<bool>(v));
      return;
    case TPropKind::pkInteger:
    case TPropKind::pkCardinal:
    case TPropKind::pkEnum:
      lua_pushinteger(L, std::get<std::int64_t>(v));
      return;
    case TPropKind::pkString: {
      const auto& s = std::get<std::string>(v);
      lua_pushlstring(L, s.data(), s.size());
      return;
    }
    case TPropKind::pkSet: {
      const auto bits = static_cast<std::uint32_t>(std::get<std::int64_t>(v));
      lua_newtable(L);
      lua_Integer n = 0;
      for (int i = 0; i < 32; ++i) {
        if (bits & (std::uint32_t{1} << i)) {
          lua_pushinteger(L, i);
          lua_rawseti(L, -2, ++n);
        }
      }
      return;
    }
    case TPropKind::pkStringList:
      PushStrings(L, p.List(*box.Object), box.KeepAlive);
      return;
    case TPropKind::pkObject: {
      const auto& object = std::get<TObjectRef>(v);
      PushObject(L, object.get(), object);
      return;
    }
  }
}

TPropValue PropertyFromLua(lua_State* L, const TPropInfo& p, int index) {
  switch (p.Kind) {
    case TPropKind::pkBoolean:
      return static_cast<bool>(lua_toboolean(L, index));
    case TPropKind::pkInteger:
    case TPropKind::pkCardinal:
    case TPropKind::pkEnum:
      if (lua_type(L, index) == LUA_TSTRING) return PropValueFromText(p, ToText(L, index));
      if (!lua_isinteger(L, index)) throw Exception("property " + p.Name + " takes an integer");
      return static_cast<std::int64_t>(lua_tointeger(L, index));
    case TPropKind::pkString:
      return ToText(L, index);
    case TPropKind::pkSet: {
      if (lua_isinteger(L, index)) return static_cast<std::int64_t>(lua_tointeger(L, index));
      if (!lua_istable(L, index))
        throw Exception("property " + p.Name + " takes a table of members");
      std::uint32_t bits = 0;
      const lua_Integer n = static_cast<lua_Integer>(lua_rawlen(L, index));
      for (lua_Integer i = 1; i <= n; ++i) {
        lua_rawgeti(L, index, i);
        const lua_Integer member = lua_tointeger(L, -1);
        lua_pop(L, 1);
        if (member < 0 || member >= 32)
          throw Exception("property " + p.Name + ": member out of range");
        bits |= std::uint32_t{1} << member;
      }
      return static_cast<std::int64_t>(bits);
    }
    case TPropKind::pkStringList: {
      if (auto* l = static_cast<TStringsBox*>(luaL_testudata(L, index, kStringsType)))
        return l->List->Lines();
      return platform::TStringList(ToText(L, index)).Lines();
    }
    case TPropKind::pkObject:
      break;
  }
  throw Exception("property " + p.Name + " is read-only");
}

int CallMethod(lua_State* L) {
  auto* box = static_cast<TObjectBox*>(luaL_checkudata(L, 1, kObjectType));
  const char* name = lua_tostring(L, lua_upvalueindex(1));
  return Guarded(L, [&] {
    for (const auto& m : MxScriptingServices().ScriptMethods(box->Object->ClassInfo())) {
      if (m.Name != name) continue;
      std::vector<TScriptValue> args;
      for (int i = 2; i <= lua_gettop(L); ++i)
        args.push_back(ToValue(L, i));
      PushValue(L, m.Call(*box->Object, args));
      return 1;
    }
    throw Exception(std::string("no method ") + name);
  });
}

int ObjectIndex(lua_State* L) {
  auto* box = static_cast<TObjectBox*>(luaL_checkudata(L, 1, kObjectType));
  const char* key = luaL_checkstring(L, 2);
  return Guarded(L, [&] {
    for (const auto& m : MxScriptingServices().ScriptMethods(box->Object->ClassInfo())) {
      if (m.Name == key) {
        lua_pushstring(L, key);
        lua_pushcclosure(L, CallMethod, 1);
        return 1;
      }
    }
    const TPropInfo* p = box->Object->ClassInfo().FindProperty(key);
    if (!p)
      throw Exception(box->Object->ClassInfo().Name() + " has no property or method '" + key + "'");
    PushProperty(L, *box, *p);
    return 1;
  });
}

int ObjectNewIndex(lua_State* L) {
  auto* box = static_cast<TObjectBox*>(luaL_checkudata(L, 1, kObjectType));
  const char* key = luaL_checkstring(L, 2);
  return Guarded(L, [&] {
    const TPropInfo* p = box->Object->ClassInfo().FindProperty(key);
    if (!p) throw Exception(box->Object->ClassInfo().Name() + " has no property '" + key + "'");
    if (p->ReadOnly()) throw Exception("property " + p->Name + " is read-only");
    const TPropValue value = PropertyFromLua(L, *p, 3);
    // What a script puts into a property is saved with the build script; a text the script
    // cannot hold fails here, at the line that assigned it.
    const auto check = [&p](std::string_view text) {
      if (const auto problem = platform::XmlTextProblem(text))
        throw Exception(p->Name + ": " + *problem);
    };
    if (const auto* text = std::get_if<std::string>(&value)) check(*text);
    if (const auto* lines = std::get_if<std::vector<std::string>>(&value)) {
      for (const auto& line : *lines)
        check(line);
    }
    p->Set(*box->Object, value);
    return 0;
  });
}

int ObjectToString(lua_State* L) {
  auto* box = static_cast<TObjectBox*>(luaL_checkudata(L, 1, kObjectType));
  lua_pushstring(L, box->Object->ClassInfo().Name().c_str());
  return 1;
}

template <class T>
int Collect(lua_State* L) {
  static_cast<T*>(lua_touserdata(L, 1))->~T();
  return 0;
}

platform::TStringList& ListArg(lua_State* L) {
  return *static_cast<TStringsBox*>(luaL_checkudata(L, 1, kStringsType))->List;
}

int StringsAdd(lua_State* L) {
  auto& list = ListArg(L);
  std::size_t n = 0;
  const char* s = luaL_checklstring(L, 2, &n);
  return Guarded(L, [&] {
    lua_pushinteger(L, list.Add(std::string(s, n)));
    return 1;
  });
}

int StringsInsert(lua_State* L) {
  auto& list = ListArg(L);
  const lua_Integer index = luaL_checkinteger(L, 2);
  std::size_t n = 0;
  const char* s = luaL_checklstring(L, 3, &n);
  return Guarded(L, [&] {
    list.Insert(static_cast<int>(index), std::string(s, n));
    return 0;
  });
}

int StringsDelete(lua_State* L) {
  auto& list = ListArg(L);
  const lua_Integer index = luaL_checkinteger(L, 2);
  return Guarded(L, [&] {
    list.Delete(static_cast<int>(index));
    return 0;
  });
}

int StringsIndexOf(lua_State* L) {
  auto& list = ListArg(L);
  std::size_t n = 0;
  const char* s = luaL_checklstring(L, 2, &n);
  return Guarded(L, [&] {
    lua_pushinteger(L, list.IndexOf(std::string_view(s, n)));
    return 1;
  });
}

int StringsClear(lua_State* L) {
  ListArg(L).Clear();
  return 0;
}

int StringsIndex(lua_State* L) {
  auto& list = ListArg(L);
  return Guarded(L, [&] {
    if (lua_isinteger(L, 2)) {
      const auto& s = list.Strings(static_cast<int>(lua_tointeger(L, 2)));
      lua_pushlstring(L, s.data(), s.size());
      return 1;
    }
    const std::string key = lua_isstring(L, 2) ? lua_tostring(L, 2) : "";
    if (key == "Count") {
      lua_pushinteger(L, list.Count());
    } else if (key == "Text") {
      const std::string text = list.Text();
      lua_pushlstring(L, text.data(), text.size());
    } else {
      static const luaL_Reg kMethods[] = {{"Add", StringsAdd},       {"Insert", StringsInsert},
                                          {"Delete", StringsDelete}, {"IndexOf", StringsIndexOf},
                                          {"Clear", StringsClear},   {nullptr, nullptr}};
      for (const luaL_Reg* m = kMethods; m->name; ++m) {
        if (key == m->name) {
          lua_pushcfunction(L, m->func);
          return 1;
        }
      }
      throw Exception("string list has no member '" + key + "'");
    }
    return 1;
  });
}

int StringsNewIndex(lua_State* L) {
  auto& list = ListArg(L);
  return Guarded(L, [&] {
    const std::string value = ToText(L, 3);
    if (lua_isinteger(L, 2)) {
      list.SetStrings(static_cast<int>(lua_tointeger(L, 2)), value);
    } else if (lua_isstring(L, 2) && std::string(lua_tostring(L, 2)) == "Text") {
      list.SetText(value);
    } else {
      throw Exception("string list members cannot be assigned");
    }
    return 0;
  });
}

int StringsLength(lua_State* L) {
  lua_pushinteger(L, ListArg(L).Count());
  return 1;
}

int Print(lua_State* L) {
  std::string line;
  for (int i = 1; i <= lua_gettop(L); ++i) {
    if (i > 1) line += '\t';
    line += ToText(L, i);
  }
  lua_getfield(L, LUA_REGISTRYINDEX, kPrintKey);
  auto* print = static_cast<std::function<void(const std::string&)>*>(lua_touserdata(L, -1));
  lua_pop(L, 1);
  return Guarded(L, [&] {
    if (print && *print) (*print)(line);
    return 0;
  });
}

int Expand(lua_State* L) {
  std::size_t n = 0;
  const char* s = luaL_checklstring(L, 1, &n);
  const bool strict = lua_gettop(L) >= 2 ? lua_toboolean(L, 2) : true;
  lua_getfield(L, LUA_REGISTRYINDEX, kLookupKey);
  auto* lookup = static_cast<TVariableLookup*>(lua_touserdata(L, -1));
  lua_pop(L, 1);
  return Guarded(L, [&] {
    const std::string text = ExpandVariables(std::string_view(s, n), *lookup, strict);
    lua_pushlstring(L, text.data(), text.size());
    return 1;
  });
}

}  // namespace

struct TLuaEngineState {
  std::function<void(const std::string&)> print;
  TVariableLookup lookup;
  const std::atomic<bool>* stop = nullptr;
};

namespace {

// How many instructions a script runs between two looks at the stop flag: a few microseconds.
constexpr int kStopCheckInterval = 1000;

bool StopRequested(lua_State* L) {
  lua_getfield(L, LUA_REGISTRYINDEX, "mx.state");
  const auto* state = static_cast<TLuaEngineState*>(lua_touserdata(L, -1));
  lua_pop(L, 1);
  return state && state->stop && *state->stop;
}

void StopHook(lua_State* L, lua_Debug*) {
  if (!StopRequested(L)) return;
  // From now on every instruction fails, so a pcall that catches the error cannot keep the
  // script going: the first instruction after it fails again.
  lua_sethook(L, StopHook, LUA_MASKCOUNT, 1);
  luaL_error(L, "Terminated by user");
}

// The message handler xpcall is given, between it and the error: once a stop is requested the
// error passes unhandled. Lua runs a handler with the hooks of the failing code, and an error
// raised by the stop hook has them off, so a handler that loops would never be stopped.
int StopAwareHandler(lua_State* L) {
  if (StopRequested(L)) return 1;
  lua_pushvalue(L, lua_upvalueindex(1));
  lua_insert(L, 1);
  lua_call(L, lua_gettop(L) - 1, 1);
  return 1;
}

// xpcall(f, handler, ...) with the handler behind StopAwareHandler.
int GuardedXPCall(lua_State* L) {
  const int given = lua_gettop(L);  // f, the handler, then f's arguments
  luaL_checktype(L, 2, LUA_TFUNCTION);
  lua_pushvalue(L, lua_upvalueindex(1));  // the original xpcall
  lua_pushvalue(L, 1);
  lua_pushvalue(L, 2);
  lua_pushcclosure(L, StopAwareHandler, 1);
  for (int i = 3; i <= given; ++i)
    lua_pushvalue(L, i);
  lua_call(L, given, LUA_MULTRET);
  return lua_gettop(L) - given;
}

// The stop hook is the host's; a script may not take it away.
int RefuseSetHook(lua_State* L) {
  return luaL_error(L, "debug.sethook is not allowed in a build script");
}

// Scripts keep the io and os libraries, as make recipes keep the shell, but ending the whole
// host behind its back would skip every clean-up and give an exit status nobody documented.
int RefuseExit(lua_State* L) {
  return luaL_error(L,
                    "os.exit is not allowed in a build script; end the script with error() "
                    "instead");
}

}  // namespace

void TLuaEngine::SetStopFlag(const std::atomic<bool>* stop) {
  lua_getfield(L_, LUA_REGISTRYINDEX, "mx.state");
  static_cast<TLuaEngineState*>(lua_touserdata(L_, -1))->stop = stop;
  lua_pop(L_, 1);
  lua_sethook(L_, stop ? StopHook : nullptr, stop ? LUA_MASKCOUNT : 0, kStopCheckInterval);
}

TLuaEngine::TLuaEngine(TVariableLookup lookup) : L_(luaL_newstate()) {
  if (!L_) throw Exception("Cannot create a Lua state");
  luaL_openlibs(L_);
  // The engine's own state lives in a userdata owned by the Lua state.
  auto* state = new (lua_newuserdatauv(L_, sizeof(TLuaEngineState), 0))
      TLuaEngineState{nullptr, std::move(lookup), nullptr};
  lua_newtable(L_);
  lua_pushcfunction(L_, Collect<TLuaEngineState>);
  lua_setfield(L_, -2, "__gc");
  lua_setmetatable(L_, -2);
  lua_setfield(L_, LUA_REGISTRYINDEX, "mx.state");
  lua_pushlightuserdata(L_, &state->print);
  lua_setfield(L_, LUA_REGISTRYINDEX, kPrintKey);
  lua_pushlightuserdata(L_, &state->lookup);
  lua_setfield(L_, LUA_REGISTRYINDEX, kLookupKey);

  luaL_newmetatable(L_, kObjectType);
  const luaL_Reg objectMeta[] = {{"__index", ObjectIndex},
                                 {"__newindex", ObjectNewIndex},
                                 {"__tostring", ObjectToString},
                                 {"__gc", Collect<TObjectBox>},
                                 {nullptr, nullptr}};
  luaL_setfuncs(L_, objectMeta, 0);
  lua_pop(L_, 1);
  luaL_newmetatable(L_, kStringsType);
  const luaL_Reg stringsMeta[] = {{"__index", StringsIndex},
                                  {"__newindex", StringsNewIndex},
                                  {"__len", StringsLength},
                                  {"__gc", Collect<TStringsBox>},
                                  {nullptr, nullptr}};
  luaL_setfuncs(L_, stringsMeta, 0);
  lua_pop(L_, 1);

  lua_register(L_, "print", Print);
  lua_register(L_, "Expand", Expand);
  lua_getglobal(L_, "os");
  lua_pushcfunction(L_, RefuseExit);
  lua_setfield(L_, -2, "exit");
  lua_pop(L_, 1);
  lua_getglobal(L_, "debug");
  lua_pushcfunction(L_, RefuseSetHook);
  lua_setfield(L_, -2, "sethook");
  lua_pop(L_, 1);
  lua_getglobal(L_, "xpcall");
  lua_pushcclosure(L_, GuardedXPCall, 1);
  lua_setglobal(L_, "xpcall");
  for (const auto& [name, value] : MxScriptingServices().Constants()) {
    lua_pushinteger(L_, value);
    lua_setglobal(L_, name.c_str());
  }
}

TLuaEngine::~TLuaEngine() {
  lua_close(L_);
}

void TLuaEngine::SetPrint(std::function<void(const std::string&)> print) {
  lua_getfield(L_, LUA_REGISTRYINDEX, "mx.state");
  static_cast<TLuaEngineState*>(lua_touserdata(L_, -1))->print = std::move(print);
  lua_pop(L_, 1);
}

void TLuaEngine::SetGlobal(const std::string& name, const TScriptValue& value) {
  PushValue(L_, value);
  lua_setglobal(L_, name.c_str());
}

TScriptValue TLuaEngine::GetGlobal(const std::string& name) {
  lua_getglobal(L_, name.c_str());
  TScriptValue v = ToValue(L_, -1);
  lua_pop(L_, 1);
  return v;
}

void TLuaEngine::SetGlobalTable(const std::string& name,
                                const std::vector<std::pair<std::string, TScriptValue>>& entries) {
  lua_newtable(L_);
  for (const auto& [key, value] : entries) {
    PushValue(L_, value);
    lua_setfield(L_, -2, key.c_str());
  }
  lua_setglobal(L_, name.c_str());
}

void TLuaEngine::Run(std::string_view source, const std::string& chunkName) {
  const std::string chunk = "=" + chunkName;
  int rc = luaL_loadbufferx(L_, source.data(), source.size(), chunk.c_str(), "t");
  if (rc == LUA_OK) rc = lua_pcall(L_, 0, 0, 0);
  // A stop switched the hook to every instruction; the next run starts with the usual one.
  lua_getfield(L_, LUA_REGISTRYINDEX, "mx.state");
  const auto* state = static_cast<TLuaEngineState*>(lua_touserdata(L_, -1));
  lua_pop(L_, 1);
  if (state->stop) lua_sethook(L_, StopHook, LUA_MASKCOUNT, kStopCheckInterval);
  if (rc != LUA_OK) {
    std::string message = lua_isstring(L_, -1) ? lua_tostring(L_, -1) : "script error";
    lua_pop(L_, 1);
    throw Exception(message);
  }
}

}  // namespace mx::engine
