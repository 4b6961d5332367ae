#include "CBuilder2006Project.h"

#include <unordered_map>

#include "moxtal/api/XmlValues.h"
#include "platform/Exception.h"
#include "platform/FileNames.h"
#include "platform/StrUtils.h"
#include "platform/WholeFile.h"

namespace mx::bcc {

using platform::TXmlDocument;

namespace {

constexpr const char* kNotCBuilder = "This project is not a C++Builder Project!";
constexpr const char* kPersonality2006 =
    "/BorlandProject/PersonalityInfo/Option/Option[@Name=\"Personality\"]";
constexpr const char* kPersonality2007 =
    "/def:Project/def:ProjectExtensions/def:BorlandProject/def:BorlandProject/"
    "def:CPlusPlusBuilder.Personality";
constexpr const char* kValue2006 =
    "/BorlandProject/CPlusPlusBuilder.Personality/BCBPROJECT/IDEOPTIONS/%s[@Name=\"%s\"]";
constexpr const char* kValue2007 =
    "/def:Project/def:ProjectExtensions/def:BorlandProject/def:BorlandProject/"
    "def:CPlusPlusBuilder.Personality/%s[@Name=\"%s\"]";
constexpr const char* kKeys2006 =
    "/BorlandProject/CPlusPlusBuilder.Personality/BCBPROJECT/IDEOPTIONS/%s";
constexpr const char* kKeys2007 =
    "/def:Project/def:ProjectExtensions/def:BorlandProject/def:BorlandProject/"
    "def:CPlusPlusBuilder.Personality/%s";

}  // namespace

std::shared_ptr<TXmlDocument> OpenBDSProj(const std::string& projectFile) {
  std::shared_ptr<TXmlDocument> document;
  try {
    document = std::make_shared<TXmlDocument>(TXmlDocument::LoadFromFile(projectFile));
  } catch (const platform::EXmlLoadError& e) {
    throw Exception("Error parsing project file : " + e.Reason());
  } catch (const platform::EFOpenError& e) {
    throw Exception("Error parsing project file : " + e.Reason());
  }
  document->RegisterNamespace("def", kMSBuildNamespace);
  const bool bdsproj =
      platform::LowerCase(platform::machinepath::ExtractFileExt(projectFile)) == ".bdsproj";
  // The sentence the pages have always shown, then the file and what was looked for.
  const auto notCBuilder = [&projectFile](const std::string& expected) {
    return Exception(std::string(kNotCBuilder) + "\r\n" + projectFile + ": " + expected);
  };
  if (bdsproj) {
    const platform::TXmlNode personality = document->SelectSingleNode(kPersonality2006);
    if (!personality) {
      throw notCBuilder(
          "a C++Builder 2006 project (.bdsproj) names its personality "
          "CPlusPlusBuilder.Personality under PersonalityInfo; this file names none");
    }
    if (personality.Data() != "CPlusPlusBuilder.Personality") {
      throw notCBuilder(
          "a C++Builder 2006 project (.bdsproj) has the personality "
          "CPlusPlusBuilder.Personality; this file has " +
          personality.Data());
    }
  } else if (!document->SelectSingleNode(kPersonality2007)) {
    throw notCBuilder(
        "a C++Builder 2007 project (.cbproj) is an MSBuild project with a "
        "CPlusPlusBuilder.Personality section under ProjectExtensions; this file has none");
  }
  return document;
}

std::vector<std::string> BuildConfigurations(const TXmlDocument& document, int version) {
  std::vector<std::string> configurations;
  if (version == 0) {
    // The configurations are numbered "build.config.0", "build.config.1", ... up to the first
    // number missing; the first key of each number counts. One pass over the keys finds them
    // all (a query per number took quadratic time on a project with thousands).
    std::unordered_map<std::string, std::string> keys;
    for (const auto& node :
         document.SelectNodes("/BorlandProject/CPlusPlusBuilder.Personality/BCBPROJECT/project/"
                              "property[@name=\"key\"]")) {
      const std::string category = node.Attribute("category").value_or("");
      if (category.starts_with("build.config."))
        keys.emplace(category.substr(13), node.Attribute("value").value_or(""));
    }
    for (int n = 0;; ++n) {
      const auto it = keys.find(std::to_string(n));
      if (it == keys.end()) break;
      configurations.push_back(it->second);
    }
  } else if (version == 1) {
    for (const auto& node :
         document.SelectNodes("/def:Project/def:ItemGroup/def:BuildConfiguration"))
      configurations.push_back(node.Attribute("Include").value_or(""));
  }
  return configurations;
}

std::string VersionValuePath(int version, std::string_view name) {
  return version == 0 ? GetXPath(kValue2006, {"VersionInfo/VersionInfo", name})
                      : GetXPath(kValue2007, {"def:VersionInfo/def:VersionInfo", name});
}

std::string VersionKeysPath(int version) {
  return version == 0 ? GetXPath(kKeys2006, {"VersionInfoKeys/VersionInfoKeys"})
                      : GetXPath(kKeys2007, {"def:VersionInfoKeys/def:VersionInfoKeys"});
}

}  // namespace mx::bcc
