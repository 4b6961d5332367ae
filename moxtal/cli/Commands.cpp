#include "Commands.h"

#include <atomic>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <future>
#include <iostream>

#include <nlohmann/json.hpp>

#include "moxtal/engine/ActionRunner.h"
#include "moxtal/engine/BuildScript.h"
#include "moxtal/engine/Host.h"
#include "moxtal/engine/ObjectJson.h"
#include "moxtal/engine/PackageLoader.h"
#include "moxtal/engine/RunScriptAction.h"
#include "moxtal/engine/Variables.h"
#include "platform/FileNames.h"

namespace mx::cli {

using engine::TBuildScript;
using engine::THost;

namespace {

std::vector<engine::TLoadedPackage> loadedPackages;

std::pair<std::string, std::string> SplitAssignment(const std::string& text, const char* what) {
  const auto eq = text.find('=');
  if (eq == std::string::npos || eq == 0) {
    throw Exception(std::string(what) + " \"" + text + "\" is not of the form NAME=VALUE");
  }
  return {text.substr(0, eq), text.substr(eq + 1)};
}

std::shared_ptr<TCustomMxAction> RequireAction(const TBuildScript& script, const std::string& path,
                                               const std::string& name) {
  auto action = script.FindAction(name);
  if (!action) throw Exception(path + ": the build script has no action named \"" + name + "\"");
  return action;
}

class TValidationErrors : public IMxActionValidationError {
 public:
  explicit TValidationErrors(std::string action) : action_(std::move(action)) {}
  void AddError(std::string_view property, std::string_view message) override {
    std::cout << action_ << ": " << property << ": " << message << "\n";
  }

 private:
  std::string action_;
};

// How many interrupts arrived; the run loop decides what they mean.
std::atomic<int> interrupts{0};

extern "C" void OnInterrupt(int) {
  interrupts.fetch_add(1);
}

}  // namespace

void StartHost(const THostOptions& options) {
  THost& host = THost::Instance();
  host.SetHostFolder(engine::ExecutableFolder());
  // The registry: --registry, else MOXTAL_REGISTRY, else registry.reg beside the executable
  // when there is one, else the platform's own (the Windows registry; none elsewhere).
  std::string registry = options.Registry;
  if (registry.empty()) registry = engine::FindEnvironmentVariable("MOXTAL_REGISTRY").value_or("");
  if (registry.empty()) {
    const std::string beside =
        platform::machinepath::Join(engine::ExecutableFolder(), "registry.reg");
    if (platform::machinepath::FileExists(beside)) registry = beside;
  }
  if (!registry.empty()) host.SetRegistry(platform::OpenRegistryFile(registry));
  host.SetReadBCB6Vars(options.ReadBCB6Vars);
  for (const auto& v : options.Vars) {
    const auto [name, value] = SplitAssignment(v, "--var");
    host.CommandLineVariables().Set(name, value);
  }
  engine::RegisterHostActions();
  const std::string folder =
      options.Packages.empty() ? platform::machinepath::Join(engine::ExecutableFolder(), "packages")
                               : options.Packages;
  if (platform::machinepath::DirectoryExists(folder)) {
    loadedPackages = engine::LoadPackages(folder, false);
  } else if (!options.Packages.empty()) {
    throw Exception("The package folder " + folder + " does not exist");
  }
}

int Run(const TRunOptions& options) {
  auto script = TBuildScript::Load(options.Script);
  const std::string loadedText = script->SaveToText();
  std::shared_ptr<engine::ILogSink> sink;
  if (options.LogFormat == "json") {
    sink = std::make_shared<engine::TJsonLogSink>(std::cout);
  } else {
    sink = std::make_shared<engine::TConsoleLogSink>(std::cout);
  }
  THost::Instance().Log().AddSink(sink);

  engine::TActionRunner runner(*script);
  interrupts = 0;
  std::signal(SIGINT, OnInterrupt);
  // Actions run on a build thread; this thread turns Ctrl+C into a stop request. Another
  // Ctrl+C once the stop is under way ends the host at once. Interrupts that arrive together
  // count as one: `timeout` and process-group kills deliver the same request twice.
  auto build = std::async(std::launch::async, [&] { return runner.Run(options.Actions); });
  int seen = 0;
  std::chrono::steady_clock::time_point stopRequestedAt;
  while (build.wait_for(std::chrono::milliseconds(50)) != std::future_status::ready) {
    const int count = interrupts.load();
    if (count == seen) continue;
    const auto now = std::chrono::steady_clock::now();
    if (seen == 0) {
      stopRequestedAt = now;
      THost::Instance().Log().Write("moxtal", {"Stop requested"});
      runner.Terminate();
    } else if (now - stopRequestedAt > std::chrono::milliseconds(500)) {
      std::signal(SIGINT, SIG_DFL);
      std::raise(SIGINT);
    }
    seen = count;
  }
  std::signal(SIGINT, SIG_DFL);
  const bool ok = build.get();
  THost::Instance().Log().RemoveSink(sink);

  // What the actions changed while they ran (an incremented build number, say) goes back
  // into the script, but only after a successful run.
  if (ok && options.SaveDynamic) {
    const std::string text = script->SaveToText();
    if (text != loadedText) script->Save(options.Script);
  }
  return ok ? kExitOk : kExitFailed;
}

int Validate(const std::string& path) {
  auto script = TBuildScript::Load(path);
  bool ok = true;
  for (const auto& action : script->Actions()) {
    TValidationErrors errors(action->Name());
    if (!action->Validate(errors)) ok = false;
  }
  std::cout << (ok ? "The build script is valid\n" : "The build script has errors\n");
  return ok ? kExitOk : kExitFailed;
}

int New(const TNewOptions& options) {
  std::unique_ptr<TBuildScript> script = platform::machinepath::FileExists(options.Script)
                                             ? TBuildScript::Load(options.Script)
                                             : std::make_unique<TBuildScript>();
  auto action = TBuildScript::CreateAction(options.ActionClass);
  action->SetName(options.Name);
  for (const auto& s : options.Sets) {
    const auto [name, value] = SplitAssignment(s, "--set");
    SetPropertyByPath(*action, name, value);
  }
  script->AddAction(action);
  script->Save(options.Script);
  std::cout << "Added \"" << action->Name() << "\" (" << action->ClassInfo().Name() << ") to "
            << options.Script << "\n";
  return kExitOk;
}

int Set(const std::string& path, const std::string& name,
        const std::vector<std::string>& assignments, const std::vector<std::string>& events) {
  if (assignments.empty() && events.empty())
    throw Exception("Nothing to set: give PROP=VALUE or --event NAME=FILE");
  auto script = TBuildScript::Load(path);
  auto action = RequireAction(*script, path, name);
  for (const auto& a : assignments) {
    const auto [property, value] = SplitAssignment(a, "Assignment");
    SetPropertyByPath(*action, property, value);
  }
  for (const auto& e : events) {
    const auto eq = e.find('=');
    if (eq == std::string::npos || eq == 0)
      throw Exception("--event \"" + e + "\" is not of the form NAME=FILE");
    const std::string event = e.substr(0, eq);
    const std::string file = e.substr(eq + 1);
    TMxScript* target = action->GetScriptByName(event);
    if (!target) throw Exception(action->ClassInfo().Name() + " has no event \"" + event + "\"");
    if (file.empty()) {
      target->SetText("");
      continue;
    }
    std::ifstream in(platform::machinepath::ToFsPath(file), std::ios::binary);
    if (!in) throw Exception(file + ": cannot open the event script");
    target->SetText(
        std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>()));
  }
  script->Save(path);
  return kExitOk;
}

