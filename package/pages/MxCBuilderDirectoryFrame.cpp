#include "MxCBuilderDirectoryFrame.h"

#include "moxtal/api/DesignServices.h"
#include "platform/StrUtils.h"

namespace mx::bcc {

namespace {

// An edit whose main button opens `open`, and whose second button (hint "Clear") empties it.
TEdit& AddFolderEdit(TContainer& form, const char* label, const char* caption, const char* name,
                     std::string hint, TEditGlyph glyph, std::function<void(TEdit&)> open) {
  TEdit& edit = AddLabeled<TEdit>(form, label, caption, name);
  edit.SetHint(std::move(hint));
  edit.FolderButton() = {true, "", glyph};
  edit.CustomButton() = {true, "Clear", TEditGlyph::egClear};
  edit.OnButtonClick = [&edit, open] { open(edit); };
  edit.OnCustomButtonClick = [&edit] { edit.SetText(""); };
  return edit;
}

}  // namespace

TMxCBuilderDirectoryFrame::TMxCBuilderDirectoryFrame(IMxComponent* owner)
    : TMxCBuilderFrame(owner, "MxCBuilderDirectoryFrame", kOptionPagesHelpContext) {
  lblNote = &Add<TLabel>(
      "lblNote",
      "Note : When any of these fields are blank, the settings in the project file will be used. "
      "If a field has a value then that value will be used instead of the value in the project "
      "file.");
  lblNote->SetWordWrap(true);
  TGroupBox& folders = AddGroup(*this, "gbDirectories", "Directories", TLayout::loForm);
  const auto paths = [this](const char* item, const char* caption) {
    return [this, item, caption](TEdit& edit) {
      std::string text = edit.Text();
      if (MxDesignServices().EditPath(text, item, caption, HelpContext(), ';')) edit.SetText(text);
    };
  };
  const auto folder = [](const char* title) {
    return [title](TEdit& edit) {
      std::string chosen = edit.Text();
      if (MxDesignServices().BrowseForFolder(title, chosen)) edit.SetText(chosen);
    };
  };
  txtIncludePath = &AddFolderEdit(
      folders, "lblIncludePath", "&Include Path :", "txtIncludePath",
      "Folders searched for header files, separated by \";\" ($(BCB) is the C++Builder folder)",
      TEditGlyph::egEllipsis, paths("Include Path", "Include Paths"));
  txtLibraryPath = &AddFolderEdit(
      folders, "lblLibraryPath", "&Library Path :", "txtLibraryPath",
      "Folders searched for libraries, separated by \";\" ($(BCB) is the C++Builder folder)",
      TEditGlyph::egEllipsis, paths("Library Path", "Library Paths"));
  txtIntermediateOutput =
      &AddFolderEdit(folders, "lblIntermediateOutput",
                     "Intermediate &output :", "txtIntermediateOutput", "Where the object files go",
                     TEditGlyph::egFolder, folder("Select Intermediate Output Directory"));
  txtFinalOutput = &AddFolderEdit(folders, "lblFinalOutput", "&Final output :", "txtFinalOutput",
                                  "Where the program or package goes", TEditGlyph::egFolder,
                                  folder("Select Final Output Directory"));
  txtBPI_LIBOutput =
      &AddFolderEdit(folders, "lblBPI_LIBOutput", "BPI/LIB output :", "txtBPI_LIBOutput",
                     "Where a package's .bpi and .lib files go", TEditGlyph::egFolder,
                     folder("Select BPI/LIB Output Directory"));
  txtConditionals =
      &AddLabeled<TEdit>(folders, "lblConditionals", "Conditional Defines :", "txtConditionals");
  txtConditionals->CustomButton() = {true, "Clear", TEditGlyph::egClear};
  txtConditionals->OnCustomButtonClick = [this] { txtConditionals->SetText(""); };
  txtConditionals->SetHint("Defines separated by \";\"");

  TGroupBox& environment = AddGroup(*this, "gbEnvironment", "C++Builder environment");
  chkUseRegForBPL = &AddCheck(environment, "chkUseRegForBPL",
                              "Use BCB Environment Settings (BPL Output Dir)  for Final Output");
  chkUseRegForBPI = &AddCheck(environment, "chkUseRegForBPI",
                              "Use BCB Environment Settings for BPI/LIB Output Path");
  TPanel& buttons = Add<TPanel>("pnlButtons", TLayout::loRow);
  cmdClearAll = &buttons.Add<TButton>("cmdClearAll", "Clear All");
  cmdClearAll->OnClick = [this] {
    for (TEdit* edit : {txtIncludePath, txtLibraryPath, txtIntermediateOutput, txtFinalOutput,
                        txtBPI_LIBOutput, txtConditionals})
      edit->SetText("");
  };
  bindings_.Text(*txtIncludePath, "IncludePath")
      .Text(*txtLibraryPath, "LibraryPath")
      .Text(*txtIntermediateOutput, "IntermediateOutputPath")
      .Text(*txtFinalOutput, "FinalOutputPath")
      .Text(*txtBPI_LIBOutput, "BPILIBOutputPath")
      .Text(*txtConditionals, "Conditionals")
      .Check(*chkUseRegForBPL, "UseRegForBPLPath")
      .Check(*chkUseRegForBPI, "UseRegForBPIPath");
}

void TMxCBuilderDirectoryFrame::ReadActionData(TCustomMxAction& any) {
  const TMxCBuilderAction& action = CBuilderAction(any);
  version_ = action.GetCBuilderVersion();
  bindings_.Read(action);
}

void TMxCBuilderDirectoryFrame::WriteActionData(TCustomMxAction& any) {
  bindings_.Write(CBuilderAction(any));
}

void TMxCBuilderDirectoryFrame::LoadSettings(
    const std::shared_ptr<ICBuilderProjectParser>& parser) {
  version_ = parser->GetCBuilderVersion();
  txtIncludePath->SetText(parser->GetIncludePath());
  txtLibraryPath->SetText(parser->GetLibraryPath());
  txtIntermediateOutput->SetText(parser->GetIntermediateOutputPath());
  txtFinalOutput->SetText(parser->GetFinalOutputPath());
  txtConditionals->SetText(parser->GetConditionals());
  txtBPI_LIBOutput->SetText(parser->GetBPILIBOutputPath());
}

void TMxCBuilderDirectoryFrame::SpeedSetting(TBCBSpeedSetting setting) {
  std::string text = txtConditionals->Text();
  if (setting == TBCBSpeedSetting::ssFullDebug) {
    if (text.find("_DEBUG") != std::string::npos) return;
    if (platform::Trim(text).empty()) {
      text = "_DEBUG;";
    } else if (text.back() == ';') {
      text += "_DEBUG";
    } else {
      text += ";_DEBUG";
    }
  } else {
    // Each step removes at most one occurrence, the separator with it where there is one.
    for (const std::string_view define : {"_DEBUG;", ";_DEBUG", "_DEBUG"}) {
      if (const auto at = text.find(define); at != std::string::npos) text.erase(at, define.size());
    }
  }
  txtConditionals->SetText(text);
}

void TMxCBuilderDirectoryFrame::OnShowHint(std::string& hint) {
  RewriteRootVariable(hint, version_);
}

void TMxCBuilderDirectoryFrame::OnPageActivate() {
  txtIncludePath->SetFocus();
}

}  // namespace mx::bcc
