// The entry points of the package's shared module, which the host finds by name.
#include <iostream>

#include "package/host/CompilerDiscovery.h"
#include "package/host/MxRegister.h"
#include "platform/ModuleExport.h"

namespace {

// Loading the module runs the package's start-up, before the host calls MxRegister.
const bool startedUp = [] {
  try {
    mx::bcc::PackageStartup();
  } catch (const std::exception& e) {
    // A registry that cannot be read publishes no compiler; the host still loads the package,
    // and the user learns why the compilers are missing.
    std::cerr << "Mx50BCC: cannot read the compiler locations: " << e.what() << "\n";
  }
  return true;
}();

}  // namespace

MX_EXPORT void MxRegister(bool designTime) {
  mx::bcc::Register(designTime);
}

MX_EXPORT const char* MxPackageDescription() {
  return mx::bcc::PackageDescription();
}
