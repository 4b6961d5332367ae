#include "CBuilder2006Action.h"

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
