#include "Host.h"

#include "moxtal/engine/BuildScript.h"
#include "moxtal/engine/LuaEngine.h"
#include "platform/FileNames.h"
#include "platform/StrUtils.h"

namespace mx::engine {
namespace {

// Actions outside any build script: host variables, the host's log, no property sets.
class THostContext : public IMxActionContext {
 public:
  std::string ExpandExpression(std::string_view text, bool strict) override {
    const THost& host = THost::Instance();
    return ExpandVariables(
        text, [&host](std::string_view n) { return host.LookupVariable(n); }, strict);
  }
  void Log(const TCustomMxAction& action, const std::vector<std::string>& lines) override {
    THost::Instance().Log().Write(action.Name(), lines);
  }
  std::shared_ptr<IMxPropertySet> FindPropertySet(std::string_view) override { return nullptr; }
  void ExecuteScript(TCustomMxAction& action, TMxScript& script) override {
    const THost& host = THost::Instance();
    RunEventScript(action, script, [&host](std::string_view n) { return host.LookupVariable(n); });
  }
};

}  // namespace

THost::THost() {
#ifdef _WIN32
  registry_ = platform::OpenWindowsRegistry();
#else
  registry_ = platform::RegistryFromText("", "(no registry file)");
#endif
}

THost& THost::Instance() {
  static THost host;
  return host;
}

void THost::RegisterAction(TActionRegistration registration) {
  for (auto& a : actions_) {
    if (a.Class == registration.Class) {
      a = std::move(registration);
      return;
    }
  }
  actions_.push_back(std::move(registration));
}

const TActionRegistration* THost::FindAction(std::string_view classOrName) const {
  for (const auto& a : actions_) {
    if (platform::SameText(a.Class->Name(), classOrName) || platform::SameText(a.Name, classOrName))
      return &a;
  }
  return nullptr;
}

void THost::RegisterScriptMethod(const std::string& className, TScriptMethod method) {
  for (auto& [cls, m] : methods_) {
    if (platform::SameText(cls, className) && platform::SameText(m.Name, method.Name)) {
      m = std::move(method);
      return;
    }
  }
  methods_.emplace_back(className, std::move(method));
}

void THost::RegisterConstant(const std::string& name, std::int64_t value) {
  for (auto& [n, v] : constants_) {
    if (n == name) {
      v = value;
      return;
    }
  }
  constants_.emplace_back(name, value);
}

std::vector<TScriptMethod> THost::ScriptMethods(const TClassInfo& cls) const {
  std::vector<TScriptMethod> result;
  for (const auto& [className, method] : methods_) {
    if (cls.InheritsFrom(className)) result.push_back(method);
  }
  return result;
}

void THost::SetVariable(const std::string& name, const std::string& value) {
  packageVariables_.Set(name, value);
}

std::shared_ptr<platform::IRegistry> THost::Registry() {
  return registry_;
}

void THost::RegisterCommand(TCommandRegistration command) {
  for (auto& c : commands_) {
    if (platform::SameText(c.Name, command.Name)) {
      c = std::move(command);
      return;
    }
  }
  commands_.push_back(std::move(command));
}

std::shared_ptr<TCustomMxAction> THost::LoadScriptAction(const std::string& script,
                                                         const std::string& action) {
  std::shared_ptr<TBuildScript> loaded = TBuildScript::Load(script);
  auto found = loaded->FindAction(action);
  if (!found) throw Exception(script + ": the build script has no action named \"" + action + "\"");
  // The action keeps its script, and so its variables and property sets, alive.
  return std::shared_ptr<TCustomMxAction>(loaded, found.get());
}

void THost::RegisterXMLClass(const TXMLClass& cls) {
  for (auto& c : classes_) {
    if (platform::SameText(c.Info->Name(), cls.Info->Name())) {
      c = cls;
      return;
    }
  }
  classes_.push_back(cls);
}

const TXMLClass* THost::FindXMLClass(std::string_view name) const {
  for (const auto& c : classes_) {
    if (platform::SameText(c.Info->Name(), name)) return &c;
  }
  return nullptr;
}

std::optional<std::string> THost::LookupVariable(std::string_view name) const {
  if (auto v = commandLineVariables_.Find(name)) return v;
  if (auto v = packageVariables_.Find(name)) return v;
  return FindEnvironmentVariable(name);
}

void RunEventScript(TCustomMxAction& action, TMxScript& script, const TVariableLookup& lookup) {
  TLuaEngine lua(lookup);
  lua.SetPrint([&action](const std::string& line) { action.SendMessage(line); });
  for (const auto& p : script.Params())
    lua.SetGlobal(p.Name, p.Value);
  lua.Run(script.Text(), script.Name());
  for (auto& p : script.Params()) {
    if (p.WrittenBack) p.Value = lua.GetGlobal(p.Name);
  }
}

}  // namespace mx::engine

namespace mx {

IMxCommandServices& MxCommandServices() {
  return engine::THost::Instance();
}

std::optional<std::string> MxDotNetInfo(std::string_view version) {
  // Each framework version lives in a folder named after its full version number.
  static const std::pair<const char*, const char*> kFolders[] = {
      {"v1.0", "v1.0.3705"}, {"v1.1", "v1.1.4322"}, {"v2.0", "v2.0.50727"}, {"v4.0", "v4.0.30319"}};
  const auto registry = engine::THost::Instance().Registry();
  const auto key = registry ? registry->OpenKeyReadOnly(platform::TRegistryRoot::rkLocalMachine,
                                                        "SOFTWARE\\Microsoft\\.NETFramework")
                            : nullptr;
  std::string root;
  try {
    root = key ? key->ReadString("InstallRoot").value_or("") : std::string();
  } catch (const platform::ERegistryException&) {
    return std::nullopt;
  }
  if (root.empty()) return std::nullopt;
  for (const auto& [name, folder] : kFolders) {
    if (version != name) continue;
    const std::string dir = platform::machinepath::Join(root, folder);
    if (platform::machinepath::DirectoryExists(dir)) return dir;
  }
  return std::nullopt;
}

IMxActionServices& MxActionServices() {
  return engine::THost::Instance();
}
IMxScriptingServices& MxScriptingServices() {
  return engine::THost::Instance();
}
IMxPackageServices& MxPackageServices() {
  return engine::THost::Instance();
}

IMxApplicationServices& MxDesignApplicationServices() {
  static engine::THostContext context;
  return context;
}

IMxActionContext& DefaultActionContext() {
  static engine::THostContext context;
  return context;
}

void RegisterXMLClasses(const std::vector<TXMLClass>& classes) {
  for (const auto& c : classes)
    engine::THost::Instance().RegisterXMLClass(c);
}

std::shared_ptr<IQlXMLObject> CreateXMLObject(std::string_view className) {
  const TXMLClass* c = engine::THost::Instance().FindXMLClass(className);
  return c ? c->Create() : nullptr;
}

}  // namespace mx
