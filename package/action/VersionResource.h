#pragma once
// The version resource of a resource script, shared by both actions; where they differ, the
// settings say how.

#include <cstdint>
#include <string>

#include "moxtal/api/Action.h"
#include "platform/StringList.h"

namespace mx::bcc {

struct TVersionResource {
  std::int32_t Major = 0;
  std::int32_t Minor = 0;
  std::int32_t Release = 0;
  std::int32_t Build = 0;
  bool IsDebug = false;
  bool IsPreRelease = false;
  bool IsPrivate = false;
  bool IsSpecial = false;
  bool IsDLL = false;
  std::string VersionInfoKeys;
  std::int32_t Locale = 0;
  bool IncludeCompileDate = false;
  bool LinkProductVersionToFileVersion = false;
  /// The file version is made of the four numbers; otherwise it is the "FileVersion" entry.
  bool FileVersionFromNumbers = true;
  /// Whether an undefined variable in the "FileVersion" entry is an error.
  bool FileVersionStrict = true;
  /// "FILEOS 0x40004L" or "FILEOS 0x4L".
  std::string FileOS = "FILEOS 0x40004L";
  /// Whether entries with an empty value are written.
  bool WriteEmptyValues = false;
};

/// Appends the version resource ("1 VERSIONINFO" ... "END") to `lines`; the language block is
/// named by the locale and the system's ANSI code page. Expansions go through the action's
/// TryExpandExpression; false when one failed (already reported).
bool AddVersionResource(const TVersionResource& r, const TCustomMxAction& action,
                        platform::TStringList& lines);

/// Writes the script's lines in the system's ANSI code page, CR LF after each.
void SaveResourceScript(const platform::TStringList& lines, const std::string& path);

}  // namespace mx::bcc
