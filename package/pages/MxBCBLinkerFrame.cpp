#include "MxBCBLinkerFrame.h"

#include "moxtal/api/DesignServices.h"

namespace mx::bcc {
namespace {

using namespace rows;

// "setGenerateImportLib", the setter of GenerateImportLib, is the system's own spelling.
constexpr TControlRow kLinkerControls[] = {
    Grid("pnlGroups", 2),
    Group("gbLinking", "Linking", "pnlGroups"),
    Check("cbDebugInfo", "Create debug &information", "gbLinking", "DebugInfo"),
    Check("cbUseDynamicRTL", "Use dynamic &RTL", "gbLinking", "UseDynamicRTL"),
    Check("cbNoStateFiles", "Don't ge&nerate state files", "gbLinking", "DontGenerateStateFile"),
    Check("cbImpLib", "&Generate import library", "gbLinking", "GenerateImportLib").Unavailable(),
    Check("cbGenLib", "Generate &.lib file", "gbLinking", "GenerateLibFile").Unavailable(),
    Check("cbLinkDebugVcl", "Use &debug libraries", "gbLinking").Invisible(),
    FormPanel("pnlMaxErrors", "gbLinking"),
    Spin("spMaxErrors", "lblMaxErrors", "Max &errors:", "pnlMaxErrors", "MaxErrors"),
    Panel("pnlRight", "pnlGroups"),
    Group("gbMapFile", "Map file", "pnlRight"),
    Radio("rbMapFileOff", "O&ff", "gbMapFile", "MapFile"),
    Radio("rbMapSegOnly", "&Segments", "gbMapFile", "MapFile"),
    Radio("rbMapSegPubs", "&Publics", "gbMapFile", "MapFile"),
    Radio("rbMapDetailed", "De&tailed", "gbMapFile", "MapFile"),
    Check("cbMapMangle", "Sh&ow mangled names", "gbMapFile", "ShowMangledNames"),
    Group("gbWarnings", "Warnings", "pnlRight"),
    Radio("rbWarnAll", "A&ll", "gbWarnings"),
    Radio("rbWarnSelected", "Sele&cted", "gbWarnings"),
    Button("bWarnings", "&Warnings", "gbWarnings"),
    GridGroup("gbPEFileOptions", "PE file options", 4),
    HexEdit("txtStackSize", "lblStackSize", "Min stac&k size:", "gbPEFileOptions", "MinStackSize")
        .Initially("0x00002000"),
    HexEdit("txtMaxStackSize", "lblMaxStackSize", "Ma&x stack size:", "gbPEFileOptions",
            "MaxStackSize")
        .Initially("0x00100000"),
    HexEdit("txtMinHeapSize", "lblMinHeapSize", "Min heap si&ze:", "gbPEFileOptions", "MinHeapSize")
        .Initially("0x00001000"),
    HexEdit("txtMaxHeapSize", "lblMaxHeapSize", "M&ax heap size:", "gbPEFileOptions", "MaxHeapSize")
        .Initially("0x00100000"),
    HexEdit("txtImageBase", "lblImageBase", "Image &base:", "gbPEFileOptions", "ImageBase")
        .Initially("0x00400000"),
    Spin("spMajorSubsystem", "lblMajorSubsystem", "S&ubsystem major:", "gbPEFileOptions",
         "SubSystemMajor")
        .Initially(4),
    Spin("spMinorSubsystem", "lblMinorSubsystem", "Subs&ystem minor:", "gbPEFileOptions",
         "SubSystemMinor"),
};

}  // namespace

TMxBCBLinkerFrame::TMxBCBLinkerFrame(IMxComponent* owner)
    : TMxBCBOptionFrame(owner, "MxBCBLinkerFrame", kOptionPagesHelpContext,
                        &ICBuilderProjectSettings::GetLinkerOpt,
                        &ICBuilderProjectParser::GetLinkerOptions, kLinkerControls) {
  bWarnings_.Bind(*this, "bWarnings");
  cbDebugInfo_.Bind(*this, "cbDebugInfo");
  cbGenLib_.Bind(*this, "cbGenLib");
  cbImpLib_.Bind(*this, "cbImpLib");
  rbWarnAll_.Bind(*this, "rbWarnAll");
  rbWarnSelected_.Bind(*this, "rbWarnSelected");
  allWarnings_ = LoadKnownWarnings("BCBLinkerWarnings.txt")->Lines();
  const auto update = [this] { UpdateWarningsButton(); };
  rbWarnAll_->OnClick = update;
  rbWarnSelected_->OnClick = update;
  bWarnings_->OnClick = [this] {
    MxDesignServices().DisplayCheckListForm(this, "Compiler Warnings", HelpContext(), allWarnings_,
                                            selectedWarnings_);
  };
}

void TMxBCBLinkerFrame::UpdateWarningsButton() {
  bWarnings_->SetEnabled(rbWarnSelected_->Checked());
}

void TMxBCBLinkerFrame::TakeAction(const TMxCBuilderAction& action) {
  version_ = action.GetCBuilderVersion();
  SetPageVisible(*this, action.GetProjectType() != TCBuilderProjectType::ptLIB);
}

bool TMxBCBLinkerFrame::TakeParser(const ICBuilderProjectParser& parser) {
  version_ = parser.GetCBuilderVersion();
  const TCBuilderProjectType type = parser.GetProjectType();
  SetPageVisible(*this, type != TCBuilderProjectType::ptLIB);
  cbGenLib_->SetEnabled(type == TCBuilderProjectType::ptBPL);
  cbImpLib_->SetEnabled(type == TCBuilderProjectType::ptBPL || type == TCBuilderProjectType::ptDLL);
  return true;
}

void TMxBCBLinkerFrame::Fill(ICBuilderLinkerOptions& record) {
  TMxBCBOptionFrame::Fill(record);
  selectedWarnings_.Assign(record.GetWarnings());
  const bool all = record.GetLinkerWarnings() == TCBuilderLinkerWarnings::lwAll;
  (all ? rbWarnAll_ : rbWarnSelected_)->SetChecked(true);
  bWarnings_->SetEnabled(!all);
}

void TMxBCBLinkerFrame::Store(ICBuilderLinkerOptions& record) {
  TMxBCBOptionFrame::Store(record);
  if (rbWarnAll_->Checked()) {
    record.SetLinkerWarnings(TCBuilderLinkerWarnings::lwAll);
    record.GetWarnings().Clear();
  } else {
    record.SetWarnings(selectedWarnings_);
    record.SetLinkerWarnings(TCBuilderLinkerWarnings::lwSelected);
  }
}

void TMxBCBLinkerFrame::SpeedSetting(TBCBSpeedSetting setting) {
  cbDebugInfo_->SetChecked(setting == TBCBSpeedSetting::ssFullDebug);
}

}  // namespace mx::bcc
