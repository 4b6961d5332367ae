#pragma once
// The base class of every build action and the services it offers to the actions derived from it.

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "moxtal/api/LogMessage.h"
#include "moxtal/api/Persistent.h"
#include "moxtal/api/Process.h"
#include "moxtal/api/Scripting.h"
#include "moxtal/api/Services.h"
#include "moxtal/api/ToolFiles.h"
#include "platform/StringList.h"

namespace mx {

class TCustomMxAction;

/// What a project builds and what it links, as the import of a project group and the planning of
/// a pipeline see it.
struct TProjectFiles {
  /// What a build makes that other projects link or that ships: the final output, and the import
  /// library or package import when the project makes one. Absolute paths of this machine, or
  /// Windows paths ("C:\Out\Pkg.bpi") where the project names a drive.
  std::vector<std::string> Outputs;
  /// The libraries, packages and object files the project links, as the project names them
  /// ("Core.lib", "..\lib\Pkg.bpi").
  std::vector<std::string> Links;
};

/// Receives the problems Validate finds: the property (as shown) and the text.
class IMxActionValidationError {
 public:
  virtual ~IMxActionValidationError() = default;
  virtual void AddError(std::string_view property, std::string_view message) = 0;
};

/// Receives what a build of an action needs, for `moxtal validate`, the checks `moxtal run`
/// makes before any tool runs, and a reload: the files it reads, the tools it starts and the
/// settings that keep it from working.
class IMxBuildRequirements {
 public:
  virtual ~IMxBuildRequirements() = default;
  /// A file the build reads, as property `property` names it (variables not yet expanded).
  virtual void RequireFile(std::string_view property, std::string_view file) = 0;
  /// A setting that will not do what its user expects.
  virtual void Warn(std::string_view property, std::string_view message) = 0;
  /// A setting that makes the build fail before any tool runs; `message` says what to do.
  virtual void Error(std::string_view property, std::string_view message) = 0;
  /// A tool the build starts: `what` names it for the user ("bpr2mak"), `path` is where the
  /// build will start it from (expanded; a Windows name is started through Wine elsewhere). The
  /// host checks that it exists and can be started.
  virtual void RequireTool(std::string_view what, std::string_view path) = 0;
  /// A file a build writes beside the project (a temporary project, a resource script), by
  /// name; the project's own files are never among them.
  virtual void Writes(std::string_view file) = 0;
};

/// Where an action lives: the build script it belongs to, or the host alone. The host sets it.
class IMxActionContext : public IMxApplicationServices {
 public:
  /// Opens a build-log entry of the action and returns its number; its lines follow with
  /// LogLine as they come, EndLog closes it.
  virtual std::uint64_t BeginLog(const TCustomMxAction& action) = 0;
  virtual void LogLine(std::uint64_t entry, std::string_view line) = 0;
  /// A line with the diagnostics recognised in it.
  virtual void LogLine(std::uint64_t entry, std::string_view line,
                       const TDiagnostics& diagnostics) = 0;
  virtual void EndLog(std::uint64_t entry) = 0;
  /// A property set of the build script by name, or nullptr.
  virtual std::shared_ptr<IMxPropertySet> FindPropertySet(std::string_view name) = 0;
  /// The names of the build script's property sets of a type ("Win32 Version Info"), in order.
  virtual std::vector<std::string> PropertySetNames(std::string_view) { return {}; }
  /// Runs an event script with its parameters; throws mx::Exception with the script's error.
  virtual void ExecuteScript(TCustomMxAction& action, TMxScript& script) = 0;
  /// The folder that relative file names of the action are taken against: the build script's
  /// own folder, or the current folder outside any build script. Absolute.
  virtual std::string BaseFolder() = 0;
  /// How this machine starts the build tools (Wine for Windows tools elsewhere); the same for
  /// every action, and never changed while builds run.
  virtual const TToolSetup& ToolSetup() = 0;
};

/// The host's context for actions outside any build script.
IMxActionContext& DefaultActionContext();

/// The base of every action: a persistable object with a user-given name, an enabled flag,
/// event scripts and the host's services.
class TCustomMxAction : public TQlXMLObject {
 public:
  TCustomMxAction() = default;
  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }

