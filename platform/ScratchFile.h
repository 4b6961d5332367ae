#pragma once
// A temporary file for data too large to keep in memory while a run goes on (every message of a
// long build, say), read back once at the end.

#include <cstdio>
#include <string>
#include <string_view>

namespace mx::platform {

/// An unnamed file in the system's temporary folder that disappears when it is closed. Writes
/// are buffered; a failed write is remembered and reported when the file is read.
class TScratchFile {
 public:
  /// Throws EFOpenError 'Cannot create a temporary file in "<folder>". <reason>'.
  TScratchFile();
  ~TScratchFile();
  TScratchFile(const TScratchFile&) = delete;
  TScratchFile& operator=(const TScratchFile&) = delete;

  void Write(std::string_view bytes);
  /// Goes back to the start for reading. Throws EFOpenError when a write failed (a full disk).
  void Rewind();
  /// Reads the next `n` bytes into `into`; false at the end of the file (or when fewer remain).
  bool Read(std::string& into, std::size_t n);

 private:
  std::FILE* file_ = nullptr;
  std::string folder_;
  bool failed_ = false;
};

}  // namespace mx::platform
