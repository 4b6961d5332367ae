// The build of a C++Builder 5/6 project: temporary project, makefile, resource script, make.
#include <filesystem>

#include "moxtal/api/Quoting.h"
#include "moxtal/api/ToolFiles.h"
#include "package/action/MxCBuilderAction.h"
#include "package/actionbase/ProjectChecks.h"
#include "package/actionbase/ToolDiagnostics.h"
#include "package/actionbase/ToolResult.h"
#include "package/projparser/MxCBuilderUtils.h"
#include "platform/FileNames.h"
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

// A step's status message with the two ways a step ends early.
class TStepMessage {
 public:
  explicit TStepMessage(const TCustomMxCBuilderAction& action)
      : action_(action), message_(action.CreateStatusMessage()) {}
  void Add(std::string_view line) { message_->Add(line); }
  void Add(std::string_view line, const TDiagnostics& diagnostics) {
    message_->Add(line, diagnostics);
  }
  /// Sends the message and returns whether the build goes on.
  bool End(bool succeeded) {
    action_.SendStatusMessage(message_);
    return succeeded;
  }
  bool Done() { return End(true); }
  bool Fail() { return End(false); }
  /// Adds the step's text and the error's message, then fails.
  bool Fail(std::string_view what, const Exception& e) {
    Add(what);
    Add(e.what());
    return Fail();
  }

 private:
  const TCustomMxCBuilderAction& action_;
  std::shared_ptr<IMxActionLogMessage> message_;
};

// A file the build writes beside the project (the temporary project, the makefile): it must not
// be the project itself under another name or link, and a symbolic link found there is removed
// rather than written through.
// The most output of a tool gathered into one entry of the log.
constexpr std::size_t kLargestOutputEntry = 1 << 20;

void ClaimBuildFile(const std::string& project, const std::string& path) {
  // A project named like a build file of the action is refused whatever its kind: the build
  // would write a file of the project's own name beside it.
  for (const char* name : {"MxTemp.BPR", "MxTemp.BPK", "MxTemp.MAK"}) {
    if (SameText(machinepath::ExtractFileName(project), name)) {
      throw Exception("The project file " + project + " has the name of a build file (" + name +
                      "); rename the project");
    }
  }
  if (machinepath::SameFile(project, path)) {
    throw Exception("The build file " + path + " would overwrite the project file " + project);
  }
  std::error_code ec;
  const auto fsPath = machinepath::ToFsPath(path);
  if (std::filesystem::is_symlink(fsPath, ec) && !std::filesystem::remove(fsPath, ec)) {
    throw Exception("Cannot remove the link " + path + ": " + ec.message());
  }
}

}  // namespace

bool TCustomMxCBuilderAction::Execute() {
  // A stop requested before this run has no effect on it.
  stopEvent_.ResetEvent();
  if (usePropertySet_ && !LoadPropertySetSettings()) return false;
  TBuild build;
  if (!PrepareProject(build)) return false;
  if (!GenerateMakefile(build)) return false;
  if (regenerateResource_ && !CompileResourceScript(build)) return false;
  return RunMake(build);
}

bool TCustomMxCBuilderAction::LoadPropertySetSettings() {
  if (versionInfoPropertySetName_.empty()) {
    SendMessage("PropertySet name is blank");
    return false;
  }
  if (!LoadVersionInfoFromPropertySet()) return false;
  UpdateFileVersion();
  return true;
}

// Load the project, apply the action's settings, save the temporary project.
bool TCustomMxCBuilderAction::PrepareProject(TBuild& build) {
  TStepMessage step(*this);
  try {
    build.Project = AbsolutePath(ExpandExpression(projectFile_, true));
  } catch (const Exception& e) {
    return step.Fail("Error expanding variables in ProjectFile : ", e);
  }
  build.ProjectDir = machinepath::ExtractFilePath(build.Project);
  build.WorkDir = machinepath::ExcludeTrailingPathDelimiter(build.ProjectDir);

  step.Add("Loading Project File...");
  std::shared_ptr<ICBuilderProjectParser> parser;
  try {
    parser = CBuilderProjectParserFactory(GetActionContext())
                 ->CreateProjectParser(build.Project, this, AllParserOptions());
  } catch (const Exception& e) {
    return step.Fail("Error loading project File", e);
  }
  try {
    step.Add("Parsing Project File...");
    parser->ParseProjectFile();
    step.Add("Applying settings to Project File...");
    ApplyActionSettings(*parser);
    build.TemporaryProject =
        build.ProjectDir +
        (parser->GetProjectType() == TCBuilderProjectType::ptBPL ? "MxTemp.BPK" : "MxTemp.BPR");
  } catch (const Exception& e) {
    return step.Fail("Error parsing project File", e);
  }
  try {
    step.Add("Saving temporary Project File...");
    ClaimBuildFile(build.Project, build.TemporaryProject);
    ClaimBuildFile(build.Project, build.ProjectDir + "MxTemp.MAK");
    parser->SaveToFile(build.TemporaryProject);
  } catch (const Exception& e) {
    return step.Fail("Error saving temporary project File", e);
  }
  build.Version = parser->GetCBuilderVersion();
  return step.Done();
}

