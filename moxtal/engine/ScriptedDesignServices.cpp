#include "ScriptedDesignServices.h"

#include "platform/Exception.h"

namespace mx::engine {

namespace {

TScriptedDesignServices::TCall Call(std::string kind, std::string_view text) {
  TScriptedDesignServices::TCall call;
  call.Kind = std::move(kind);
  call.Text = std::string(text);
  return call;
}

}  // namespace

void TScriptedDesignServices::Answer(TModalResult result) {
  answers_.emplace_back().Kind = TAnswerKind::akButton;
  answers_.back().Button = result;
}

void TScriptedDesignServices::ChooseFile(std::string file, int filterIndex) {
  answers_.emplace_back().Kind = TAnswerKind::akFile;
  answers_.back().Text = std::move(file);
  answers_.back().FilterIndex = filterIndex;
}

void TScriptedDesignServices::ChooseFolder(std::string folder) {
  answers_.emplace_back().Kind = TAnswerKind::akFolder;
  answers_.back().Text = std::move(folder);
}

void TScriptedDesignServices::CheckList(std::vector<std::string> selection) {
  answers_.emplace_back().Kind = TAnswerKind::akCheckList;
  answers_.back().Lines = std::move(selection);
}

void TScriptedDesignServices::EditPaths(std::string paths) {
  answers_.emplace_back().Kind = TAnswerKind::akPaths;
  answers_.back().Text = std::move(paths);
}

void TScriptedDesignServices::Cancel() {
  answers_.emplace_back().Kind = TAnswerKind::akCancel;
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
  TCall call = Call("MessageDlg", text);
  call.Type = type;
  call.Buttons = buttons;
  call.HelpContext = helpContext;
  if (buttons == TMsgDlgButtons{TMsgDlgBtn::mbOK}) {
    calls_.push_back(std::move(call));
    return TModalResult::mrOk;
  }
  return Take(TAnswerKind::akButton, call).Button;
}

void TScriptedDesignServices::ShowMessage(std::string_view text) {
  calls_.push_back(Call("ShowMessage", text));
}

bool TScriptedDesignServices::Execute(TOpenDialog& dialog) {
  TCall call = Call("OpenDialog", dialog.Title);
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
  TCall call = Call("BrowseForFolder", caption);
  call.Value = folder;
  const TAnswer answer = Take(TAnswerKind::akFolder, call);
  if (answer.Kind == TAnswerKind::akCancel) return false;
  folder = answer.Text;
  return true;
}

bool TScriptedDesignServices::DisplayCheckListForm(IMxComponent*, std::string_view caption,
                                                   int helpContext, const platform::TStringList&,
                                                   platform::TStringList& selection) {
  TCall call = Call("CheckList", caption);
  call.HelpContext = helpContext;
  call.Value = selection.Text();
  const TAnswer answer = Take(TAnswerKind::akCheckList, call);
  if (answer.Kind == TAnswerKind::akCancel) return false;
  selection.Clear();
  for (const auto& line : answer.Lines)
    selection.Add(line);
  return true;
}

bool TScriptedDesignServices::EditPath(std::string& paths, std::string_view item,
                                       std::string_view caption, int helpContext, char separator) {
  TCall call = Call("EditPath", caption);
  call.Value = paths;
  call.Item = std::string(item);
  call.HelpContext = helpContext;
  call.Separator = separator;
  const TAnswer answer = Take(TAnswerKind::akPaths, call);
  if (answer.Kind == TAnswerKind::akCancel) return false;
  paths = answer.Text;
  return true;
}

}  // namespace mx::engine
