#pragma once
// The version-information settings both C++Builder actions store and write into the resource
// script: the version numbers, the build flags, extra version strings, locale and code page.

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "moxtal/api/Action.h"
#include "moxtal/api/Reflection.h"
#include "package/actionbase/VersionResource.h"

namespace mx::bcc {

class TVersionInfoAction : public TMxAction {
 public:
  bool GetIncludeVerInfo() const { return includeVerInfo_; }
  void SetIncludeVerInfo(bool value) { includeVerInfo_ = value; }
  std::int32_t GetMajorVersion() const { return majorVersion_; }
  void SetMajorVersion(std::int32_t value) { majorVersion_ = value; }
  std::int32_t GetMinorVersion() const { return minorVersion_; }
  void SetMinorVersion(std::int32_t value) { minorVersion_ = value; }
  std::int32_t GetReleaseVersion() const { return releaseVersion_; }
  void SetReleaseVersion(std::int32_t value) { releaseVersion_ = value; }
  std::int32_t GetBuildVersion() const { return buildVersion_; }
  void SetBuildVersion(std::int32_t value) { buildVersion_ = value; }
  bool GetAutoIncBuild() const { return autoIncBuild_; }
  /// While on, BuildVersion is a property the run changes, so the host saves it back.
  void SetAutoIncBuild(bool value);
  bool GetIsDebug() const { return isDebug_; }
  void SetIsDebug(bool value) { isDebug_ = value; }
  bool GetIsPreRelease() const { return isPreRelease_; }
  void SetIsPreRelease(bool value) { isPreRelease_ = value; }
  bool GetIsPrivate() const { return isPrivate_; }
  void SetIsPrivate(bool value) { isPrivate_ = value; }
  bool GetIsSpecial() const { return isSpecial_; }
  void SetIsSpecial(bool value) { isSpecial_ = value; }
  bool GetIsDLL() const { return isDLL_; }
  void SetIsDLL(bool value) { isDLL_ = value; }
  std::string GetVersionInfoKeys() const { return versionInfoKeys_; }
  void SetVersionInfoKeys(const std::string& value) { versionInfoKeys_ = value; }
  std::int32_t GetLocale() const { return locale_; }
  void SetLocale(std::int32_t value) { locale_ = value; }
  std::int32_t GetCodePage() const { return codePage_; }
  void SetCodePage(std::int32_t value) { codePage_ = value; }
  bool GetIncludeCompileDate() const { return includeCompileDate_; }
  void SetIncludeCompileDate(bool value) { includeCompileDate_ = value; }
  std::string GetVersionInfoPropertySetName() const { return versionInfoPropertySetName_; }
  void SetVersionInfoPropertySetName(const std::string& value) {
    versionInfoPropertySetName_ = value;
  }
  bool GetUsePropertySet() const { return usePropertySet_; }
  void SetUsePropertySet(bool value) { usePropertySet_ = value; }
  bool GetLinkProductVersionToFileVersion() const { return linkProductVersionToFileVersion_; }
  void SetLinkProductVersionToFileVersion(bool value) { linkProductVersionToFileVersion_ = value; }
  bool GetAutoUpdateFileVersion() const { return autoUpdateFileVersion_; }
  void SetAutoUpdateFileVersion(bool value) { autoUpdateFileVersion_ = value; }

  /// Sets the "FileVersion" entry of VersionInfoKeys to Major.Minor.Release.Build.
  void UpdateFileVersion();
  /// After a successful build with version information and automatic build numbering: one
  /// more build, written into the file version. Throws mx::Exception "Integer overflow" when
  /// the build number cannot grow.
  void RaiseBuildNumber();
  /// Deletes the first VersionInfoKeys line of that name, if any.
  void RemoveVersionInfoKey(std::string_view name);
  /// Sets a VersionInfoKeys entry (an empty value deletes it).
  void SetVersionInfoKey(std::string_view name, std::string_view value);
  std::string GetVersionInfoKey(std::string_view name) const;

