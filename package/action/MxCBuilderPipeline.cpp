// The build of a C++Builder 5/6 project: temporary project, makefile, resource script, make.
#include <limits>

#include "moxtal/api/Quoting.h"
#include "package/action/MxCBuilderAction.h"
#include "package/projparser/MxCBuilderUtils.h"
#include "platform/FileNames.h"
#include "platform/ProcessRunner.h"
#include "platform/StrUtils.h"

namespace mx::bcc {

using namespace platform;

namespace {

struct TToolVariables {
  const char* Make;
  const char* ResourceCompiler;
};

TToolVariables ToolVariables(TCBuilderVersion version) {
  switch (version) {
    case TCBuilderVersion::cvBCB3:
      return {"%BCB3%", "%BCB3_BRCC32%"};
    case TCBuilderVersion::cvBCB4:
      return {"%BCB4%", "%BCB4_BRCC32%"};
    case TCBuilderVersion::cvBCB5:
      return {"%BCB5%", "%BCB5_BRCC32%"};
    case TCBuilderVersion::cvBCB6:
      return {"%BCB6%", "%BCB6_BRCC32%"};
    default:
      return {"", ""};
  }
}

void AppendOutput(IMxActionLogMessage& message, const TStringList& output) {
  for (const auto& line : output)
    message.Add(line);
}

}  // namespace

bool TCustomMxCBuilderAction::Execute() {
  // A stop requested before this run has no effect on it.
  stopEvent_.ResetEvent();

  if (usePropertySet_) {
    if (versionInfoPropertySetName_.empty()) {
      SendMessage("PropertySet name is blank");
      return false;
    }
    if (!LoadVersionInfoFromPropertySet()) return false;
    UpdateFileVersion();
  }

  // Project step: load, apply the action's settings, save the temporary project.
  auto message = CreateStatusMessage();
  const auto fail = [this, &message] {
    SendStatusMessage(message);
    return false;
  };
  std::string project;
  try {
    project = ExpandExpression(projectFile_, true);
  } catch (const Exception& e) {
    message->Add("Error expanding variables in ProjectFile : ");
    message->Add(e.what());
    return fail();
  }
  IMxApplicationServices& services = GetActionContext();
  const std::string projectDir = machinepath::ExtractFilePath(project);
  const std::string workDir = machinepath::ExcludeTrailingPathDelimiter(projectDir);

  message->Add("Loading Project File...");
  std::shared_ptr<ICBuilderProjectParser> parser;
  try {
    parser = CBuilderProjectParserFactory(services).CreateProjectParser(project, this,
                                                                        AllParserOptions());
  } catch (const Exception& e) {
    message->Add("Error loading project File");
    message->Add(e.what());
    return fail();
  }
  std::string temporaryProject;
  try {
    message->Add("Parsing Project File...");
    parser->ParseProjectFile();
    message->Add("Applying settings to Project File...");
    ApplyActionSettings(*parser);
    temporaryProject =
        projectDir +
        (parser->GetProjectType() == TCBuilderProjectType::ptBPL ? "MxTemp.BPK" : "MxTemp.BPR");
  } catch (const Exception& e) {
    message->Add("Error parsing project File");
    message->Add(e.what());
    return fail();
  }
  try {
    message->Add("Saving temporary Project File...");
    parser->SaveToFile(temporaryProject);
  } catch (const Exception& e) {
    message->Add("Error saving temporary project File");
    message->Add(e.what());
    return fail();
  }
  SendStatusMessage(message);

  // Makefile step: bpr2mak beside the make tool of the detected version.
  message = CreateStatusMessage();
  std::string generator;
  try {
    const std::string make =
        ExpandExpression(ToolVariables(parser->GetCBuilderVersion()).Make, true);
    generator = machinepath::ExtractFilePath(make) + "bpr2mak.exe";
  } catch (const Exception& e) {
    message->Add("Error determining BCB BPR2Make location");
    message->Add(e.what());
    return fail();
  }
  const TCBuilderVersion version = parser->GetCBuilderVersion();
  if (version == TCBuilderVersion::cvBCB5 || version == TCBuilderVersion::cvBCB6) {
    std::string parameters = " " + DoubleQuoteString(temporaryProject, true);
    if (!bpr2MakOptions_.empty())
      parameters = ExpandExpression(bpr2MakOptions_, true) + " " + parameters;
    if (generator.empty() || !machinepath::FileExists(generator)) {
      message->Add("Unable to Execute BPR2MAK - file not found : " + generator);
      return fail();
    }
    const std::string quoted = DoubleQuoteString(generator, false);
    try {
      message = CreateStatusMessage();
      message->Add("Running BPR2MAK with command line : " + quoted + parameters);
      TStringList output;
      const int code = RunProcess(quoted, parameters, true, true, workDir, &output, &stopEvent_);
      AppendOutput(*message, output);
      if (code == 0) {
        message->Add("Make file generated OK");
        SendStatusMessage(message);
      } else if (code == kExitCodeTerminated) {
        message->Add("BPR2MAK Terminated by user");
        return fail();
      } else {
        message->Add("BPR2MAK failed, returned : " + std::to_string(code));
        return fail();
      }
    } catch (const Exception& e) {
      message->Add("BPR2MAK failed");
      message->Add(e.what());
      return fail();
    }
  }

  // Resource step.
  if (regenerateResource_) {
    message = CreateStatusMessage();
    try {
      if (!GenerateResource()) return fail();
      const std::string parameters =
          "-v " + machinepath::ExtractFileName(machinepath::ChangeFileExt(project, ".rc"));
      std::string compiler;
      try {
        compiler = Trim(
            ExpandExpression(ToolVariables(parser->GetCBuilderVersion()).ResourceCompiler, true));
      } catch (const Exception& e) {
        message->Add("Error Expanding variable for resource Compiler");
        message->Add(e.what());
        return fail();
      }
      if (compiler.empty() || !machinepath::FileExists(compiler)) {
        message->Add("Unable to Execute resource compiler - file not found : " + compiler);
        return fail();
      }
      message->Add("Running Resource Compiler");
      TStringList output;
      const int code = RunProcess(compiler, parameters, true, true, workDir, &output, &stopEvent_);
      std::string joined;
      for (int i = 0; i < output.Count(); ++i)
        joined += (i ? "\r\n" : "") + output[i];
      message->Add(joined);
      if (code == kExitCodeTerminated) {
        message->Add("BRCC32 Terminated by user");
        return fail();
      }
      if (code != 0) {
        message->Add("BRCC32 failed, returned : " + std::to_string(code));
        return fail();
      }
      SendStatusMessage(message);
    } catch (const Exception&) {
      // Such failures reach the host; the step's lines so far still reach the log.
      SendStatusMessage(message);
      throw;
    }
  }

  // Make step.
  message = CreateStatusMessage();
  bool result = false;
  try {
    std::string parameters = buildAll_ ? "-B" : "";
    const std::string options = ExpandExpression(makeOptions_, true);
    if (!options.empty()) parameters += " " + options;
    parameters += " -f\"" + workDir + machinepath::kPathDelim + "MxTemp.MAK\"";
    std::string make = ExpandExpression(ToolVariables(parser->GetCBuilderVersion()).Make, true);
    if (useEurekaLogCompiler_) {
      const auto at = FindText(make, "make.exe");
      if (at != std::string::npos) make.replace(at, 8, "emake.exe");
    }
    if (make.empty() || !machinepath::FileExists(make)) {
      message->Add("Unable to Execute Make - file not found : " + make);
      return fail();
    }
    message->Add("Running MAKE with command line :");
    message->Add(parameters);
    TMxProcessParams params;
    params.Executable = make;
    params.Parameters = parameters;
    params.HideWindow = true;
    params.WaitForExit = true;
    params.WorkingDirectory = workDir;
    params.StopEvent = &stopEvent_;
    params.CaptureStdOut = captureMakeOuput_;
    params.CaptureStdErr = captureMakeOuput_;
    const auto process = CreateMxProcess(params);
    TStringList output;
    const int code = captureMakeOuput_ ? process->Run(output) : process->Run();
    AppendOutput(*message, output);
    if (code == 0) {
      message->Add("Make completed OK");
      if (includeVerInfo_ && autoIncBuild_) {
        if (buildVersion_ == std::numeric_limits<std::int32_t>::max())
          throw Exception("Integer overflow");
        ++buildVersion_;
        UpdateFileVersion();
      }
      result = true;
    } else if (code == kExitCodeTerminated) {
      message->Add("MAKE Terminated by user");
    } else {
      message->Add("MAKE failed, returned : " + std::to_string(code));
    }
  } catch (const Exception& e) {
    message->Add("MAKE failed!");
    message->Add(e.what());
    result = false;
  }
  SendStatusMessage(message);
  return result;
}

}  // namespace mx::bcc
