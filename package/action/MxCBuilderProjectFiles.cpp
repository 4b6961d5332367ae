// What a C++Builder 5/6 project builds and links, as its build would have it: the directory and
// package settings of the action are merged into the project in memory, as the build merges
// them into its temporary copy, and the merged project is read.

#include "moxtal/api/Quoting.h"
#include "package/action/MxCBuilderAction.h"
#include "package/projparser/MxCBuilder56Elements.h"
#include "package/projparser/MxCBuilder56ProjParser.h"
#include "package/projparser/ProjectOutputs.h"
#include "platform/FileNames.h"

namespace mx::bcc {

std::optional<TProjectFiles> TCustomMxCBuilderAction::ProjectFiles() const {
  const std::string project = AbsolutePath(ExpandExpression(projectFile_, true));
  if (project.empty()) return std::nullopt;
  TCBuilderProjParserOptions families;
  families.Include(TCBuilderProjParserOption::poDirectories);
  families.Include(TCBuilderProjParserOption::poPackage);
  const auto parser = CBuilderProjectParserFactory(GetActionContext())
                          ->CreateProjectParser(project, this, families);
  auto* merged = dynamic_cast<TMxCBuilder56ProjectParser*>(parser.get());
  if (!merged) return std::nullopt;
  merged->ParseProjectFile();
  // Only these two families decide where the outputs go and what is linked.
  if (UsesFamily(TSettingsFamily::sfDirectory)) merged->ApplyDirectorySettings(*this);
  if (UsesFamily(TSettingsFamily::sfPackage)) merged->ApplyPackageSettings(*this);
  merged->ParseDirectoryOptions();

  const auto value = [merged](const char* element) {
    return merged->ElementValue(element).value_or("");
  };
  const std::string folder = platform::machinepath::ExtractFileDir(project);
  TProjectFiles files;
  for (const auto& output :
       CBuilder56Outputs(StripQuotes(value(elements::kProject)), merged->GetProjectType(),
                         merged->GetBPILIBOutputPath(), value(elements::kLFlags)))
    files.Outputs.push_back(MachinePathOf(folder, output));
  platform::TStringList items;
  for (const char* list :
       {elements::kLibFiles, elements::kLibraries, elements::kSpareLibs, elements::kPackages}) {
    items.Clear();
    TMxCBuilder56ProjectParser::ParseAttributes(value(list), items);
    for (int i = 0; i < items.Count(); ++i)
      files.Links.push_back(StripQuotes(items[i]));
  }
  return files;
}

}  // namespace mx::bcc
