#pragma once
// Build scripts: a file (.mxs) with variables, property sets and a list of actions.

#include <atomic>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "moxtal/api/Action.h"
#include "moxtal/engine/BuildScriptText.h"
#include "moxtal/engine/PropertySets.h"
#include "moxtal/engine/Variables.h"

namespace mx {
namespace platform {
class TXmlWriter;
class TXmlNode;
}  // namespace platform

namespace engine {

/// A build script that cannot be loaded: "<file>:<line>: <problem>".
class EScriptError : public Exception {
 public:
  using Exception::Exception;
};

/// "unknown action class \"NAME\"", with the nearest class and the registered ones.
std::string UnknownActionClassMessage(std::string_view name);

class TBuildScript : public IMxActionContext {
 public:
  TBuildScript() = default;
  ~TBuildScript() override;
  TBuildScript(const TBuildScript&) = delete;
  TBuildScript& operator=(const TBuildScript&) = delete;

  /// Loads a script; throws EScriptError naming the file and line. Nothing is returned half
  /// loaded.
  static std::unique_ptr<TBuildScript> Load(const std::string& path);
  static std::unique_ptr<TBuildScript> LoadFromText(std::string_view text,
                                                    const std::string& sourceName);
  /// The script as text: the text it was loaded from with only what changed since changed, or
  /// a whole new text for a script that came from no text. Throws mx::Exception naming the
  /// action and property when a value cannot be stored (see CheckStorableText).
  std::string SaveToText() const;
  /// True when the script stores something else than when it was loaded or last saved.
  bool Changed() const;
  /// Writes SaveToText() safely (a failed save leaves the old file intact); throws
  /// mx::Exception "<path>: cannot write the build script (<reason>)". Later saves edit what was
  /// saved.
  void Save(const std::string& path);

  TVariables& Variables() { return variables_; }
  const TVariables& Variables() const { return variables_; }
  std::shared_ptr<TMxPropertySet> AddPropertySet(const std::string& name,
                                                 const std::string& typeName);
  const std::vector<std::shared_ptr<TMxPropertySet>>& PropertySets() const { return propertySets_; }

  const std::vector<std::shared_ptr<TCustomMxAction>>& Actions() const { return actions_; }
  /// An action by the name the user gave it (case-insensitive), or nullptr.
  std::shared_ptr<TCustomMxAction> FindAction(std::string_view name) const;
  /// "the build script has no action named \"NAME\"", with the nearest name and the actions.
  std::string NoSuchActionMessage(std::string_view name) const;
  /// Adds an action; an empty or taken name becomes a unique one made from the action name.
  void AddAction(std::shared_ptr<TCustomMxAction> action);
  /// Removes an action of the script (nothing when it is not one).
  void RemoveAction(const TCustomMxAction& action);
  /// A new action of a registered class (class name or shown name), with its defaults.
  /// Throws mx::Exception for an unknown class.
  static std::shared_ptr<TCustomMxAction> CreateAction(std::string_view classOrName);

  // IMxActionContext: script variables come first, then the host's.
  std::string ExpandExpression(std::string_view text, bool strict) override;
  std::uint64_t BeginLog(const TCustomMxAction& action) override;
  void LogLine(std::uint64_t entry, std::string_view line) override;
  void LogLine(std::uint64_t entry, std::string_view line,
               const TDiagnostics& diagnostics) override;
  void EndLog(std::uint64_t entry) override;
  std::shared_ptr<IMxPropertySet> FindPropertySet(std::string_view name) override;
  std::vector<std::string> PropertySetNames(std::string_view typeName) override;
  void ExecuteScript(TCustomMxAction& action, TMxScript& script) override;
  /// The script file's folder; the current folder for a script that came from no file.
  std::string BaseFolder() override;
  /// The host's, set up before the script's actions run.
  const TToolSetup& ToolSetup() override;
  /// Where the script was loaded from: relative names of its actions and %SCRIPTDIR% follow.
  void SetFileName(const std::string& path);
  /// While set, event scripts of the script's actions end with "Terminated by user"; the runner
  /// sets it with a stop request. Safe from any thread.
  void SetStopRequested(bool stop) { stopRequested_ = stop; }

  /// A variable of the script, else the built-in SCRIPTDIR (the script's folder), else one of
  /// the host; as expansion takes it: SCRIPTDIR's "%" doubled, so that it stays literal.
  std::optional<std::string> LookupVariable(std::string_view name) const;

 private:
  /// What the script stores now.
  TStoredScript Store() const;

  std::string folder_;
  std::atomic<bool> stopRequested_{false};
  /// The text the script was loaded from or last saved as, and what it stored then.
  std::string source_;
  TStoredScript loaded_;
  TVariables variables_;
  std::vector<std::shared_ptr<TMxPropertySet>> propertySets_;
  std::vector<std::shared_ptr<TCustomMxAction>> actions_;
};

}  // namespace engine
}  // namespace mx
