#pragma once
// The C++Builder 2006/2007 action's "Project" page: the project file, version, configuration,
// build type, make options and icon. A reload opens the project's XML document, lists its
// configurations and hands the document to the version and resource compiler pages.

#include "moxtal/api/DesignServices.h"
#include "package/pages/CBuilder2006Xml.h"
#include "package/pages/MxCBuilderFrame.h"
#include "package/pages/MxCBuilderPageKit.h"

namespace mx::bcc {

class TCBuilder2006ProjectFrame : public TMxCBuilderFrame, public IMxProjectReload {
 public:
  explicit TCBuilder2006ProjectFrame(IMxComponent* owner);
  std::string PageName() override { return "Project"; }
  void ReadActionData(TCustomMxAction& action) override;
  void WriteActionData(TCustomMxAction& action) override;

  void PickProject();
  bool ReloadFromProject() override;
  void PickIcon();
  /// Lists the document's configurations and hands the document to the pages that read it.
  void LoadSettingsFromBDSPRoj(const std::string& projectFile,
                               const platform::TXmlDocument& document);
  const std::string& ResourceFile() const { return resourceFile_; }

  TOpenDialog OpenDialog1;
  TOpenDialog OpenIconDialog;

 private:
  TPropertyBindings bindings_;
  void VersionChosen();
  void FindProjectIcon();

  std::string resourceFile_;
  const TCustomMxAction* action_ = nullptr;
};

}  // namespace mx::bcc
