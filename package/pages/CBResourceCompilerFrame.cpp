#include "CBResourceCompilerFrame.h"

#include "moxtal/api/DesignServices.h"
#include "package/action2006/CBuilder2006Action.h"
#include "package/pages/ControlTable.h"
#include "platform/FileNames.h"
#include "platform/ResourceFile.h"
#include "platform/StrUtils.h"
#include "platform/WholeFile.h"

namespace mx::bcc {

using namespace platform;

namespace {

// A file button: starts at the edit's file and its folder, and puts the chosen file back.
void PickInto(TEdit& edit, TOpenDialog& dialog) {
  dialog.FileName = edit.Text();
  dialog.InitialDir = edit.Text().empty() ? "" : machinepath::ExtractFileDir(edit.Text());
  if (MxDesignServices().Execute(dialog)) edit.SetText(dialog.FileName);
}

using namespace rows;

// "OpenDialog1" (the manifest's) and "OpenDialog2" (the compiler's) are the system's own names.
constexpr TControlRow kResourceCompilerControls[] = {
    FormGroup("gbCompiler", "Resource compiler"),
    Combo("cboCompiler", "lblCompiler", "Compiler", "gbCompiler",
          "Borland (BRCC32.EXE)\r\nMicrosoft (RC.EXE)\r\nOther\r\n", "ResourceCompilerType"),
    Edit("txtCompilerLocation", "lblCompilerLocation", "Resource Compiler Location", "gbCompiler",
         "ResourceCompilerPath")
        .WithButton(TEditGlyph::egFolder, "Select Resource Compiler")
        .Unavailable(),
    Edit("txtCompilerParams", "lblCompilerParams", "Resource Compiler Parameters", "gbCompiler",
         "ResourceCompilerOptions")
        .Unavailable(),
    Label("lblParamsNote",
          "Note : %1% will be replaced by the resource script file name at runtime.", "gbCompiler")
        .WordWrap(),
    Group("gbManifest", "Manifest"),
    Check("chkIncludeManifest", "Include Manifest File In Resources", "gbManifest",
          "IncludeManifest"),
    Edit("txtManifestFile", "", "", "gbManifest", "ManifestFile")
        .WithButton(TEditGlyph::egFolder, "Select Manifest File"),
};

}  // namespace

TCBResourceCompilerFrame::TCBResourceCompilerFrame(IMxComponent* owner)
    : TMxCBuilderFrame(owner, "CBResourceCompilerFrame", 0) {
  AddControls(*this, kResourceCompilerControls, bindings_);
  cboCompiler_.Bind(*this, "cboCompiler");
  chkIncludeManifest_.Bind(*this, "chkIncludeManifest");
  txtCompilerLocation_.Bind(*this, "txtCompilerLocation");
  txtCompilerParams_.Bind(*this, "txtCompilerParams");
  txtManifestFile_.Bind(*this, "txtManifestFile");
  TEdit& location = *txtCompilerLocation_;
  TEdit& manifest = *txtManifestFile_;

  OpenDialog2.Title = "Select Resource Compiler";
  OpenDialog2.Filter = "Resource Compiler (*.exe)|*.exe";
  OpenDialog1.Title = "Select Manifest File";
  OpenDialog1.Filter = "Manifest Files (*.xml)|*.xml|All Files (*.*)|*.*";

  cboCompiler_->OnChange = [this] { CompilerChosen(); };
  location.OnButtonClick = [this, &location] { PickInto(location, OpenDialog2); };
  manifest.OnButtonClick = [this, &manifest] { PickInto(manifest, OpenDialog1); };
}

void TCBResourceCompilerFrame::CompilerChosen() {
  const int index = cboCompiler_->ItemIndex();
  TEdit& params = *txtCompilerParams_;
  txtCompilerLocation_->SetEnabled(index > 0);
  params.SetEnabled(index > 0);
  if ((index == 1 || index == 2) && Trim(params.Text()).empty()) params.SetText("%1%");
}

void TCBResourceCompilerFrame::ReadActionData(TCustomMxAction& any) {
  const TCBuilder2006Action& action = ActionAs<TCBuilder2006Action>(any);
  bindings_.Read(action);
  const bool other = action.GetResourceCompilerType() != TMxCBResourceCompiler::rcBorland;
  txtCompilerLocation_->SetEnabled(other);
  txtCompilerParams_->SetEnabled(other);
}

void TCBResourceCompilerFrame::WriteActionData(TCustomMxAction& any) {
  bindings_.Write(ActionAs<TCBuilder2006Action>(any));
}

void TCBResourceCompilerFrame::ReloadFromBDSPRoj(const std::string& projectFile,
                                                 const platform::TXmlDocument&, int) {
  TEdit& manifestFile = *txtManifestFile_;
  if (!manifestFile.Text().empty()) return;
  const std::string manifest = machinepath::ChangeFileExt(projectFile, "") + "Manifest.xml";
  if (machinepath::FileExists(manifest)) {
    manifestFile.SetText(manifest);
    chkIncludeManifest_->SetChecked(true);
    return;
  }
  const std::string res = machinepath::ChangeFileExt(projectFile, ".res");
  if (!machinepath::FileExists(res)) return;
  try {
    const TResourceFile resources = TResourceFile::LoadFromFile(res);
    // The application manifest is resource 1 of its type (by number, or by the name "1").
    const TResourceId type = TResourceId::FromNumber(RT_MANIFEST);
    const TResourceEntry* entry = resources.Find(type, TResourceId::FromNumber(1));
    if (!entry) entry = resources.Find(type, TResourceId::FromName("1"));
    if (!entry) return;
    if (entry->Data.size() > kMaxExtractedResourceSize) {
      throw EResourceError(res + ": its manifest holds more than " +
                           std::to_string(kMaxExtractedResourceSize) + " bytes");
    }
    WriteWholeFile(manifest, entry->Data, TLinkPolicy::lpRefuse);
    manifestFile.SetText(manifest);
  } catch (const EFOpenError& e) {
    // Nothing is written through a link in the project's folder; the person learns which file.
    MxDesignServices().MessageDlg(e.what(), TMsgDlgType::mtWarning, {TMsgDlgBtn::mbOK}, 0);
  } catch (const EResourceError& e) {
    MxDesignServices().MessageDlg(e.what(), TMsgDlgType::mtWarning, {TMsgDlgBtn::mbOK}, 0);
  } catch (const Exception&) {
    // A manifest that cannot be taken out is left; the edit stays empty.
  }
}

}  // namespace mx::bcc