  /// The name the user gives this action in a build script.
  const std::string& Name() const { return name_; }
  void SetName(std::string name) { name_ = std::move(name); }
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled) { enabled_ = enabled; }
  /// The names of the actions of its build script that must have succeeded before this one
  /// starts (a host property of every action, stored with it).
  const std::vector<std::string>& DependsOn() const { return dependsOn_; }
  void SetDependsOn(std::vector<std::string> names) { dependsOn_ = std::move(names); }

  /// The action's class-level name ("Compile C++Builder Project").
  virtual std::string GetActionName() const = 0;
  /// Runs the action; true on success.
  virtual bool Execute() = 0;
  /// The description shown for the action; the action name unless overridden.
  virtual std::string GetFormattedDescription() const { return GetActionName(); }
  /// Reports problems to `errors` and returns false when the action cannot run.
  virtual bool Validate(IMxActionValidationError& errors);
  /// Property names the host's generic property list does not show.
  virtual void GetHiddenProperties(platform::TStringList& list) const;
  /// Lines Name=help text.
  virtual void GetPropertyHelp(platform::TStringList& list) const;
  /// Category lines "[Caption]", caption lines Name=Caption, and bare names.
  virtual void GetPropertyAlias(platform::TStringList& list) const;
  virtual void GetReadOnlyProperties(platform::TStringList& list) const;
  /// Reports the files a build needs and the settings that contradict each other; the base
  /// needs nothing.
  virtual void DescribeRequirements(IMxBuildRequirements& requirements) const;
  /// Fills in settings that the user left alone and that the ones given decide (a project's
  /// version from its file's extension), knowing the names of the properties the user set;
  /// returns a line for each setting filled in, to be shown. The base fills in nothing.
  virtual std::vector<std::string> InferSettings(const std::vector<std::string>& given);
  /// What the action holds of the project it took, in words for the person who took it
  /// ("C++Builder 6 executable, 10 option families, ..."); `resourceFile` is the resource file
  /// its project page found the icon in ("" for none). The base names no project.
  virtual std::string DescribeTakenProject(const std::string& resourceFile) const;
  /// The folder of the project the action builds (absolute), where its build keeps temporary
  /// files: no two actions of one folder run at once. "" for an action without a project.
  virtual std::string ProjectFolder() const { return {}; }
  /// The files a build of the action's project makes that other projects link, and the files it
  /// links, read from the project with the action's settings applied and variables expanded.
  /// Throws mx::Exception naming the project and the problem; the base has no project (nullopt).
  virtual std::optional<TProjectFiles> ProjectFiles() const { return std::nullopt; }
  /// True for an action that reaches the other actions of its script while it runs (a script
  /// that can change them): it runs alone.
  virtual bool RunsAlone() const { return false; }
  /// Asks a running action to stop; may come from any thread.
  virtual void TerminateAction() {}
  virtual bool CanTerminate() const { return false; }
  virtual std::string GetQuickHelpFilename() const { return {}; }
  virtual int GetHelpTopicID() const { return 0; }

  // Services.
  std::string ExpandExpression(std::string_view text, bool strict) const;
  /// ExpandExpression that returns false instead of throwing; the host then logs
  /// "Error expanding <label> : <message>".
  bool TryExpandExpression(std::string_view label, std::string_view text, std::string& result,
                           bool strict) const;
  /// A new build-log entry of this action; its lines show as they are added.
  std::shared_ptr<IMxActionLogMessage> CreateStatusMessage() const;
  /// Closes the entry (an entry without lines still shows that it happened).
  void SendStatusMessage(const std::shared_ptr<IMxActionLogMessage>& message) const;
  void SendMessage(std::string_view line) const;
  /// One line, with the diagnostics recognised in it.
  void SendMessage(std::string_view line, const TDiagnostics& diagnostics) const;
  /// Runs a child, appends its output lines to `output`, returns its exit code (999 when
  /// `stopEvent` ended it).
  int RunProcess(const std::string& executable, const std::string& parameters, bool hideWindow,
                 bool waitForExit, const std::string& workingDirectory,
                 platform::TStringList* output, platform::TEvent* stopEvent) const;
  std::shared_ptr<IMxProcess> CreateMxProcess(TMxProcessParams params) const;
  /// The files as the tool (or tools' folder) named `tool` sees them, on this machine.
  TToolFiles ToolFiles(std::string_view tool) const {
    return TToolFiles::For(tool, Context().ToolSetup());
  }
  const TToolSetup& ToolSetup() const { return Context().ToolSetup(); }
  std::shared_ptr<IMxPropertySet> GetPropertySetAPI(std::string_view name) const;
  /// The run-time expansion service of this action's build script.
  IMxApplicationServices& GetActionContext() const { return Context(); }
  /// A file name of the action's settings, already expanded, as a path of this machine: a
  /// relative name is taken against the build script's folder, so that a script works from any
  /// current folder; "" and absolute names come back as they are.
  std::string AbsolutePath(const std::string& path) const;

  /// Marks a property that the action changes while it runs.
  void RegisterDynamicProperty(std::string_view name);
  void UnRegisterDynamicProperty(std::string_view name);
  const std::vector<std::string>& DynamicProperties() const { return dynamicProperties_; }

  /// Adds an event script (or returns the existing one of that name) and declares its
  /// parameters through InitialiseScriptParams.
  TMxScript& AddScript(std::string_view name);
  TMxScript* GetScriptByName(std::string_view name);
  const std::vector<std::unique_ptr<TMxScript>>& Scripts() const { return scripts_; }
  /// Declares a script's parameters; the base clears them.
  virtual void InitialiseScriptParams(TMxScript& script);
  /// Runs an event script; throws mx::Exception with the script's error.
  void ExecuteScript(TMxScript& script);

  void SetContext(IMxActionContext* context) { context_ = context; }

 protected:
  IMxActionContext& Context() const { return context_ ? *context_ : DefaultActionContext(); }

 private:
  std::string name_;
  bool enabled_ = true;
  std::vector<std::string> dependsOn_;
  IMxActionContext* context_ = nullptr;
  std::vector<std::string> dynamicProperties_;
  std::vector<std::unique_ptr<TMxScript>> scripts_;
};

/// The class packages derive their actions from.
class TMxAction : public TCustomMxAction {
 public:
  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }
};

/// Registers action class T under its class-level name.
template <class T>
TActionRegistration ActionRegistration(std::string category, std::string bitmapName) {
  return TActionRegistration{
      T::ClassActionName(),
      std::move(category),
      &T::StaticClassInfo(),
      std::move(bitmapName),
      [] { return std::static_pointer_cast<TCustomMxAction>(std::make_shared<T>()); },
      {}};
}

}  // namespace mx
