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

using namespace rows;

constexpr TControlRow kCompilerControls[] = {
    Grid("pnlGroups", 2),
    Group("gbOptimization", "Code optimization", "pnlGroups"),
    Radio("rbNoOptim", "&None", "gbOptimization"),
    Radio("rbOptNormal", "&Speed", "gbOptimization"),
    Radio("rbOptSelected", "Selecte&d", "gbOptimization"),
    Button("bOptSelected", "Optimi&zations", "gbOptimization"),
    Group("gbWarnings", "Warnings", "pnlGroups"),
    Radio("rbWarnNone", "N&one", "gbWarnings"),
    Radio("rbWarnAll", "&All", "gbWarnings"),
    Radio("rbWarnSelected", "Selec&ted", "gbWarnings"),
    Button("bWarnSelected", "&Warnings", "gbWarnings"),
    Group("gbDebugging", "Debugging", "pnlGroups"),
    Check("cbCppDebugInfo", "Debug &information", "gbDebugging", "DebugInfo"),
    Check("cbLineNums", "Line num&ber information", "gbDebugging", "LineNoInfo"),
    Check("cbDisableInlines", "Disable inline e&xpansions", "gbDebugging", "DisableInline"),
    Group("gbCompiling", "Compiling", "pnlGroups"),
    Check("cbShowGenMsgs", "Show &general messages", "gbCompiling", "ShowGeneralMessages")
        .Invisible(),
    Check("cbMergeStrings", "&Merge duplicate strings", "gbCompiling", "MergeDupStrings"),
    Check("cbCppStackFrames", "Stac&k frames", "gbCompiling", "StackFrames"),
    Check("cbEnumsAsInts", "Treat enum t&ypes as ints", "gbCompiling", "EnumsAsInt"),
    Check("cbExtendedErrorInfo", "Extended error information (&Q)", "gbCompiling",
          "ExtendedErrorInfo"),
    Group("gbPreCompiledHeaders", "Pre-compiled headers"),
    Radio("rbNoPch", "Non&e", "gbPreCompiledHeaders", "PreCompiledHeaders"),
    Radio("rbUsePch", "&Use pre-compiled headers", "gbPreCompiledHeaders", "PreCompiledHeaders"),
    Radio("rbCachePch", "&Cache pre-compiled headers", "gbPreCompiledHeaders",
          "PreCompiledHeaders"),
    FormPanel("pnlPchFiles", "gbPreCompiledHeaders"),
    Edit("ePCHName", "lblPCHName", "Fi&le name:", "pnlPchFiles", "PreCompFile")
        .Initially("$(BCB)\\lib\\vcl60.csm")
        .Hint("The pre-compiled header file; $(BCB) is the C++Builder folder"),
    Edit("ePCHStopAfter", "lblPCHStopAfter", "Sto&p after:", "pnlPchFiles", "StopAfterFile")
        .Hint("The header after which the pre-compiled header is written"),
    RowPanel("pnlPresets"),
    Button("pbFullDebug", " &Full debug", "pnlPresets"),
    Button("pbRelease", " &Release", "pnlPresets"),
};

}  // namespace

