// The C++Builder 2006 build (bdsproj2mak, the makefile event, make) and the 2007 build (MSBuild).
#include "moxtal/api/DotNetInfo.h"
#include "moxtal/api/Quoting.h"
#include "moxtal/api/ToolFiles.h"
#include "package/action2006/CBuilder2006Action.h"
#include "package/actionbase/ProjectChecks.h"
#include "package/actionbase/ToolResult.h"
#include "platform/FileNames.h"
#include "platform/StrUtils.h"

namespace mx::bcc {

using namespace platform;

bool TCBuilder2006Action::Execute() {
  terminated_ = false;
  TTools tools;
  const bool found = cbuilderVersion_ == cb2006::TCBuilderVersion::cb2006 ? FindMakeTools(tools)
                                                                          : FindMSBuild(tools);
  if (!found) return false;
  std::string project;
  std::string config;
  if (!TryExpandExpression("Project File", projectFile_, project, true)) return false;
  project = AbsolutePath(project);
  if (!TryExpandExpression("Config", config_, config, false)) return false;
  if (usePropertySet_ && !LoadPropertySetSettings()) return false;

  {
    std::lock_guard guard(lock_);
    stopEvent_ = std::make_unique<TEvent>(TEvent::TResetMode::Auto);
  }
  // However the build ends, the stop event goes under the lock, so a late stop request finds
  // nothing to signal.
  struct TReleaseStopEvent {
    TCBuilder2006Action& action;
    ~TReleaseStopEvent() {
      std::lock_guard guard(action.lock_);
      action.stopEvent_.reset();
    }
  } release{*this};
  return Build(tools, project, config);
}

std::string TCBuilder2006Action::GeneratorTool() const {
  const std::string root = ExpandExpression("%BCB2006DIR%", true);
  const char delim = TToolFiles::Delimiter(root);
  return machinepath::Normalise(root + delim + "bin" + delim + "bdsproj2mak.exe");
}

std::string TCBuilder2006Action::MakeTool() const {
  return machinepath::Normalise(ExpandExpression("%BCB2006%", true));
}

std::string TCBuilder2006Action::MSBuildTool() const {
  const auto framework = MxDotNetInfo("v2.0", ToolSetup());
  if (!framework) return {};
  return machinepath::Normalise(TToolFiles::IncludeTrailingPathDelimiter(*framework) +
                                "MSBuild.exe");
}

std::string TCBuilder2006Action::ResourceCompilerTool() const {
  return machinepath::Normalise(ExpandExpression(
      cbuilderVersion_ == cb2006::TCBuilderVersion::cb2006 ? "%BCB2006_BRCC32%" : "%CB2007_BRCC32%",
      true));
}

bool TCBuilder2006Action::FindMakeTools(TTools& tools) {
  try {
    tools.Generator = GeneratorTool();
  } catch (const Exception& e) {
    SendMessage(std::string("Error finding path to bdsproj2mak.exe : ") + e.what());
    return false;
  }
  if (!ToolFiles(tools.Generator).FileExists(tools.Generator)) {
    SendMessage("Unable to locate bdsproj2mak.exe : " + tools.Generator);
    return false;
  }
  try {
    tools.Make = MakeTool();
  } catch (const Exception& e) {
    SendMessage(std::string("Error finding path to make.exe : ") + e.what());
    return false;
  }
  if (!ToolFiles(tools.Make).FileExists(tools.Make)) {
    SendMessage("Unable to locate make.exe : " + tools.Make);
    return false;
  }
  // The template goes to bdsproj2mak as written; the tool reads it from the project's folder.
  return TryExpandExpression("Template File", templateFile_, tools.TemplateFile, false) &&
         TryExpandExpression("Make Options", makeOptions_, tools.MakeOptions, false);
}

bool TCBuilder2006Action::FindMSBuild(TTools& tools) {
  tools.MSBuild = MSBuildTool();
  if (tools.MSBuild.empty()) {
    SendMessage("Error - Dot Net Framework 2.0 not found, this action requires MSBuild.exe");
    return false;
  }
  if (!ToolFiles(tools.MSBuild).FileExists(tools.MSBuild)) {
    SendMessage("Required file " + tools.MSBuild + " not found");
    return false;
  }
  return true;
}

void TCBuilder2006Action::DescribeProjectAndTools(IMxBuildRequirements& requirements) const {
  // The project as the user named it, with its variables expanded, for the messages.
  std::string named;
  try {
    named = ExpandExpression(projectFile_, true);
  } catch (const Exception&) {
    return;  // the check of the files a build reads says so
  }
  if (named.empty()) return;
  if (const auto wrong =
          WrongProjectKind(named, IdentifyProject(AbsolutePath(named)),
                           {TProjectKind::pkCBuilder2006, TProjectKind::pkCBuilder2007})) {
    requirements.Error("ProjectFile", *wrong);
    return;
  }
  const bool v2006 = cbuilderVersion_ == cb2006::TCBuilderVersion::cb2006;
  try {
    if (v2006) {
      requirements.RequireTool("bdsproj2mak", GeneratorTool());
      requirements.RequireTool("make", MakeTool());
    }
    if (regenerateResource_) requirements.RequireTool("brcc32", ResourceCompilerTool());
  } catch (const Exception&) {
    requirements.Error("CBuilderVersion",
                       "the build " + MissingCompilerMessage(*this, v2006 ? "2006" : "2007"));
    return;
  }
  if (v2006) return;
  const std::string msbuild = MSBuildTool();
  if (msbuild.empty()) {
    requirements.Error(
        "CBuilderVersion",
        "C++Builder 2007 projects are built with MSBuild of the .NET Framework 2.0, "
        "and the registry names none (registry: " +
            MxPackageServices().RegistryName() +
            "): it needs the InstallRoot of "
            "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\.NETFramework and its v2.0.50727 folder");
    return;
  }
  requirements.RequireTool("MSBuild", msbuild);
}

bool TCBuilder2006Action::LoadPropertySetSettings() {
  if (versionInfoPropertySetName_.empty()) {
    SendMessage("PropertySet name is blank");
    return false;
  }
  return LoadVersionInfoFromPropertySet();
}

bool TCBuilder2006Action::Build(const TTools& tools, const std::string& project,
                                const std::string& config) {
  const std::string dir = machinepath::ExtractFilePath(project);
  // The build tool must be able to name the project, or nothing is built.
  try {
    ToolFiles(cbuilderVersion_ == cb2006::TCBuilderVersion::cb2006 ? tools.Generator
                                                                   : tools.MSBuild)
        .ToTool(project);
  } catch (const Exception& e) {
    SendMessage(e.what());
    return false;
  }
  if (regenerateResource_ && (!GenerateResource() || !CompileResource(project, dir))) return false;
  if (terminated_) {
    SendMessage("Action Terminated by user");
    return false;
  }
  TMxProcessParams process;
  process.Executable = tools.Generator;
  process.WorkingDirectory = machinepath::ExcludeTrailingPathDelimiter(dir);
  process.CaptureStdOut = true;
  process.CaptureStdErr = true;
  process.WaitForExit = true;
  process.StopEvent = stopEvent_.get();
  const bool built = cbuilderVersion_ == cb2006::TCBuilderVersion::cb2006
                         ? BuildWithMake(process, project, dir, config, tools.TemplateFile,
                                         tools.MakeOptions, tools.Make)
                         : BuildWithMSBuild(process, project, config, tools.MSBuild);
  if (!built) return false;
  try {
    RaiseBuildNumber();
  } catch (const Exception& e) {
    SendMessage(e.what());
    return false;
  }
  return true;
}

bool TCBuilder2006Action::RunBuildTool(const TMxProcessParams& process, const std::string& tool,
                                       const std::string& succeeded, const TToolReport* report) {
  TToolStep step;
  // The diagnostics name a tool by its program's name ("bdsproj2mak", "msbuild").
  step.Tool = LowerCase(machinepath::ChangeFileExt(
      machinepath::ExtractFileName(StripQuotes(process.Executable)), ""));
  step.Process = process;
  step.Report = report
                    ? *report
                    : TToolReport{"Terminated by user", tool + " returned non zero : ", succeeded,
                                  [&tool](const std::string& message) {
                                    return std::vector<std::string>{"Error running " + tool +
                                                                    " : " + message};
                                  }};
  step.Output = [this](std::string_view line, const TDiagnostics& found) {
    SendMessage(line, found);
  };
  step.Add = [this](std::string_view line) { SendMessage(line); };
  return RunToolStep(*this, step);
}

bool TCBuilder2006Action::BuildWithMake(TMxProcessParams& process, const std::string& project,
                                        const std::string& projectDir, const std::string& config,
                                        const std::string& templateFile,
                                        const std::string& makeOptions,
                                        const std::string& makePath) {
  const std::string makefile =
      machinepath::ChangeFileExt(machinepath::ExtractFileName(project), ".mak");
  const std::string named = ToolFile(process, project, TToolFileQuote::tqIfBlank);
  // A template named by a path of this machine is named the tool's way too; another goes as it
  // is written, and the tool reads it from the project's folder.
  const std::string templateName =
      !templateFile.empty() && machinepath::ToFsPath(templateFile).is_absolute()
          ? ToolFile(process, templateFile)
          : templateFile;
  process.Parameters = templateName.empty() ? named : "-t" + templateName + " " + named;
  // bdsproj2mak, and make after it, must not see the environment of another Developer Studio.
  // The tools' environment says so, never this program's, which builds running at once share.
  process.Environment = {{"BDS", std::nullopt}};
  if (!RunBuildTool(process, "bdsproj2mak", "")) return false;
  if (terminated_) {
    SendMessage("Action Terminated by user");
    return false;
  }
  if (!DoMakeFileGeneratedScriptEvent(projectDir + makefile)) return false;
  TMxProcessParams make = process;
  make.Files.clear();
  make.Executable = makePath;
  make.Parameters = MakeParameters(makeOptions, makefile, config);
  return RunBuildTool(make, "make", "Make Completed OK");
}

std::string TCBuilder2006Action::MakeParameters(const std::string& makeOptions,
                                                const std::string& makefile,
                                                const std::string& config) const {
  const std::string build = buildType_ == TCBuildMakeType::Build ? "-B " : "";
  std::string parameters =
      makeOptions.empty() ? build + " -f" + makefile : build + makeOptions + " -f" + makefile;
  if (!config.empty()) parameters += " " + config;
  return parameters;
}

std::string TCBuilder2006Action::GetMSBuildPropertiesParam() {
  std::string param;
  for (int i = 0; i < msbuildProperties_.Count(); ++i) {
    const std::string name = msbuildProperties_.Names(i);
    if (Trim(name).empty()) continue;
    std::string expandedName;
    std::string expandedValue;
    if (!TryExpandExpression("Property name " + name, name, expandedName, true)) return param;
    if (!TryExpandExpression("Value of " + expandedName, msbuildProperties_.Values(name),
                             expandedValue, true)) {
      return param;
    }
    param += (param.empty() ? "" : ";") + expandedName + "=\"" + expandedValue + "\"";
  }
  return param;
}

bool TCBuilder2006Action::BuildWithMSBuild(TMxProcessParams& process, const std::string& project,
                                           const std::string& config,
                                           const std::string& msbuildPath) {
  std::string properties = GetMSBuildPropertiesParam();
  if (!properties.empty()) properties += ";";
  properties += "Config=\"" + config + "\"";
  process.Executable = msbuildPath;
  process.Parameters = "/property:" + properties + " /nologo /target:\"" +
                       EnumInfoOf(buildType_).Name(static_cast<int>(buildType_)) + "\"  " +
                       ToolFile(process, project, TToolFileQuote::tqAlways);
  // MSBuild finds C++Builder 2007's targets through BDS.
  process.Environment = {{"BDS", ExpandExpression("%CB2007DIR%", false)}};
  const auto shown = CreateMxProcess(process);
  try {
    SendMessage("Running MSBuild with parameters : " + shown->Parameters());
  } catch (const Exception& e) {
    SendMessage("Error running MSBuild : " + std::string(e.what()));
    return false;
  }
  return RunBuildTool(process, "MSBuild", "MSBuild Completed OK");
}

bool TCBuilder2006Action::DoMakeFileGeneratedScriptEvent(const std::string& makeFile) {
  TMxScript* script = GetScriptByName("OnMakeFileGenerated");
  if (!script || script->Params().empty() || script->Text().empty()) return true;
  try {
    TStringList lines;
    lines.LoadFromFile(makeFile);
    script->SetParam("Action", MxScriptingServices().WrapObject(*this));
    script->SetParam("MakeFileName", makeFile);
    script->SetParam("MakeFile", MxScriptingServices().WrapStrings(lines));
    script->SetParam("MakeFileModified", false);
    ExecuteScript(*script);
    if (ScriptValueToBool(script->GetParam("MakeFileModified"))) lines.SaveToFile(makeFile);
  } catch (const Exception& e) {
    SendMessage(std::string("Error during OnMakeFileGenerated event : ") + e.what());
    return false;
  }
  return true;
}

}  // namespace mx::bcc
