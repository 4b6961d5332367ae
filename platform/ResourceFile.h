#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "Exception.h"

namespace mx::platform {

/// A resource file that is not a well-formed 32-bit resource file; the message names the file
/// and the offset of the entry at fault.
class EResourceError : public Exception {
 public:
  using Exception::Exception;
};

constexpr std::uint16_t RT_ICON = 3;
constexpr std::uint16_t RT_GROUP_ICON = 14;
constexpr std::uint16_t RT_MANIFEST = 24;

/// A resource type or name: a number or a string.
struct TResourceId {
  bool IsNumber = true;
  std::uint16_t Number = 0;
  std::string Name;  // UTF-8

  static TResourceId FromNumber(std::uint16_t n) { return TResourceId{true, n, {}}; }
  static TResourceId FromName(std::string name) { return TResourceId{false, 0, std::move(name)}; }
  /// Names compare exactly, letter case included.
  bool operator==(const TResourceId& o) const {
    return IsNumber == o.IsNumber && (IsNumber ? Number == o.Number : Name == o.Name);
  }
  /// "#14" for a number, the name otherwise.
  std::string ToString() const { return IsNumber ? "#" + std::to_string(Number) : Name; }
};

struct TResourceEntry {
  TResourceId Type;
  TResourceId Name;
  std::uint16_t Language = 0;
  std::string Data;
};

/// The largest resource file read: real ones hold a few hundred kilobytes, and one a project
/// names may be anything.
constexpr std::size_t kMaxResourceFileSize = std::size_t{64} << 20;
/// The largest file made from resources (an icon, a manifest): a group icon may name one image
/// thousands of times.
constexpr std::size_t kMaxExtractedResourceSize = std::size_t{16} << 20;

/// The entries of a 32-bit Windows resource file (.res), read whole.
class TResourceFile {
 public:
  /// Reads a file; throws EFOpenError when it cannot be read or holds more than
  /// kMaxResourceFileSize bytes, and EResourceError when it is not a well-formed 32-bit
  /// resource file.
  static TResourceFile LoadFromFile(const std::string& path);
  static TResourceFile LoadFromBytes(std::string_view bytes, const std::string& sourceName);

  const std::vector<TResourceEntry>& Entries() const { return entries_; }
  /// The first entry whose type and name both match, or nullptr.
  const TResourceEntry* Find(const TResourceId& type, const TResourceId& name) const;
  /// The data of the first manifest resource, if any.
  std::optional<std::string> Manifest() const;

  /// The bytes of an icon file (.ico) holding every image of a group icon entry. Throws
  /// EResourceError when the group is malformed, names an image the file lacks, or would make
  /// an icon file larger than kMaxExtractedResourceSize.
  std::string IconFileFromGroup(const TResourceEntry& group) const;
  /// The bytes of an icon file holding one icon image entry.
  static std::string IconFileFromImage(const TResourceEntry& image);
  /// Writes `entry` (a group icon or a single icon) as an icon file; a symbolic link at `path`
  /// is refused.
  void SaveIcon(const TResourceEntry& entry, const std::string& path) const;

 private:
  std::string source_;
  std::vector<TResourceEntry> entries_;
};

}  // namespace mx::platform