  /// "version 2.4.0.118" when the action writes version information, else "no version
  /// information".
  std::string DescribeVersion() const;

 protected:
  explicit TVersionInfoAction(std::int32_t majorVersion) : majorVersion_(majorVersion) {}

  /// The version resource of these settings; the caller decides how FileVersion is derived.
  TVersionResource VersionResource() const;
  /// The version resource the build writes: VersionResource() as the action completes it.
  virtual TVersionResource ResourceVersion() const = 0;
  /// For the checks before a build: what in the resource script the build would write (its
  /// version texts, and the file names written between quotes) would break it. Nothing is
  /// checked while a property set supplies the version, which only the build loads.
  void DescribeResourceScript(
      IMxBuildRequirements& requirements,
      std::initializer_list<std::pair<const char*, std::string>> files) const;
  /// Expands the project and icon file names and deletes the project's old resource script
  /// ("<project>.rc"), whose name goes to `script`. False, with the reason logged, when a name
  /// does not expand.
  bool PrepareResourceScript(const std::string& projectFile, const std::string& iconFile,
                             std::string& script, std::string& icon);

  bool includeVerInfo_ = false;
  std::int32_t majorVersion_;
  std::int32_t minorVersion_ = 0;
  std::int32_t releaseVersion_ = 0;
  std::int32_t buildVersion_ = 0;
  bool autoIncBuild_ = false;
  bool isDebug_ = false;
  bool isPreRelease_ = false;
  bool isPrivate_ = false;
  bool isSpecial_ = false;
  bool isDLL_ = false;
  std::string versionInfoKeys_;
  std::int32_t locale_ = 0;
  std::int32_t codePage_ = 0;
  bool includeCompileDate_ = false;
  std::string versionInfoPropertySetName_;
  bool usePropertySet_ = false;
  bool linkProductVersionToFileVersion_ = false;
  bool autoUpdateFileVersion_ = true;
};

/// The icon an action took with its project, in words: "the icon ICON from RESOURCE", or why
/// there is none.
std::string DescribeIcon(const std::string& iconFile, const std::string& resourceFile);

/// Phrases joined as a sentence lists them: "a, b and c".
std::string JoinPhrases(const std::vector<std::string>& phrases);

/// Publishes the version settings of an action class T, in their stored order.
template <class T>
void AddVersionInfoProperties(TClassBuilder<T>& b) {
  b.Boolean("IncludeVerInfo", &T::GetIncludeVerInfo, &T::SetIncludeVerInfo)
      .Integer("MajorVersion", &T::GetMajorVersion, &T::SetMajorVersion)
      .Integer("MinorVersion", &T::GetMinorVersion, &T::SetMinorVersion)
      .Integer("ReleaseVersion", &T::GetReleaseVersion, &T::SetReleaseVersion)
      .Integer("BuildVersion", &T::GetBuildVersion, &T::SetBuildVersion)
      .Boolean("AutoIncBuild", &T::GetAutoIncBuild, &T::SetAutoIncBuild)
      .Boolean("IsDebug", &T::GetIsDebug, &T::SetIsDebug)
      .Boolean("IsPreRelease", &T::GetIsPreRelease, &T::SetIsPreRelease)
      .Boolean("IsPrivate", &T::GetIsPrivate, &T::SetIsPrivate)
      .Boolean("IsSpecial", &T::GetIsSpecial, &T::SetIsSpecial)
      .Boolean("IsDLL", &T::GetIsDLL, &T::SetIsDLL)
      .String("VersionInfoKeys", &T::GetVersionInfoKeys, &T::SetVersionInfoKeys)
      .Integer("Locale", &T::GetLocale, &T::SetLocale)
      .Integer("CodePage", &T::GetCodePage, &T::SetCodePage)
      .Boolean("IncludeCompileDate", &T::GetIncludeCompileDate, &T::SetIncludeCompileDate);
}

}  // namespace mx::bcc
