#pragma once
// The host's process-wide state: what packages registered, the variables they published, the
// host's configuration and its build log. Only the program's edge (the command line, the
// service locators) reaches it as a singleton.

#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "moxtal/api/Action.h"
#include "moxtal/api/Commands.h"
#include "moxtal/api/Services.h"
#include "moxtal/api/ToolFiles.h"
#include "moxtal/engine/BuildLog.h"
#include "moxtal/engine/Variables.h"
#include "platform/WineDrives.h"

namespace mx::engine {

class THost : public IMxActionServices,
              public IMxScriptingServices,
              public IMxPackageServices,
              public IMxCommandServices {
 public:
  static THost& Instance();

  // IMxActionServices
  void RegisterAction(TActionRegistration registration) override;
  const std::vector<TActionRegistration>& RegisteredActions() const override { return actions_; }
  const TActionRegistration* FindAction(std::string_view classOrName) const override;
  void RegisterPropertyPage(const TClassInfo& actionClass, TPageClass page) override;
  std::vector<TPageClass> PropertyPages(const TClassInfo& actionClass) const override;
  void RegisterPropertyEditor(TPropertyEditorRegistration editor) override;
  std::vector<TPropertyEditorRegistration> PropertyEditors(
      const TClassInfo& actionClass) const override;

  // IMxScriptingServices
  void RegisterScriptMethod(const std::string& className, TScriptMethod method) override;
  void RegisterConstant(const std::string& name, std::int64_t value) override;
  std::vector<TScriptMethod> ScriptMethods(const TClassInfo& cls) const override;
  std::vector<std::pair<std::string, std::int64_t>> Constants() const override {
    return constants_;
  }
  TScriptValue WrapObject(IPersistentObject& object) override {
    return TScriptObject{&object, nullptr};
  }
  TScriptValue WrapStrings(platform::TStringList& list) override {
    return TScriptStrings{&list, nullptr};
  }

  // IMxPackageServices
  void SetVariable(const std::string& name, const std::string& value) override;
  std::shared_ptr<platform::IRegistry> Registry() override;
  std::string RegistryName() override { return registryName_; }
  bool ReadBCB6Vars() override { return readBCB6Vars_; }
  std::string HostFolder() override { return hostFolder_; }

  // IMxCommandServices
  void RegisterCommand(TCommandRegistration command) override;
  const std::vector<TCommandRegistration>& Commands() const override { return commands_; }
  void RegisterGroupReader(TGroupReaderRegistration reader) override;
  const std::vector<TGroupReaderRegistration>& GroupReaders() const override {
    return groupReaders_;
  }
  std::shared_ptr<TCustomMxAction> LoadScriptAction(const std::string& script,
                                                    const std::string& action) override;

  /// Persistence classes.
  void RegisterXMLClass(const TXMLClass& cls);
  const TXMLClass* FindXMLClass(std::string_view name) const;

  /// Host configuration. `name` says where the registry is, for messages (see RegistryName).
  void SetRegistry(std::shared_ptr<platform::IRegistry> registry, std::string name = "none") {
    registry_ = std::move(registry);
    registryName_ = std::move(name);
  }
  void SetReadBCB6Vars(bool read) { readBCB6Vars_ = read; }
  void SetHostFolder(std::string folder) { hostFolder_ = std::move(folder); }
  /// Windows programs on another system run through Wine: `loader` is the Wine loader given
  /// (--wine: a path or a name on the PATH; "" finds one), `prefix` the absolute folder of the
  /// prefix whose drives name files to them ("" is Wine's own choice: WINEPREFIX, else ~/.wine).
  /// Sets up ToolSetup(); call it before any build starts.
  void SetWine(const std::string& loader, const std::string& prefix);
  /// How this machine starts the build tools; read only while builds run.
  const TToolSetup& ToolSetup() const { return toolSetup_; }
  /// Variables given on the command line (--var NAME=VALUE).
  TVariables& CommandLineVariables() { return commandLineVariables_; }
  const TVariables& PackageVariables() const { return packageVariables_; }

  /// A variable as seen outside any build script: command line, then packages, then the
  /// process environment.
  std::optional<std::string> LookupVariable(std::string_view name) const;

  TBuildLog& Log() { return log_; }

 private:
  THost();

  std::vector<TActionRegistration> actions_;
  std::vector<std::pair<const TClassInfo*, TPageClass>> pages_;
  std::vector<TPropertyEditorRegistration> editors_;
  std::vector<std::pair<std::string, TScriptMethod>> methods_;
  std::vector<std::pair<std::string, std::int64_t>> constants_;
  std::unordered_map<std::string, std::size_t> constantIndex_;
  std::vector<TXMLClass> classes_;
  std::vector<TCommandRegistration> commands_;
  std::vector<TGroupReaderRegistration> groupReaders_;
  TVariables commandLineVariables_;
  TVariables packageVariables_;
  std::shared_ptr<platform::IRegistry> registry_;
  std::string registryName_ = "none";
  bool readBCB6Vars_ = false;
  std::string hostFolder_;
  TToolSetup toolSetup_;
  TBuildLog log_;
};

}  // namespace mx::engine
