#include "ImportCommand.h"

#include <algorithm>
#include <iostream>
#include <map>
#include <set>

#include <CLI/CLI.hpp>

#include "moxtal/api/Commands.h"
#include "moxtal/cli/CliSupport.h"
#include "moxtal/cli/ProjectTake.h"
#include "moxtal/cli/Requirements.h"
#include "moxtal/engine/ActionGraph.h"
#include "moxtal/engine/BuildScript.h"
#include "moxtal/engine/Host.h"
#include "platform/FileNames.h"
#include "platform/StrUtils.h"

namespace mx::cli {

using engine::TBuildScript;
namespace machinepath = platform::machinepath;

namespace {

struct TImported {
  TGroupProject Project;
  std::shared_ptr<TCustomMxAction> Action;
  std::vector<std::string> Took;
};

struct TSkipped {
  std::string File;
  std::string Reason;
};

// A dependency found, with why.
struct TFound {
  std::string Action;
  std::string On;
  std::string Why;
};

const TGroupReaderRegistration& ReaderOf(const std::string& group) {
  const auto& readers = engine::THost::Instance().GroupReaders();
  const std::string extension = machinepath::ExtractFileExt(group);
  for (const auto& reader : readers) {
    if (platform::SameText(reader.Extension, extension)) return reader;
  }
  if (readers.empty())
    throw Exception(group +
                    ": no package that reads project groups is loaded (see moxtal packages)");
  std::string kinds;
  for (const auto& reader : readers)
    kinds += (kinds.empty() ? "" : ", ") + reader.Extension + " (" + reader.Description + ")";
  throw Exception(group + ": not a project group moxtal reads; give one of " + kinds);
}

// `file` relative to `folder`, both taken as the system resolves them (a folder reached through
// a link names the file as it is found from there); empty when no relative name reaches it
// (another drive).
std::filesystem::path ResolvedRelative(const std::string& file, const std::string& folder) {
  std::error_code error;
  const auto target = std::filesystem::weakly_canonical(machinepath::ToFsPath(file), error);
  const auto from = std::filesystem::weakly_canonical(machinepath::ToFsPath(folder), error);
  return error ? machinepath::ToFsPath(file).lexically_relative(machinepath::ToFsPath(folder))
               : target.lexically_relative(from);
}

// `file` as the script in `scriptFolder` names it: relative to that folder, so that the script
// works from any clone, unless no relative name reaches it.
std::string ScriptRelative(const std::string& file, const std::string& scriptFolder) {
  const auto relative = ResolvedRelative(file, scriptFolder);
  return relative.empty() ? file : machinepath::FromFsPath(relative);
}

// An action name made of a project's file name: trimmed, its control characters blanks, and no
// "," (which separates names in DependsOn=A,B).
std::string ActionNameOf(const std::string& projectFile) {
  std::string name = machinepath::ChangeFileExt(machinepath::ExtractFileName(projectFile), "");
  for (char& c : name) {
    if (c == ',' || static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = ' ';
  }
  return platform::Trim(name);
}

// The action of `script` that builds `project` (an absolute path), or nullptr.
std::shared_ptr<TCustomMxAction> BuilderOf(const TBuildScript& script, const std::string& project) {
  for (const auto& action : script.Actions()) {
    if (!HasProperty(*action, "ProjectFile")) continue;
    try {
      const std::string file = action->AbsolutePath(
          action->ExpandExpression(GetPropAsString(*action, "ProjectFile"), true));
      if (machinepath::Normalise(file) == machinepath::Normalise(project)) return action;
    } catch (const Exception&) {
      // An action whose project name cannot be expanded builds none the import knows.
    }
  }
  return nullptr;
}

// The file name of a project's name for a file, in lower case: what links are compared by.
std::string LinkKey(std::string name) {
  std::replace(name.begin(), name.end(), '\\', '/');
  return platform::LowerCase(name.substr(name.find_last_of('/') + 1));
}

void AddDependency(TCustomMxAction& action, const std::string& on) {
  auto names = action.DependsOn();
  const bool known = std::any_of(names.begin(), names.end(),
                                 [&](const std::string& n) { return platform::SameText(n, on); });
  if (known || platform::SameText(action.Name(), on)) return;
  names.push_back(on);
  action.SetDependsOn(std::move(names));
}

// The dependencies the group states, then those the projects' links show: B depends on A when
// B links a file A builds (compared by file name, without regard to case).
std::vector<TFound> FindDependencies(const std::vector<TImported>& imported,
                                     std::vector<std::string>& notes) {
  std::vector<TFound> found;
  const auto record = [&found](TCustomMxAction& action, const std::string& on, std::string why) {
    const auto before = action.DependsOn().size();
    AddDependency(action, on);
    if (action.DependsOn().size() != before) found.push_back({action.Name(), on, std::move(why)});
  };
  for (const auto& b : imported) {
    for (const auto& file : b.Project.DependsOn) {
      const auto a = std::find_if(imported.begin(), imported.end(), [&](const TImported& i) {
        return platform::SameText(i.Project.File, file);
      });
      if (a != imported.end()) record(*b.Action, a->Action->Name(), "the group says so");
    }
  }
  std::map<std::string, std::string> builtBy;  // a file name an action builds -> the action
  std::vector<std::pair<const TImported*, TProjectFiles>> files;
  for (const auto& i : imported) {
    try {
      if (auto f = i.Action->ProjectFiles()) files.emplace_back(&i, std::move(*f));
    } catch (const Exception& e) {
      notes.push_back(i.Action->Name() +
                      ": what the project builds and links was not read: " + e.what());
    }
  }
  std::set<std::string> ambiguous;
  for (const auto& [i, f] : files) {
    for (const auto& output : f.Outputs) {
      const auto [at, added] = builtBy.emplace(LinkKey(output), i->Action->Name());
      if (!added && at->second != i->Action->Name() && ambiguous.insert(at->first).second) {
        notes.push_back(at->second + " and " + i->Action->Name() + " both build " + at->first +
                        ": what links it depends on neither; set DependsOn by hand");
      }
    }
  }
  for (const auto& name : ambiguous)
    builtBy.erase(name);
  for (const auto& [i, f] : files) {
    for (const auto& link : f.Links) {
      const auto a = builtBy.find(LinkKey(link));
      if (a == builtBy.end() || platform::SameText(a->second, i->Action->Name())) continue;
      record(*i->Action, a->second, "it links " + link + ", which " + a->second + " builds");
    }
  }
  return found;
}

int Import(const std::string& groupArgument, const std::string& scriptPath) {
  const std::string group = machinepath::Normalise(
      machinepath::FromFsPath(std::filesystem::absolute(machinepath::ToFsPath(groupArgument))));
  const auto& reader = ReaderOf(groupArgument);
  const auto projects = reader.Read(group);

  const bool exists = machinepath::FileExists(scriptPath);
  RequireScriptFolder(scriptPath);
  std::unique_ptr<TBuildScript> script =
      exists ? TBuildScript::Load(scriptPath) : std::make_unique<TBuildScript>();
  if (!exists) script->SetFileName(scriptPath);
  const std::string scriptFolder = script->BaseFolder();

  std::vector<TImported> imported;
  std::vector<TSkipped> skipped;
  TTakenFiles taken;
  for (const auto& project : projects) {
    if (!project.Skipped.empty()) {
      skipped.push_back({project.File, project.Skipped});
      continue;
    }
    // A project is built once: a second import of a group, or a group naming a project twice,
    // adds nothing.
    if (const auto builder = BuilderOf(*script, project.File)) {
      skipped.push_back({project.File, "already built by the action \"" + builder->Name() + "\""});
      continue;
    }
    auto action = TBuildScript::CreateAction(project.ActionClass);
    action->SetName(ActionNameOf(project.File));
    // A "%" of the file's name is the name's own, not a variable's.
    const std::string file =
        platform::ReplaceAll(ScriptRelative(project.File, scriptFolder), "%", "%%");
    try {
      const auto given = Assign(*action, scriptPath, {"ProjectFile=" + file}, "ProjectFile");
      action->InferSettings(given);
    } catch (const Exception& e) {
      skipped.push_back({project.File, e.what()});
      continue;
    }
    script->AddAction(action);
    try {
      // As a person picking the project on the action's project page.
      SetPropAsString(*action, "ProjectFile", "");
      auto took = TakeProject(*script, *action, file, taken);
      imported.push_back({project, action, std::move(took)});
    } catch (const Exception& e) {
      script->RemoveAction(*action);
      skipped.push_back({project.File, e.what()});
    }
  }
  const auto relative = [&](const std::string& file) { return ScriptRelative(file, scriptFolder); };
  if (imported.empty()) {
    std::string reasons;
    for (const auto& s : skipped)
      reasons += "\n  " + relative(s.File) + ": " + s.Reason;
    throw Exception(groupArgument + ": nothing to import" +
                    (projects.empty() ? ": the group names no project" : ":" + reasons) + "\n" +
                    scriptPath + (exists ? " is unchanged" : " was not written"));
  }

  std::vector<std::string> notes;
  const auto dependencies = FindDependencies(imported, notes);
  script->Save(scriptPath);
  taken.Keep();

  std::cout << "Imported " << imported.size() << " of the " << projects.size() << " projects of "
            << groupArgument << " into " << scriptPath << ":\n";
  for (const auto& i : imported) {
    std::cout << "  " << i.Action->Name() << " (" << i.Action->ClassInfo().Name()
              << "): " << GetPropAsString(*i.Action, "ProjectFile") << "\n";
    for (const auto& line : i.Took)
      std::cout << "    " << line << "\n";
  }
  if (!skipped.empty()) {
    std::cout << "Skipped " << skipped.size() << ":\n";
    for (const auto& s : skipped)
      std::cout << "  " << relative(s.File) << ": " << s.Reason << "\n";
  }
  if (!dependencies.empty()) {
    std::cout << "Dependencies:\n";
    for (const auto& d : dependencies)
      std::cout << "  " << d.Action << " depends on " << d.On << ": " << d.Why << "\n";
  } else {
    std::cout << "No project depends on another: all can build at once (run --jobs N)\n";
  }
  for (const auto& note : notes)
    std::cout << note << "\n";
  // A group may name projects anywhere; those outside its folder are built only where a checkout
  // puts them in the same place, which is worth knowing before a build server finds out.
  const std::string groupFolder = machinepath::ExtractFileDir(group);
  const auto outside = [&groupFolder](const std::string& file) {
    const auto path = ResolvedRelative(file, groupFolder);
    return path.empty() || *path.begin() == "..";
  };
  for (const auto& i : imported) {
    if (outside(i.Project.File))
      std::cout << "note: " << relative(i.Project.File) << " lies outside the group's folder "
                << groupFolder << "\n";
  }
  // The files a build leaves beside each project are the actions' own; say so before the user
  // finds them in the projects' folders.
  std::set<std::string> written;
  for (const auto& i : imported) {
    for (const auto& file : BuildFiles(*i.Action))
      written.insert(file);
  }
  if (!written.empty()) {
    std::cout << "A build writes these files beside its project; to keep them out of version "
                 "control, add to .gitignore:\n";
    for (const auto& file : written)
      std::cout << "  " << file << "\n";
  }
  // Links that go both ways make a cycle no run can order; say so now, as validate will.
  for (const auto& problem : engine::TActionGraph(script->Actions()).Problems())
    std::cout << "warning: " << problem << "; set DependsOn to break it\n";
  return kExitOk;
}

}  // namespace

void DefineImportCommand(const TAddCommand& add,
                         std::map<const CLI::App*, std::function<int()>>& runs) {
  struct TImportOptions {
    std::string Group;
    std::string Script;
  };
  auto options = std::make_shared<TImportOptions>();
  CLI::App* cmd = add("import",
                      "Append an action for each C++Builder project of a project group (.bpg, "
                      ".bdsgroup, .groupproj) to a build script, with the dependencies between "
                      "them");
  cmd->add_option("group", options->Group, "Project group")->required()->type_name("GROUP");
  cmd->add_option("script", options->Script, "Build script (created when missing)")
      ->required()
      ->type_name("FILE");
  cmd->footer(
      "Each action takes its project as \"moxtal new\" does, is named after it and names it "
      "relative to the script's folder. B depends on A (DependsOn) when the group says so or when "
      "B links what A builds.\n\nExample:\n  moxtal import Product.bpg build.mxs\n  moxtal run "
      "build.mxs --jobs 0");
  runs[cmd] = [options] { return Import(options->Group, options->Script); };
}

}  // namespace mx::cli
