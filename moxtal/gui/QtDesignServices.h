#pragma once
// The design services of the desktop: Qt message boxes and file dialogs, and the check-list
// and path-list dialogs the pages open.

#include "moxtal/api/DesignServices.h"

#include <QStringList>

class QWidget;

namespace mx::gui {

class TQtDesignServices : public IMxDesignServices {
 public:
  /// Dialogs open over `parent` (may be null).
  explicit TQtDesignServices(QWidget* parent) : parent_(parent) {}
  void SetParent(QWidget* parent) { parent_ = parent; }

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
  QWidget* parent_;
};

/// The name filters of a file dialog for a filter "Text|pattern|Text|pattern": "Text (pattern)"
/// each, the patterns added only where the text does not end with them already.
QStringList QtNameFilters(std::string_view filter);

}  // namespace mx::gui
