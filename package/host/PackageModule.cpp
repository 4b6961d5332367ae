// The entry points of the package's shared module, which the host finds by name.
#include "package/host/MxRegister.h"

#ifdef _WIN32
#define MX_EXPORT extern "C" __declspec(dllexport)
#else
#define MX_EXPORT extern "C" __attribute__((visibility("default")))
#endif

MX_EXPORT void MxRegister(bool designTime) {
  mx::bcc::Register(designTime);
}

MX_EXPORT const char* MxPackageDescription() {
  return mx::bcc::PackageDescription();
}
