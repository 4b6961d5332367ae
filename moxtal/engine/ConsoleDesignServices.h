#pragma once
// Design services for the headless editor: messages go to standard error, a Yes/No question is
// answered by --yes or asked on the terminal, a file dialog is answered with the file the command
// line named, and any other dialog that needs a person's choice is an error that says to use the
// desktop editor.

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

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

  /// Every Yes/No question is answered Yes without being shown: the command that runs the pages
  /// has asked its own question already (taking a project is the question).
  void AnswerYesSilently() { silentYes_ = true; }
  /// The next file dialog chooses `file`, as a person would; a second one needs a desktop.
  void ChooseFile(std::string file) { file_ = std::move(file); }

  /// How many messages were shown that asked nothing (errors and notes of the pages).
  int MessagesShown() const { return messagesShown_; }
  /// The errors among them: plain messages (what a page shows of a project it cannot read) and
  /// error boxes; warnings are not counted.
  const std::vector<std::string>& Errors() const { return errors_; }

 private:
  int messagesShown_ = 0;
  std::vector<std::string> errors_;
  std::optional<std::string> file_;
  bool silentYes_ = false;
  bool assumeYes_;
  std::istream& in_;
  std::ostream& out_;
};

}  // namespace mx::engine
