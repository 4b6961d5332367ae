#include "CBuilder2006Action.h"

#include "package/actionbase/ProjectChecks.h"

#include <algorithm>
#include <optional>

#include "package/projparser/CBuilder2006Project.h"
#include "package/projparser/ProjectOutputs.h"
#include "platform/FileNames.h"
#include "platform/StrUtils.h"

namespace mx::bcc {

using platform::TStringList;

TCBuilder2006Action::TCBuilder2006Action() : TVersionInfoAction(1) {
  AddScript("OnMakeFileGenerated");
}

const TClassInfo& TCBuilder2006Action::StaticClassInfo() {
  static const TClassInfo info = [] {
    using T = TCBuilder2006Action;
    TClassInfo c("TCBuilder2006Action", &TMxAction::StaticClassInfo());
    TClassBuilder<T> b(c);
    b.String("ProjectFile", &T::GetProjectFile, &T::SetProjectFile)
        .String("Config", &T::GetConfig, &T::SetConfig)
        .String("TemplateFile", &T::GetTemplateFile, &T::SetTemplateFile)
        .String("MakeOptions", &T::GetMakeOptions, &T::SetMakeOptions)
        .Enum("BuildType", &T::GetBuildType, &T::SetBuildType)
        .Boolean("RegenerateResource", &T::GetRegenerateResource, &T::SetRegenerateResource);
    AddVersionInfoProperties(b);
    b.String("IconFile", &T::GetIconFile, &T::SetIconFile)
        .String("VersionInfoPropertySetName", &T::GetVersionInfoPropertySetName,
                &T::SetVersionInfoPropertySetName)
        .Boolean("UsePropertySet", &T::GetUsePropertySet, &T::SetUsePropertySet)
        .Boolean("LinkProductVersionToFileVersion", &T::GetLinkProductVersionToFileVersion,
                 &T::SetLinkProductVersionToFileVersion)
        .Boolean("AutoUpdateFileVersion", &T::GetAutoUpdateFileVersion,
                 &T::SetAutoUpdateFileVersion)
        .Enum("CBuilderVersion", &T::GetCBuilderVersion, &T::SetCBuilderVersion)
        .StringList("MSBuildProperties", &T::GetMSBuildProperties, &T::SetMSBuildProperties)
        .Boolean("IncludeManifest", &T::GetIncludeManifest, &T::SetIncludeManifest)
        .String("ManifestFile", &T::GetManifestFile, &T::SetManifestFile)
        .Enum("ResourceCompilerType", &T::GetResourceCompilerType, &T::SetResourceCompilerType)
        .String("ResourceCompilerPath", &T::GetResourceCompilerPath, &T::SetResourceCompilerPath)
        .String("ResourceCompilerOptions", &T::GetResourceCompilerOptions,
                &T::SetResourceCompilerOptions);
    return c;
  }();
  return info;
}

void TCBuilder2006Action::InitialiseScriptParams(TMxScript& script) {
  TMxAction::InitialiseScriptParams(script);
  if (script.Name() == "OnMakeFileGenerated") {
    script.AddParam("Action", false);
    script.AddParam("MakeFileName", false);
    script.AddParam("MakeFile", false);
    script.AddParam("MakeFileModified", true);
  }
}

void TCBuilder2006Action::TerminateAction() {
  terminated_ = true;
  std::lock_guard guard(lock_);
  if (stopEvent_) stopEvent_->SetEvent();
}

void TCBuilder2006Action::SetResourceCompilerType(TMxCBResourceCompiler v) {
  if (v == resourceCompilerType_) return;
  resourceCompilerType_ = v;
  if (v == TMxCBResourceCompiler::rcMicrosoft && platform::Trim(resourceCompilerOptions_).empty()) {
    resourceCompilerOptions_ = "%1%";
  }
}

void RegisterCBuilder2006Action(std::string bitmap) {
  auto registration = ActionRegistration<TCBuilder2006Action>("Compilers", "BCB2006");
  registration.Bitmap = std::move(bitmap);
  MxActionServices().RegisterAction(std::move(registration));
}

}  // namespace mx::bcc

