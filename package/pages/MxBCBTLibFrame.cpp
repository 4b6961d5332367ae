#include "MxBCBTLibFrame.h"

#include "moxtal/api/DesignServices.h"
#include "moxtal/api/Services.h"

namespace mx::bcc {

TMxBCBTLibFrame::TMxBCBTLibFrame(IMxComponent* owner)
    : TMxBCBOptionFrame(owner, "MxBCBTLibFrame", 0, &ICBuilderProjectSettings::GetTLibOpt,
                        &ICBuilderProjectParser::GetTLibOptions) {
  TGroupBox& library = AddGroup(*this, "gbLibrary", "Library");
  cbCaseSensitive = &AddCheck(library, "cbCaseSensitive", "&Case-sensitive library");
  cbExtendedDictionary = &AddCheck(library, "cbExtendedDictionary", "Create extended &dictionary");
  cbPurgeComment = &AddCheck(library, "cbPurgeComment", "&Purge comment records");
  TPanel& form = library.Add<TPanel>("pnlLibrary", TLayout::loForm);
  spPageSize =
      &AddLabeled<TSpinEdit>(form, "lblPageSize", "Page &size:", "spPageSize", 16, 32768, 16);
  spPageSize->SetValue(16);
  txtListFile = &AddLabeled<TEdit>(form, "lblListFile", "&List file:", "txtListFile");
  txtListFile->FolderButton().Visible = true;
  TGroupBox& rtl = AddGroup(*this, "gbRTLOptions", "RTL Options");
  cbUseDynamicRTL = &AddCheck(rtl, "cbUseDynamicRTL", "Use dynamic &RTL");
  ListFileDialog.Filter = "All Files (*.*)|*.*";

  using R = ICBuilderTLibOptions;
  bindings_.Check(cbCaseSensitive, &R::GetCaseSensitive, &R::SetCaseSensitive);
  bindings_.Check(cbExtendedDictionary, &R::GetCreateExtendedDictionary,
                  &R::SetCreateExtendedDictionary);
  bindings_.Check(cbPurgeComment, &R::GetPurgeComments, &R::SetPurgeComments);
  bindings_.Spin(spPageSize, &R::GetPageSize, &R::SetPageSize);
  bindings_.Text(txtListFile, &R::GetListFile, &R::SetListFile);
  bindings_.Check(cbUseDynamicRTL, &R::GetUseRTL, &R::SetUseRTL);
  txtListFile->OnButtonClick = [this] { PickListFile(); };
}

void TMxBCBTLibFrame::PickListFile() {
  std::string initial = txtListFile->Text();
  try {
    initial = MxDesignApplicationServices().ExpandExpression(initial, true);
  } catch (const Exception&) {
    // The text as it is.
  }
  ListFileDialog.FileName = initial;
  if (MxDesignServices().Execute(ListFileDialog)) txtListFile->SetText(ListFileDialog.FileName);
}

}  // namespace mx::bcc
