// A C++Builder 5/6 project from arbitrary bytes: recognised, parsed, every option family of an
// action forced onto it, saved, and the saved text parsed again.
#include <cstdint>
#include <string_view>

#include "moxtal/api/Services.h"
#include "moxtal/engine/Host.h"
#include "package/action/MxCBuilderAction.h"
#include "package/projparser/MxCBuilder56ProjParser.h"
#include "platform/XmlDocument.h"

using namespace mx;
using namespace mx::bcc;

namespace {

// Parses and applies; returns the saved text, or "" when the text is not a 5/6 project.
std::string ParseApplySave(std::string_view text, TMxCBuilderAction& action) {
  std::string errorText;
  std::optional<platform::TXmlDocument> document;
  const TCBuilderVersion version = DetectProjectVersion(text, errorText, &document);
  if (version != TCBuilderVersion::cvBCB5 && version != TCBuilderVersion::cvBCB6) return {};
  TMxCBuilder56ProjectParser parser(MxDesignApplicationServices(), "fuzz.bpr", version,
                                    AllParserOptions(), std::move(*document));
  parser.ParseProjectFile();
  parser.ApplyChanges(action, true);
  return parser.Document().SaveToText();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // The warning catalogues live beside the host.
  engine::THost::Instance().SetHostFolder(MX_BIN_DIR);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  TMxCBuilderAction action;
  action.SetupRelease();
  action.SetPreProcessProjectFile(true);
  try {
    const std::string saved = ParseApplySave(text, action);
    if (!saved.empty()) ParseApplySave(saved, action);
  } catch (const Exception&) {
    // Conversion errors and invalid projects are answers, not faults.
  }
  return 0;
}
