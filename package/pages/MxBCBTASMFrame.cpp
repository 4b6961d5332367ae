#include "MxBCBTASMFrame.h"

namespace mx::bcc {

namespace {

// A decimal number field of the record: shown as its digits, read back with a fallback for
// text that is not a number.
void BindNumber(TRecordBindings<ICBuilderTASMOptions>& bindings, TEdit* edit,
                std::uint32_t (ICBuilderTASMOptions::*get)() const,
                void (ICBuilderTASMOptions::*set)(std::uint32_t), std::int32_t fallback) {
  bindings.Bind(
      [=](const ICBuilderTASMOptions& r) { edit->SetText(std::to_string((r.*get)())); },
      [=](ICBuilderTASMOptions& r) {
        (r.*set)(static_cast<std::uint32_t>(platform::StrToIntDef(edit->Text(), fallback)));
      });
}

}  // namespace

TMxBCBTASMFrame::TMxBCBTASMFrame(IMxComponent* owner)
    : TMxBCBOptionFrame(owner, "MxBCBTASMFrame", kOptionPagesHelpContext,
                        &ICBuilderProjectSettings::GetTASMOpt,
                        &ICBuilderProjectParser::GetTASMOptions) {
  TPanel& groups = Add<TPanel>("pnlGroups", TLayout::loGrid);
  groups.SetLayout(TLayout::loGrid, 2);
  TGroupBox& listing = AddGroup(groups, "gbGenerateListing", "Generate listing");
  cbGenerateListing = &AddCheck(listing, "cbGenerateListing", "Genera&te listing");
  ListingType = AddRadios(AddGroup(listing, "gbListingType", "Listing type"),
                          {{"rbNormal", "No&rmal listing"}, {"rbExpanded", "E&xpanded listing"}});
  cbCrossReference = &AddCheck(listing, "cbCrossReference", "&Cross reference");
  cbSymbolTables = &AddCheck(listing, "cbSymbolTables", "Sym&bol tables information");
  cbIncludeConditionals =
      &AddCheck(listing, "cbIncludeConditionals", "&Include false conditionals");
  cbIncludeErrors = &AddCheck(listing, "cbIncludeErrors", "Incl&ude error messages");

  TPanel& right = groups.Add<TPanel>("pnlRight");
  CaseSensitivity =
      AddRadios(AddGroup(right, "gbCaseSensitivity", "Case sensitivity"),
                {{"rbNoneCase", "N&one"}, {"rbGlobals", "&Globals"}, {"rbAllCase", "&All"}});
  DebugInfo = AddRadios(
      AddGroup(right, "gbDebugInformation", "Debug information"),
      {{"rbNoneDebug", "&None"}, {"rbLineNumbers", "&Line numbers"}, {"rbFullDebug", "&Full"}});
  Warnings =
      AddRadios(AddGroup(groups, "gbWarnings", "Warnings"),
                {{"rbNoneWarning", "Non&e"}, {"rbLevel1", "Level &1"}, {"rbLevel2", "Level &2"}});

  TGroupBox& selections = AddGroup(groups, "gbSelections", "Selections", TLayout::loForm);
  ecHashTable =
      &AddLabeled<TEdit>(selections, "lblHashTable", "Ha&sh table capacity:", "ecHashTable");
  ecHashTable->SetText("8192");
  ecPasses = &AddLabeled<TEdit>(selections, "lblPasses", "Maximum &passes:", "ecPasses");
  ecPasses->SetText("5");
  ecSymbolLength = &AddLabeled<TEdit>(selections, "lblSymbolLength",
                                      "&Maximum symbol length:", "ecSymbolLength");
  ecSymbolLength->SetText("12");
  ecDirective = &AddLabeled<TEdit>(selections, "lblDirective", "A&dd directive:", "ecDirective");

  using R = ICBuilderTASMOptions;
  bindings_.Check(cbGenerateListing, &R::GetGenerateListing, &R::SetGenerateListing);
  bindings_.Radio(ListingType, &R::GetListingType, &R::SetListingType);
  bindings_.Check(cbCrossReference, &R::GetCrossReference, &R::SetCrossReference);
  bindings_.Check(cbSymbolTables, &R::GetSymbolTablesInfo, &R::SetSymbolTablesInfo);
  bindings_.Check(cbIncludeConditionals, &R::GetIncludeFalseConditionals,
                  &R::SetIncludeFalseConditionals);
  bindings_.Check(cbIncludeErrors, &R::GetIncludeErrorMessages, &R::SetIncludeErrorMessages);
  bindings_.Radio(CaseSensitivity, &R::GetCaseSensitivity, &R::SetCaseSensitivity);
  bindings_.Radio(DebugInfo, &R::GetDebugInfo, &R::SetDebugInfo);
  bindings_.Radio(Warnings, &R::GetWarnings, &R::SetWarnings);
  BindNumber(bindings_, ecHashTable, &R::GetHashTableCapacity, &R::SetHashTableCapacity, 8192);
  BindNumber(bindings_, ecPasses, &R::GetMaxPasses, &R::SetMaxPasses, 1);
  BindNumber(bindings_, ecSymbolLength, &R::GetMaxSymbolLength, &R::SetMaxSymbolLength, 12);
  bindings_.Text(ecDirective, &R::GetAddDirective, &R::SetAddDirective);

  cbGenerateListing->OnClick = [this] { UpdateListing(); };
  UpdateListing();
}

void TMxBCBTASMFrame::UpdateListing() {
  const bool on = cbGenerateListing->Checked();
  for (TControl* c :
       {static_cast<TControl*>(ListingType[0]), static_cast<TControl*>(ListingType[1]),
        static_cast<TControl*>(cbCrossReference), static_cast<TControl*>(cbSymbolTables),
        static_cast<TControl*>(cbIncludeConditionals), static_cast<TControl*>(cbIncludeErrors)})
    c->SetEnabled(on);
}

void TMxBCBTASMFrame::Fill(ICBuilderTASMOptions& record) {
  TMxBCBOptionFrame::Fill(record);
  UpdateListing();
}

void TMxBCBTASMFrame::SpeedSetting(TBCBSpeedSetting setting) {
  DebugInfo[setting == TBCBSpeedSetting::ssFullDebug ? 2 : 0]->SetChecked(true);
}

}  // namespace mx::bcc
