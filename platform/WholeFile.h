#pragma once
// Whole files: every place that reads or writes a file in one piece goes through these two, so
// that every error names the file and no write ever leaves a half-written file behind.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace mx::platform {

/// The bytes of a file, unchanged. Throws EFOpenError 'Cannot open file "<path>". <reason>'
/// when it cannot be read, a folder included, and when it holds more than `limit` bytes (a file
/// a project names may be a link to a device that never ends).
std::string ReadWholeFile(const std::string& path, std::size_t limit = SIZE_MAX);

/// The reason given when a file is larger than a read allows.
inline std::string TooLargeReason(std::size_t limit) {
  return "It holds more than " + std::to_string(limit) + " bytes, more than is read for it";
}

/// What a write does when the name it writes is a symbolic link.
enum class TLinkPolicy : std::uint8_t {
  /// The file the link names is replaced and the link stays a link: for files the user named
  /// (a build script, a registry file, a report).
  lpFollow,
  /// The write is refused: for files written because a project or a tool said so (a temporary
  /// project, a resource script, an icon, a manifest). A project folder comes from someone else's
  /// repository, and a link there must not carry a write outside it.
  lpRefuse,
};

/// Makes `bytes` the whole content of `path` without a moment in which the file is half
/// written: the bytes go to a new file in the same folder, every write and the close are
/// checked, the data is flushed to disk, then the new file is renamed over the target. The
/// target's permissions are kept. A symbolic link is followed or refused as `links` says; a
/// refused one is never written through, even if it appears while the file is written (the
/// rename replaces the name itself). On any failure the target is left as it was and the
/// temporary file is removed. Throws EFOpenError 'Cannot create file "<path>". <reason>' when
/// the new file cannot be made or the name is a refused link, 'Cannot write file "<path>".
/// <reason>' when writing or replacing fails.
void WriteWholeFile(const std::string& path, std::string_view bytes,
                    TLinkPolicy links = TLinkPolicy::lpRefuse);

/// A file written in pieces that takes the place of `path` only when committed, with the
/// guarantees and errors of WriteWholeFile: for content too large to hold in memory at once. An
/// uncommitted replacement leaves the target as it was and removes its temporary file.
class TFileReplacement {
 public:
  explicit TFileReplacement(const std::string& path, TLinkPolicy links = TLinkPolicy::lpRefuse);
  ~TFileReplacement();
  TFileReplacement(const TFileReplacement&) = delete;
  TFileReplacement& operator=(const TFileReplacement&) = delete;
  void Write(std::string_view bytes);
  /// Flushes the data to disk and renames the new file over the target.
  void Commit();

 private:
  struct TState;
  std::unique_ptr<TState> state_;
};

/// The reason given when a refused link stops a write.
inline constexpr const char* kRefusedLinkReason =
    "It is a symbolic link, and files written for a project never go through one";

}  // namespace mx::platform
