// The resource script of a C++Builder 2006/2007 project: icon, manifest and version information.

#include "moxtal/api/Quoting.h"
#include "package/action2006/CBuilder2006Action.h"
#include "package/actionbase/ToolResult.h"
#include "package/actionbase/VersionResource.h"
#include "platform/FileNames.h"
#include "platform/StrUtils.h"

namespace mx::bcc {

using namespace platform;

bool TCBuilder2006Action::BuildResourceScript(const std::string& iconPath,
                                              const std::string& manifestPath, TStringList& lines) {
  // The Microsoft resource compiler reads backslashes in strings as escapes.
  const auto written = [this](const std::string& path) {
    return resourceCompilerType_ == TMxCBResourceCompiler::rcMicrosoft
               ? ReplaceAll(path, "\\", "\\\\")
               : path;
  };
  for (const std::string* path : {&iconPath, &manifestPath}) {
    if (const auto problem = QuotedTextProblem(*path)) {
      SendMessage("The file " + *path + " holds " + *problem +
                  ", which a resource script cannot hold between quotes: rename it");
      return false;
    }
  }
  if (!iconPath.empty()) {
    SendMessage("Including ICON File :" + written(iconPath));
    lines.Add("MAINICON ICON \"" + written(iconPath) + "\"");
  }
  if (!manifestPath.empty()) {
    SendMessage("Including Manifest File :" + manifestPath);
    lines.Add("/*");
    lines.Add("Include manifest xml for XP/Vista");
    lines.Add("*/");
    lines.Add("1 24 \"" + written(manifestPath) + "\"");
  }
  if (!includeVerInfo_) return true;
  return AddVersionResource(ResourceVersion(), *this, lines);
}

TVersionResource TCBuilder2006Action::ResourceVersion() const {
  TVersionResource r = VersionResource();
  r.FileVersionFromNumbers = autoUpdateFileVersion_;
  r.FileVersionStrict = false;
  r.FileOS = "FILEOS 0x4L";
  r.WriteEmptyValues = true;
  return r;
}

bool TCBuilder2006Action::GenerateResource() {
  SendMessage("Generating Resource File....");
  std::string manifest;
  if (includeManifest_ && !TryExpandExpression("Manifest File", manifestFile_, manifest, true))
    return false;
  manifest = AbsolutePath(manifest);
  std::string script;
  std::string icon;
  if (!PrepareResourceScript(projectFile_, iconFile_, script, icon)) return false;
  TStringList lines;
  if (!BuildResourceScript(icon, manifest, lines)) return false;
  SaveResourceScript(lines, script);
  return true;
}

bool TCBuilder2006Action::CompileResource(const std::string& project,
                                          const std::string& projectDir) {
  // The script's name is one argument however many blanks it holds ("My App.rc").
  const std::string parameters =
      "-v " + DoubleQuoteString(
                  machinepath::ChangeFileExt(machinepath::ExtractFileName(project), ".rc"), true);
  std::string compiler;
  try {
    compiler = ResourceCompilerTool();
  } catch (const Exception& e) {
    SendMessage(std::string("Error Expanding variable for Resource Compiler : ") + e.what());
    return false;
  }
  if (compiler.empty() || !ToolFiles(compiler).FileExists(compiler)) {
    SendMessage("Unable to Execute Resource Compiler - file not found : " + compiler);
    return false;
  }
  SendMessage("Running Resource Compiler");
  TMxProcessParams process;
  process.Executable = compiler;
  process.Parameters = parameters;
  process.WaitForExit = true;
  process.HideWindow = true;
  process.StopEvent = stopEvent_.get();
  process.WorkingDirectory = machinepath::ExcludeTrailingPathDelimiter(projectDir);
  const TToolReport report{
      "Resource Compiler Terminated by user", "Resource Compiler failed, returned : ", "", {}};
  return RunBuildTool(process, "Resource Compiler", "", &report);
}

bool TCBuilder2006Action::LoadVersionInfoFromPropertySet() {
  const bool loaded = ApplyVersionPropertySet(
      *this, versionInfoPropertySetName_,
      {&isDLL_, &isDebug_, &isSpecial_, &isPrivate_, &isPreRelease_},
      [this](std::string_view n, std::string_view v) { SetVersionInfoKey(n, v); },
      [this](std::string_view n) { RemoveVersionInfoKey(n); },
      [this](const std::string& name, const std::string& text) { SetVersionInfoKey(name, text); });
  // Whatever the set said, the file version entry ends as the four numbers.
  if (loaded) UpdateFileVersion();
  return loaded;
}

}  // namespace mx::bcc
