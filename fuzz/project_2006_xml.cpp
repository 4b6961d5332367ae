// A C++Builder 2006 or 2007 project from arbitrary bytes, read as the 2006/2007 pages read it:
// its build configurations and its version information in both forms, through the version page
// itself. Nothing may crash, and every configuration comes from the document.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "moxtal/engine/DesignServices.h"
#include "moxtal/engine/ScriptedDesignServices.h"
#include "package/pages/CBuilder2006VersionInfoFrame.h"
#include "package/projparser/CBuilder2006Project.h"
#include "platform/XmlDocument.h"

using namespace mx;
using namespace mx::bcc;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static engine::TScriptedDesignServices desk;
  static const auto installed = (engine::SetDesignServices(&desk), true);
  (void)installed;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  try {
    auto document = platform::TXmlDocument::LoadFromText(text, "fuzz.cbproj");
    document.RegisterNamespace("def", kMSBuildNamespace);
    for (const int version : {0, 1}) {
      for (const auto& name : BuildConfigurations(document, version)) {
        if (text.find(name) == std::string_view::npos && name.find('&') == std::string::npos &&
            name.find('\r') == std::string::npos) {
          std::abort();
        }
      }
      TCBuilder2006VersionInfoFrame page(nullptr);
      page.ReloadFromBDSPRoj("fuzz.cbproj", document, version);
    }
  } catch (const Exception&) {
    // Malformed XML is refused with a message.
  }
  return 0;
}
