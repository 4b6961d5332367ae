// The element walk of `moxtal bpr apply --diff` over any XML text, against itself and against
// a document with one value changed.
#include <cstdint>
#include <string_view>

#include "package/host/ProjectDiff.h"

using namespace mx;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  try {
    const auto doc = platform::TXmlDocument::LoadFromText(
        std::string_view(reinterpret_cast<const char*>(data), size), "fuzz.bpr");
    if (bcc::ProjectDiff(doc, doc) != "No element changed\n") __builtin_trap();
    auto changed = platform::TXmlDocument::LoadFromText(doc.SaveToText(), "changed.bpr");
    for (auto element : changed.DocumentElement().Elements()) {
      element.SetAttribute("value", "changed");
      break;
    }
    bcc::ProjectDiff(doc, changed);
  } catch (const Exception&) {
  }
  return 0;
}
