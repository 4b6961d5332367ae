// Feeds arbitrary bytes to the reader of a Wine prefix's registry files, as system.reg and as
// user.reg, then reads every value of the keys a build looks at.
#include <cstdint>
#include <string_view>

#include "platform/Registry.h"

using namespace mx::platform;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  try {
    const auto reg = WineRegistryFromText(text, text, "prefix");
    for (const char* path : {"Software\\Borland\\C++Builder\\6.0", "Software", "A",
                             "Software\\Wow6432Node\\Borland\\BDS\\5.0"}) {
      for (const auto root : {TRegistryRoot::rkLocalMachine, TRegistryRoot::rkCurrentUser}) {
        const auto key = reg->OpenKeyReadOnly(root, path);
        if (!key) continue;
        for (const auto& name : key->GetValueNames()) {
          try {
            key->ReadString(name);
          } catch (const ERegistryException&) {
          }
          try {
            key->ReadInteger(name);
          } catch (const ERegistryException&) {
          }
        }
      }
    }
  } catch (const ERegistryException&) {
  }
  return 0;
}
