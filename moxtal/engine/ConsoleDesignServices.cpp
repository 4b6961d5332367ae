#include "ConsoleDesignServices.h"

#include <istream>
#include <ostream>

#include "platform/Exception.h"
#include "platform/StrUtils.h"

namespace mx::engine {

namespace {

// Message texts break their lines with CR LF; a terminal wants LF.
std::string ForTerminal(std::string_view text) {
  return platform::ReplaceAll(text, "\r\n", "\n");
}

[[noreturn]] void NeedsDesktop(std::string_view what) {
  throw Exception("The dialog \"" + std::string(what) +
                  "\" needs a person at the desktop: run moxtal edit without --reload or --dump");
}

}  // namespace

TConsoleDesignServices::TConsoleDesignServices(bool assumeYes, std::istream& in, std::ostream& out)
    : assumeYes_(assumeYes), in_(in), out_(out) {}

TModalResult TConsoleDesignServices::MessageDlg(std::string_view text, TMsgDlgType type,
                                                TMsgDlgButtons buttons, int) {
  if (silentYes_ && buttons.Contains(TMsgDlgBtn::mbYes)) return TModalResult::mrYes;
  out_ << ForTerminal(text) << "\n";
  if (!buttons.Contains(TMsgDlgBtn::mbYes)) {
    ++messagesShown_;
    if (type == TMsgDlgType::mtError) errors_.push_back(ForTerminal(text));
    return TModalResult::mrOk;
  }
  if (assumeYes_) {
    out_ << "(answered Yes by --yes)\n";
    return TModalResult::mrYes;
  }
  out_ << "Yes or No? [y/N] " << std::flush;
  std::string answer;
  if (!std::getline(in_, answer)) return TModalResult::mrNo;
  answer = platform::Trim(answer);
  return !answer.empty() && (answer[0] == 'y' || answer[0] == 'Y') ? TModalResult::mrYes
                                                                   : TModalResult::mrNo;
}

void TConsoleDesignServices::ShowMessage(std::string_view text) {
  ++messagesShown_;
  errors_.push_back(ForTerminal(text));
  out_ << ForTerminal(text) << "\n";
}

bool TConsoleDesignServices::Execute(TOpenDialog& dialog) {
  if (!file_) NeedsDesktop(dialog.Title);
  dialog.FileName = std::move(*file_);
  file_.reset();
  return true;
}

bool TConsoleDesignServices::BrowseForFolder(std::string_view caption, std::string&) {
  NeedsDesktop(caption);
}

bool TConsoleDesignServices::DisplayCheckListForm(IMxComponent*, std::string_view caption, int,
                                                  const platform::TStringList&,
                                                  platform::TStringList&) {
  NeedsDesktop(caption);
}

bool TConsoleDesignServices::EditPath(std::string&, std::string_view, std::string_view caption, int,
                                      char) {
  NeedsDesktop(caption);
}

}  // namespace mx::engine
