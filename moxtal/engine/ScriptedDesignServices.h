#pragma once
// Design services that answer from a queue and record every call: the stand-in for a person at
// the desktop, in tests.

#include <deque>
#include <string>
#include <vector>

#include "moxtal/api/DesignServices.h"

namespace mx::engine {

class TScriptedDesignServices : public IMxDesignServices {
 public:
  /// One dialog as it was shown.
  struct TCall {
    std::string Kind;  // "MessageDlg", "ShowMessage", "OpenDialog", "BrowseForFolder",
                       // "CheckList", "EditPath"
    std::string Text;  // the message, the dialog's title or caption
    TMsgDlgType Type = TMsgDlgType::mtCustom;
    TMsgDlgButtons Buttons;
    int HelpContext = 0;
    TOpenDialog Dialog;  // an open dialog as it was set up (its event left out)
    std::string Value;   // the folder, path list or the check list's selection as shown
    std::string Item;    // what one entry of a path list is called
    char Separator = 0;  // the path list\'s separator
  };

  // Answers, taken in order by the dialogs that need one. A message box offering only OK
  // needs none.
  void Answer(TModalResult result);
  /// The file chosen in an open dialog; a `filterIndex` other than 0 is a change of file type
  /// made before choosing (the dialog's OnTypeChange runs).
  void ChooseFile(std::string file, int filterIndex = 0);
  void ChooseFolder(std::string folder);
  /// The selection lines the check-list dialog leaves.
  void CheckList(std::vector<std::string> selection);
  void EditPaths(std::string paths);
  /// Cancels the next file, folder, check-list or path dialog.
  void Cancel();

  const std::vector<TCall>& Calls() const { return calls_; }
  /// Answers not yet taken.
  std::size_t Pending() const { return answers_.size(); }

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
  enum class TAnswerKind { akButton, akFile, akFolder, akCheckList, akPaths, akCancel };
  struct TAnswer {
    TAnswerKind Kind = TAnswerKind::akCancel;
    TModalResult Button = TModalResult::mrNone;
    std::string Text;
    int FilterIndex = 0;
    std::vector<std::string> Lines;
  };
  /// The next answer for a dialog of `kind`; throws when there is none or it is of another kind.
  TAnswer Take(TAnswerKind kind, const TCall& call);

  std::deque<TAnswer> answers_;
  std::vector<TCall> calls_;
};

}  // namespace mx::engine
