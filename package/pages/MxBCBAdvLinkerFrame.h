#pragma once
// The "Advanced Linker" page: image comment, advanced switches, delay-loaded DLLs and the user
// version, hidden for static library projects.

#include "package/pages/MxBCBOptionFrame.h"

namespace mx::bcc {

class TMxBCBAdvLinkerFrame : public TMxBCBOptionFrame<ICBuilderAdvLinkerOptions> {
 public:
  explicit TMxBCBAdvLinkerFrame(IMxComponent* owner);
  std::string PageName() override { return "Advanced Linker"; }
  TCBuilderVersion Version() const { return version_; }

 protected:
  void TakeAction(const TMxCBuilderAction& action) override {
    SetPageVisible(*this, action.GetProjectType() != TCBuilderProjectType::ptLIB);
  }
  bool TakeParser(const ICBuilderProjectParser& parser) override {
    version_ = parser.GetCBuilderVersion();
    SetPageVisible(*this, parser.GetProjectType() != TCBuilderProjectType::ptLIB);
    return true;
  }

 private:
  TCBuilderVersion version_ = TCBuilderVersion::cvBCB6;
};

}  // namespace mx::bcc
