#include "BprCommand.h"

#include <filesystem>
#include <iostream>
#include <map>

#include <CLI/CLI.hpp>

#include "moxtal/api/Commands.h"
#include "moxtal/api/ObjectText.h"
#include "moxtal/api/Services.h"
#include "package/action/MxCBuilderAction.h"
#include "package/host/ProjectDiff.h"
#include "package/projparser/MxCBuilderUtils.h"
#include "package/projparser/ProjectVersionInfo.h"
#include "platform/FileNames.h"
#include "platform/StrUtils.h"
#include "platform/XmlDocument.h"

namespace mx::bcc {

using platform::TStringList;

namespace {

// Inspection is read-only; the setters exist because every published property has one.
constexpr auto Ignore = [](auto&, const auto&) {};

// The version information the parser read from the IDE options, as "inspect" shows it.
class TVersionInspection : public IPersistentObject {
 public:
  explicit TVersionInspection(TProjectVersionInfo info) : info_(std::move(info)) {
    for (const auto& [name, value] : info_.Keys)
      keys_.Add(name + "=" + value);
  }
  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }
  const TProjectVersionInfo& Info() const { return info_; }
  TStringList& Keys() { return keys_; }

 private:
  TProjectVersionInfo info_;
  TStringList keys_;
};

// What "inspect" shows: the parser's plain values, then its ten records.
class TProjectInspection : public IPersistentObject {
 public:
  explicit TProjectInspection(std::shared_ptr<ICBuilderProjectParser> parser)
      : parser_(std::move(parser)) {}
  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }

  ICBuilderProjectParser& Parser() const { return *parser_; }
  TCBuilderVersion GetCBuilderVersion() const { return parser_->GetCBuilderVersion(); }
  TCBuilderProjectType GetProjectType() const { return parser_->GetProjectType(); }
  TStringList& GetPackages() { return parser_->GetPackages(); }
  std::shared_ptr<TVersionInspection> GetVersionInfo() const {
    return std::make_shared<TVersionInspection>(ReadProjectVersionInfo(parser_->GetVersionInfo()));
  }

 private:
  std::shared_ptr<ICBuilderProjectParser> parser_;
};

const TClassInfo& TVersionInspection::StaticClassInfo() {
  static const TClassInfo info = [] {
    using T = TVersionInspection;
    TClassInfo c("TVersionInspection", nullptr);
    const auto flag = [](bool TProjectVersionInfo::*field) {
      return [field](const T& self) { return self.Info().*field; };
    };
    const auto number = [](std::int32_t TProjectVersionInfo::*field) {
      return [field](const T& self) { return self.Info().*field; };
    };
    TClassBuilder<T>(c)
        .Boolean("IncludeVerInfo", flag(&TProjectVersionInfo::IncludeVerInfo), Ignore)
        .Integer("MajorVer", number(&TProjectVersionInfo::MajorVer), Ignore)
        .Integer("MinorVer", number(&TProjectVersionInfo::MinorVer), Ignore)
        .Integer("Release", number(&TProjectVersionInfo::Release), Ignore)
        .Integer("Build", number(&TProjectVersionInfo::Build), Ignore)
        .Boolean("AutoIncBuild", flag(&TProjectVersionInfo::AutoIncBuild), Ignore)
        .Boolean("Debug", flag(&TProjectVersionInfo::Debug), Ignore)
        .Boolean("PreRelease", flag(&TProjectVersionInfo::PreRelease), Ignore)
        .Boolean("Special", flag(&TProjectVersionInfo::Special), Ignore)
        .Boolean("Private", flag(&TProjectVersionInfo::Private), Ignore)
        .Boolean("DLL", flag(&TProjectVersionInfo::DLL), Ignore)
        .Integer("Locale", number(&TProjectVersionInfo::Locale), Ignore)
        .String(
            "CodePage", [](const T& self) { return self.Info().CodePage; }, Ignore)
        .StringList("Keys", &T::Keys, Ignore);
    return c;
  }();
  return info;
}

