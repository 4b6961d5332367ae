#pragma once
// Whether a test can tell a child started with a fixed address layout from one that was not.

#ifdef __linux__
#include <sys/personality.h>

#include <string>

namespace mx::test {

// Why a child's fixed address layout cannot be told apart here: this program runs without
// randomisation already, or may not turn it off (a container's seccomp profile). Empty when it
// can; the probe leaves this program's own layout as it found it.
inline std::string WhyAddressLayoutCannotBeTold() {
  const int own = ::personality(0xffffffff);
  if (own < 0 || (own & ADDR_NO_RANDOMIZE) != 0) {
    return "this program runs without address-space randomisation already";
  }
  if (::personality(static_cast<unsigned long>(own) | ADDR_NO_RANDOMIZE) < 0) {
    return "this system does not let a program turn address-space randomisation off (a "
           "container's seccomp profile)";
  }
  ::personality(static_cast<unsigned long>(own));
  return {};
}

}  // namespace mx::test
#endif
