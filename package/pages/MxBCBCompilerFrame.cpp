#include "MxBCBCompilerFrame.h"

#include "moxtal/api/DesignServices.h"
#include "moxtal/api/Services.h"
#include "platform/FileNames.h"

namespace mx::bcc {

using namespace platform;

namespace {

using O = TBCBCompilerOptimisation;

// The optimisations with their switches, in the order the selection list is built.
constexpr std::pair<O, const char*> kOptimisationSwitches[] = {
    {O::coInlineIntrinsic, "-Oi"},
    {O::coInductionVariables, "-Ov"},
    {O::coCommonSubExpression, "-Og"},
    {O::coPentiumScheduling, "-OS"},
};

const TBCBCompilerOptimisations kSpeed = {O::coInlineIntrinsic, O::coInductionVariables,
                                          O::coCommonSubExpression};

// A catalogue beside the host; a missing one is shown, then raised again.
TStringList Catalogue(const char* fileName) {
  try {
    return LoadKnownWarnings(fileName)->Lines();
  } catch (const EFOpenError&) {
    MxDesignServices().ShowMessage("Error - file not found: " +
                                   machinepath::Join(MxPackageServices().HostFolder(), fileName));
    throw;
  }
}

}  // namespace

TMxBCBCompilerFrame::TMxBCBCompilerFrame(IMxComponent* owner)
    : TMxBCBOptionFrame(owner, "MxBCBCompilerFrame", kOptionPagesHelpContext,
                        &ICBuilderProjectSettings::GetCompilerOpt,
                        &ICBuilderProjectParser::GetCompilerOptions) {
  allWarnings_ = Catalogue("BCBCompilerWarnings.txt");
  allOptimisations_ = Catalogue("BCBOptimize.txt");

  TPanel& groups = Add<TPanel>("pnlGroups", TLayout::loGrid);
  groups.SetLayout(TLayout::loGrid, 2);
  TGroupBox& optim = AddGroup(groups, "gbOptimization", "Code optimization");
  auto optimisation = AddRadios(
      optim, {{"rbNoOptim", "&None"}, {"rbOptNormal", "&Speed"}, {"rbOptSelected", "Selecte&d"}});
  rbNoOptim = optimisation[0];
  rbOptNormal = optimisation[1];
  rbOptSelected = optimisation[2];
  bOptSelected = &optim.Add<TButton>("bOptSelected", "Optimi&zations");

  TGroupBox& warnings = AddGroup(groups, "gbWarnings", "Warnings");
  auto warning = AddRadios(
      warnings, {{"rbWarnNone", "N&one"}, {"rbWarnAll", "&All"}, {"rbWarnSelected", "Selec&ted"}});
  rbWarnNone = warning[0];
  rbWarnAll = warning[1];
  rbWarnSelected = warning[2];
  bWarnSelected = &warnings.Add<TButton>("bWarnSelected", "&Warnings");

  TGroupBox& debugging = AddGroup(groups, "gbDebugging", "Debugging");
  cbCppDebugInfo = &AddCheck(debugging, "cbCppDebugInfo", "Debug &information");
  cbLineNums = &AddCheck(debugging, "cbLineNums", "Line num&ber information");
  cbDisableInlines = &AddCheck(debugging, "cbDisableInlines", "Disable inline e&xpansions");

  TGroupBox& compiling = AddGroup(groups, "gbCompiling", "Compiling");
  cbShowGenMsgs = &AddCheck(compiling, "cbShowGenMsgs", "Show &general messages");
  cbShowGenMsgs->SetVisible(false);
  cbMergeStrings = &AddCheck(compiling, "cbMergeStrings", "&Merge duplicate strings");
  cbCppStackFrames = &AddCheck(compiling, "cbCppStackFrames", "Stac&k frames");
  cbEnumsAsInts = &AddCheck(compiling, "cbEnumsAsInts", "Treat enum t&ypes as ints");
  cbExtendedErrorInfo =
      &AddCheck(compiling, "cbExtendedErrorInfo", "Extended error information (&Q)");

  TGroupBox& pch = AddGroup(*this, "gbPreCompiledHeaders", "Pre-compiled headers");
  auto pchButtons = AddRadios(pch, {{"rbNoPch", "Non&e"},
                                    {"rbUsePch", "&Use pre-compiled headers"},
                                    {"rbCachePch", "&Cache pre-compiled headers"}});
  rbNoPch = pchButtons[0];
  rbUsePch = pchButtons[1];
  rbCachePch = pchButtons[2];
  TPanel& files = pch.Add<TPanel>("pnlPchFiles", TLayout::loForm);
  ePCHName = &AddLabeled<TEdit>(files, "lblPCHName", "Fi&le name:", "ePCHName");
  ePCHName->SetText("$(BCB)\\lib\\vcl60.csm");
  ePCHName->SetHint("The pre-compiled header file; $(BCB) is the C++Builder folder");
  ePCHStopAfter = &AddLabeled<TEdit>(files, "lblPCHStopAfter", "Sto&p after:", "ePCHStopAfter");
  ePCHStopAfter->SetHint("The header after which the pre-compiled header is written");

  TPanel& presets = Add<TPanel>("pnlPresets", TLayout::loRow);
  pbFullDebug = &presets.Add<TButton>("pbFullDebug", " &Full debug");
  pbRelease = &presets.Add<TButton>("pbRelease", " &Release");

  Bind(pchButtons);
  Wire();
}

void TMxBCBCompilerFrame::Bind(const std::vector<TRadioButton*>& pchButtons) {
  using R = ICBuilderCompilerOptions;
  bindings_.Radio(pchButtons, &R::GetPreCompHeaders, &R::SetPreCompHeaders);
  bindings_.Text(ePCHName, &R::GetPreCompFile, &R::SetPreCompFile);
  bindings_.Text(ePCHStopAfter, &R::GetStopAfterFile, &R::SetStopAfterFile);
  bindings_.Check(cbCppDebugInfo, &R::GetDebugInformation, &R::SetDebugInformation);
  bindings_.Check(cbLineNums, &R::GetLineNumberInformation, &R::SetLineNumberInformation);
  bindings_.Check(cbDisableInlines, &R::GetDisableInlineExpansion, &R::SetDisableInlineExpansion);
  bindings_.Check(cbShowGenMsgs, &R::GetShowGeneralMessages, &R::SetShowGeneralMessages);
  bindings_.Check(cbMergeStrings, &R::GetMergeDupStrings, &R::SetMergeDupStrings);
  bindings_.Check(cbCppStackFrames, &R::GetStackFrames, &R::SetStackFrames);
  bindings_.Check(cbEnumsAsInts, &R::GetEnumsAsInt, &R::SetEnumsAsInt);
  bindings_.Check(cbExtendedErrorInfo, &R::GetExtendedErrorInfo, &R::SetExtendedErrorInfo);
}

void TMxBCBCompilerFrame::Wire() {
  for (TRadioButton* radio :
       {rbNoOptim, rbOptNormal, rbOptSelected, rbWarnNone, rbWarnAll, rbWarnSelected})
    radio->OnClick = [this] { UpdateButtons(); };
  bOptSelected->OnClick = [this] {
    MxDesignServices().DisplayCheckListForm(this, "Compiler Warnings", HelpContext(),
                                            allOptimisations_, selectedOptimisations_);
  };
  bWarnSelected->OnClick = [this] {
    MxDesignServices().DisplayCheckListForm(this, "Compiler Warnings", HelpContext(), allWarnings_,
                                            selectedWarnings_);
  };
  pbFullDebug->OnClick = [this] { BroadcastSpeedSetting(*this, TBCBSpeedSetting::ssFullDebug); };
  pbRelease->OnClick = [this] { BroadcastSpeedSetting(*this, TBCBSpeedSetting::ssRelease); };
  UpdateButtons();
}

void TMxBCBCompilerFrame::UpdateButtons() {
  bOptSelected->SetEnabled(rbOptSelected->Checked());
  bWarnSelected->SetEnabled(rbWarnSelected->Checked());
}

void TMxBCBCompilerFrame::TakeAction(const TMxCBuilderAction& action) {
  version_ = action.GetCBuilderVersion();
}

bool TMxBCBCompilerFrame::TakeParser(const ICBuilderProjectParser& parser) {
  version_ = parser.GetCBuilderVersion();
  return true;
}

void TMxBCBCompilerFrame::Fill(ICBuilderCompilerOptions& record) {
  TMxBCBOptionFrame::Fill(record);
  const TBCBCompilerOptimisations optimisation = record.GetOptimisation();
  if (optimisation.Empty()) {
    rbNoOptim->SetChecked(true);
  } else if (optimisation == kSpeed) {
    rbOptNormal->SetChecked(true);
  } else {
    rbOptSelected->SetChecked(true);
  }
  selectedOptimisations_.Clear();
  for (const auto& [member, option] : kOptimisationSwitches) {
    if (optimisation.Contains(member)) selectedOptimisations_.Add(std::string(option) + "=1");
  }
  selectedWarnings_.Assign(record.GetWarnings());
  TRadioButton* const warnings[] = {rbWarnNone, rbWarnAll, rbWarnSelected};
  if (const auto index = static_cast<std::size_t>(record.GetOutputWarnings()); index < 3)
    warnings[index]->SetChecked(true);
  UpdateButtons();
}

void TMxBCBCompilerFrame::Store(ICBuilderCompilerOptions& record) {
  TMxBCBOptionFrame::Store(record);
  TBCBCompilerOptimisations optimisation;
  if (rbOptNormal->Checked()) {
    optimisation = kSpeed;
  } else if (rbOptSelected->Checked()) {
    for (const auto& [member, option] : kOptimisationSwitches) {
      if (selectedOptimisations_.IndexOfName(option) >= 0) optimisation.Include(member);
    }
  }
  record.SetOptimisation(optimisation);
  record.SetWarnings(selectedWarnings_);
  record.SetOutputWarnings(rbWarnNone->Checked()  ? TBCBCompilerWarnings::cwNone
                           : rbWarnAll->Checked() ? TBCBCompilerWarnings::cwAll
                                                  : TBCBCompilerWarnings::cwSelected);
}

void TMxBCBCompilerFrame::SpeedSetting(TBCBSpeedSetting setting) {
  const bool debug = setting == TBCBSpeedSetting::ssFullDebug;
  (debug ? rbNoOptim : rbOptNormal)->SetChecked(true);
  for (TCheckBox* box : {cbCppDebugInfo, cbLineNums, cbDisableInlines, cbCppStackFrames})
    box->SetChecked(debug);
  UpdateButtons();
}

void TMxBCBCompilerFrame::OnShowHint(std::string& hint) {
  RewriteRootVariable(hint, version_);
}

}  // namespace mx::bcc