const TClassInfo& TProjectInspection::StaticClassInfo() {
  static const TClassInfo info = [] {
    using T = TProjectInspection;
    TClassInfo c("TProjectInspection", nullptr);
    const auto text = [](std::string (ICBuilderProjectParser::*get)() const) {
      return [get](const T& self) { return (self.Parser().*get)(); };
    };
    TClassBuilder<T>(c)
        .Enum("CBuilderVersion", &T::GetCBuilderVersion, Ignore)
        .Enum("ProjectType", &T::GetProjectType, Ignore)
        .String("FinalOutputPath", text(&ICBuilderProjectParser::GetFinalOutputPath), Ignore)
        .String("IntermediateOutputPath", text(&ICBuilderProjectParser::GetIntermediateOutputPath),
                Ignore)
        .String("BPILIBOutputPath", text(&ICBuilderProjectParser::GetBPILIBOutputPath), Ignore)
        .String("IncludePath", text(&ICBuilderProjectParser::GetIncludePath), Ignore)
        .String("LibraryPath", text(&ICBuilderProjectParser::GetLibraryPath), Ignore)
        .String("Conditionals", text(&ICBuilderProjectParser::GetConditionals), Ignore)
        .StringList("Packages", &T::GetPackages, Ignore)
        .Boolean(
            "UsePackages", [](const T& self) { return self.Parser().GetUsePackages(); }, Ignore)
        .Object("VersionInfo", &T::GetVersionInfo)
        .Object("CompilerOpt", [](const T& self) { return self.Parser().GetCompilerOptions(); })
        .Object("AdvCompilerOpt",
                [](const T& self) { return self.Parser().GetAdvCompilerOptions(); })
        .Object("LinkerOpt", [](const T& self) { return self.Parser().GetLinkerOptions(); })
        .Object("AdvLinkerOpt", [](const T& self) { return self.Parser().GetAdvLinkerOptions(); })
        .Object("CppOpt", [](const T& self) { return self.Parser().GetCPPOptions(); })
        .Object("PascalOpt", [](const T& self) { return self.Parser().GetPascalOptions(); })
        .Object("TASMOpt", [](const T& self) { return self.Parser().GetTASMOptions(); })
        .Object("CorbaOpt", [](const T& self) { return self.Parser().GetCorbaOptions(); })
        .Object("CodeGuardOpt", [](const T& self) { return self.Parser().GetCodeGuardOptions(); })
        .Object("TLibOpt", [](const T& self) { return self.Parser().GetTLibOptions(); });
    return c;
  }();
  return info;
}

std::shared_ptr<ICBuilderProjectParser> ParseProject(const std::string& project,
                                                     const TCustomMxAction* action) {
  // A preview expands as the build would: with the action's build script when there is one.
  auto parser = CBuilderProjectParserFactory(action ? action->GetActionContext()
                                                    : MxDesignApplicationServices())
                    ->CreateProjectParser(project, action, AllParserOptions());
  parser->ParseProjectFile();
  return parser;
}

int Inspect(const std::string& project, bool json) {
  const TProjectInspection inspection(ParseProject(project, nullptr));
  if (json) {
    std::cout << PropertiesToJsonText(inspection, 2) << "\n";
  } else {
    // The version keys one per line, as the other values.
    for (const auto& [name, value] : PropertyTexts(inspection)) {
      if (name != "VersionInfo.Keys") {
        std::cout << name << "=" << value << "\n";
        continue;
      }
      for (const auto& [key, keyValue] :
           ReadProjectVersionInfo(inspection.Parser().GetVersionInfo()).Keys)
        std::cout << "VersionInfo.Keys." << key << "=" << keyValue << "\n";
    }
  }
  return kExitOk;
}

struct TApplyOptions {
  std::string Project;
  std::string Out;
  std::string Script;
  std::string Action;
  std::vector<std::string> Sets;
  bool Diff = false;
};

