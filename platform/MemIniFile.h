#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "StringList.h"

namespace mx::platform {

/// INI text held in memory; nothing is ever written to a file.
///
/// Each line is trimmed; empty lines and lines starting with ";" are skipped; "[name]" starts a
/// section (name trimmed); lines before the first section are ignored; "name=value" lines are
/// kept as trimmed name and value split at the first "="; other lines are kept as they are (they
/// have an empty name). Section and key names compare without regard to ASCII letter case; with
/// a key given twice, the first occurrence answers.
class TMemIniFile {
 public:
  TMemIniFile() = default;
  explicit TMemIniFile(const TStringList& lines) { SetStrings(lines); }

  /// Replaces the content with the given lines.
  void SetStrings(const TStringList& lines);

  /// The value of a key; `fallback` only when the section or key is missing (an empty value
  /// is returned as "").
  std::string ReadString(std::string_view section, std::string_view key,
                         std::string_view fallback) const;
  /// The value as an integer ("0x" is read as hexadecimal); `fallback` when missing or invalid.
  std::int32_t ReadInteger(std::string_view section, std::string_view key,
                           std::int32_t fallback) const;
  /// ReadInteger(...) != 0, so only integers count: "True" gives `fallback`.
  bool ReadBool(std::string_view section, std::string_view key, bool fallback) const;

  /// The key names of a section in order (an empty list when the section is missing).
  std::vector<std::string> ReadSection(std::string_view section) const;
  /// The stored lines of a section ("name=value" normalised, other lines verbatim).
  std::vector<std::string> ReadSectionValues(std::string_view section) const;
  std::vector<std::string> ReadSections() const;
  bool SectionExists(std::string_view section) const;
  bool ValueExists(std::string_view section, std::string_view key) const;

 private:
  struct TLine {
    std::string name;
    std::string value;
    bool hasValue = false;
  };
  struct TSection {
    std::string name;
    std::vector<TLine> lines;
  };
  const TSection* FindSection(std::string_view name) const;
  const TLine* FindKey(std::string_view section, std::string_view key) const;

  std::vector<TSection> sections_;
};

}  // namespace mx::platform
