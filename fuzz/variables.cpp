// Variable expansion of arbitrary text, with variables that name each other, themselves and
// nothing; strict and lenient.
#include <cstdint>
#include <string_view>

#include "moxtal/engine/Variables.h"
#include "platform/Exception.h"

using namespace mx;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  engine::TVariables variables;
  variables.Set("A", "%B%%B%");
  variables.Set("B", "%C%x%%");
  variables.Set("C", "c");
  variables.Set("SELF", "%SELF%");
  variables.Set("WIDE", "%A%%A%%A%%A%");
  const engine::TVariableLookup lookup = [&variables](std::string_view name) {
    return variables.Find(name);
  };
  for (const bool strict : {false, true}) {
    try {
      engine::ExpandVariables(text, lookup, strict);
    } catch (const Exception&) {
    }
  }
  return 0;
}