// bpr2mak, beside the make tool of the project's version, turns the temporary project into
// "MxTemp.MAK".
bool TCustomMxCBuilderAction::GenerateMakefile(const TBuild& build) {
  std::string generator;
  try {
    generator = GeneratorTool(build.Version);
  } catch (const Exception& e) {
    return TStepMessage(*this).Fail("Error determining BCB BPR2Make location", e);
  }
  if (build.Version != TCBuilderVersion::cvBCB5 && build.Version != TCBuilderVersion::cvBCB6)
    return true;
  TToolStep tool;
  tool.Tool = "bpr2mak";
  tool.Process.Executable = DoubleQuoteString(generator, false);
  tool.Process.Parameters =
      " " + ToolFile(tool.Process, build.TemporaryProject, TToolFileQuote::tqIfBlank);
  if (!bpr2MakOptions_.empty())
    tool.Process.Parameters =
        ExpandExpression(bpr2MakOptions_, true) + " " + tool.Process.Parameters;
  tool.Process.WorkingDirectory = build.WorkDir;
  tool.Process.StopEvent = &stopEvent_;
  TStepMessage step(*this);
  if (generator.empty() || !ToolFiles(generator).FileExists(generator)) {
    step.Add("Unable to Execute BPR2MAK - file not found : " + generator);
    return step.Fail();
  }
  // The log shows the command line as the tool gets it, its files named the tool's way.
  tool.Starting = [&](const std::string& parameters) {
    step.Add("Running BPR2MAK with command line : " + tool.Process.Executable + parameters);
  };
  tool.Report = {"BPR2MAK Terminated by user",
                 "BPR2MAK failed, returned : ", "Make file generated OK",
                 [&step](const std::string& message) {
                   // The command line was never shown: the tool could not be given its files.
                   return std::vector<std::string>{"BPR2MAK failed", message};
                 }};
  tool.Output = [&step](std::string_view line, const TDiagnostics& found) {
    step.Add(line, found);
  };
  tool.Add = [&step](std::string_view line) { step.Add(line); };
  return step.End(RunToolStep(*this, tool));
}

// The resource script, written from the icon and version settings, compiled with the resource
// compiler of the project's version.
bool TCustomMxCBuilderAction::CompileResourceScript(const TBuild& build) {
  TStepMessage step(*this);
  try {
    if (!GenerateResource()) return step.Fail();
    // The script's name is one argument however many blanks it holds ("My App.rc").
    const std::string parameters =
        "-v " +
        DoubleQuoteString(
            machinepath::ExtractFileName(machinepath::ChangeFileExt(build.Project, ".rc")), true);
    std::string compiler;
    try {
      compiler = ResourceCompilerTool(build.Version);
    } catch (const Exception& e) {
      return step.Fail("Error Expanding variable for resource Compiler", e);
    }
    if (compiler.empty() || !ToolFiles(compiler).FileExists(compiler)) {
      step.Add("Unable to Execute resource compiler - file not found : " + compiler);
      return step.Fail();
    }
    step.Add("Running Resource Compiler");
    TToolStep tool;
    tool.Tool = "brcc32";
    tool.Process.Executable = compiler;
    tool.Process.Parameters = parameters;
    tool.Process.WorkingDirectory = build.WorkDir;
    tool.Process.StopEvent = &stopEvent_;
    tool.Report = {"BRCC32 Terminated by user", "BRCC32 failed, returned : ", "", {}};
    // The compiler's output is one entry of the message, its lines joined with CR LF, with what
    // was recognised in it. A compiler that writes more than an entry holds has its output
    // passed on in entries of that size, so that memory stays bounded.
    std::string joined;
    TDiagnostics found;
    bool gathering = false;
    bool sent = false;
    const auto send = [&] {
      step.Add(joined, found);
      joined.clear();
      found.clear();
      gathering = false;
      sent = true;
    };
    tool.Output = [&](std::string_view line, const TDiagnostics& recognised) {
      if (gathering) joined += "\r\n";
      joined += line;
      gathering = true;
      found.insert(found.end(), recognised.begin(), recognised.end());
      if (joined.size() >= kLargestOutputEntry) send();
    };
    tool.Ended = [&] {
      if (gathering || !sent) send();
    };
    tool.Add = [&step](std::string_view line) { step.Add(line); };
    const bool compiled = RunToolStep(*this, tool);
    return step.End(compiled);
  } catch (const Exception&) {
    // Such failures reach the host; the step's lines so far still reach the log.
    step.Fail();
    throw;
  }
}

