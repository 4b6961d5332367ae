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
  Get<TCheckBox>("cbIncludeVerInfo")
      .SetChecked(GetBooleanNodeValue(document, value("IncludeVerInfo"), false));
  if (!Get<TCheckBox>("cbIncludeVerInfo").Checked()) return;
  Get<TSpinEdit>("spMajorVer").SetValue(GetIntNodeValue(document, value("MajorVer"), 1));
  Get<TSpinEdit>("spMinorVer").SetValue(GetIntNodeValue(document, value("MinorVer"), 0));
  Get<TSpinEdit>("spReleaseVer").SetValue(GetIntNodeValue(document, value("Release"), 0));
  Get<TSpinEdit>("spBuildNo").SetValue(GetIntNodeValue(document, value("Build"), 0));
  Get<TCheckBox>("cbIncBuildNum")
      .SetChecked(GetBooleanNodeValue(document, value("AutoIncBuild"), false));
  Get<TCheckBox>("cbDebugBuild").SetChecked(GetBooleanNodeValue(document, value("Debug"), false));
  Get<TCheckBox>("cbPreRelease")
      .SetChecked(GetBooleanNodeValue(document, value("PreRelease"), false));
  Get<TCheckBox>("cbSpecialBuild")
      .SetChecked(GetBooleanNodeValue(document, value("Special"), false));
  Get<TCheckBox>("cbPrivateBuild")
      .SetChecked(GetBooleanNodeValue(document, value("Private"), false));
  Get<TCheckBox>("cbDLL").SetChecked(GetBooleanNodeValue(document, value("DLL"), false));
  SelectLocale(GetIntNodeValue(document, value("Locale"), 3081));
  Get<TEdit>("txtCodePage").SetText(GetStringNodeValue(document, value("CodePage"), "1252"));
  ResetGrid();
  FillGrid(GetStringListNodeValue(document, VersionKeysPath(version)));
}

}  // namespace mx::bcc
