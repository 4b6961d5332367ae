#pragma once
// The design services of the Windows desktop: message boxes, the common file and folder
// dialogs, and the check-list and path-list dialogs the pages open.

#include <windows.h>

#include "moxtal/api/DesignServices.h"

namespace mx::wingui {

class TWin32DesignServices : public IMxDesignServices {
 public:
  /// Dialogs open over `owner` (may be null).
  explicit TWin32DesignServices(HWND owner) : owner_(owner) {}
  void SetOwner(HWND owner) { owner_ = owner; }

  TModalResult MessageDlg(std::string_view text, TMsgDlgType type, TMsgDlgButtons buttons,
                          int helpContext) override;
  void ShowMessage(std::string_view text) override;
  bool Execute(TOpenDialog& dialog) override;
  bool BrowseForFolder(std::string_view caption, std::string& folder) override;
  bool DisplayCheckListForm(IMxComponent* owner, std::string_view caption, int helpContext,
                            const platform::TStringList& all,
                            platform::TStringList& selection) override;
  bool EditPath(std::string& paths, std::string_view item, std::string_view caption,
                int helpContext, char separator) override;

 private:
  HWND owner_;
};

}  // namespace mx::wingui
