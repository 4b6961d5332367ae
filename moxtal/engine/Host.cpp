#include "Host.h"

#include "moxtal/engine/BuildScript.h"
#include "platform/Environment.h"
#include "platform/FileNames.h"
#include "platform/StrUtils.h"

namespace mx::engine {

THost::THost() {
  registry_ = platform::OpenSystemRegistry();
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

void THost::RegisterPropertyPage(const TClassInfo& actionClass, TPageClass page) {
  pages_.emplace_back(&actionClass, std::move(page));
}

std::vector<TPageClass> THost::PropertyPages(const TClassInfo& actionClass) const {
  std::vector<TPageClass> pages;
  for (const auto& [cls, page] : pages_) {
    if (actionClass.InheritsFrom(cls->Name())) pages.push_back(page);
  }
  return pages;
}

void THost::RegisterPropertyEditor(TPropertyEditorRegistration editor) {
  editors_.push_back(std::move(editor));
}

std::vector<TPropertyEditorRegistration> THost::PropertyEditors(
    const TClassInfo& actionClass) const {
  std::vector<TPropertyEditorRegistration> editors;
  for (const auto& editor : editors_) {
    if (editor.ActionClass && actionClass.InheritsFrom(editor.ActionClass->Name()))
      editors.push_back(editor);
  }
  return editors;
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
  const auto [at, added] = constantIndex_.emplace(name, constants_.size());
  if (added) {
    constants_.emplace_back(name, value);
  } else {
    constants_[at->second].second = value;
  }
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

void THost::SetWine(const std::string& loader, const std::string& prefix) {
  TToolSetup setup;
  if (platform::WindowsProgramsNeedWine()) {
    setup.WineLoader = platform::FindWineLoader(loader);
    std::string drives = prefix;
    if (drives.empty()) drives = platform::FindEnvironmentVariable("WINEPREFIX").value_or("");
    if (drives.empty()) {
      drives = platform::machinepath::Join(platform::FindEnvironmentVariable("HOME").value_or(""),
                                           ".wine");
    }
    setup.Drives = std::make_shared<const platform::TWineDrives>(drives);
    if (!prefix.empty()) setup.WineEnvironment.emplace_back("WINEPREFIX", prefix);
    if (!platform::FindEnvironmentVariable("WINEDEBUG"))
      setup.WineEnvironment.emplace_back("WINEDEBUG", "-all");
  }
  toolSetup_ = std::move(setup);
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

void THost::RegisterGroupReader(TGroupReaderRegistration reader) {
  for (auto& r : groupReaders_) {
    if (platform::SameText(r.Extension, reader.Extension)) {
      r = std::move(reader);
      return;
    }
  }
  groupReaders_.push_back(std::move(reader));
}

std::shared_ptr<TCustomMxAction> THost::LoadScriptAction(const std::string& script,
                                                         const std::string& action) {
  std::shared_ptr<TBuildScript> loaded = TBuildScript::Load(script);
  auto found = loaded->FindAction(action);
  if (!found) throw Exception(script + ": " + loaded->NoSuchActionMessage(action));
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
  return platform::FindEnvironmentVariable(name);
}

}  // namespace mx::engine
