// The C++Builder 2006 build (bdsproj2mak, the makefile event, make) and the 2007 build (MSBuild).
#include "moxtal/api/Quoting.h"
#include "package/action2006/CBuilder2006Action.h"
#include "platform/Environment.h"
#include "platform/FileNames.h"
#include "platform/ProcessRunner.h"
#include "platform/StrUtils.h"

namespace mx::bcc {

using namespace platform;

int TCBuilder2006Action::RunTool(const TMxProcessParams& process) {
  return CreateMxProcess(process)->Run();
}

bool TCBuilder2006Action::Execute() {
  terminated_ = false;
  const bool is2006 = cbuilderVersion_ == cb2006::TCBuilderVersion::cb2006;
  std::string generator;
  std::string make;
  std::string templateFile;
  std::string makeOptions;
  std::string msbuild;
  if (is2006) {
    try {
      generator = ExpandExpression("%BCB2006DIR%", true) + machinepath::kPathDelim + "bin" +
                  machinepath::kPathDelim + "bdsproj2mak.exe";
    } catch (const Exception& e) {
      SendMessage(std::string("Error finding path to bdsproj2mak.exe : ") + e.what());
      return false;
    }
    if (!machinepath::FileExists(generator)) {
      SendMessage("Unable to locate bdsproj2mak.exe : " + generator);
      return false;
    }
    try {
      make = ExpandExpression("%BCB2006%", true);
    } catch (const Exception& e) {
      SendMessage(std::string("Error finding path to make.exe : ") + e.what());
      return false;
    }
    if (!machinepath::FileExists(make)) {
      SendMessage("Unable to locate make.exe : " + make);
      return false;
    }
    if (!TryExpandExpression("Template File", templateFile_, templateFile, false)) return false;
    if (!TryExpandExpression("Make Options", makeOptions_, makeOptions, false)) return false;
  } else {
    const auto framework = MxDotNetInfo("v2.0");
    if (!framework) {
      SendMessage("Error - Dot Net Framework 2.0 not found, this action requires MSBuild.exe");
      return false;
    }
    msbuild = machinepath::IncludeTrailingPathDelimiter(*framework) + "MSBuild.exe";
    if (!machinepath::FileExists(msbuild)) {
      SendMessage("Required file " + msbuild + " not found");
      return false;
    }
  }
  std::string project;
  std::string config;
  if (!TryExpandExpression("Project File", projectFile_, project, true)) return false;
  if (!TryExpandExpression("Config", config_, config, false)) return false;
  const std::string dir = machinepath::ExtractFilePath(project);
  const std::string quoted = DoubleQuoteString(project, true);

  if (usePropertySet_) {
    if (versionInfoPropertySetName_.empty()) {
      SendMessage("PropertySet name is blank");
      return false;
    }
    if (!LoadVersionInfoFromPropertySet()) return false;
  }

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

  if (regenerateResource_ && (!GenerateResource() || !CompileResource(quoted, dir))) return false;
  if (terminated_) {
    SendMessage("Action Terminated by user");
    return false;
  }
  TMxProcessParams process;
  process.Executable = is2006 ? generator : std::string();
  process.Callback = OutputToLog();
  process.WorkingDirectory = machinepath::ExcludeTrailingPathDelimiter(dir);
  process.CaptureStdOut = true;
  process.CaptureStdErr = true;
  process.WaitForExit = true;
  process.StopEvent = stopEvent_.get();
  const bool built =
      is2006 ? BuildWithMake(process, quoted, dir, config, templateFile, makeOptions, make)
             : BuildWithMSBuild(process, quoted, config, msbuild);
  if (!built) return false;
  if (includeVerInfo_ && autoIncBuild_) {
    ++buildVersion_;
    UpdateFileVersion();
  }
  return true;
}

bool TCBuilder2006Action::BuildWithMake(TMxProcessParams& process, const std::string& quotedProject,
                                        const std::string& projectDir, const std::string& config,
                                        const std::string& templateFile,
                                        const std::string& makeOptions,
                                        const std::string& makePath) {
  const std::string makefile =
      machinepath::ChangeFileExt(machinepath::ExtractFileName(StripQuotes(quotedProject)), ".mak");
  process.Parameters =
      templateFile.empty() ? quotedProject : "-t" + templateFile + " " + quotedProject;
  // bdsproj2mak must not see the environment of another Developer Studio.
  RemoveEnvironmentVariable("BDS");
  const auto run = [this, &process](const char* tool) -> bool {
    int code = 0;
    try {
      code = RunTool(process);
    } catch (const Exception& e) {
      SendMessage(std::string("Error running ") + tool + " : " + e.what());
      return false;
    }
    if (code == kExitCodeTerminated) {
      SendMessage("Terminated by user");
      return false;
    }
    if (code != 0) {
      SendMessage(std::string(tool) + " returned non zero : " + std::to_string(code));
      return false;
    }
    return true;
  };
  if (!run("bdsproj2mak")) return false;
  if (terminated_) {
    SendMessage("Action Terminated by user");
    return false;
  }
  if (!DoMakeFileGeneratedScriptEvent(projectDir + makefile)) return false;
  process.Executable = makePath;
  process.Parameters = MakeParameters(makeOptions, makefile, config);
  if (!run("make")) return false;
  SendMessage("Make Completed OK");
  return true;
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

bool TCBuilder2006Action::BuildWithMSBuild(TMxProcessParams& process,
                                           const std::string& quotedProject,
                                           const std::string& config,
                                           const std::string& msbuildPath) {
  std::string properties = GetMSBuildPropertiesParam();
  if (!properties.empty()) properties += ";";
  properties += "Config=\"" + config + "\"";
  const std::string parameters = "/property:" + properties + " /nologo /target:\"" +
                                 EnumInfoOf(buildType_).Name(static_cast<int>(buildType_)) +
                                 "\"  " + DoubleQuoteString(quotedProject, false);
  SetEnvironmentVariable("BDS", ExpandExpression("%CB2007DIR%", false));
  SendMessage("Running MSBuild with parameters : " + parameters);
  process.Parameters = parameters;
  process.Executable = msbuildPath;
  int code = 0;
  try {
    code = RunTool(process);
  } catch (const Exception& e) {
    SendMessage(std::string("Error running MSBuild : ") + e.what());
    return false;
  }
  if (code == kExitCodeTerminated) {
    SendMessage("Terminated by user");
    return false;
  }
  if (code != 0) {
    SendMessage("MSBuild returned non zero : " + std::to_string(code));
    return false;
  }
  SendMessage("MSBuild Completed OK");
  return true;
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