int Show(const std::string& path, const std::string& name, bool json) {
  auto script = TBuildScript::Load(path);
  std::vector<std::shared_ptr<TCustomMxAction>> actions;
  if (name.empty()) {
    actions = script->Actions();
  } else {
    actions.push_back(RequireAction(*script, path, name));
  }
  if (json) {
    nlohmann::ordered_json out = nlohmann::ordered_json::array();
    for (const auto& a : actions)
      out.push_back(engine::ActionToJson(*a));
    std::cout << (name.empty() ? out : out[0]).dump(2) << "\n";
    return kExitOk;
  }
  for (const auto& a : actions) {
    std::cout << a->Name() << " (" << a->ClassInfo().Name() << (a->Enabled() ? "" : ", disabled")
              << "): " << a->GetFormattedDescription() << "\n";
    for (const auto& [property, text] : PropertyTexts(*a))
      std::cout << "  " << property << "=" << text << "\n";
    for (const auto& s : a->Scripts()) {
      if (!s->Text().empty())
        std::cout << "  event " << s->Name() << ": " << s->Text().size() << " characters\n";
    }
  }
  return kExitOk;
}

int Actions() {
  for (const auto& p : loadedPackages)
    std::cout << "Package " << p.Path << ": " << p.Description << "\n";
  for (const auto& a : THost::Instance().RegisteredActions()) {
    std::cout << a.Class->Name() << "\t" << a.Name << "\t" << a.Category << "\n";
  }
  return kExitOk;
}

int Vars() {
  for (const auto& [name, value] : THost::Instance().PackageVariables().Items()) {
    std::cout << name << "=" << value << "\n";
  }
  return kExitOk;
}

}  // namespace mx::cli
