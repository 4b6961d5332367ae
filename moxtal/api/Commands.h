#pragma once
// The host's command line as packages see it: the commands a package adds ("moxtal NAME ..."),
// defined with CLI11 like the host's own, the exit status every command returns, and the
// NAME=VALUE form of assignments.

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace CLI {
class App;
}  // namespace CLI

namespace mx {

class TCustomMxAction;

/// Exit statuses of every command: 0 success, 1 a build or validation failed, 2 a usage,
/// configuration or input error.
constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

/// What a command does once its command line has been parsed; returns the exit status.
using TCommandRun = std::function<int()>;

/// A command a package adds to the host's command line. The host makes a CLI11 sub-app named
/// `Name` and described by `Summary`; `Define` adds the command's arguments, options and
/// subcommands to it and returns what runs when the command is chosen. The host's own options
/// (--registry, --packages, --var, --read-bcb6-vars) are taken before the command sees its
/// arguments. An mx::Exception that escapes the run is reported by the host with exit status 2.
struct TCommandRegistration {
  std::string Name;
  std::string Summary;
  std::function<TCommandRun(CLI::App& command)> Define;
};

class IMxCommandServices {
 public:
  virtual ~IMxCommandServices() = default;
  /// Adds a command; a later registration of the same name replaces the earlier one.
  virtual void RegisterCommand(TCommandRegistration command) = 0;
  virtual const std::vector<TCommandRegistration>& Commands() const = 0;
  /// An action of a build script, with the script's variables and property sets around it.
  /// Throws mx::Exception naming the file and the problem.
  virtual std::shared_ptr<TCustomMxAction> LoadScriptAction(const std::string& script,
                                                            const std::string& action) = 0;
};

IMxCommandServices& MxCommandServices();

/// "NAME=VALUE" split at its first "=". Throws mx::Exception '<what> "<text>" is not of the
/// form <form>' when there is no "=" or nothing before it.
std::pair<std::string, std::string> SplitAssignment(std::string_view text, std::string_view what,
                                                    std::string_view form = "NAME=VALUE");

}  // namespace mx
