#include "VersionInfoAction.h"

#include <filesystem>
#include <limits>
#include <system_error>

#include "package/actionbase/VersionResource.h"
#include "platform/Exception.h"
#include "platform/FileNames.h"
#include "platform/StringList.h"

namespace mx::bcc {

void TVersionInfoAction::SetAutoIncBuild(bool value) {
  if (value == autoIncBuild_) return;
  autoIncBuild_ = value;
  if (value) {
    RegisterDynamicProperty("BuildVersion");
  } else {
    UnRegisterDynamicProperty("BuildVersion");
  }
}

void TVersionInfoAction::UpdateFileVersion() {
  SetVersionInfoKey("FileVersion",
                    DottedVersion(majorVersion_, minorVersion_, releaseVersion_, buildVersion_));
}

void TVersionInfoAction::RaiseBuildNumber() {
  if (!includeVerInfo_ || !autoIncBuild_) return;
  if (buildVersion_ == std::numeric_limits<std::int32_t>::max())
    throw Exception("Integer overflow");
  ++buildVersion_;
  UpdateFileVersion();
}

void TVersionInfoAction::RemoveVersionInfoKey(std::string_view name) {
  versionInfoKeys_ = WithoutVersionKey(versionInfoKeys_, name);
}

void TVersionInfoAction::SetVersionInfoKey(std::string_view name, std::string_view value) {
  versionInfoKeys_ = WithVersionKey(versionInfoKeys_, name, value);
}

std::string TVersionInfoAction::GetVersionInfoKey(std::string_view name) const {
  return platform::TStringList(versionInfoKeys_).Values(name);
}

void TVersionInfoAction::DescribeResourceScript(
    IMxBuildRequirements& requirements,
    std::initializer_list<std::pair<const char*, std::string>> files) const {
  for (const auto& [property, file] : files) {
    std::string expanded;
    try {
      expanded = AbsolutePath(ExpandExpression(file, true));
    } catch (const Exception&) {
      continue;  // the check of the files a build reads says so
    }
    if (const auto problem = QuotedTextProblem(expanded)) {
      requirements.Error(property, expanded + " holds " + *problem +
                                       ", which a resource script cannot hold between quotes: "
                                       "rename it");
    }
  }
  if (!includeVerInfo_ || usePropertySet_) return;
  std::string error;
  const auto text = ExpandVersionText(ResourceVersion(), *this, false, &error);
  if (!text) {
    requirements.Error("VersionInfoKeys", error);
    return;
  }
  for (const auto& problem : VersionTextProblems(*text))
    requirements.Error("VersionInfoKeys", problem);
}

std::string TVersionInfoAction::DescribeVersion() const {
  if (!includeVerInfo_) return "no version information";
  return "version " + std::to_string(majorVersion_) + "." + std::to_string(minorVersion_) + "." +
         std::to_string(releaseVersion_) + "." + std::to_string(buildVersion_);
}

std::string DescribeIcon(const std::string& iconFile, const std::string& resourceFile) {
  const std::string resource = platform::machinepath::ExtractFileName(resourceFile);
  if (!iconFile.empty())
    return "the icon " + iconFile + (resource.empty() ? "" : " from " + resource);
  return resource.empty() ? "no icon" : "no icon (" + resource + " holds no MAINICON)";
}

std::string JoinPhrases(const std::vector<std::string>& phrases) {
  std::string text;
  for (std::size_t i = 0; i < phrases.size(); ++i) {
    if (i > 0) text += i + 1 == phrases.size() ? " and " : ", ";
    text += phrases[i];
  }
  return text;
}

TVersionResource TVersionInfoAction::VersionResource() const {
  TVersionResource r;
  r.Major = majorVersion_;
  r.Minor = minorVersion_;
  r.Release = releaseVersion_;
  r.Build = buildVersion_;
  r.IsDebug = isDebug_;
  r.IsPreRelease = isPreRelease_;
  r.IsPrivate = isPrivate_;
  r.IsSpecial = isSpecial_;
  r.IsDLL = isDLL_;
  r.VersionInfoKeys = versionInfoKeys_;
  r.Locale = locale_;
  r.IncludeCompileDate = includeCompileDate_;
  r.LinkProductVersionToFileVersion = linkProductVersionToFileVersion_;
  return r;
}

bool TVersionInfoAction::PrepareResourceScript(const std::string& projectFile,
                                               const std::string& iconFile, std::string& script,
                                               std::string& icon) {
  std::string project;
  if (!TryExpandExpression("ProjectFile", projectFile, project, true)) return false;
  script = platform::machinepath::ChangeFileExt(AbsolutePath(project), ".rc");
  // An old script that cannot be removed is replaced when the new one is written, or the write
  // says why it cannot be.
  std::error_code ec;
  std::filesystem::remove(platform::machinepath::ToFsPath(script), ec);
  try {
    icon = AbsolutePath(ExpandExpression(iconFile, true));
  } catch (const Exception& e) {
    auto message = CreateStatusMessage();
    message->Add(e.what());
    SendStatusMessage(message);
    return false;
  }
  return true;
}

}  // namespace mx::bcc
