// Feeds arbitrary text to the string list and the in-memory INI reader.
#include <cstdint>
#include <string_view>

#include "platform/MemIniFile.h"

using namespace mx::platform;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const TStringList lines(std::string_view(reinterpret_cast<const char*>(data), size));
  const TMemIniFile ini(lines);
  for (const auto& section : ini.ReadSections()) {
    for (const auto& key : ini.ReadSection(section)) {
      ini.ReadString(section, key, "");
      ini.ReadInteger(section, key, 0);
      ini.ReadBool(section, key, false);
    }
    ini.ReadSectionValues(section);
  }
  return 0;
}
