#include "HostCommands.h"

#include <filesystem>
#include <iostream>

#include <CLI/CLI.hpp>

#include "moxtal/api/Commands.h"
#include "moxtal/cli/ImportCommand.h"
#include "moxtal/cli/PlanCommand.h"
#include "moxtal/cli/RunCommand.h"
#include "moxtal/cli/ScriptCommands.h"
#include "moxtal/engine/Host.h"
#include "moxtal/engine/PackageLoader.h"
#include "moxtal/engine/RunScriptAction.h"
#include "platform/Environment.h"
#include "platform/ExecutablePath.h"
#include "platform/FileNames.h"
#include "platform/WineDrives.h"

namespace mx::cli {

using engine::TBuildScript;
using engine::THost;

namespace {

std::vector<engine::TLoadedPackage> loadedPackages;
// Where the start-up looked, for commands that find nothing to say why.
std::string packageFolder;
std::string registrySource;

}  // namespace

void AddHostOptions(CLI::App& app, THostOptions& options) {
  const char* group = "Host options (any command, anywhere on the line)";
  app.add_option("--registry", options.Registry,
                 "Registry file in the Windows export format (.reg); else --wine-prefix, else "
                 "$MOXTAL_REGISTRY, else $WINEPREFIX (Linux), else registry.reg in moxtal's data "
                 "folder")
      ->type_name("FILE")
      ->group(group);
  app.add_option("--wine-prefix", options.WinePrefix,
                 "Wine prefix whose registry names the compilers (read only); else $WINEPREFIX "
                 "when no registry file is given")
      ->type_name("DIR")
      ->group(group);
  app.add_option(
         "--wine", options.Wine,
         "Wine loader that runs the Windows tools (default: wine, else wine64, on the PATH)")
      ->type_name("PATH")
      ->group(group);
  app.add_option("--packages", options.Packages,
                 "Folder of the package modules to load (default: moxtal's packages folder)")
      ->type_name("DIR")
      ->group(group);
  app.add_option("--var", options.Vars, "Set a variable (repeatable)")
      ->type_name("NAME=VALUE")
      ->group(group);
  app.add_flag("--read-bcb6-vars", options.ReadBCB6Vars,
               "Import the C++Builder 6 environment variables of the current user")
      ->group(group);
}

namespace {

// Windows tools on another system run through Wine: the loader given is checked, and how the
// tools start is set up, now, before any build.
void UseWine(const std::string& loader, const std::string& prefix) {
  if (!platform::WindowsProgramsNeedWine()) return;
  if (!loader.empty() && platform::FindWineLoader(loader).empty())
    throw Exception("The Wine loader " + loader + " does not exist or cannot be run");
  std::string absolutePrefix;
  if (!prefix.empty()) {
    // Wine takes only an absolute prefix, and the tools start in other folders.
    std::error_code ec;
    const auto absolute = std::filesystem::absolute(platform::machinepath::ToFsPath(prefix), ec);
    absolutePrefix = ec ? prefix : platform::machinepath::FromFsPath(absolute);
  }
  THost::Instance().SetWine(loader, absolutePrefix);
}

}  // namespace

void StartHost(const THostOptions& options) {
  THost& host = THost::Instance();
  const platform::TProgramFolders& folders = platform::ProgramFolders();
  host.SetHostFolder(folders.Data);
  // The registry: --registry, else --wine-prefix, else MOXTAL_REGISTRY, else WINEPREFIX (where
  // the machine has no registry of its own; on Windows under Wine it is that prefix's already),
  // else registry.reg in the data folder when there is one, else the platform's own (the
  // Windows registry; none elsewhere).
  std::string registry = options.Registry;
  std::string prefix = registry.empty() ? options.WinePrefix : std::string();
  if (registry.empty() && prefix.empty())
    registry = platform::FindEnvironmentVariable("MOXTAL_REGISTRY").value_or("");
  if (registry.empty() && prefix.empty() && !platform::HasSystemRegistry())
    prefix = platform::FindEnvironmentVariable("WINEPREFIX").value_or("");
  // The tools' prefix is the one named even when the registry is a file, else WINEPREFIX's, which
  // Wine takes only as an absolute path (UseWine makes it one).
  std::string toolsPrefix = options.WinePrefix.empty() ? prefix : options.WinePrefix;
  if (toolsPrefix.empty() && !platform::HasSystemRegistry())
    toolsPrefix = platform::FindEnvironmentVariable("WINEPREFIX").value_or("");
  UseWine(options.Wine, toolsPrefix);
  if (!prefix.empty()) {
    host.SetRegistry(platform::OpenWinePrefixRegistry(prefix), "the Wine prefix " + prefix);
    registrySource = "the registry of the Wine prefix " + prefix;
  } else {
    if (registry.empty()) {
      const std::string beside = platform::machinepath::Join(folders.Data, "registry.reg");
      if (platform::machinepath::FileExists(beside)) registry = beside;
    }
    if (!registry.empty()) {
      // A registry file that is named but missing is a typo, not a machine without compilers.
      if (!platform::machinepath::FileExists(registry))
        throw Exception("The registry file " + registry + " does not exist");
      host.SetRegistry(platform::OpenRegistryFile(registry), registry);
      registrySource = "the registry file " + registry;
    } else if (platform::HasSystemRegistry()) {
      host.SetRegistry(host.Registry(), "the Windows registry");
      registrySource = "the Windows registry";
    } else {
      const std::string where =
          "give --registry FILE or --wine-prefix DIR, set MOXTAL_REGISTRY, or put " +
          platform::machinepath::Join(folders.Data, "registry.reg");
      host.SetRegistry(host.Registry(), "none; " + where);
      registrySource = "no registry (" + where + ")";
    }
  }
  host.SetReadBCB6Vars(options.ReadBCB6Vars);
  for (const auto& v : options.Vars) {
    const auto [name, value] = SplitAssignment(v, "--var");
    host.CommandLineVariables().Set(name, value);
  }
  engine::RegisterHostActions();
  const std::string folder = options.Packages.empty()
                                 ? platform::machinepath::Join(folders.Modules, "packages")
                                 : options.Packages;
  packageFolder = folder;
  if (platform::machinepath::DirectoryExists(folder)) {
    loadedPackages = engine::LoadPackages(folder, options.DesignTime);
  } else if (!options.Packages.empty()) {
    throw Exception("The package folder " + folder + " does not exist");
  }
}

namespace {

void ExplainMissingPackages() {
  std::cerr << "moxtal: no package was loaded from " << packageFolder
            << " (give --packages DIR for another folder)\n";
}

int Actions(bool pages) {
  if (loadedPackages.empty()) ExplainMissingPackages();
  for (const auto& p : loadedPackages)
    std::cout << "Package " << p.Path << ": " << p.Description << "\n";
  const THost& host = THost::Instance();
  for (const auto& a : host.RegisteredActions()) {
    std::cout << a.Class->Name() << "\t" << a.Name << "\t" << a.Category << "\n";
    if (!pages) continue;
    for (const auto& page : host.PropertyPages(*a.Class))
      std::cout << "  page " << page.ClassName << "\n";
    for (const auto& editor : host.PropertyEditors(*a.Class)) {
      std::cout << "  editor " << editor.PropertyName << " (" << editor.PropertyType
                << "): " << editor.EditorClass;
      if (editor.FileName) {
        std::cout << ", default extension \"" << editor.FileName->DefaultExt << "\", filter \""
                  << editor.FileName->Filter << "\", title \"" << editor.FileName->DialogTitle
                  << "\"";
      }
      std::cout << "\n";
    }
  }
  return kExitOk;
}

int Vars() {
  const auto& variables = THost::Instance().PackageVariables().Items();
  for (const auto& [name, value] : variables)
    std::cout << name << "=" << value << "\n";
  if (!variables.empty()) return kExitOk;
  if (loadedPackages.empty()) {
    ExplainMissingPackages();
  } else {
    std::cerr << "moxtal: the packages published no variable: they found no compiler in "
              << registrySource << "\n";
  }
  return kExitOk;
}

}  // namespace

std::string VersionText() {
  std::string text = "moxtal " MX_VERSION "\n";
  for (const auto& p : loadedPackages)
    text += p.Name + " (" + p.Path + "): " + p.Description + "\n";
  if (loadedPackages.empty()) text += "no package loaded from " + packageFolder + "\n";
  text.pop_back();
  return text;
}

void DefineHostCommands(const TAddCommand& add,
                        std::map<const CLI::App*, std::function<int()>>& runs) {
  DefineRunCommand(add, runs);
  DefineScriptCommands(add, runs);
  DefineImportCommand(add, runs);
  DefinePlanCommand(add, runs);
  CLI::App* cmd = nullptr;
  auto pages = std::make_shared<bool>(false);
  cmd = add("actions", "List the loaded packages and the action classes they registered");
  cmd->add_flag("--pages", *pages,
                "Also list each action's property pages, in order, and its property editors");
  cmd->footer("Example:\n  moxtal actions --pages --packages /opt/moxtal/packages");
  runs[cmd] = [pages] { return Actions(*pages); };
  cmd = add("vars", "List the variables the packages published (the compilers they found)");
  cmd->footer("Example:\n  moxtal vars --registry build-machine.reg --read-bcb6-vars");
  runs[cmd] = [] { return Vars(); };
}

}  // namespace mx::cli
