#include "MxCBuilderAction.h"

#include "package/actionbase/ProjectChecks.h"

#include "platform/FileNames.h"
#include "platform/StrUtils.h"

namespace mx::bcc {

using platform::TStringList;

namespace {
// The help and alias lists name the families in an order of their own: the type library's,
// added last, after the rest.
constexpr TSettingsFamily kListedOrder[] = {
    TSettingsFamily::sfDirectory, TSettingsFamily::sfCompiler,    TSettingsFamily::sfAdvCompiler,
    TSettingsFamily::sfLinker,    TSettingsFamily::sfAdvLinker,   TSettingsFamily::sfCPP,
    TSettingsFamily::sfPascal,    TSettingsFamily::sfVersionInfo, TSettingsFamily::sfTASM,
    TSettingsFamily::sfCorba,     TSettingsFamily::sfPackage,     TSettingsFamily::sfCodeGuard,
    TSettingsFamily::sfTLib};
static_assert(NamesEveryFamilyOnce(kListedOrder));
}  // namespace

TCustomMxCBuilderAction::TCustomMxCBuilderAction() : TVersionInfoAction(0) {
  compilerOpt_ = std::make_shared<TMxCBuilderCompilerOptions>();
  advCompilerOpt_ = std::make_shared<TMxCBuilderAdvCompilerOptions>();
  linkerOpt_ = std::make_shared<TMxCBuilderLinkerOptions>();
  advLinkerOpt_ = std::make_shared<TMxCBuilderAdvLinkerOptions>();
  cppOpt_ = std::make_shared<TMxCBuilderCPPOptions>();
  pascalOpt_ = std::make_shared<TMxCBuilderPascalOptions>();
  tASMOpt_ = std::make_shared<TMxCBuilderTASMOptions>();
  corbaOpt_ = std::make_shared<TMxCBuilderCorbaOptions>();
  codeGuardOpt_ = std::make_shared<TMxCBuilderCodeGuardOptions>();
  tLibOpt_ = std::make_shared<TMxCBuilderTLibOptions>();
}

const TClassInfo& TMxCBuilderAction::StaticClassInfo() {
  static const TClassInfo info = [] {
    using T = TMxCBuilderAction;
    TClassInfo c("TMxCBuilderAction", &TMxAction::StaticClassInfo());
    TClassBuilder<T> b(c);
    b.String("ProjectFile", &T::GetProjectFile, &T::SetProjectFile)
        .Enum("ProjectType", &T::GetProjectType, &T::SetProjectType)
        .Boolean("BuildAll", &T::GetBuildAll, &T::SetBuildAll)
        .String("Conditionals", &T::GetConditionals, &T::SetConditionals)
        .Boolean("RegenerateResource", &T::GetRegenerateResource, &T::SetRegenerateResource)
        .String("IconFile", &T::GetIconFile, &T::SetIconFile)
        .Enum("CBuilderVersion", &T::GetCBuilderVersion, &T::SetCBuilderVersion)
        .String("IncludePath", &T::GetIncludePath, &T::SetIncludePath)
        .String("LibraryPath", &T::GetLibraryPath, &T::SetLibraryPath)
        .String("IntermediateOutputPath", &T::GetIntermediateOutputPath,
                &T::SetIntermediateOutputPath)
        .String("FinalOutputPath", &T::GetFinalOutputPath, &T::SetFinalOutputPath)
        .String("BPILIBOutputPath", &T::GetBPILIBOutputPath, &T::SetBPILIBOutputPath)
        .String("MakeOptions", &T::GetMakeOptions, &T::SetMakeOptions)
        .String("BPR2MakOptions", &T::GetBPR2MakOptions, &T::SetBPR2MakOptions);
    AddVersionInfoProperties(b);
    b.String("Packages", &T::GetPackages, &T::SetPackages)
        .Boolean("UsePackages", &T::GetUsePackages, &T::SetUsePackages)
        .Boolean("CaptureMakeOuput", &T::GetCaptureMakeOuput, &T::SetCaptureMakeOuput)
        .Boolean("UseRegForBPLPath", &T::GetUseRegForBPLPath, &T::SetUseRegForBPLPath)
        .Boolean("UseRegForBPIPath", &T::GetUseRegForBPIPath, &T::SetUseRegForBPIPath);
    for (const TFamilySwitch& row : kFamilySwitches) {
      b.Boolean(
          row.Property,
          [family = row.Family](const T& action) { return action.UsesFamily(family); },
          [family = row.Family](T& action, bool value) { action.SetUsesFamily(family, value); });
    }
    b.Boolean("PreProcessProjectFile", &T::GetPreProcessProjectFile, &T::SetPreProcessProjectFile)
        .Object("CompilerOpt", &T::GetCompilerOpt)
        .Object("AdvCompilerOpt", &T::GetAdvCompilerOpt)
        .Object("LinkerOpt", &T::GetLinkerOpt)
        .Object("AdvLinkerOpt", &T::GetAdvLinkerOpt)
        .Object("CppOpt", &T::GetCppOpt)
        .Object("PascalOpt", &T::GetPascalOpt)
        .Object("TASMOpt", &T::GetTASMOpt)
        .Object("CorbaOpt", &T::GetCorbaOpt)
        .Object("CodeGuardOpt", &T::GetCodeGuardOpt)
        .Object("TLibOpt", &T::GetTLibOpt)
        .Boolean("UseEurekaLogCompiler", &T::GetUseEurekaLogCompiler, &T::SetUseEurekaLogCompiler)
        .String("VersionInfoPropertySetName", &T::GetVersionInfoPropertySetName,
                &T::SetVersionInfoPropertySetName)
        .Boolean("UsePropertySet", &T::GetUsePropertySet, &T::SetUsePropertySet)
        .Boolean("LinkProductVersionToFileVersion", &T::GetLinkProductVersionToFileVersion,
                 &T::SetLinkProductVersionToFileVersion)
        .Boolean("AutoUpdateFileVersion", &T::GetAutoUpdateFileVersion,
                 &T::SetAutoUpdateFileVersion);
    return c;
  }();
  return info;
}

std::vector<std::shared_ptr<IQlXMLObject>> TCustomMxCBuilderAction::GetChildren() const {
  std::vector<std::shared_ptr<IQlXMLObject>> children = TMxAction::GetChildren();
  for (const std::shared_ptr<IQlXMLObject>& record :
       std::initializer_list<std::shared_ptr<IQlXMLObject>>{
           compilerOpt_, advCompilerOpt_, linkerOpt_, advLinkerOpt_, cppOpt_, pascalOpt_, tASMOpt_,
           corbaOpt_, codeGuardOpt_, tLibOpt_}) {
    children.push_back(record);
  }
  return children;
}

namespace {
template <class I>
void Take(const std::shared_ptr<IQlXMLObject>& child, std::shared_ptr<I>& record) {
  if (auto family = std::dynamic_pointer_cast<I>(child)) record = family;
}
}  // namespace

void TCustomMxCBuilderAction::AddChildObject(std::shared_ptr<IQlXMLObject> child) {
  TMxAction::AddChildObject(child);
  Take(child, compilerOpt_);
  Take(child, advCompilerOpt_);
  Take(child, linkerOpt_);
  Take(child, advLinkerOpt_);
  Take(child, cppOpt_);
  Take(child, pascalOpt_);
  Take(child, tASMOpt_);
  Take(child, corbaOpt_);
  Take(child, codeGuardOpt_);
  Take(child, tLibOpt_);
}

std::string TCustomMxCBuilderAction::GetFormattedDescription() const {
  return GetActionName() + " [ " + projectFile_ + " ]";
}

std::string TCustomMxCBuilderAction::ProjectFolder() const {
  return ProjectFolderOf(*this, projectFile_);
}

std::string TCustomMxCBuilderAction::DescribeTakenProject(const std::string& resourceFile) const {
  static const char* const kKinds[] = {"executable", "package", "DLL", "static library"};
  const auto version = static_cast<int>(cBuilderVersion_);
  std::vector<std::string> phrases{
      "C++Builder " +
      std::string(version >= 1 && version <= 5 ? std::to_string(version + 2) : "?") + " " +
      kKinds[static_cast<int>(projectType_)]};
  int families = 0;
  for (const TFamilySwitch& row : kFamilySwitches)
    families += row.HasRecord && UsesFamily(row.Family) ? 1 : 0;
  phrases.push_back(std::to_string(families) + " option families");
  if (UsesFamily(TSettingsFamily::sfDirectory))
    phrases.emplace_back("the directories and conditionals");
  int packages = 0;
  for (const auto& name : platform::SplitList(packages_, ';'))
    packages += platform::Trim(name).empty() ? 0 : 1;
  phrases.push_back(usePackages_ ? std::to_string(packages) + " runtime packages"
                                 : "no runtime packages");
  phrases.push_back(DescribeVersion());
  if (projectType_ != TCBuilderProjectType::ptBPL)
    phrases.push_back(DescribeIcon(iconFile_, resourceFile));
  return JoinPhrases(phrases);
}

bool TCustomMxCBuilderAction::Validate(IMxActionValidationError& errors) {
  if (projectFile_.empty()) {
    errors.AddError("Project File", "Project file has not been set");
    return false;
  }
  return true;
}

void TCustomMxCBuilderAction::DescribeRequirements(IMxBuildRequirements& requirements) const {
  if (!projectFile_.empty()) requirements.RequireFile("ProjectFile", projectFile_);
  if (regenerateResource_ && !iconFile_.empty()) requirements.RequireFile("IconFile", iconFile_);
  requirements.Writes("MxTemp.BPR");
  requirements.Writes("MxTemp.BPK");
  requirements.Writes("MxTemp.MAK");
  if (regenerateResource_ && !projectFile_.empty()) {
    const std::string name = platform::wintext::ExtractFileName(projectFile_);
    requirements.Writes(platform::wintext::ChangeFileExt(name, ".rc"));
    requirements.Writes(platform::wintext::ChangeFileExt(name, ".res"));
  }
  if (regenerateResource_) DescribeResourceScript(requirements, {{"IconFile", iconFile_}});
  DescribeProjectAndTools(requirements);
}

void TCustomMxCBuilderAction::GetHiddenProperties(TStringList& list) const {
  TMxAction::GetHiddenProperties(list);
  for (const char* name : {"ProjectType",     "CBuilderVersion",    "CompilerOpt",
                           "AdvCompilerOpt",  "LinkerOpt",          "AdvLinkerOpt",
                           "CppOpt",          "PascalOpt",          "TASMOpt",
                           "CorbaOpt",        "CodeGuardOpt",       "TLibOpt",
                           "IncludePath",     "LibraryPath",        "IntermediateOutputPath",
                           "FinalOutputPath", "BPILIBOutputPath",   "IncludeVerInfo",
                           "MajorVersion",    "MinorVersion",       "ReleaseVersion",
                           "BuildVersion",    "AutoIncBuild",       "IsDebug",
                           "IsPreRelease",    "IsPrivate",          "IsSpecial",
                           "IsDLL",           "VersionInfoKeys",    "Locale",
                           "CodePage",        "IncludeCompileDate", "VersionInfoPropertySetName"}) {
    list.Add(name);
  }
}

void TCustomMxCBuilderAction::GetPropertyHelp(TStringList& list) const {
  TMxAction::GetPropertyHelp(list);
  for (const TSettingsFamily family : kListedOrder) {
    const TFamilySwitch& row = FamilySwitch(family);
    if (!row.HelpName) continue;
    std::string help = std::string(row.Property) + "=When set, the " + row.HelpName +
                       " settings for the action will be used";
    if (row.HelpNamesProject) help += ", otherwise the project settings will be used";
    list.Add(help);
  }
  list.Add(
      "PreProcessProjectFile=Fixup Include and LibPath so that paths with spaces do not have a "
      "trailing backslash "
      "character as this causes make to fail.");
  list.Add("RegenerateResource=Regenerate Resource File during build");
  list.Add("Conditionals=Compiler Conditionals");
  list.Add("BPR2MakOptions=Additional BPR2Mak Options");
  list.Add("MakeOptions=Additional Make Options");
  list.Add("BuildAll=When Checked, do a Build, otherwise Make");
  list.Add(
      "UseRegForBPLPath=Use the BCB Environment (BPL output path) settings for the Final Output "
      "Path");
  list.Add(
      "UseRegForBPIPath=Use the BCB Environment (BPI/LIB output path) settings for the BPI/LIB "
      "Output Path");
  list.Add("CaptureMakeOuput=Capture Make Ouput.");
}

void TCustomMxCBuilderAction::GetPropertyAlias(TStringList& list) const {
  TMxAction::GetPropertyAlias(list);
  for (const char* line :
       {"[Project]", "ProjectFile=Project File", "IconFile=Icon", "StartDir=Starting Directory",
        "[Options]", "BuildAll=Build", "RegenerateResource=Regenerate Resource", "Conditionals",
        "BPR2MakOptions=BPR2Mak Options", "MakeOptions=Make Options",
        "UseRegForBPLPath=Use BCB BPL Path", "UseRegForBPIPath=Use BCB BPI Path",
        "CaptureMakeOuput=Capture Make Ouput", "[Settings]"}) {
    list.Add(line);
  }
  for (const TSettingsFamily family : kListedOrder) {
    const TFamilySwitch& row = FamilySwitch(family);
    list.Add(std::string(row.Property) + "=" + row.Alias);
  }
  for (const char* line :
       {"PreProcessProjectFile=", "[Packages]", "UsePackages=Use Packages", "Packages"}) {
    list.Add(line);
  }
}

void TCustomMxCBuilderAction::GetReadOnlyProperties(TStringList& list) const {
  TMxAction::GetReadOnlyProperties(list);
}

void TCustomMxCBuilderAction::SetProjectFile(const std::string& value) {
  if (value != projectFile_) projectFile_ = value;
}

void TCustomMxCBuilderAction::ApplyActionSettings(ICBuilderProjectParser& parser) {
  parser.ApplyChanges(*this, preProcessProjectFile_);
}

void TCustomMxCBuilderAction::SetupDebug() {
  compilerOpt_->SetOptimisation({});
  compilerOpt_->SetDebugInformation(true);
  compilerOpt_->SetLineNumberInformation(true);
  compilerOpt_->SetDisableInlineExpansion(true);
  compilerOpt_->SetStackFrames(true);
  advCompilerOpt_->SetRegisterVariables(TCBuilderRegisterVariables::rvNone);
  linkerOpt_->SetDebugInformation(true);
  pascalOpt_->SetOptimisation(false);
  pascalOpt_->SetDebugInfo(true);
  pascalOpt_->SetStackFrames(true);
  pascalOpt_->SetLocalSymbols(true);
  pascalOpt_->SetReferenceInfo(true);
  pascalOpt_->SetDefinitionsOnly(true);
  if (conditionals_.find("_DEBUG") == std::string::npos) {
    if (platform::Trim(conditionals_).empty()) {
      conditionals_ = "_DEBUG;";
    } else if (conditionals_.back() == ';') {
      conditionals_ += "_DEBUG";
    } else {
      conditionals_ += ";_DEBUG";
    }
  }
}

void TCustomMxCBuilderAction::SetupRelease() {
  using O = TBCBCompilerOptimisation;
  compilerOpt_->SetOptimisation(
      {O::coInlineIntrinsic, O::coInductionVariables, O::coCommonSubExpression});
  compilerOpt_->SetDebugInformation(false);
  compilerOpt_->SetLineNumberInformation(false);
  compilerOpt_->SetDisableInlineExpansion(false);
  compilerOpt_->SetStackFrames(false);
  advCompilerOpt_->SetRegisterVariables(TCBuilderRegisterVariables::rvAuto);
  linkerOpt_->SetDebugInformation(true);
  pascalOpt_->SetOptimisation(true);
  pascalOpt_->SetDebugInfo(false);
  pascalOpt_->SetStackFrames(false);
  pascalOpt_->SetLocalSymbols(false);
  pascalOpt_->SetReferenceInfo(false);
  pascalOpt_->SetDefinitionsOnly(false);
  // Each removal works on the result of the one before.
  for (const char* form : {"_DEBUG;", ";_DEBUG", "_DEBUG"}) {
    const auto at = conditionals_.find(form);
    if (at != std::string::npos) conditionals_.erase(at, std::string_view(form).size());
  }
}

namespace {

TCustomMxCBuilderAction& Self(IPersistentObject& object) {
  return dynamic_cast<TCustomMxCBuilderAction&>(object);
}

std::string Arg(const std::vector<TScriptValue>& args, std::size_t i) {
  return i < args.size() ? ScriptValueToString(args[i]) : std::string();
}

}  // namespace

void RegisterCBuilderAction(std::string bitmap) {
  RegisterOptionClasses();
  auto registration = ActionRegistration<TMxCBuilderAction>("Compilers", "BCB");
  registration.Bitmap = std::move(bitmap);
  MxActionServices().RegisterAction(std::move(registration));
}

void RegisterCBuilderScriptMethods() {
  IMxScriptingServices& scripting = MxScriptingServices();
  const std::string cls = TMxCBuilderAction::StaticClassInfo().Name();
  scripting.RegisterScriptMethod(cls, {"SetupRelease",
                                       "SetupRelease",
                                       {},
                                       TScriptType::stNone,
                                       [](IPersistentObject& o, const std::vector<TScriptValue>&) {
                                         Self(o).SetupRelease();
                                         return TScriptValue{};
                                       }});
  scripting.RegisterScriptMethod(cls, {"SetupDebug",
                                       "SetupDebug",
                                       {},
                                       TScriptType::stNone,
                                       [](IPersistentObject& o, const std::vector<TScriptValue>&) {
                                         Self(o).SetupDebug();
                                         return TScriptValue{};
                                       }});
  scripting.RegisterScriptMethod(
      cls, {"SetVersionInfoKey",
            "SetVersionInfoKey(name, Value: WideString)",
            {{"name", TScriptType::stWideString}, {"Value", TScriptType::stWideString}},
            TScriptType::stNone,
            [](IPersistentObject& o, const std::vector<TScriptValue>& args) {
              Self(o).SetVersionInfoKey(Arg(args, 0), Arg(args, 1));
              return TScriptValue{};
            }});
  scripting.RegisterScriptMethod(cls,
                                 {"GetVersionInfoKey",
                                  "GetVersionInfoKey(name: WideString): WideString",
                                  {{"name", TScriptType::stWideString}},
                                  TScriptType::stWideString,
                                  [](IPersistentObject& o, const std::vector<TScriptValue>& args) {
                                    return TScriptValue(Self(o).GetVersionInfoKey(Arg(args, 0)));
                                  }});
}

}  // namespace mx::bcc
