// Splitting a tool's parameter string with the Windows rules, and quoting each argument back:
// the quoted arguments must split into the same arguments.
#include <cstdint>
#include <string_view>

#include "platform/CommandLine.h"

using namespace mx::platform;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto arguments =
      SplitCommandLine(std::string_view(reinterpret_cast<const char*>(data), size));
  std::string joined;
  for (const auto& argument : arguments)
    joined += (joined.empty() ? "" : " ") + QuoteCommandLineArgument(argument);
  if (SplitCommandLine(joined) != arguments) __builtin_trap();
  return 0;
}
