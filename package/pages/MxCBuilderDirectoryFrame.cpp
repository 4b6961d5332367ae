#include "MxCBuilderDirectoryFrame.h"

#include "moxtal/api/DesignServices.h"
#include "package/pages/ControlTable.h"
#include "platform/StrUtils.h"

namespace mx::bcc {

namespace {

using namespace rows;

constexpr TControlRow kDirectoryControls[] = {
    Label("lblNote",
          "Note : When any of these fields are blank, the settings in the project file will be "
          "used. If a field has a value then that value will be used instead of the value in the "
          "project file.")
        .WordWrap(),
    FormGroup("gbDirectories", "Directories"),
    Edit("txtIncludePath", "lblIncludePath", "&Include Path :", "gbDirectories", "IncludePath")
        .WithButton(TEditGlyph::egEllipsis)
        .WithSecondButton(TEditGlyph::egClear, "Clear")
        .Hint("Folders searched for header files, separated by \";\" ($(BCB) is the C++Builder "
              "folder)"),
    Edit("txtLibraryPath", "lblLibraryPath", "&Library Path :", "gbDirectories", "LibraryPath")
        .WithButton(TEditGlyph::egEllipsis)
        .WithSecondButton(TEditGlyph::egClear, "Clear")
        .Hint("Folders searched for libraries, separated by \";\" ($(BCB) is the C++Builder "
              "folder)"),
    Edit("txtIntermediateOutput", "lblIntermediateOutput",
         "Intermediate &output :", "gbDirectories", "IntermediateOutputPath")
        .WithButton(TEditGlyph::egFolder)
        .WithSecondButton(TEditGlyph::egClear, "Clear")
        .Hint("Where the object files go"),
    Edit("txtFinalOutput", "lblFinalOutput", "&Final output :", "gbDirectories", "FinalOutputPath")
        .WithButton(TEditGlyph::egFolder)
        .WithSecondButton(TEditGlyph::egClear, "Clear")
        .Hint("Where the program or package goes"),
    Edit("txtBPI_LIBOutput", "lblBPI_LIBOutput", "BPI/LIB output :", "gbDirectories",
         "BPILIBOutputPath")
        .WithButton(TEditGlyph::egFolder)
        .WithSecondButton(TEditGlyph::egClear, "Clear")
        .Hint("Where a package's .bpi and .lib files go"),
    Edit("txtConditionals", "lblConditionals", "Conditional Defines :", "gbDirectories",
         "Conditionals")
        .WithSecondButton(TEditGlyph::egClear, "Clear")
        .Hint("Defines separated by \";\""),
    Group("gbEnvironment", "C++Builder environment"),
    Check("chkUseRegForBPL", "Use BCB Environment Settings (BPL Output Dir)  for Final Output",
          "gbEnvironment", "UseRegForBPLPath"),
    Check("chkUseRegForBPI", "Use BCB Environment Settings for BPI/LIB Output Path",
          "gbEnvironment", "UseRegForBPIPath"),
    RowPanel("pnlButtons"),
    Button("cmdClearAll", "Clear All", "pnlButtons"),
};

// What the edits' main buttons do: edit a list of folders ("Title" the dialog's caption, "Item"
// what one line is) or pick one folder ("Title" the dialog's title).
struct TFolderEdit {
  const char* Name;
  bool List;
  const char* Item;
  const char* Title;
};
constexpr TFolderEdit kFolderEdits[] = {
    {"txtIncludePath", true, "Include Path", "Include Paths"},
    {"txtLibraryPath", true, "Library Path", "Library Paths"},
    {"txtIntermediateOutput", false, "", "Select Intermediate Output Directory"},
    {"txtFinalOutput", false, "", "Select Final Output Directory"},
    {"txtBPI_LIBOutput", false, "", "Select BPI/LIB Output Directory"},
};

// The edits whose second button (hint "Clear") empties them, as "Clear All" empties them all.
constexpr const char* kClearableEdits[] = {"txtIncludePath",        "txtLibraryPath",
                                           "txtIntermediateOutput", "txtFinalOutput",
                                           "txtBPI_LIBOutput",      "txtConditionals"};

}  // namespace

TMxCBuilderDirectoryFrame::TMxCBuilderDirectoryFrame(IMxComponent* owner)
    : TMxCBuilderFrame(owner, "MxCBuilderDirectoryFrame", kOptionPagesHelpContext) {
  AddControls(*this, kDirectoryControls, bindings_);
  cmdClearAll_.Bind(*this, "cmdClearAll");
  txtBPI_LIBOutput_.Bind(*this, "txtBPI_LIBOutput");
  txtConditionals_.Bind(*this, "txtConditionals");
  txtFinalOutput_.Bind(*this, "txtFinalOutput");
  txtIncludePath_.Bind(*this, "txtIncludePath");
  txtIntermediateOutput_.Bind(*this, "txtIntermediateOutput");
  txtLibraryPath_.Bind(*this, "txtLibraryPath");
  for (const TFolderEdit& folder : kFolderEdits) {
    TEdit& edit = Get<TEdit>(folder.Name);
    edit.OnButtonClick = [this, &edit, folder] {
      std::string text = edit.Text();
      const bool chosen = folder.List ? MxDesignServices().EditPath(text, folder.Item, folder.Title,
                                                                    HelpContext(), ';')
                                      : MxDesignServices().BrowseForFolder(folder.Title, text);
      if (chosen) edit.SetText(text);
    };
  }
  for (const char* name : kClearableEdits) {
    TEdit& edit = Get<TEdit>(name);
    edit.OnCustomButtonClick = [&edit] { edit.SetText(""); };
  }
  cmdClearAll_->OnClick = [this] {
    for (const char* name : kClearableEdits)
      Get<TEdit>(name).SetText("");
  };
}

void TMxCBuilderDirectoryFrame::ReadActionData(TCustomMxAction& any) {
  const TMxCBuilderAction& action = ActionAs<TMxCBuilderAction>(any);
  version_ = action.GetCBuilderVersion();
  bindings_.Read(action);
}

void TMxCBuilderDirectoryFrame::WriteActionData(TCustomMxAction& any) {
  bindings_.Write(ActionAs<TMxCBuilderAction>(any));
}

void TMxCBuilderDirectoryFrame::LoadSettings(
    const std::shared_ptr<ICBuilderProjectParser>& parser) {
  version_ = parser->GetCBuilderVersion();
  txtIncludePath_->SetText(parser->GetIncludePath());
  txtLibraryPath_->SetText(parser->GetLibraryPath());
  txtIntermediateOutput_->SetText(parser->GetIntermediateOutputPath());
  txtFinalOutput_->SetText(parser->GetFinalOutputPath());
  txtConditionals_->SetText(parser->GetConditionals());
  txtBPI_LIBOutput_->SetText(parser->GetBPILIBOutputPath());
}

void TMxCBuilderDirectoryFrame::SpeedSetting(TBCBSpeedSetting setting) {
  TEdit& conditionals = *txtConditionals_;
  std::string text = conditionals.Text();
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
  conditionals.SetText(text);
}

void TMxCBuilderDirectoryFrame::OnShowHint(std::string& hint) {
  RewriteRootVariable(hint, version_);
}

void TMxCBuilderDirectoryFrame::OnPageActivate() {
  txtIncludePath_->SetFocus();
}

}  // namespace mx::bcc
