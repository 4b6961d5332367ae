#include "ScriptedDesignServices.h"

#include "platform/Exception.h"

namespace mx::engine {

void TScriptedDesignServices::Answer(TModalResult result) {
  answers_.push_back({TAnswerKind::akButton, result});
}

void TScriptedDesignServices::ChooseFile(std::string file, int filterIndex) {
  answers_.push_back({TAnswerKind::akFile, {}, std::move(file), filterIndex});
}

void TScriptedDesignServices::ChooseFolder(std::string folder) {
  answers_.push_back({TAnswerKind::akFolder, {}, std::move(folder)});
}

void TScriptedDesignServices::CheckList(std::vector<std::string> selection) {
  answers_.push_back({TAnswerKind::akCheckList, {}, {}, 0, std::move(selection)});
}

void TScriptedDesignServices::EditPaths(std::string paths) {
  answers_.push_back({TAnswerKind::akPaths, {}, std::move(paths)});
}

void TScriptedDesignServices::Cancel() {
  answers_.push_back({TAnswerKind::akCancel});
}

TScriptedDesignServices::TAnswer TScriptedDesignServices::Take(TAnswerKind kind,
                                                               const TCall& call) {
  calls_.push_back(call);
  if (answers_.empty())
    throw Exception("No scripted answer for the " + call.Kind + " \"" + call.Text + "\"");
  TAnswer answer = std::move(answers_.front());
  answers_.pop_front();
  const bool cancels = answer.Kind == TAnswerKind::akCancel && kind != TAnswerKind::akButton;
  if (answer.Kind != kind && !cancels) {
    throw Exception("The scripted answer does not fit the " + call.Kind + " \"" + call.Text + "\"");
  }
  return answer;
}

TModalResult TScriptedDesignServices::MessageDlg(std::string_view text, TMsgDlgType type,
                                                 TMsgDlgButtons buttons, int helpContext) {
  TCall call{"MessageDlg", std::string(text), type, buttons, helpContext};
  if (buttons == TMsgDlgButtons{TMsgDlgBtn::mbOK}) {
    calls_.push_back(std::move(call));
    return TModalResult::mrOk;
  }
  return Take(TAnswerKind::akButton, call).Button;
}

void TScriptedDesignServices::ShowMessage(std::string_view text) {
  calls_.push_back({"ShowMessage", std::string(text)});
}

bool TScriptedDesignServices::Execute(TOpenDialog& dialog) {
  TCall call{"OpenDialog", dialog.Title};
  call.Dialog = dialog;
  call.Dialog.OnTypeChange = nullptr;
  const TAnswer answer = Take(TAnswerKind::akFile, call);
  if (answer.Kind == TAnswerKind::akCancel) return false;
  if (answer.FilterIndex != 0 && answer.FilterIndex != dialog.FilterIndex) {
    dialog.FilterIndex = answer.FilterIndex;
    if (dialog.OnTypeChange) dialog.OnTypeChange();
  }
  dialog.FileName = answer.Text;
  return true;
}

bool TScriptedDesignServices::BrowseForFolder(std::string_view caption, std::string& folder) {
  TCall call{"BrowseForFolder", std::string(caption)};
  call.Value = folder;
  const TAnswer answer = Take(TAnswerKind::akFolder, call);
  if (answer.Kind == TAnswerKind::akCancel) return false;
  folder = answer.Text;
  return true;
}

bool TScriptedDesignServices::DisplayCheckListForm(IMxComponent*, std::string_view caption,
                                                   int helpContext, const platform::TStringList&,
                                                   platform::TStringList& selection) {
  TCall call{"CheckList", std::string(caption)};
  call.HelpContext = helpContext;
  call.Value = selection.Text();
  const TAnswer answer = Take(TAnswerKind::akCheckList, call);
  if (answer.Kind == TAnswerKind::akCancel) return false;
  selection.Clear();
  for (const auto& line : answer.Lines)
    selection.Add(line);
  return true;
}

bool TScriptedDesignServices::EditPath(std::string_view caption, std::string& paths) {
  TCall call{"EditPath", std::string(caption)};
  call.Value = paths;
  const TAnswer answer = Take(TAnswerKind::akPaths, call);
  if (answer.Kind == TAnswerKind::akCancel) return false;
  paths = answer.Text;
  return true;
}

}  // namespace mx::engine
