#include "ProjectKind.h"

#include "package/projparser/CBuilder2006Project.h"
#include "package/projparser/MxCBuilderUtils.h"
#include "platform/Exception.h"
#include "platform/FileNames.h"
#include "platform/StrUtils.h"
#include "platform/StringList.h"
#include "platform/WholeFile.h"
#include "platform/XmlDocument.h"

namespace mx::bcc {

using namespace platform;

namespace {

constexpr const char* kBdsPersonality =
    "/BorlandProject/PersonalityInfo/Option/Option[@Name=\"Personality\"]";
constexpr const char* kMSBuildPersonality =
    "/def:Project/def:ProjectExtensions/def:Borland.Personality";
constexpr const char* kProjectVersion = "/def:Project/def:PropertyGroup/def:ProjectVersion";

TProjectIdentity Unknown(std::string why) {
  return {TProjectKind::pkUnknown, std::move(why)};
}

// A C++Builder 3 to 6 project: the version its text names.
TProjectIdentity IdentifyBprProject(const std::string& file) {
  const std::string bytes = ReadWholeFile(file);
  const bool xml = std::string_view(bytes).substr(0, 15).find("xml") != std::string_view::npos;
  std::string errorText;
  switch (DetectProjectVersion(xml ? bytes : TStringList(bytes).Text(), errorText)) {
    case TCBuilderVersion::cvBCB3:
      return {TProjectKind::pkCBuilder3, {}};
    case TCBuilderVersion::cvBCB4:
      return {TProjectKind::pkCBuilder4, {}};
    case TCBuilderVersion::cvBCB5:
      return {TProjectKind::pkCBuilder5, {}};
    case TCBuilderVersion::cvBCB6:
      return {TProjectKind::pkCBuilder6, {}};
    default:
      return Unknown(errorText.empty() ? "it names no C++Builder version (BCB.05 or BCB.06)"
                                       : ReplaceAll(errorText, "\r\n", " "));
  }
}

// A C++Builder 2006 project, or a .bdsproj of another personality (Delphi's, C#Builder's).
TProjectIdentity IdentifyBdsProject(const TXmlDocument& document) {
  const TXmlNode personality = document.SelectSingleNode(kBdsPersonality);
  const std::string name = personality ? Trim(personality.Data()) : std::string();
  if (name == "CPlusPlusBuilder.Personality") return {TProjectKind::pkCBuilder2006, {}};
  if (StartsText("Delphi.", name)) return {TProjectKind::pkDelphi, {}};
  return Unknown(name.empty() ? "it names no personality"
                              : "its personality is " + name + ", not C++Builder's");
}

// An MSBuild project of the Developer Studio: a C++Builder 2007 project has the personality
// "CPlusPlusBuilder.Personality" and no ProjectVersion; later ones name their ProjectVersion
// (12.0 for C++Builder 2009) and a numbered personality.
TProjectIdentity IdentifyMSBuildProject(const TXmlDocument& document) {
  const TXmlNode personality = document.SelectSingleNode(kMSBuildPersonality);
  const std::string name = personality ? Trim(personality.Data()) : std::string();
  const TXmlNode version = document.SelectSingleNode(kProjectVersion);
  if (StartsText("Delphi.", name)) return {TProjectKind::pkDelphi, {}};
  if (!StartsText("CPlusPlusBuilder.Personality", name)) {
    return Unknown(name.empty() ? "it names no personality under ProjectExtensions"
                                : "its personality is " + name + ", not C++Builder's");
  }
  if (version) return {TProjectKind::pkCBuilderLater, "ProjectVersion " + Trim(version.Data())};
  if (name != "CPlusPlusBuilder.Personality")
    return {TProjectKind::pkCBuilderLater, "personality " + name};
  return {TProjectKind::pkCBuilder2007, {}};
}

TProjectIdentity IdentifyXmlProject(const std::string& file, bool bdsproj) {
  try {
    TXmlDocument document = TXmlDocument::LoadFromFile(file);
    document.RegisterNamespace("def", kMSBuildNamespace);
    return bdsproj ? IdentifyBdsProject(document) : IdentifyMSBuildProject(document);
  } catch (const EXmlLoadError& e) {
    return Unknown("it is not well-formed XML (" + e.Reason() + ", line " +
                   std::to_string(e.Line()) + ")");
  }
}

}  // namespace

TProjectIdentity IdentifyProject(const std::string& file) {
  if (!machinepath::FileExists(file)) return {TProjectKind::pkMissing, {}};
  const std::string extension = LowerCase(machinepath::ExtractFileExt(file));
  if (extension == ".dpr" || extension == ".dpk" || extension == ".dproj")
    return {TProjectKind::pkDelphi, {}};
  try {
    if (extension == ".bdsproj") return IdentifyXmlProject(file, true);
    if (extension == ".cbproj") return IdentifyXmlProject(file, false);
    return IdentifyBprProject(file);
  } catch (const EFOpenError& e) {
    return Unknown("it cannot be read (" + e.Reason() + ")");
  }
}

std::string DescribeProjectKind(const TProjectIdentity& identity) {
  switch (identity.Kind) {
    case TProjectKind::pkMissing:
      return "missing";
    case TProjectKind::pkUnknown:
      return "not a project this package recognises (" + identity.Detail + ")";
    case TProjectKind::pkCBuilder3:
      return "a C++Builder 3 project";
    case TProjectKind::pkCBuilder4:
      return "a C++Builder 4 project";
    case TProjectKind::pkCBuilder5:
      return "a C++Builder 5 project";
    case TProjectKind::pkCBuilder6:
      return "a C++Builder 6 project";
    case TProjectKind::pkCBuilder2006:
      return "a C++Builder 2006 project";
    case TProjectKind::pkCBuilder2007:
      return "a C++Builder 2007 project";
    case TProjectKind::pkCBuilderLater:
      return "a C++Builder 2009 or later project (" + identity.Detail + ")";
    case TProjectKind::pkDelphi:
      return "a Delphi project";
  }
  return {};
}

}  // namespace mx::bcc
