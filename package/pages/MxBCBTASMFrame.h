#pragma once
// The "Tasm" page: the assembler's listing, case sensitivity, debug information, warnings and
// its numeric selections.

#include "package/pages/MxBCBOptionFrame.h"

namespace mx::bcc {

class TMxBCBTASMFrame : public TMxBCBOptionFrame<ICBuilderTASMOptions>,
                        public ICBuilderSpeedSetting {
 public:
  explicit TMxBCBTASMFrame(IMxComponent* owner);
  std::string PageName() override { return "Tasm"; }
  void SpeedSetting(TBCBSpeedSetting setting) override;

  TCheckBox* cbGenerateListing;
  std::vector<TRadioButton*> ListingType;  // rbNormal, rbExpanded
  TCheckBox* cbCrossReference;
  TCheckBox* cbSymbolTables;
  TCheckBox* cbIncludeConditionals;
  TCheckBox* cbIncludeErrors;
  std::vector<TRadioButton*> CaseSensitivity;  // rbNoneCase, rbGlobals, rbAllCase
  std::vector<TRadioButton*> DebugInfo;        // rbNoneDebug, rbLineNumbers, rbFullDebug
  std::vector<TRadioButton*> Warnings;         // rbNoneWarning, rbLevel1, rbLevel2
  TEdit* ecHashTable;
  TEdit* ecPasses;
  TEdit* ecSymbolLength;
  TEdit* ecDirective;

 protected:
  void Fill(ICBuilderTASMOptions& record) override;

 private:
  void UpdateListing();
};

}  // namespace mx::bcc
