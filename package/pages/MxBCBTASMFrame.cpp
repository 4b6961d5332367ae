#include "MxBCBTASMFrame.h"

namespace mx::bcc {
namespace {

using namespace rows;

constexpr TControlRow kTASMControls[] = {
    Grid("pnlGroups", 2),
    Group("gbGenerateListing", "Generate listing", "pnlGroups"),
    Check("cbGenerateListing", "Genera&te listing", "gbGenerateListing", "GenerateListing"),
    Group("gbListingType", "Listing type", "gbGenerateListing"),
    Radio("rbNormal", "No&rmal listing", "gbListingType", "ListingType"),
    Radio("rbExpanded", "E&xpanded listing", "gbListingType", "ListingType"),
    Check("cbCrossReference", "&Cross reference", "gbGenerateListing", "CrossReference"),
    Check("cbSymbolTables", "Sym&bol tables information", "gbGenerateListing", "SymbolTablesInfo"),
    Check("cbIncludeConditionals", "&Include false conditionals", "gbGenerateListing",
          "IncludeFalseConditionals"),
    Check("cbIncludeErrors", "Incl&ude error messages", "gbGenerateListing",
          "IncludeErrorMessages"),
    Panel("pnlRight", "pnlGroups"),
    Group("gbCaseSensitivity", "Case sensitivity", "pnlRight"),
    Radio("rbNoneCase", "N&one", "gbCaseSensitivity", "CaseSensitivity"),
    Radio("rbGlobals", "&Globals", "gbCaseSensitivity", "CaseSensitivity"),
    Radio("rbAllCase", "&All", "gbCaseSensitivity", "CaseSensitivity"),
    Group("gbDebugInformation", "Debug information", "pnlRight"),
    Radio("rbNoneDebug", "&None", "gbDebugInformation", "DebugInfo"),
    Radio("rbLineNumbers", "&Line numbers", "gbDebugInformation", "DebugInfo"),
    Radio("rbFullDebug", "&Full", "gbDebugInformation", "DebugInfo"),
    Group("gbWarnings", "Warnings", "pnlGroups"),
    Radio("rbNoneWarning", "Non&e", "gbWarnings", "Warnings"),
    Radio("rbLevel1", "Level &1", "gbWarnings", "Warnings"),
    Radio("rbLevel2", "Level &2", "gbWarnings", "Warnings"),
    FormGroup("gbSelections", "Selections", "pnlGroups"),
    NumberEdit("ecHashTable", "lblHashTable", "Ha&sh table capacity:", "gbSelections",
               "HashTableCapacity", 8192)
        .Initially("8192"),
    NumberEdit("ecPasses", "lblPasses", "Maximum &passes:", "gbSelections", "MaxPasses", 1)
        .Initially("5"),
    NumberEdit("ecSymbolLength", "lblSymbolLength", "&Maximum symbol length:", "gbSelections",
               "MaxSymbolLength", 12)
        .Initially("12"),
    Edit("ecDirective", "lblDirective", "A&dd directive:", "gbSelections", "AddDirective"),
};

// What a listing is made with, usable only when a listing is made.
constexpr const char* kListingControls[] = {
    "rbNormal",       "rbExpanded", "cbCrossReference", "cbSymbolTables", "cbIncludeConditionals",
    "cbIncludeErrors"};

}  // namespace

TMxBCBTASMFrame::TMxBCBTASMFrame(IMxComponent* owner)
    : TMxBCBOptionFrame(owner, "MxBCBTASMFrame", kOptionPagesHelpContext,
                        &ICBuilderProjectSettings::GetTASMOpt,
                        &ICBuilderProjectParser::GetTASMOptions, kTASMControls) {
  cbGenerateListing_.Bind(*this, "cbGenerateListing");
  cbGenerateListing_->OnClick = [this] { UpdateListing(); };
  UpdateListing();
}

void TMxBCBTASMFrame::UpdateListing() {
  const bool on = cbGenerateListing_->Checked();
  for (const char* name : kListingControls)
    Get<TControl>(name).SetEnabled(on);
}

void TMxBCBTASMFrame::Fill(ICBuilderTASMOptions& record) {
  TMxBCBOptionFrame::Fill(record);
  UpdateListing();
}

void TMxBCBTASMFrame::SpeedSetting(TBCBSpeedSetting setting) {
  Radios("gbDebugInformation")[setting == TBCBSpeedSetting::ssFullDebug ? 2 : 0]->SetChecked(true);
}

}  // namespace mx::bcc