std::string TCustomMxCBuilderAction::MakeTool(TCBuilderVersion version) const {
  std::string make = machinepath::Normalise(ExpandExpression(ToolVariables(version).Make, true));
  if (useEurekaLogCompiler_) {
    const auto at = FindText(make, "make.exe");
    if (at != std::string::npos) make.replace(at, 8, "emake.exe");
  }
  return make;
}

std::string TCustomMxCBuilderAction::GeneratorTool(TCBuilderVersion version) const {
  const std::string make = ExpandExpression(ToolVariables(version).Make, true);
  return machinepath::Normalise(machinepath::ExtractFilePath(make) + "bpr2mak.exe");
}

std::string TCustomMxCBuilderAction::ResourceCompilerTool(TCBuilderVersion version) const {
  return machinepath::Normalise(
      Trim(ExpandExpression(ToolVariables(version).ResourceCompiler, true)));
}

void TCustomMxCBuilderAction::DescribeProjectAndTools(IMxBuildRequirements& requirements) const {
  // The project as the user named it, with its variables expanded, for the messages.
  std::string named;
  try {
    named = ExpandExpression(projectFile_, true);
  } catch (const Exception&) {
    return;  // the check of the files a build reads says so
  }
  if (named.empty()) return;
  const TProjectIdentity identity = IdentifyProject(AbsolutePath(named));
  if (const auto wrong = WrongProjectKind(named, identity,
                                          {TProjectKind::pkCBuilder5, TProjectKind::pkCBuilder6})) {
    requirements.Error("ProjectFile", *wrong);
    return;
  }
  if (identity.Kind == TProjectKind::pkMissing) return;
  const bool bcb5 = identity.Kind == TProjectKind::pkCBuilder5;
  const TCBuilderVersion version = bcb5 ? TCBuilderVersion::cvBCB5 : TCBuilderVersion::cvBCB6;
  std::string make;
  try {
    make = MakeTool(version);
  } catch (const Exception&) {
    requirements.Error("CBuilderVersion", named + " is a C++Builder " + (bcb5 ? "5" : "6") +
                                              " project: the build " +
                                              MissingCompilerMessage(*this, bcb5 ? "5" : "6"));
    return;
  }
  requirements.RequireTool("bpr2mak", GeneratorTool(version));
  requirements.RequireTool(useEurekaLogCompiler_ ? "emake" : "make", make);
  if (!regenerateResource_) return;
  try {
    requirements.RequireTool("brcc32", ResourceCompilerTool(version));
  } catch (const Exception& e) {
    requirements.Error("RegenerateResource",
                       std::string("the resource compiler is not known: ") + e.what());
  }
}

// make on "MxTemp.MAK"; success raises the build number when the action numbers its builds.
bool TCustomMxCBuilderAction::RunMake(const TBuild& build) {
  TStepMessage step(*this);
  const auto add = [&step](std::string_view line) { step.Add(line); };
  bool built = false;
  try {
    std::string parameters = buildAll_ ? "-B" : "";
    const std::string options = ExpandExpression(makeOptions_, true);
    if (!options.empty()) parameters += " " + options;
    const std::string make = MakeTool(build.Version);
    TToolStep tool;
    tool.Tool = "make";
    tool.Process.Executable = make;
    tool.Process.Parameters =
        parameters + " -f\"" +
        ToolFile(tool.Process, machinepath::Join(build.WorkDir, "MxTemp.MAK")) + "\"";
    tool.Process.WorkingDirectory = build.WorkDir;
    tool.Process.StopEvent = &stopEvent_;
    tool.Process.CaptureStdOut = captureMakeOuput_;
    tool.Process.CaptureStdErr = captureMakeOuput_;
    if (make.empty() || !ToolFiles(make).FileExists(make)) {
      step.Add("Unable to Execute Make - file not found : " + make);
      return step.Fail();
    }
    tool.Starting = [&step](const std::string& shown) {
      step.Add("Running MAKE with command line :");
      step.Add(shown);
    };
    tool.Report = {"MAKE Terminated by user", "MAKE failed, returned : ", "Make completed OK", {}};
    // The output shows line by line while make runs, each line with the diagnostics in it;
    // without capture it is not kept at all.
    if (captureMakeOuput_) {
      tool.Output = [&step](std::string_view line, const TDiagnostics& found) {
        step.Add(line, found);
      };
    }
    tool.Add = add;
    built = RunToolStep(*this, tool);
    if (built) RaiseBuildNumber();
  } catch (const Exception& e) {
    step.Add("MAKE failed!");
    step.Add(e.what());
    built = false;
  }
  return step.End(built);
}

}  // namespace mx::bcc
