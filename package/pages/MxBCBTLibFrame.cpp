#include "MxBCBTLibFrame.h"

#include "moxtal/api/DesignServices.h"
#include "moxtal/api/Services.h"

namespace mx::bcc {
namespace {

using namespace rows;

constexpr TControlRow kTLibControls[] = {
    Group("gbLibrary", "Library"),
    Check("cbCaseSensitive", "&Case-sensitive library", "gbLibrary", "CaseSensitive"),
    Check("cbExtendedDictionary", "Create extended &dictionary", "gbLibrary",
          "CreateExtendedDictionary"),
    Check("cbPurgeComment", "&Purge comment records", "gbLibrary", "PurgeComments"),
    FormPanel("pnlLibrary", "gbLibrary"),
    Spin("spPageSize", "lblPageSize", "Page &size:", "pnlLibrary", "PageSize")
        .Range(16, 32768, 16)
        .Initially(16),
    Edit("txtListFile", "lblListFile", "&List file:", "pnlLibrary", "ListFile")
        .WithButton(TEditGlyph::egFolder),
    Group("gbRTLOptions", "RTL Options"),
    Check("cbUseDynamicRTL", "Use dynamic &RTL", "gbRTLOptions", "UseRTL"),
};

}  // namespace

TMxBCBTLibFrame::TMxBCBTLibFrame(IMxComponent* owner)
    : TMxBCBOptionFrame(owner, "MxBCBTLibFrame", 0, &ICBuilderProjectSettings::GetTLibOpt,
                        &ICBuilderProjectParser::GetTLibOptions, kTLibControls) {
  txtListFile_.Bind(*this, "txtListFile");
  txtListFile_->OnButtonClick = [this] { PickListFile(); };
  ListFileDialog.Filter = "All Files (*.*)|*.*";
}

void TMxBCBTLibFrame::PickListFile() {
  auto& listFile = *txtListFile_;
  std::string initial = listFile.Text();
  try {
    initial = MxDesignApplicationServices().ExpandExpression(initial, true);
  } catch (const Exception&) {
    // The text as it is.
  }
  ListFileDialog.FileName = initial;
  if (MxDesignServices().Execute(ListFileDialog)) listFile.SetText(ListFileDialog.FileName);
}

}  // namespace mx::bcc
