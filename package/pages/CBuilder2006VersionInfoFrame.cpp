#include "CBuilder2006VersionInfoFrame.h"

#include "moxtal/api/XmlValues.h"

namespace mx::bcc {

TCBuilder2006VersionInfoFrame::TCBuilder2006VersionInfoFrame(IMxComponent* owner)
    : TVersionInfoFrame(owner, {"CBuilder2006VersionInfoFrame", 0, "cbAutoUpdateFileVersion",
                                "Auto-Update FileVersion", "cbLinkProductVersion", true, true}) {}

void TCBuilder2006VersionInfoFrame::ReloadFromBDSPRoj(const std::string&,
                                                      const platform::TXmlDocument& document,
                                                      int version) {
  if (version != 0 && version != 1) return;
  const auto value = [version](const char* name) { return VersionValuePath(version, name); };
  cbIncludeVerInfo_->SetChecked(GetBooleanNodeValue(document, value("IncludeVerInfo"), false));
  if (!cbIncludeVerInfo_->Checked()) return;
  spMajorVer_->SetValue(GetIntNodeValue(document, value("MajorVer"), 1));
  spMinorVer_->SetValue(GetIntNodeValue(document, value("MinorVer"), 0));
  spReleaseVer_->SetValue(GetIntNodeValue(document, value("Release"), 0));
  spBuildNo_->SetValue(GetIntNodeValue(document, value("Build"), 0));
  cbIncBuildNum_->SetChecked(GetBooleanNodeValue(document, value("AutoIncBuild"), false));
  cbDebugBuild_->SetChecked(GetBooleanNodeValue(document, value("Debug"), false));
  cbPreRelease_->SetChecked(GetBooleanNodeValue(document, value("PreRelease"), false));
  cbSpecialBuild_->SetChecked(GetBooleanNodeValue(document, value("Special"), false));
  cbPrivateBuild_->SetChecked(GetBooleanNodeValue(document, value("Private"), false));
  cbDLL_->SetChecked(GetBooleanNodeValue(document, value("DLL"), false));
  SelectLocale(GetIntNodeValue(document, value("Locale"), 3081));
  txtCodePage_->SetText(GetStringNodeValue(document, value("CodePage"), "1252"));
  ResetGrid();
  FillGrid(GetStringListNodeValue(document, VersionKeysPath(version)));
}

}  // namespace mx::bcc
