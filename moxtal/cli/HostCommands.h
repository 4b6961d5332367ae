#pragma once
// The host's own commands and its start-up.

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace CLI {
class App;
}  // namespace CLI

namespace mx::cli {

/// Host configuration shared by every command.
struct THostOptions {
  std::string Registry;           // registry file; empty: the platform default
  std::string WinePrefix;         // a Wine prefix whose registry is read; empty: none
  std::string Wine;               // the Wine loader for Windows tools; empty: found on the PATH
  std::string Packages;           // package folder; empty: moxtal's own "packages"
  std::vector<std::string> Vars;  // NAME=VALUE
  bool ReadBCB6Vars = false;
  /// Packages register their pages and property editors (for edit and actions --pages).
  bool DesignTime = false;
};

/// Declares the host options on a command line (or a command, for its help text), bound to
/// `options`.
void AddHostOptions(CLI::App& app, THostOptions& options);

/// Configures the host, registers its own actions and loads the packages.
void StartHost(const THostOptions& options);

/// "moxtal 5.0" and a line for each loaded package: its name, module and description.
std::string VersionText();

/// Adds a command to the command line and returns it.
using TAddCommand = std::function<CLI::App*(const std::string& name, const std::string& summary)>;

/// Defines the host's own commands (run, validate, new, set, show, actions, vars) through `add`
/// and records for each what runs when it is chosen.
void DefineHostCommands(const TAddCommand& add,
                        std::map<const CLI::App*, std::function<int()>>& runs);

}  // namespace mx::cli
