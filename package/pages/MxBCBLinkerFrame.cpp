#include "MxBCBLinkerFrame.h"

#include <cstdio>

#include "moxtal/api/DesignServices.h"

namespace mx::bcc {

namespace {

constexpr const char* kHexMask = "0x00000000;1;_";

// A masked size field of the record; text that is not a number fails the write with the
// conversion error.
void BindHex(TRecordBindings<ICBuilderLinkerOptions>& bindings, TMaskEdit* edit,
             std::uint32_t (ICBuilderLinkerOptions::*get)() const,
             void (ICBuilderLinkerOptions::*set)(std::uint32_t)) {
  bindings.Bind([=](const ICBuilderLinkerOptions& r) { edit->SetText(HexText((r.*get)())); },
                [=](ICBuilderLinkerOptions& r) {
                  (r.*set)(static_cast<std::uint32_t>(platform::StrToInt(edit->Text())));
                });
}

}  // namespace

std::string HexText(std::uint32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X", value);
  return text;
}

TMxBCBLinkerFrame::TMxBCBLinkerFrame(IMxComponent* owner)
    : TMxBCBOptionFrame(owner, "MxBCBLinkerFrame", kOptionPagesHelpContext,
                        &ICBuilderProjectSettings::GetLinkerOpt,
                        &ICBuilderProjectParser::GetLinkerOptions) {
  allWarnings_ = LoadKnownWarnings("BCBLinkerWarnings.txt")->Lines();

  TPanel& groups = Add<TPanel>("pnlGroups", TLayout::loGrid);
  groups.SetLayout(TLayout::loGrid, 2);
  TGroupBox& linking = AddGroup(groups, "gbLinking", "Linking");
  cbDebugInfo = &AddCheck(linking, "cbDebugInfo", "Create debug &information");
  cbUseDynamicRTL = &AddCheck(linking, "cbUseDynamicRTL", "Use dynamic &RTL");
  cbNoStateFiles = &AddCheck(linking, "cbNoStateFiles", "Don't ge&nerate state files");
  cbImpLib = &AddCheck(linking, "cbImpLib", "&Generate import library");
  cbImpLib->SetEnabled(false);
  cbGenLib = &AddCheck(linking, "cbGenLib", "Generate &.lib file");
  cbGenLib->SetEnabled(false);
  cbLinkDebugVcl = &AddCheck(linking, "cbLinkDebugVcl", "Use &debug libraries");
  cbLinkDebugVcl->SetVisible(false);
  TPanel& errors = linking.Add<TPanel>("pnlMaxErrors", TLayout::loForm);
  spMaxErrors = &AddLabeled<TSpinEdit>(errors, "lblMaxErrors", "Max &errors:", "spMaxErrors", 0, 0);

  TPanel& right = groups.Add<TPanel>("pnlRight");
  TGroupBox& map = AddGroup(right, "gbMapFile", "Map file");
  MapFile = AddRadios(map, {{"rbMapFileOff", "O&ff"},
                            {"rbMapSegOnly", "&Segments"},
                            {"rbMapSegPubs", "&Publics"},
                            {"rbMapDetailed", "De&tailed"}});
  cbMapMangle = &AddCheck(map, "cbMapMangle", "Sh&ow mangled names");
  TGroupBox& warnings = AddGroup(right, "gbWarnings", "Warnings");
  auto warning = AddRadios(warnings, {{"rbWarnAll", "A&ll"}, {"rbWarnSelected", "Sele&cted"}});
  rbWarnAll = warning[0];
  rbWarnSelected = warning[1];
  bWarnings = &warnings.Add<TButton>("bWarnings", "&Warnings");

  TGroupBox& pe = AddGroup(*this, "gbPEFileOptions", "PE file options", TLayout::loGrid);
  pe.SetLayout(TLayout::loGrid, 4);
  const auto hex = [&pe](const char* label, const char* caption, const char* name,
                         const char* text) {
    TMaskEdit& edit = AddLabeled<TMaskEdit>(pe, label, caption, name, kHexMask);
    edit.SetText(text);
    return &edit;
  };
  txtStackSize = hex("lblStackSize", "Min stac&k size:", "txtStackSize", "0x00002000");
  txtMaxStackSize = hex("lblMaxStackSize", "Ma&x stack size:", "txtMaxStackSize", "0x00100000");
  txtMinHeapSize = hex("lblMinHeapSize", "Min heap si&ze:", "txtMinHeapSize", "0x00001000");
  txtMaxHeapSize = hex("lblMaxHeapSize", "M&ax heap size:", "txtMaxHeapSize", "0x00100000");
  txtImageBase = hex("lblImageBase", "Image &base:", "txtImageBase", "0x00400000");
  spMajorSubsystem = &AddLabeled<TSpinEdit>(pe, "lblMajorSubsystem",
                                            "S&ubsystem major:", "spMajorSubsystem", 0, 0);
  spMajorSubsystem->SetValue(4);
  spMinorSubsystem = &AddLabeled<TSpinEdit>(pe, "lblMinorSubsystem",
                                            "Subs&ystem minor:", "spMinorSubsystem", 0, 0);

  using R = ICBuilderLinkerOptions;
  bindings_.Check(cbDebugInfo, &R::GetDebugInformation, &R::SetDebugInformation);
  bindings_.Check(cbUseDynamicRTL, &R::GetUseDynamicRTL, &R::SetUseDynamicRTL);
  bindings_.Check(cbNoStateFiles, &R::GetDontGenerateStateFile, &R::SetDontGenerateStateFile);
  bindings_.Check(cbImpLib, &R::GetGenerateImportLib, &R::setGenerateImportLib);
  bindings_.Check(cbGenLib, &R::GetGenerateLibFile, &R::SetGenerateLibFile);
  bindings_.Spin(spMaxErrors, &R::GetMaxErrors, &R::SetMaxErrors);
  bindings_.Radio(MapFile, &R::GetMapFile, &R::SetMapFile);
  bindings_.Check(cbMapMangle, &R::GetShowMangledNames, &R::SetShowMangledNames);
  BindHex(bindings_, txtStackSize, &R::GetMinStackSize, &R::SetMinStackSize);
  BindHex(bindings_, txtMaxStackSize, &R::GetMaxStackSize, &R::SetMaxStackSize);
  BindHex(bindings_, txtMinHeapSize, &R::GetMinHeapSize, &R::SetMinHeapSize);
  BindHex(bindings_, txtMaxHeapSize, &R::GetMaxHeapSize, &R::SetMaxHeapSize);
  BindHex(bindings_, txtImageBase, &R::GetImageBase, &R::SetImageBase);
  bindings_.Spin(spMajorSubsystem, &R::GetSubSystemMajor, &R::SetSubSystemMajor);
  bindings_.Spin(spMinorSubsystem, &R::GetSubSystemMinor, &R::SetSubSystemMinor);

  rbWarnAll->OnClick = [this] { bWarnings->SetEnabled(rbWarnSelected->Checked()); };
  rbWarnSelected->OnClick = rbWarnAll->OnClick;
  bWarnings->OnClick = [this] {
    MxDesignServices().DisplayCheckListForm(this, "Compiler Warnings", HelpContext(), allWarnings_,
                                            selectedWarnings_);
  };
}

void TMxBCBLinkerFrame::TakeAction(const TMxCBuilderAction& action) {
  version_ = action.GetCBuilderVersion();
  SetPageVisible(*this, action.GetProjectType() != TCBuilderProjectType::ptLIB);
}

bool TMxBCBLinkerFrame::TakeParser(const ICBuilderProjectParser& parser) {
  version_ = parser.GetCBuilderVersion();
  const TCBuilderProjectType type = parser.GetProjectType();
  SetPageVisible(*this, type != TCBuilderProjectType::ptLIB);
  cbGenLib->SetEnabled(type == TCBuilderProjectType::ptBPL);
  cbImpLib->SetEnabled(type == TCBuilderProjectType::ptBPL || type == TCBuilderProjectType::ptDLL);
  return true;
}

void TMxBCBLinkerFrame::Fill(ICBuilderLinkerOptions& record) {
  TMxBCBOptionFrame::Fill(record);
  selectedWarnings_.Assign(record.GetWarnings());
  const bool all = record.GetLinkerWarnings() == TCBuilderLinkerWarnings::lwAll;
  (all ? rbWarnAll : rbWarnSelected)->SetChecked(true);
  bWarnings->SetEnabled(!all);
}

void TMxBCBLinkerFrame::Store(ICBuilderLinkerOptions& record) {
  TMxBCBOptionFrame::Store(record);
  if (rbWarnAll->Checked()) {
    record.SetLinkerWarnings(TCBuilderLinkerWarnings::lwAll);
    record.GetWarnings().Clear();
  } else {
    record.SetWarnings(selectedWarnings_);
    record.SetLinkerWarnings(TCBuilderLinkerWarnings::lwSelected);
  }
}

void TMxBCBLinkerFrame::SpeedSetting(TBCBSpeedSetting setting) {
  cbDebugInfo->SetChecked(setting == TBCBSpeedSetting::ssFullDebug);
}

}  // namespace mx::bcc