int Apply(const TApplyOptions& o) {
  std::shared_ptr<TCustomMxAction> holder;
  if (!o.Script.empty()) {
    holder = MxCommandServices().LoadScriptAction(o.Script, o.Action);
  } else {
    holder = std::make_shared<TMxCBuilderAction>();
  }
  auto* action = dynamic_cast<TMxCBuilderAction*>(holder.get());
  if (!action) throw Exception("\"" + o.Action + "\" is not a C++Builder 5/6 action");
  for (const auto& s : o.Sets) {
    const auto [name, value] = SplitAssignment(s, "--set", "PROP=VALUE");
    SetPropertyByPath(*action, name, value);
  }
  action->SetProjectFile(o.Project);
  const std::string expanded = action->ExpandExpression(o.Project, true);
  if (platform::machinepath::SameFile(expanded, o.Out))
    throw Exception("the output file must not be the project file itself");
  auto parser = ParseProject(expanded, action);
  action->ApplyActionSettings(*parser);
  parser->SaveToFile(o.Out);
  if (o.Diff) {
    std::cout << ProjectDiff(platform::TXmlDocument::LoadFromFile(expanded),
                             platform::TXmlDocument::LoadFromFile(o.Out));
  }
  return kExitOk;
}

// A project the parser rejects, a script that does not load: the message, preceded by the
// project's name unless it names it already.
int Reported(const std::string& project, const std::function<int()>& run) {
  try {
    return run();
  } catch (const Exception& e) {
    // As every message of moxtal: its name first, the project's unless the message names it,
    // and lines ended as the terminal wants them.
    const std::string message = platform::ReplaceAll(e.what(), "\r\n", "\n");
    std::cerr << "moxtal: " << (message.find(project) == std::string::npos ? project + ": " : "")
              << message << "\n";
    return kExitUsage;
  }
}

TCommandRun DefineBprCommand(CLI::App& bpr) {
  bpr.require_subcommand(1);
  auto project = std::make_shared<std::string>();
  auto json = std::make_shared<bool>(false);
  CLI::App* inspect =
      bpr.add_subcommand("inspect", "Print what the project parser reads from a project");
  inspect->add_option("project", *project, "C++Builder 5/6 project (.bpr, .bpk)")
      ->required()
      ->type_name("FILE");
  inspect->add_flag("--json", *json, "JSON output");
  inspect->footer("Example:\n  moxtal bpr inspect App.bpr --json");

  auto apply = std::make_shared<TApplyOptions>();
  CLI::App* applyCmd = bpr.add_subcommand(
      "apply",
      "Write to FILE what a build would make of the project before it runs any tool (the "
      "project itself is never written)");
  applyCmd->add_option("project", apply->Project, "C++Builder 5/6 project (.bpr, .bpk)")
      ->required()
      ->type_name("FILE");
  applyCmd->add_option("--out", apply->Out, "Where the rewritten project goes")
      ->required()
      ->type_name("FILE");
  auto* script = applyCmd
                     ->add_option("--script", apply->Script,
                                  "Build script whose action's settings are applied")
                     ->type_name("FILE");
  auto* action =
      applyCmd->add_option("--action", apply->Action, "That action's name")->type_name("NAME");
  script->needs(action);
  action->needs(script);
  applyCmd->add_option("--set", apply->Sets, "Set a property of the action (repeatable)")
      ->type_name("PROP=VALUE");
  applyCmd->add_flag("--diff", apply->Diff, "List every element the apply changed");
  applyCmd->footer(
      "Example:\n  moxtal bpr apply App.bpr --out Preview.bpr --script build.mxs --action "
      "\"Build App\" --diff");

  return [=] {
    if (inspect->parsed()) return Reported(*project, [&] { return Inspect(*project, *json); });
    return Reported(apply->Project, [&] { return Apply(*apply); });
  };
}

}  // namespace

void RegisterBprCommand() {
  MxCommandServices().RegisterCommand(
      {"bpr", "Inspect a C++Builder 5/6 project, or preview what a build forces onto it",
       DefineBprCommand});
}

}  // namespace mx::bcc
