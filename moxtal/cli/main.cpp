// moxtal: runs, checks and edits build scripts.
//
// The command line is read in two parts by CLI11. The host options may stand anywhere and are
// needed before the packages load (their start-up reads the registry), so a first app takes
// them out; what remains goes to the app of the host's commands and the packages' commands.
#include <algorithm>
#include <iostream>
#include <map>

#include <CLI/CLI.hpp>

#include "moxtal/api/Commands.h"
#include "moxtal/cli/EditCommand.h"
#include "moxtal/cli/HostCommands.h"
#include "platform/Exception.h"
#include "platform/StopRequests.h"

using namespace mx;
using namespace mx::cli;

namespace {

// The host options of the whole line; the rest, in order.
std::vector<std::string> TakeHostOptions(const std::vector<std::string>& args,
                                         THostOptions& options) {
  CLI::App hostApp;
  // Options start with dashes everywhere: on Windows, /path is a path.
  hostApp.allow_windows_style_options(false);
  AddHostOptions(hostApp, options);
  hostApp.allow_extras();
  // --help belongs to the command it stands with.
  hostApp.set_help_flag();
  // CLI11 takes the arguments last first.
  hostApp.parse(std::vector<std::string>(args.rbegin(), args.rend()));
  return hostApp.remaining();
}

using TRuns = std::map<const CLI::App*, TCommandRun>;

// The names of commands, joined for a message.
template <class TCommands>
std::string Names(const TCommands& commands) {
  std::string names;
  for (const auto* cmd : commands)
    names += (names.empty() ? "" : ", ") + cmd->get_name();
  return names;
}

// The host's commands, the editor's and the packages'; a package command named like another
// is an error.
void DefineCommands(CLI::App& app, TRuns& runs) {
  // Host options are taken already; they are declared again only to show in the help texts.
  static THostOptions shown;
  const auto command = [&](const std::string& name, const std::string& summary) {
    CLI::App* cmd = app.add_subcommand(name, summary);
    cmd->group("Commands");
    AddHostOptions(*cmd, shown);
    return cmd;
  };
  DefineHostCommands(command, runs);
  DefineEditCommand(command, runs);
  for (const auto& registration : MxCommandServices().Commands()) {
    const bool taken = std::any_of(runs.begin(), runs.end(), [&](const auto& run) {
      return run.first->check_name(registration.Name);
    });
    if (taken) {
      throw Exception("The package command \"" + registration.Name +
                      "\" has the name of another command");
    }
    CLI::App* cmd = command(registration.Name, registration.Summary);
    runs[cmd] = registration.Define(*cmd);
  }
  AddHostOptions(app, shown);
  app.set_version_flag("--version", VersionText(), "Show the versions of moxtal and its packages");
  app.get_formatter()->label("SUBCOMMAND", "COMMAND");
  app.footer(
      "Run moxtal COMMAND --help for a command's options and an example.\n"
      "Exit status: 0 success; 1 a build failed (or warned, with --fail-on-warnings), or edit "
      "was cancelled; 2 a problem of the build script, the setup or the command line, found "
      "before any tool ran (validate's errors among them); 130, 143, 129 a run stopped by "
      "Ctrl+C, SIGTERM, SIGHUP (on Windows, Ctrl+C: 0xC000013A).");
  app.failure_message([](const CLI::App* failed, const CLI::Error& e) {
    // The command whose options were wrong, when one was given.
    std::string name = "COMMAND";
    for (const CLI::App* sub : failed->get_subcommands()) {
      if (sub->parsed()) name = sub->get_name();
    }
    return "moxtal: " + std::string(e.what()) + " (moxtal " + name +
           " --help shows the command's options)\n";
  });
}

// What a failed parse says: no command, a command of commands without one of its own (bpr),
// or CLI11's own message.
int ParseFailure(CLI::App& app, const TRuns& runs, const std::vector<std::string>& rest,
                 const CLI::ParseError& e) {
  if (rest.empty() && e.get_exit_code() != 0) {
    std::cerr << "moxtal: give a command; moxtal --help lists them\n";
    return kExitUsage;
  }
  for (const auto& [cmd, run] : runs) {
    const auto inner = cmd->get_subcommands({});
    if (!cmd->parsed() || inner.empty() || e.get_exit_code() == 0) continue;
    if (std::any_of(inner.begin(), inner.end(), [](const CLI::App* c) { return c->parsed(); }))
      continue;
    std::cerr << "moxtal " << cmd->get_name() << ": give one of its commands: " << Names(inner)
              << " (moxtal " << cmd->get_name() << " --help says more)\n";
    return kExitUsage;
  }
  return app.exit(e) == 0 ? kExitOk : kExitUsage;
}

int RunCommandLine(const std::vector<std::string>& args) {
  THostOptions host;
  std::vector<std::string> rest;
  try {
    rest = TakeHostOptions(args, host);
  } catch (const CLI::ParseError& e) {
    std::cerr << "moxtal: " << e.what() << "\n";
    return kExitUsage;
  }
  // Pages and property editors are registered only for the commands that show them or take a
  // project into an action through them.
  const auto has = [&rest](const char* arg) {
    return std::find(rest.begin(), rest.end(), arg) != rest.end();
  };
  const std::string command = rest.empty() ? std::string() : rest.front();
  host.DesignTime = command == "edit" || command == "new" || command == "set" ||
                    command == "import" || (command == "actions" && has("--pages"));
  StartHost(host);

  CLI::App app{"moxtal: a build-automation host; runs the actions of a build script (.mxs)",
               "moxtal"};
  app.require_subcommand(1);
  // Subcommands inherit this: an argument like /work/App.bpr is a path on Windows too.
  app.allow_windows_style_options(false);
  TRuns runs;
  DefineCommands(app, runs);
  // A word that names no command is the commonest mistake: say which commands there are.
  if (!rest.empty() && !rest.front().starts_with("-") &&
      std::none_of(runs.begin(), runs.end(),
                   [&](const auto& run) { return run.first->check_name(rest.front()); })) {
    std::cerr << "moxtal: \"" << rest.front() << "\" is not a command; the commands are "
              << Names(app.get_subcommands({})) << " (moxtal --help says more)\n";
    return kExitUsage;
  }
  try {
    app.parse(std::vector<std::string>(rest.rbegin(), rest.rend()));
  } catch (const CLI::ParseError& e) {
    return ParseFailure(app, runs, rest, e);
  }
  for (const auto& [cmd, run] : runs) {
    if (cmd->parsed()) return run();
  }
  return kExitUsage;
}

}  // namespace

int main(int argc, char** argv) {
  // A full disk or a file-size limit is a write error with a message, not a lost process.
  platform::TreatFileSizeLimitAsWriteError();
  try {
    return RunCommandLine(std::vector<std::string>(argv + 1, argv + argc));
  } catch (const std::exception& e) {
    std::cerr << "moxtal: " << e.what() << "\n";
    return kExitUsage;
  }
}