TMxBCBCompilerFrame::TMxBCBCompilerFrame(IMxComponent* owner)
    : TMxBCBOptionFrame(owner, "MxBCBCompilerFrame", kOptionPagesHelpContext,
                        &ICBuilderProjectSettings::GetCompilerOpt,
                        &ICBuilderProjectParser::GetCompilerOptions, kCompilerControls) {
  bOptSelected_.Bind(*this, "bOptSelected");
  bWarnSelected_.Bind(*this, "bWarnSelected");
  pbFullDebug_.Bind(*this, "pbFullDebug");
  pbRelease_.Bind(*this, "pbRelease");
  rbNoOptim_.Bind(*this, "rbNoOptim");
  rbOptNormal_.Bind(*this, "rbOptNormal");
  rbOptSelected_.Bind(*this, "rbOptSelected");
  rbWarnAll_.Bind(*this, "rbWarnAll");
  rbWarnNone_.Bind(*this, "rbWarnNone");
  rbWarnSelected_.Bind(*this, "rbWarnSelected");
  allWarnings_ = Catalogue("BCBCompilerWarnings.txt");
  allOptimisations_ = Catalogue("BCBOptimize.txt");
  for (const char* radio :
       {"rbNoOptim", "rbOptNormal", "rbOptSelected", "rbWarnNone", "rbWarnAll", "rbWarnSelected"})
    Get<TRadioButton>(radio).OnClick = [this] { UpdateButtons(); };
  bOptSelected_->OnClick = [this] {
    MxDesignServices().DisplayCheckListForm(this, "Compiler Warnings", HelpContext(),
                                            allOptimisations_, selectedOptimisations_);
  };
  bWarnSelected_->OnClick = [this] {
    MxDesignServices().DisplayCheckListForm(this, "Compiler Warnings", HelpContext(), allWarnings_,
                                            selectedWarnings_);
  };
  pbFullDebug_->OnClick = [this] { BroadcastSpeedSetting(*this, TBCBSpeedSetting::ssFullDebug); };
  pbRelease_->OnClick = [this] { BroadcastSpeedSetting(*this, TBCBSpeedSetting::ssRelease); };
  UpdateButtons();
}

void TMxBCBCompilerFrame::UpdateButtons() {
  bOptSelected_->SetEnabled(rbOptSelected_->Checked());
  bWarnSelected_->SetEnabled(rbWarnSelected_->Checked());
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
  TBound<TRadioButton> chosen = optimisation.Empty()     ? rbNoOptim_
                                : optimisation == kSpeed ? rbOptNormal_
                                                         : rbOptSelected_;
  chosen->SetChecked(true);
  selectedOptimisations_.Clear();
  for (const auto& [member, option] : kOptimisationSwitches) {
    if (optimisation.Contains(member)) selectedOptimisations_.Add(std::string(option) + "=1");
  }
  selectedWarnings_.Assign(record.GetWarnings());
  const auto warnings = Radios("gbWarnings");
  if (const auto index = static_cast<std::size_t>(record.GetOutputWarnings());
      index < warnings.size())
    warnings[index]->SetChecked(true);
  UpdateButtons();
}

void TMxBCBCompilerFrame::Store(ICBuilderCompilerOptions& record) {
  TMxBCBOptionFrame::Store(record);
  TBCBCompilerOptimisations optimisation;
  if (rbOptNormal_->Checked()) {
    optimisation = kSpeed;
  } else if (rbOptSelected_->Checked()) {
    for (const auto& [member, option] : kOptimisationSwitches) {
      if (selectedOptimisations_.IndexOfName(option) >= 0) optimisation.Include(member);
    }
  }
  record.SetOptimisation(optimisation);
  record.SetWarnings(selectedWarnings_);
  record.SetOutputWarnings(rbWarnNone_->Checked()  ? TBCBCompilerWarnings::cwNone
                           : rbWarnAll_->Checked() ? TBCBCompilerWarnings::cwAll
                                                   : TBCBCompilerWarnings::cwSelected);
}

void TMxBCBCompilerFrame::SpeedSetting(TBCBSpeedSetting setting) {
  const bool debug = setting == TBCBSpeedSetting::ssFullDebug;
  (debug ? rbNoOptim_ : rbOptNormal_)->SetChecked(true);
  for (const char* box : {"cbCppDebugInfo", "cbLineNums", "cbDisableInlines", "cbCppStackFrames"})
    Get<TCheckBox>(box).SetChecked(debug);
  UpdateButtons();
}

void TMxBCBCompilerFrame::OnShowHint(std::string& hint) {
  RewriteRootVariable(hint, version_);
}

}  // namespace mx::bcc
