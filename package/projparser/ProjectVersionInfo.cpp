#include "ProjectVersionInfo.h"

#include "platform/MemIniFile.h"
#include "platform/StringList.h"

namespace mx::bcc {

TProjectVersionInfo ReadProjectVersionInfo(const std::string& ideOptions) {
  const platform::TMemIniFile ini{platform::TStringList(ideOptions)};
  const char* info = "Version Info";
  TProjectVersionInfo v;
  v.IncludeVerInfo = ini.ReadBool(info, "IncludeVerInfo", v.IncludeVerInfo);
  v.MajorVer = ini.ReadInteger(info, "MajorVer", v.MajorVer);
  v.MinorVer = ini.ReadInteger(info, "MinorVer", v.MinorVer);
  v.Release = ini.ReadInteger(info, "Release", v.Release);
  v.Build = ini.ReadInteger(info, "Build", v.Build);
  v.AutoIncBuild = ini.ReadBool(info, "AutoIncBuild", v.AutoIncBuild);
  v.Debug = ini.ReadBool(info, "Debug", v.Debug);
  v.PreRelease = ini.ReadBool(info, "PreRelease", v.PreRelease);
  v.Special = ini.ReadBool(info, "Special", v.Special);
  v.Private = ini.ReadBool(info, "Private", v.Private);
  v.DLL = ini.ReadBool(info, "DLL", v.DLL);
  v.Locale = ini.ReadInteger(info, "Locale", v.Locale);
  v.CodePage = ini.ReadString(info, "CodePage", v.CodePage);
  const char* keys = "Version Info Keys";
  for (const auto& name : ini.ReadSection(keys))
    v.Keys.emplace_back(name, ini.ReadString(keys, name, ""));
  return v;
}

}  // namespace mx::bcc
