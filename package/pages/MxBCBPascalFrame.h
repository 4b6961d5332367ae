#pragma once
// The "Pascal" page: code generation, record alignment (a check box up to C++Builder 5, a list
// of alignments from C++Builder 6), syntax, messages, debugging and run-time checks.

#include "package/pages/ControlTable.h"
#include "package/pages/MxBCBOptionFrame.h"

namespace mx::bcc {

class TMxBCBPascalFrame : public TMxBCBOptionFrame<ICBuilderPascalOptions>,
                          public ICBuilderSpeedSetting {
 public:
  explicit TMxBCBPascalFrame(IMxComponent* owner);
  std::string PageName() override { return "Pascal"; }
  void SpeedSetting(TBCBSpeedSetting setting) override;
  TCBuilderVersion Version() const { return version_; }

 protected:
  void Fill(ICBuilderPascalOptions& record) override;
  void Store(ICBuilderPascalOptions& record) override;
  void TakeAction(const TMxCBuilderAction& action) override {
    SetVersion(action.GetCBuilderVersion());
  }
  bool TakeParser(const ICBuilderProjectParser& parser) override {
    SetVersion(parser.GetCBuilderVersion());
    return true;
  }

 private:
  /// Definitions only is there only with reference information.
  void UpdateDefinitionsOnly();
  /// Keeps the version and shows the alignment controls of that version.
  void SetVersion(TCBuilderVersion version);

  TCBuilderVersion version_ = TCBuilderVersion::cvBCB6;
  // The controls its code works with, found in its table once, when the page is made.
  TBound<TCheckBox> cbDefinitionsOnly_;
  TBound<TCheckBox> cbOptimization_;
  TBound<TComboBox> cbRecordAlign_;
  TBound<TCheckBox> cbSymbolInfo_;
  TBound<TCheckBox> chkRecordAlign_;
  TBound<TLabel> lblRecordAlign_;
};

}  // namespace mx::bcc
