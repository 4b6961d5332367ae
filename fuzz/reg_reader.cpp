// Feeds arbitrary bytes to the registry-file reader, then reads and writes through it.
#include <cstdint>
#include <string_view>

#include "platform/Registry.h"

using namespace mx::platform;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  try {
    const auto reg =
        RegistryFromText(std::string_view(reinterpret_cast<const char*>(data), size), "fuzz.reg");
    for (const char* path : {"Software\\Borland\\C++Builder\\6.0", "Software", "A"}) {
      for (const auto root : {TRegistryRoot::rkLocalMachine, TRegistryRoot::rkCurrentUser}) {
        if (const auto key = reg->OpenKeyReadOnly(root, path)) {
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
    }
    const auto key =
        reg->CreateKey(TRegistryRoot::rkLocalMachine, "Software\\Borland\\C++Builder\\6.0");
    key->WriteInteger("RootDir", 1);
    key->WriteString("New", "C:\\x");
  } catch (const ERegistryException&) {
  }
  return 0;
}