namespace mx::bcc {

namespace {

// The version a project file's extension says it is for: .bdsproj for C++Builder 2006, .cbproj
// for 2007; nullopt for any other name.
std::optional<cb2006::TCBuilderVersion> VersionOfProject(const std::string& projectFile) {
  const std::string extension = platform::LowerCase(platform::wintext::ExtractFileExt(projectFile));
  if (extension == ".bdsproj") return cb2006::TCBuilderVersion::cb2006;
  if (extension == ".cbproj") return cb2006::TCBuilderVersion::cb2007;
  return std::nullopt;
}

std::string VersionName(cb2006::TCBuilderVersion version) {
  return EnumInfoOf(version).Name(static_cast<int>(version));
}

}  // namespace

void TCBuilder2006Action::DescribeRequirements(IMxBuildRequirements& requirements) const {
  if (!projectFile_.empty()) requirements.RequireFile("ProjectFile", projectFile_);
  if (regenerateResource_ && !iconFile_.empty()) requirements.RequireFile("IconFile", iconFile_);
  if (includeManifest_ && !manifestFile_.empty())
    requirements.RequireFile("ManifestFile", manifestFile_);
  const std::string name = platform::wintext::ExtractFileName(projectFile_);
  if (regenerateResource_ && !name.empty()) {
    requirements.Writes(platform::wintext::ChangeFileExt(name, ".rc"));
    requirements.Writes(platform::wintext::ChangeFileExt(name, ".res"));
  }
  if (cbuilderVersion_ == cb2006::TCBuilderVersion::cb2006 && !name.empty())
    requirements.Writes(platform::wintext::ChangeFileExt(name, ".mak"));
  const auto expected = VersionOfProject(projectFile_);
  if (expected && *expected != cbuilderVersion_) {
    requirements.Warn("CBuilderVersion",
                      VersionName(cbuilderVersion_) + " builds " +
                          (cbuilderVersion_ == cb2006::TCBuilderVersion::cb2006
                               ? "C++Builder 2006 projects (.bdsproj) with bdsproj2mak and make"
                               : "C++Builder 2007 projects (.cbproj) with MSBuild") +
                          ", but the project file " + projectFile_ + " is a " +
                          (*expected == cb2006::TCBuilderVersion::cb2006 ? "2006" : "2007") +
                          " project");
  }
  if (regenerateResource_) {
    DescribeResourceScript(requirements, {{"IconFile", iconFile_},
                                          {"ManifestFile", includeManifest_ ? manifestFile_ : ""}});
  }
  DescribeProjectAndTools(requirements);
}

std::string TCBuilder2006Action::ProjectFolder() const {
  return ProjectFolderOf(*this, projectFile_);
}

std::string TCBuilder2006Action::DescribeTakenProject(const std::string& resourceFile) const {
  std::vector<std::string> phrases{
      cbuilderVersion_ == cb2006::TCBuilderVersion::cb2006 ? "C++Builder 2006" : "C++Builder 2007",
      config_.empty() ? "every configuration" : "the configuration " + config_, DescribeVersion(),
      DescribeIcon(iconFile_, resourceFile)};
  if (!manifestFile_.empty())
    phrases.push_back(
        std::string(includeManifest_ ? "the manifest " : "the manifest (not included) ") +
        manifestFile_);
  return JoinPhrases(phrases);
}

std::vector<std::string> TCBuilder2006Action::InferSettings(const std::vector<std::string>& given) {
  const auto named = [&given](std::string_view name) {
    return std::any_of(given.begin(), given.end(),
                       [name](const std::string& g) { return platform::SameText(g, name); });
  };
  if (named("CBuilderVersion") || !named("ProjectFile")) return {};
  const auto version = VersionOfProject(projectFile_);
  if (!version || *version == cbuilderVersion_) return {};
  cbuilderVersion_ = *version;
  return {"CBuilderVersion=" + VersionName(*version) + " (from the extension of " + projectFile_ +
          ")"};
}

std::optional<TProjectFiles> TCBuilder2006Action::ProjectFiles() const {
  const std::string project = AbsolutePath(ExpandExpression(projectFile_, true));
  if (project.empty()) return std::nullopt;
  const std::string config = ExpandExpression(config_, true);
  const auto document = OpenBDSProj(project);
  const auto links = cbuilderVersion_ == cb2006::TCBuilderVersion::cb2006
                         ? BdsProjectLinks(*document, config)
                         : MSBuildProjectLinks(*document, project, config);
  const std::string folder = platform::machinepath::ExtractFileDir(project);
  TProjectFiles files;
  for (const auto& output : links.Outputs)
    files.Outputs.push_back(MachinePathOf(folder, output));
  files.Links = links.Links;
  return files;
}

}  // namespace mx::bcc
