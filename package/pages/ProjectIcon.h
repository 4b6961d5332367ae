#pragma once
// The main icon of a project, taken out of its resource file for the project pages.

#include <optional>
#include <string>
#include <vector>

#include "moxtal/api/Action.h"
#include "moxtal/api/Controls.h"

namespace mx::bcc {

struct TProjectIcon {
  /// The resource file found: the project's ".rsb" file, else its ".res" file (copied to the
  /// ".rsb" name, which the IDE leaves alone); "" when there is neither.
  std::string ResourceFile;
  /// "mainicon.ico" in the project's folder, written from the "MAINICON" group icon (else the
  /// single icon of that name); nullopt when there is no such icon.
  std::optional<std::string> IconFile;
};

/// Finds the project's resource file and writes its main icon. A file that cannot be read or
/// written (a symbolic link among them: nothing is written through one) or a malformed resource
/// file is shown as a warning, and the result is then empty.
TProjectIcon TakeProjectIcon(const std::string& project);

/// The files TakeProjectIcon may write: the ".rsb" copy and "mainicon.ico" beside the project.
std::vector<std::string> ProjectIconFiles(const std::string& project);

/// The text the icon field gets for the icon written beside the project that `projectText`
/// names: the icon's name in the project's folder, named the way the project is (relative to
/// the same folder, or through the same variables), so that a build script stays as portable as
/// the project's name in it. `iconFile` is the icon as written, used when the project's text
/// names no folder of its own form.
std::string IconFileText(const std::string& projectText, const std::string& iconFile);

/// A file name of a page as the build will find it: variables expanded (as written when they
/// cannot be), a relative name taken against the action's folder (when there is an action).
std::string PagePath(const std::string& text, const TCustomMxAction* action);

/// Shows the icon file `text` names in `display` when the file exists; a file that is not an
/// image throws, unless `quiet`.
void ShowIconFile(TImage& display, const std::string& text, const TCustomMxAction* action,
                  bool quiet);

/// Asks whether to reload the settings from the project ("Reload settings from `kind` file?")
/// and expands the project's name; nullopt when the answer is no or the name cannot be
/// expanded, which is shown to the user.
std::optional<std::string> ConfirmReload(const std::string& kind, const std::string& projectText,
                                         int helpContext);

/// The design-time expansion of a text; "" when it fails.
std::string ExpandedOrEmpty(const std::string& text);

}  // namespace mx::bcc
