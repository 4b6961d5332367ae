// Feeds arbitrary bytes to the resource-file reader and the icon writers.
#include <cstdint>
#include <string_view>

#include "platform/ResourceFile.h"

using namespace mx::platform;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  try {
    const auto file = TResourceFile::LoadFromBytes(
        std::string_view(reinterpret_cast<const char*>(data), size), "fuzz.res");
    for (const auto& e : file.Entries()) {
      try {
        if (e.Type == TResourceId::FromNumber(RT_GROUP_ICON)) file.IconFileFromGroup(e);
        if (e.Type == TResourceId::FromNumber(RT_ICON)) TResourceFile::IconFileFromImage(e);
      } catch (const EResourceError&) {
      }
    }
    file.Manifest();
  } catch (const EResourceError&) {
  }
  return 0;
}
