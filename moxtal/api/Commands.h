#pragma once
// The host's command line as packages see it: the commands a package adds ("moxtal NAME ..."),
// defined with CLI11 like the host's own, the exit status every command returns, the
// NAME=VALUE form of assignments, and the project groups a package reads for "moxtal import".

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

/// A project of a project group, as a package reads it for the host's import of the group.
struct TGroupProject {
  /// The project file, an absolute path of this machine.
  std::string File;
  /// The class of the action that builds it; "" when it is not imported.
  std::string ActionClass;
  /// Why it is not imported ("a Delphi project: ..."); "" when it is.
  std::string Skipped;
  /// The files of the group's other projects that the group says this one depends on.
  std::vector<std::string> DependsOn;
};

/// A kind of project group file a package reads ("*.bpg").
struct TGroupReaderRegistration {
  /// The file name extension, with its dot, compared without regard to case.
  std::string Extension;
  std::string Description;
  /// The projects of a group file, in the group's order. Throws mx::Exception naming the file,
  /// the line and the problem.
  std::function<std::vector<TGroupProject>(const std::string& file)> Read;
};

class IMxCommandServices {
 public:
  virtual ~IMxCommandServices() = default;
  /// Adds a command; a later registration of the same name replaces the earlier one.
  virtual void RegisterCommand(TCommandRegistration command) = 0;
  virtual const std::vector<TCommandRegistration>& Commands() const = 0;
  /// Adds a reader of project groups; a later one for the same extension replaces the earlier.
  virtual void RegisterGroupReader(TGroupReaderRegistration reader) = 0;
  virtual const std::vector<TGroupReaderRegistration>& GroupReaders() const = 0;
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
