// Feeds arbitrary bytes to the resource-file reader and the icon writers, whose output must
// stay within its bound.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/ResourceFile.h"

using namespace mx::platform;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  try {
    const auto file = TResourceFile::LoadFromBytes(
        std::string_view(reinterpret_cast<const char*>(data), size), "fuzz.res");
    for (const auto& e : file.Entries()) {
      try {
        // What is extracted stays within its bound, however the group repeats its images.
        std::string icon;
        if (e.Type == TResourceId::FromNumber(RT_GROUP_ICON)) icon = file.IconFileFromGroup(e);
        if (e.Type == TResourceId::FromNumber(RT_ICON)) icon = TResourceFile::IconFileFromImage(e);
        if (icon.size() > kMaxExtractedResourceSize + size) std::abort();
      } catch (const EResourceError&) {
      }
    }
    file.Manifest();
  } catch (const EResourceError&) {
  }
  return 0;
}
