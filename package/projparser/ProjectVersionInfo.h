#pragma once
// The version information a C++Builder 5/6 project keeps in the text of its IDE options (the
// "[Version Info]" and "[Version Info Keys]" sections), as the version page and `bpr inspect`
// read it.

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace mx::bcc {

/// What the sections say, with the values a project without them has.
struct TProjectVersionInfo {
  bool IncludeVerInfo = false;
  std::int32_t MajorVer = 1;
  std::int32_t MinorVer = 0;
  std::int32_t Release = 0;
  std::int32_t Build = 0;
  bool AutoIncBuild = false;
  bool Debug = false;
  bool PreRelease = false;
  bool Special = false;
  bool Private = false;
  bool DLL = false;
  std::int32_t Locale = 3081;
  std::string CodePage = "1252";
  /// The keys in the order the project lists them, with their values.
  std::vector<std::pair<std::string, std::string>> Keys;
};

/// Reads the IDE options text of a project (INI text, as TMemIniFile reads it).
TProjectVersionInfo ReadProjectVersionInfo(const std::string& ideOptions);

}  // namespace mx::bcc
