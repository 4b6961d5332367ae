#pragma once

#include <string>

#include "Exception.h"

namespace mx::platform {

/// A shared library could not be loaded: "Cannot load <path>: <reason>".
class EDynamicLibraryError : public Exception {
 public:
  EDynamicLibraryError(const std::string& path, std::string reason)
      : Exception("Cannot load " + path + ": " + reason), reason_(std::move(reason)) {}
  const std::string& Reason() const { return reason_; }

 private:
  std::string reason_;
};

/// A shared library loaded into the process. It stays loaded for the life of the process, as
/// objects and functions that came from it may still be in use when its handle goes.
class TDynamicLibrary {
 public:
  /// Loads the library; throws EDynamicLibraryError "Cannot load <path>: <reason>".
  static TDynamicLibrary Load(const std::string& path);
  /// The address of an exported symbol, or nullptr when the library has none of that name.
  void* Symbol(const char* name) const;
  /// The file name extension of shared libraries on this platform (".so", ".dll").
  static const char* Extension();
  /// The prefix of a shared library's file name on this platform ("lib" on POSIX, "" on
  /// Windows).
  static const char* Prefix();

 private:
  explicit TDynamicLibrary(void* handle) : handle_(handle) {}
  void* handle_;
};

}  // namespace mx::platform
