#pragma once
// The C++Builder 2006/2007 action's "Resource Compiler" page: which resource compiler, where it
// is and its parameters, and the manifest (found beside the project or taken out of its .res).

#include "moxtal/api/DesignServices.h"
#include "package/pages/CBuilder2006Frame.h"
#include "package/pages/ControlTable.h"
#include "package/pages/MxCBuilderFrame.h"
#include "package/pages/MxCBuilderPageKit.h"
#include "package/projparser/CBuilder2006Project.h"

namespace mx::bcc {

class TCBResourceCompilerFrame : public TMxCBuilderFrame, public IMxCBuilder2006Frame {
 public:
  explicit TCBResourceCompilerFrame(IMxComponent* owner);
  std::string PageName() override { return "Resource Compiler"; }
  void ReadActionData(TCustomMxAction& action) override;
  void WriteActionData(TCustomMxAction& action) override;
  void ReloadFromBDSPRoj(const std::string& projectFile, const platform::TXmlDocument& document,
                         int version) override;

  TOpenDialog OpenDialog2;
  TOpenDialog OpenDialog1;

 private:
  TPropertyBindings bindings_;
  void CompilerChosen();
  // The controls its code works with, found in its table once, when the page is made.
  TBound<TComboBox> cboCompiler_;
  TBound<TCheckBox> chkIncludeManifest_;
  TBound<TEdit> txtCompilerLocation_;
  TBound<TEdit> txtCompilerParams_;
  TBound<TEdit> txtManifestFile_;
};

}  // namespace mx::bcc
