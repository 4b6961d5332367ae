#pragma once
// The "TLIB" page: the librarian's options, shown only for static library projects.

#include "moxtal/api/DesignServices.h"
#include "package/pages/ControlTable.h"
#include "package/pages/MxBCBOptionFrame.h"

namespace mx::bcc {

class TMxBCBTLibFrame : public TMxBCBOptionFrame<ICBuilderTLibOptions> {
 public:
  explicit TMxBCBTLibFrame(IMxComponent* owner);
  std::string PageName() override { return "TLIB"; }
  void PickListFile();

  TOpenDialog ListFileDialog;

 protected:
  void TakeAction(const TMxCBuilderAction& action) override {
    SetPageVisible(*this, action.GetProjectType() == TCBuilderProjectType::ptLIB);
  }
  bool TakeParser(const ICBuilderProjectParser& parser) override {
    const bool library = parser.GetProjectType() == TCBuilderProjectType::ptLIB;
    SetPageVisible(*this, library);
    return library;
  }

 private:
  // The controls its code works with, found in its table once, when the page is made.
  TBound<TEdit> txtListFile_;
};

}  // namespace mx::bcc
