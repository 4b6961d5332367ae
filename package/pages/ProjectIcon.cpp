#include "ProjectIcon.h"

#include "moxtal/api/DesignServices.h"
#include "moxtal/api/Services.h"
#include "platform/FileNames.h"
#include "platform/ResourceFile.h"
#include "platform/WholeFile.h"

namespace mx::bcc {

using namespace platform;

namespace {

TProjectIcon WriteProjectIcon(const std::string& project) {
  TProjectIcon found;
  const std::string rsb = machinepath::ChangeFileExt(project, ".rsb");
  const std::string res = machinepath::ChangeFileExt(project, ".res");
  if (machinepath::FileExists(rsb)) {
    found.ResourceFile = rsb;
  } else if (machinepath::FileExists(res)) {
    WriteWholeFile(rsb, ReadWholeFile(res, kMaxResourceFileSize), TLinkPolicy::lpRefuse);
    found.ResourceFile = res;
  } else {
    return found;
  }
  const TResourceFile resources = TResourceFile::LoadFromFile(rsb);
  const TResourceId name = TResourceId::FromName("MAINICON");
  const TResourceEntry* icon = resources.Find(TResourceId::FromNumber(RT_GROUP_ICON), name);
  if (!icon) icon = resources.Find(TResourceId::FromNumber(RT_ICON), name);
  if (!icon) return found;
  const std::string file = machinepath::Join(machinepath::ExtractFileDir(project), "mainicon.ico");
  resources.SaveIcon(*icon, file);
  found.IconFile = file;
  return found;
}

}  // namespace

TProjectIcon TakeProjectIcon(const std::string& project) {
  try {
    return WriteProjectIcon(project);
  } catch (const EFOpenError& e) {
    // A name in the project's folder that is a link, or a file that cannot be written, leaves
    // the icon out; the person learns which file it was.
    MxDesignServices().MessageDlg(e.what(), TMsgDlgType::mtWarning, {TMsgDlgBtn::mbOK}, 0);
  } catch (const EResourceError& e) {
    MxDesignServices().MessageDlg(e.what(), TMsgDlgType::mtWarning, {TMsgDlgBtn::mbOK}, 0);
  }
  return {};
}

std::vector<std::string> ProjectIconFiles(const std::string& project) {
  return {machinepath::ChangeFileExt(project, ".rsb"),
          machinepath::Join(machinepath::ExtractFileDir(project), "mainicon.ico")};
}

std::optional<std::string> ConfirmReload(const std::string& kind, const std::string& projectText,
                                         int helpContext) {
  const TModalResult answer = MxDesignServices().MessageDlg(
      "Reload settings from " + kind +
          " file?\r\n"
          "Note that this will overwrite any settings you have changed \r\n"
          "in Moxtal",
      TMsgDlgType::mtConfirmation, {TMsgDlgBtn::mbYes, TMsgDlgBtn::mbNo}, helpContext);
  if (answer != TModalResult::mrYes) return std::nullopt;
  try {
    return MxDesignApplicationServices().ExpandExpression(projectText, true);
  } catch (const Exception& e) {
    MxDesignServices().MessageDlg("Error expanding project " + projectText + "\r\n" + e.what(),
                                  TMsgDlgType::mtError, {TMsgDlgBtn::mbOK}, helpContext);
    return std::nullopt;
  }
}

std::string ExpandedOrEmpty(const std::string& text) {
  try {
    return MxDesignApplicationServices().ExpandExpression(text, true);
  } catch (const Exception&) {
    return {};
  }
}

std::string IconFileText(const std::string& projectText, const std::string& iconFile) {
  const std::string name = machinepath::ExtractFileName(iconFile);
  // The icon lands in the project's folder, so the project's own text names that folder.
  if (machinepath::ExtractFileName(projectText).empty()) return iconFile;
  return machinepath::ExtractFilePath(projectText) + name;
}

std::string PagePath(const std::string& text, const TCustomMxAction* action) {
  std::string file = ExpandedOrEmpty(text);
  if (file.empty()) file = text;
  return action ? action->AbsolutePath(file) : file;
}

void ShowIconFile(TImage& display, const std::string& text, const TCustomMxAction* action,
                  bool quiet) {
  if (text.empty()) return;
  const std::string file = PagePath(text, action);
  if (!machinepath::FileExists(file)) return;
  try {
    display.LoadFromFile(file);
  } catch (const Exception&) {
    if (!quiet) throw;
  }
}

}  // namespace mx::bcc
