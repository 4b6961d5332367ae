#pragma once
// The C++Builder 2006/2007 action's "Project" page: the project file, version, configuration,
// build type, make options and icon. A reload opens the project's XML document, lists its
// configurations and hands the document to the version and resource compiler pages.

#include <cstdint>

#include "moxtal/api/DesignServices.h"
#include "package/pages/CBuilder2006Frame.h"
#include "package/pages/ControlTable.h"
#include "package/pages/MxCBuilderFrame.h"
#include "package/pages/MxCBuilderPageKit.h"
#include "package/pages/ProjectIcon.h"
#include "package/projparser/CBuilder2006Project.h"

namespace mx::bcc {

class TCBuilder2006ProjectFrame : public TMxCBuilderFrame, public IMxProjectPage {
 public:
  explicit TCBuilder2006ProjectFrame(IMxComponent* owner);
  std::string PageName() override { return "Project"; }
  void ReadActionData(TCustomMxAction& action) override;
  void WriteActionData(TCustomMxAction& action) override;

  /// What a pick did: nothing (cancelled), a reload of the project already named (`Reloaded`
  /// tells whether it read it), or a new project whose icon was taken.
  enum class TPick : std::uint8_t { pkCancelled, pkSameProject, pkNewProject };
  TPick PickProject(bool* reloaded = nullptr);
  bool ReloadFromProject() override;
  /// A pick takes a new project's icon only; its reload reads the rest.
  bool TakeProject() override;
  std::vector<std::string> FilesATakeWrites(const std::string& project) const override {
    return ProjectIconFiles(project);
  }
  void PickIcon();
  /// Lists the document's configurations and hands the document to the pages that read it.
  void LoadSettingsFromBDSPRoj(const std::string& projectFile,
                               const platform::TXmlDocument& document);
  std::string ResourceFile() const override { return resourceFile_; }

  TOpenDialog OpenDialog1;
  TOpenDialog OpenIconDialog;

 private:
  TPropertyBindings bindings_;
  void VersionChosen();
  void FindProjectIcon();

  std::string resourceFile_;
  const TCustomMxAction* action_ = nullptr;
  // The controls its code works with, found in its table once, when the page is made.
  TBound<TImage> IconDisplay_;
  TBound<TComboBox> cboConfigs_;
  TBound<TComboBox> cboVersion_;
  TBound<TLabel> lblAllConfigs_;
  TBound<TEdit> txtIconFile_;
  TBound<TEdit> txtMakeOptions_;
  TBound<TEdit> txtProject_;
};

}  // namespace mx::bcc
