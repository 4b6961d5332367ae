#pragma once
// The "Project" page of the C++Builder 5/6 action: the project file and how it is built, the
// icon, the runtime packages, and which option families of the action replace the project's.
// Picking or reloading a project fills every page of the dialog from the project file.

#include <memory>
#include <string>

#include "moxtal/api/DesignServices.h"
#include "package/pages/ControlTable.h"
#include "package/pages/MxCBuilderFrame.h"
#include "package/pages/MxCBuilderPageKit.h"
#include "package/pages/ProjectIcon.h"
#include "package/projparser/MxCBuilderUtils.h"

namespace mx::bcc {

class TMxCBuilderAction;

class TMxCBuilderProjectFrame : public TMxCBuilderFrame,
                                public ICBuilderPropertyFrame,
                                public IMxProjectPage {
 public:
  explicit TMxCBuilderProjectFrame(IMxComponent* owner);

  void ReadActionData(TCustomMxAction& action) override;
  void WriteActionData(TCustomMxAction& action) override;
  std::string PageName() override { return "Project"; }
  void LoadSettings(const std::shared_ptr<ICBuilderProjectParser>& parser) override;

  // The operations the controls start.
  /// True when the project's settings were read (a new project, or the same one reloaded).
  bool PickProject();
  bool ReloadFromProject() override;
  /// Picking a project reads every setting of it.
  bool TakeProject() override { return PickProject(); }
  std::vector<std::string> FilesATakeWrites(const std::string& project) const override {
    return ProjectIconFiles(project);
  }
  void PickIcon();
  void AddPackage();

  /// The resource file found when a project was last picked ("" when none).
  std::string ResourceFile() const override { return resourceFile_; }
  TCBuilderVersion Version() const { return version_; }
  TCBuilderProjectType ProjectType() const { return projectType_; }

  TOpenDialog OpenDialog1;
  TOpenDialog OpenIconDialog;
  TOpenDialog OpenPackageDialog;

 private:
  /// A parser of `file` with every family parsed; nullptr (after a message box) when the file
  /// is not a project the parser accepts.
  std::shared_ptr<ICBuilderProjectParser> OpenParser(const std::string& file);
  /// Checks every use-options box, keeps the project type and sets the bpr2mak options and
  /// make capture for library projects.
  void UseEveryFamily(const ICBuilderProjectParser& parser);
  void FindProjectIcon();
  void ShowIcon(bool quiet);
  /// A file name of the controls as a path of this machine: relative names are taken against
  /// the action's folder, as the build takes them.
  std::string MachinePath(const std::string& file) const;
  void SaveProjectFilter();
  /// The packages' edit is usable only when the build uses runtime packages.
  void UpdatePackages();

  TCBuilderVersion version_ = TCBuilderVersion::cvBCB6;
  TCBuilderProjectType projectType_ = TCBuilderProjectType::ptExe;
  TPropertyBindings bindings_;
  std::string resourceFile_;
  const TCustomMxAction* action_ = nullptr;
  // The controls its code works with, found in its table once, when the page is made.
  TBound<TImage> IconDisplay_;
  TBound<TCheckBox> chkCaptureMake_;
  TBound<TCheckBox> chkUsePackages_;
  TBound<TGroupBox> gbUseOptions_;
  TBound<TEdit> txtBPR2MakeOptions_;
  TBound<TEdit> txtIconFile_;
  TBound<TEdit> txtPackages_;
  TBound<TEdit> txtProject_;
};

}  // namespace mx::bcc
