// The IDL family: "/PROJECT/OPTIONS/IDLCFLAGS".
#include "package/projparser/MxCBuilder56Elements.h"
#include "package/projparser/MxCBuilder56ProjParser.h"

namespace mx::bcc {

using namespace platform;
using elements::kIdlFlags;

void TMxCBuilder56ProjectParser::ParseCorbaOptions() {
  const auto flags = ElementValue(kIdlFlags);
  if (!flags) return;
  const TStringList t = Tokens(*flags);
  const auto has = [&t](const char* token) { return t.IndexOf(token) >= 0; };
  auto& r = *corba_;
  r.SetGenerateObjectWrappers(has("-object_wrapper"));
  r.SetGenerateTie(!has("-no_tie"));
  r.SetGenerateVirtualImplInh(has("-virtual_impl_inh"));
  r.SetGenerateTypecodeInfo(has("-type_code_info"));
  r.SetGenerateIncludeFilesCode(has("-incl_files_code"));
  r.SetGenerateStreamOperators(!has("-no_stdstream"));
  if (const int suffix = t.IndexOf("-hdr_suffix"); suffix >= 0 && suffix + 1 < t.Count()) {
    r.SetHeaderExtension(t[suffix + 1]);
  }
  if (has("-boa")) r.SetAdditionalIDLOptions("-boa");
  r.SetCorbaIncludeIR(has("-D_VIS_INCLUDE_IR"));
  r.SetCorbaIncludeDSI(has("-D_VIS_INCLUDE_DSI"));
}

void TMxCBuilder56ProjectParser::ApplyCorbaSettings(const ICBuilderProjectSettings& action) {
  const auto flags = ElementValue(kIdlFlags);
  if (!flags) return;
  const auto& r = *action.GetCorbaOpt();
  TStringList t = Tokens(*flags);
  SetSwitch(t, "-object_wrapper", r.GetGenerateObjectWrappers());
  SetSwitch(t, "-no_tie", !r.GetGenerateTie());
  SetSwitch(t, "-virtual_impl_inh", r.GetGenerateVirtualImplInh());
  SetSwitch(t, "-type_code_info", r.GetGenerateTypecodeInfo());
  SetSwitch(t, "-incl_files_code", r.GetGenerateIncludeFilesCode());
  SetSwitch(t, "-no_stdstream", !r.GetGenerateStreamOperators());
  if (!r.GetHeaderExtension().empty()) {
    if (const int suffix = t.IndexOf("-hdr_suffix"); suffix >= 0) {
      if (suffix + 1 < t.Count()) t.Delete(suffix + 1);
      t.Delete(suffix);
    }
    t.Add("-hdr_suffix");
    t.Add(r.GetHeaderExtension());
  }
  if (!r.GetAdditionalIDLOptions().empty()) {
    RemoveOption(t, "-boa", true);
    t.Add(r.GetAdditionalIDLOptions());
  }
  SetSwitch(t, "-D_VIS_INCLUDE_IR", r.GetCorbaIncludeIR());
  SetSwitch(t, "-D_VIS_INCLUDE_DSI", r.GetCorbaIncludeDSI());
  SetElementValue(kIdlFlags, Join(t, false));
}

}  // namespace mx::bcc
