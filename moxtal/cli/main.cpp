// moxtal: runs, checks and edits build scripts.
#include <iostream>

#include <CLI/CLI.hpp>

#include "moxtal/api/Services.h"
#include "moxtal/cli/Commands.h"
#include "platform/Exception.h"

using namespace mx::cli;

namespace {

// The host's own options may stand anywhere on the command line; they are read before the
// packages load (their start-up reads the registry), and taken out of what package commands get.
std::vector<std::string> TakeHostOptions(const std::vector<std::string>& args, THostOptions& host) {
  std::vector<std::string> rest;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    const auto value = [&](const std::string& name, std::string& target) {
      if (a == name && i + 1 < args.size()) {
        target = args[++i];
        return true;
      }
      if (a.rfind(name + "=", 0) == 0) {
        target = a.substr(name.size() + 1);
        return true;
      }
      return false;
    };
    std::string var;
    if (value("--registry", host.Registry) || value("--packages", host.Packages)) continue;
    if (value("--var", var)) {
      host.Vars.push_back(var);
      continue;
    }
    if (a == "--read-bcb6-vars") {
      host.ReadBCB6Vars = true;
      continue;
    }
    rest.push_back(a);
  }
  return rest;
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{"moxtal: a build-automation host; runs the actions of a build script (.mxs)"};
  app.require_subcommand(1);
  THostOptions host;
  const std::vector<std::string> rest =
      TakeHostOptions(std::vector<std::string>(argv + 1, argv + argc), host);
  try {
    StartHost(host);
  } catch (const std::exception& e) {
    std::cerr << "moxtal: " << e.what() << "\n";
    return kExitUsage;
  }
  // Commands of packages take their arguments as they stand.
  std::vector<std::pair<CLI::App*, const mx::TCommandRegistration*>> packageCommands;
  for (const auto& command : mx::MxCommandServices().Commands()) {
    auto* cmd = app.add_subcommand(command.Name, command.Summary);
    cmd->prefix_command();
    cmd->set_help_flag();
    packageCommands.emplace_back(cmd, &command);
  }
  THostOptions ignored;
  const auto addHostOptions = [&host](CLI::App* cmd) {
    cmd->add_option("--registry", host.Registry,
                    "Registry file in the Windows export format (.reg)");
    cmd->add_option("--packages", host.Packages, "Folder of the package modules to load");
    cmd->add_flag("--read-bcb6-vars", host.ReadBCB6Vars,
                  "Import the C++Builder 6 environment variables");
  };

  TRunOptions run;
  auto* runCmd =
      app.add_subcommand("run", "Run the enabled actions of a build script, or the named ones");
  runCmd->add_option("script", run.Script, "Build script")->required();
  runCmd->add_option("--action", run.Actions, "Run only this action (repeatable)");
  runCmd->add_option("--var", ignored.Vars, "Set a variable NAME=VALUE (repeatable)");
  runCmd->add_option("--log-format", run.LogFormat, "Build log format")
      ->check(CLI::IsMember({"text", "json"}));
  runCmd->add_flag("--save-dynamic,!--no-save-dynamic", run.SaveDynamic,
                   "Save what the actions changed while running back into the script (default on)");
  addHostOptions(runCmd);

  std::string script;
  auto* validateCmd =
      app.add_subcommand("validate", "Load a build script and validate every action");
  validateCmd->add_option("script", script, "Build script")->required();
  addHostOptions(validateCmd);

  TNewOptions create;
  auto* newCmd =
      app.add_subcommand("new", "Append a new action with its defaults to a build script");
  newCmd->add_option("script", create.Script, "Build script (created when missing)")->required();
  newCmd->add_option("--action", create.ActionClass, "Action class or name")->required();
  newCmd->add_option("--name", create.Name, "Name of the new action");
  newCmd->add_option("--set", create.Sets, "Set a property PROP=VALUE (repeatable)");
  addHostOptions(newCmd);

  std::string actionName;
  std::vector<std::string> assignments;
  auto* setCmd =
      app.add_subcommand("set", "Set properties of an action (Child.Prop for child records)");
  setCmd->add_option("script", script, "Build script")->required();
  setCmd->add_option("--action", actionName, "Action name")->required();
  setCmd->add_option("assignments", assignments, "PROP=VALUE ...");
  std::vector<std::string> events;
  setCmd->add_option("--event", events,
                     "Set an event script from a Lua file, NAME=FILE (NAME= removes it)");
  addHostOptions(setCmd);

  bool json = false;
  auto* showCmd =
      app.add_subcommand("show", "Show every property of the actions of a build script");
  showCmd->add_option("script", script, "Build script")->required();
  showCmd->add_option("--action", actionName, "Show only this action");
  showCmd->add_flag("--json", json, "JSON output");
  addHostOptions(showCmd);

  auto* actionsCmd = app.add_subcommand("actions", "List the registered action classes");
  addHostOptions(actionsCmd);
  auto* varsCmd = app.add_subcommand("vars", "List the variables the packages published");
  addHostOptions(varsCmd);

  try {
    // The host options are already taken; CLI11 reads its arguments last first.
    app.parse(std::vector<std::string>(rest.rbegin(), rest.rend()));
  } catch (const CLI::ParseError& e) {
    return app.exit(e) == 0 ? kExitOk : kExitUsage;
  }

  try {
    for (const auto& [cmd, command] : packageCommands) {
      if (cmd->parsed()) {
        std::vector<std::string> args = cmd->remaining();
        return command->Run(TakeHostOptions(args, ignored));
      }
    }
    if (runCmd->parsed()) return Run(run);
    if (validateCmd->parsed()) return Validate(script);
    if (newCmd->parsed()) return New(create);
    if (setCmd->parsed()) return Set(script, actionName, assignments, events);
    if (showCmd->parsed()) return Show(script, actionName, json);
    if (actionsCmd->parsed()) return Actions();
    if (varsCmd->parsed()) return Vars();
  } catch (const std::exception& e) {
    std::cerr << "moxtal: " << e.what() << "\n";
    return kExitUsage;
  }
  return kExitUsage;
}
