#pragma once
// What the pages ask of the person at the desktop: message boxes, file and folder dialogs, the
// check-list dialog and the path-list editor. The editor's front end answers them with real
// dialogs; tests and the headless editor answer them from a script.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "moxtal/api/MxTypes.h"
#include "platform/StringList.h"

namespace mx {

class IMxComponent;

MX_ENUM(TMsgDlgType, mtWarning, mtError, mtInformation, mtConfirmation, mtCustom)
MX_ENUM(TMsgDlgBtn, mbYes, mbNo, mbOK, mbCancel)
using TMsgDlgButtons = TSet<TMsgDlgBtn>;
/// The answer of a message box: which button closed it.
MX_ENUM(TModalResult, mrNone, mrOk, mrCancel, mrYes, mrNo)

/// A file-open dialog: set up by the page, shown by the design services, which write back the
/// chosen file and filter index. The filter is "Text|pattern|Text|pattern", its index counts
/// from 1.
struct TOpenDialog {
  std::string Title;
  std::string Filter;
  int FilterIndex = 1;
  std::string DefaultExt;
  std::string FileName;
  /// The folder the dialog opens in ("" for the folder of FileName, or the last one used).
  std::string InitialDir;
  /// Runs when the person picks another file type; FilterIndex is already the new one.
  std::function<void()> OnTypeChange;
};

class IMxDesignServices {
 public:
  virtual ~IMxDesignServices() = default;
  /// A message box with the given buttons; returns the button that closed it.
  virtual TModalResult MessageDlg(std::string_view text, TMsgDlgType type, TMsgDlgButtons buttons,
                                  int helpContext) = 0;
  /// A plain message box with an OK button.
  virtual void ShowMessage(std::string_view text) = 0;
  /// Shows a file-open dialog; true when a file was chosen.
  virtual bool Execute(TOpenDialog& dialog) = 0;
  /// Lets the person choose a folder, starting at `folder`; true when one was chosen.
  virtual bool BrowseForFolder(std::string_view caption, std::string& folder) = 0;
  /// The check-list dialog: `all` holds lines "switch=description"; `selection` holds lines
  /// "switch=1" (checked) or "switch=0" (cleared) and is edited in place when the dialog is
  /// confirmed. True when it was confirmed.
  virtual bool DisplayCheckListForm(IMxComponent* owner, std::string_view caption, int helpContext,
                                    const platform::TStringList& all,
                                    platform::TStringList& selection) = 0;
  /// The path-list editor: `paths` is a list of folders separated by `separator`, edited in
  /// place when confirmed; `item` names one entry ("Include Path"), `caption` the dialog
  /// ("Include Paths").
  virtual bool EditPath(std::string& paths, std::string_view item, std::string_view caption,
                        int helpContext, char separator) = 0;
};

/// The design services the host has installed.
IMxDesignServices& MxDesignServices();

/// The type of the property sets that hold Windows version information.
std::string GetWin32PropertySetsStrs();

/// The property sets of the build script being edited.
class IMxPropertySetDesignServices {
 public:
  virtual ~IMxPropertySetDesignServices() = default;
  /// The names of the property sets of type `typeName`, in the script's order.
  virtual std::vector<std::string> PropertySetNames(std::string_view typeName) = 0;
};

IMxPropertySetDesignServices& MxPropertySetDesignServices();

}  // namespace mx
