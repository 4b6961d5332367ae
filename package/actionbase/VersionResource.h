#pragma once
// The version resource of a resource script, shared by both actions; where they differ, the
// settings say how.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

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

/// The texts a version resource writes, with the action's variables expanded.
struct TVersionText {
  std::string FileVersion;     // "1.2.3.4"
  std::string ProductVersion;  // "" when there is none
  /// The file version is the entry FileVersion's (not made of the four numbers).
  bool FileVersionFromEntry = false;
  /// The product version is the entry ProductVersion's (not the file version's).
  bool ProductVersionFromEntry = true;
  /// Each entry's name and the text written for it.
  std::vector<std::pair<std::string, std::string>> Values;
};

/// Expands the texts of `r` as a build writes them. With `report`, a failed expansion is
/// reported through the action's TryExpandExpression; without, its message goes to `error`.
/// nullopt when one failed.
std::optional<TVersionText> ExpandVersionText(const TVersionResource& r,
                                              const TCustomMxAction& action, bool report,
                                              std::string* error = nullptr);

/// What in `text` no resource compiler takes, or what would rewrite the script: a double quote,
/// a control character or a final backslash in a text written between quotes, no product
/// version, and a file or product version taken from its entry that is not up to four numbers.
/// One sentence each, naming the entry and the character.
std::vector<std::string> VersionTextProblems(const TVersionText& text);

/// Why `text` cannot stand between double quotes in a resource script (a double quote, a control
/// character, a final backslash); nullopt when it can.
std::optional<std::string> QuotedTextProblem(std::string_view text);

/// Appends the version resource ("1 VERSIONINFO" ... "END") to `lines`; the language block is
/// named by the locale and the system's ANSI code page. Expansions go through the action's
/// TryExpandExpression; false when one failed (already reported), or when a text would break the
/// script (each problem sent to the log).
bool AddVersionResource(const TVersionResource& r, const TCustomMxAction& action,
                        platform::TStringList& lines);

/// The version flags a property set may switch by name ("DLL", "DebugBuild", ...).
struct TVersionFlags {
  bool* IsDLL;
  bool* IsDebug;
  bool* IsSpecial;
  bool* IsPrivate;
  bool* IsPreRelease;
};

/// Applies the property set `setName` of the action's build script: a value named like a
/// published property of the action sets it; "DLL" and the four build flags set the flags (and
/// for a true flag the version string of the same name, else remove it); any other value goes
/// to `other` (name, text). False, after "Unable to find property set: <name>", when there is
/// no such set. A value a property cannot take throws.
bool ApplyVersionPropertySet(
    TCustomMxAction& action, const std::string& setName, const TVersionFlags& flags,
    const std::function<void(std::string_view, std::string_view)>& setKey,
    const std::function<void(std::string_view)>& removeKey,
    const std::function<void(const std::string&, const std::string&)>& other);

/// A name=value list of version strings with one entry set (an empty value removes it).
std::string WithVersionKey(const std::string& keys, std::string_view name, std::string_view value);
/// The list without the first entry of that name.
std::string WithoutVersionKey(const std::string& keys, std::string_view name);
/// "Major.Minor.Release.Build".
std::string DottedVersion(std::int32_t major, std::int32_t minor, std::int32_t release,
                          std::int32_t build);

/// Writes the script's lines in the system's ANSI code page, CR LF after each.
void SaveResourceScript(const platform::TStringList& lines, const std::string& path);

}  // namespace mx::bcc
