// The IDL family: "/PROJECT/OPTIONS/IDLCFLAGS".
#include "package/action/MxCBuilderAction.h"
#include "package/projparser/MxCBuilder56ProjParser.h"

namespace mx::bcc {

using namespace platform;

namespace {
constexpr const char* kIdlFlags = "/PROJECT/OPTIONS/IDLCFLAGS";
}  // namespace

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

void TMxCBuilder56ProjectParser::ApplyCorbaSettings(TMxCBuilderAction& action) {
  const auto flags = ElementValue(kIdlFlags);
  if (!flags) return;
  const auto& r = *action.GetCorbaOpt();
  TStringList t = Tokens(*flags);
  const auto flag = [&t](const char* token, bool add) {
    RemoveOption(t, token, true);
    if (add) t.Add(token);
  };
  flag("-object_wrapper", r.GetGenerateObjectWrappers());
  flag("-no_tie", !r.GetGenerateTie());
  flag("-virtual_impl_inh", r.GetGenerateVirtualImplInh());
  flag("-type_code_info", r.GetGenerateTypecodeInfo());
  flag("-incl_files_code", r.GetGenerateIncludeFilesCode());
  flag("-no_stdstream", !r.GetGenerateStreamOperators());
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
  flag("-D_VIS_INCLUDE_IR", r.GetCorbaIncludeIR());
  flag("-D_VIS_INCLUDE_DSI", r.GetCorbaIncludeDSI());
  SetElementValue(kIdlFlags, Join(t, false));
}

}  // namespace mx::bcc
