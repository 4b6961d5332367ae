#pragma once

#include <string>
#include <vector>

namespace mx::engine {

/// A package module the host loaded.
struct TLoadedPackage {
  std::string Name;  // the module's file name without its prefix and extension: "Mx50BCC"
  std::string Path;
  std::string Description;
};

/// Loads every package module of `folder` ("lib*.so" on Linux, "*.dll" on Windows) in name
/// order: loading runs the package's start-up, then its exported MxRegister(designTime) is
/// called. Throws mx::Exception naming the module when one cannot be loaded or lacks the entry,
/// and naming the folder when it cannot be read.
std::vector<TLoadedPackage> LoadPackages(const std::string& folder, bool designTime);

/// Loads one package module.
TLoadedPackage LoadPackage(const std::string& path, bool designTime);

}  // namespace mx::engine
