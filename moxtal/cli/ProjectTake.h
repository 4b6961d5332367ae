#pragma once
// Taking a project into an action, and reloading an action from its project, from the command
// line. Both run the action's own project page headless, with the answers a person would give at
// the desktop: there is no second way to read a project into an action.

#include <optional>
#include <string>
#include <vector>

#include "moxtal/api/Action.h"

namespace mx::engine {
class TBuildScript;
}  // namespace mx::engine

namespace mx::cli {

/// The files that taking projects wrote beside them (a copy of the resource file, the icon),
/// removed again unless the command keeps them: a command that fails after a take leaves the
/// projects' folders as it found them.
class TTakenFiles {
 public:
  TTakenFiles() = default;
  ~TTakenFiles();
  TTakenFiles(const TTakenFiles&) = delete;
  TTakenFiles& operator=(const TTakenFiles&) = delete;

  /// Notes how `file` is before a take may write it: its bytes, or that it is not there. A file
  /// that is not a plain file (a link, which a take never writes through) is left alone.
  void Note(const std::string& file);
  /// Takes on the files `other` noted, which are then `other`'s no longer.
  void Add(TTakenFiles&& other);
  /// The command succeeded: the files stay as the take left them.
  void Keep() { files_.clear(); }

 private:
  struct TBefore {
    std::string File;
    std::optional<std::string> Bytes;  // nullopt: the file was not there
  };
  std::vector<TBefore> files_;
};

/// Takes the project `file` (as the build script will name it: relative names are taken against
/// the script's folder) into `action`, which belongs to `script`, as picking it on the action's
/// project page does: the page's pick, and its reload where the pick alone reads less. Returns
/// the lines that say what was taken. Throws mx::Exception, naming the script, the action and
/// the file, when the project cannot be taken; the action and the project's folder are then
/// unchanged. The files the take wrote beside the project go to `taken`. What the page warns of
/// on the way (an icon it could not write) goes to standard error.
std::vector<std::string> TakeProject(engine::TBuildScript& script, TCustomMxAction& action,
                                     const std::string& file, TTakenFiles& taken);

/// The outcome of a reload of an action from the project it names.
enum class TReloadResult : std::uint8_t { rrReloaded, rrDeclined, rrFailed };

/// Reloads every setting of `action` from the project it names, through its project page; the
/// page's question is answered by `yes` or asked on the terminal. The action takes the pages'
/// values only when the project was read. Throws mx::Exception when the action's pages cannot
/// reload from a project.
TReloadResult ReloadProject(engine::TBuildScript& script, TCustomMxAction& action, bool yes);

}  // namespace mx::cli
