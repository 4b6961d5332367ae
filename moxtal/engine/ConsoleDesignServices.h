#pragma once
// Design services for the headless editor: messages go to standard error, a Yes/No question is
// answered by --yes or asked on the terminal, and a dialog that needs a person's choice of a
// file or folder is an error that says to use the desktop editor.

#include <iosfwd>

#include "moxtal/api/DesignServices.h"

namespace mx::engine {

class TConsoleDesignServices : public IMxDesignServices {
 public:
  /// `assumeYes` answers every Yes/No question with Yes; otherwise questions are read from
  /// `in` (a line beginning with "y" is Yes, anything else or the end of input No).
  TConsoleDesignServices(bool assumeYes, std::istream& in, std::ostream& out);

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

  /// How many messages were shown that asked nothing (errors and notes of the pages).
  int MessagesShown() const { return messagesShown_; }

 private:
  int messagesShown_ = 0;
  bool assumeYes_;
  std::istream& in_;
  std::ostream& out_;
};

}  // namespace mx::engine
