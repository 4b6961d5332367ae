// A warning catalogue from arbitrary bytes, then a project's warnings looked up in it.
#include <cstdint>
#include <string_view>

#include "package/projparser/MxCBuilderUtils.h"

using namespace mx;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  try {
    const auto known = bcc::ParseWarningCatalogue(
        std::string_view(reinterpret_cast<const char*>(data), size), "fuzz.txt");
    for (const char* warning : {"-w-par", "-waus", "-w", "/wxxx"})
      known.IndexOfName(bcc::NormaliseWarning(warning));
  } catch (const Exception&) {
  }
  return 0;
}
