#include "BprCommand.h"

#include <filesystem>
#include <iostream>
#include <map>

#include "moxtal/api/ObjectText.h"
#include "moxtal/api/Services.h"
#include "package/action/MxCBuilderAction.h"
#include "package/projparser/MxCBuilderUtils.h"
#include "platform/FileNames.h"
#include "platform/XmlDocument.h"

namespace mx::bcc {

using platform::TStringList;

namespace {

constexpr int kOk = 0;
constexpr int kFailed = 1;
constexpr int kUsage = 2;

const char* const kUsageText =
    "usage: moxtal bpr inspect PROJECT [--json] [--registry FILE] [--var NAME=VALUE]...\n"
    "       moxtal bpr apply PROJECT --out FILE [--script SCRIPT --action NAME] [--set "
    "PROP=VALUE]...\n"
    "                        [--var NAME=VALUE]... [--registry FILE] [--diff]\n"
    "inspect prints what a parser reads from a C++Builder 5/6 project; apply writes to FILE what "
    "a\n"
    "build would make of the project before it runs any tool (the project itself is never "
    "written).\n";

class EUsage : public Exception {
 public:
  using Exception::Exception;
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

 private:
  std::shared_ptr<ICBuilderProjectParser> parser_;
};

// Inspection is read-only; the setters exist because every published property has one.
template <class T>
void Ignore(TProjectInspection&, const T&) {}

const TClassInfo& TProjectInspection::StaticClassInfo() {
  static const TClassInfo info = [] {
    using T = TProjectInspection;
    TClassInfo c("TProjectInspection", nullptr);
    const auto text = [](std::string (ICBuilderProjectParser::*get)() const) {
      return [get](const T& self) { return (self.Parser().*get)(); };
    };
    TClassBuilder<T>(c)
        .Enum("CBuilderVersion", &T::GetCBuilderVersion, Ignore<TCBuilderVersion>)
        .Enum("ProjectType", &T::GetProjectType, Ignore<TCBuilderProjectType>)
        .String("FinalOutputPath", text(&ICBuilderProjectParser::GetFinalOutputPath),
                Ignore<std::string>)
        .String("IntermediateOutputPath", text(&ICBuilderProjectParser::GetIntermediateOutputPath),
                Ignore<std::string>)
        .String("BPILIBOutputPath", text(&ICBuilderProjectParser::GetBPILIBOutputPath),
                Ignore<std::string>)
        .String("IncludePath", text(&ICBuilderProjectParser::GetIncludePath), Ignore<std::string>)
        .String("LibraryPath", text(&ICBuilderProjectParser::GetLibraryPath), Ignore<std::string>)
        .String("Conditionals", text(&ICBuilderProjectParser::GetConditionals), Ignore<std::string>)
        .StringList("Packages", &T::GetPackages, Ignore<TStringList>)
        .Boolean(
            "UsePackages", [](const T& self) { return self.Parser().GetUsePackages(); },
            Ignore<bool>)
        .String("VersionInfo", text(&ICBuilderProjectParser::GetVersionInfo), Ignore<std::string>)
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

struct TArguments {
  std::vector<std::string> Positional;
  std::map<std::string, std::vector<std::string>> Options;
  std::vector<std::string> Flags;
};

TArguments ParseArguments(const std::vector<std::string>& args,
                          const std::vector<std::string>& withValue,
                          const std::vector<std::string>& flags) {
  TArguments parsed;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (std::find(flags.begin(), flags.end(), a) != flags.end()) {
      parsed.Flags.push_back(a);
    } else if (std::find(withValue.begin(), withValue.end(), a) != withValue.end()) {
      if (i + 1 >= args.size()) throw EUsage(a + " needs a value");
      parsed.Options[a].push_back(args[++i]);
    } else if (a.rfind("--", 0) == 0) {
      throw EUsage("unknown option " + a);
    } else {
      parsed.Positional.push_back(a);
    }
  }
  if (parsed.Positional.size() != 1) throw EUsage("give exactly one project file");
  return parsed;
}

std::shared_ptr<ICBuilderProjectParser> ParseProject(const std::string& project,
                                                     const TCustomMxAction* action) {
  auto parser = CBuilderProjectParserFactory(MxDesignApplicationServices())
                    .CreateProjectParser(project, action, AllParserOptions());
  parser->ParseProjectFile();
  return parser;
}

int Inspect(const std::vector<std::string>& args) {
  const TArguments a = ParseArguments(args, {}, {"--json"});
  const TProjectInspection inspection(ParseProject(a.Positional[0], nullptr));
  if (!a.Flags.empty()) {
    std::cout << PropertiesToJsonText(inspection, 2) << "\n";
  } else {
    for (const auto& [name, value] : PropertyTexts(inspection))
      std::cout << name << "=" << value << "\n";
  }
  return kOk;
}

// Element paths with their "value" attributes and text, repeated siblings numbered.
void CollectValues(const platform::TXmlNode& node, const std::string& path,
                   std::vector<std::pair<std::string, std::string>>& out) {
  std::map<std::string, int> seen;
  for (const auto& child : node.Elements()) {
    const int n = ++seen[child.Name()];
    const std::string p = path + "/" + child.Name() + (n > 1 ? "[" + std::to_string(n) + "]" : "");
    std::string value = child.Attribute("value").value_or("");
    if (const auto text = child.FirstTextChild(); text && child.Elements().empty())
      value = text.Data();
    out.emplace_back(p, value);
    CollectValues(child, p, out);
  }
}

std::vector<std::pair<std::string, std::string>> Values(const std::string& file) {
  const auto doc = platform::TXmlDocument::LoadFromFile(file);
  std::vector<std::pair<std::string, std::string>> values;
  CollectValues(doc.DocumentElement(), "/" + doc.DocumentElement().Name(), values);
  return values;
}

int Apply(const std::vector<std::string>& args) {
  const TArguments a = ParseArguments(args, {"--out", "--script", "--action", "--set"}, {"--diff"});
  const std::string& project = a.Positional[0];
  const auto option = [&a](const char* name) {
    const auto it = a.Options.find(name);
    return it == a.Options.end() ? std::string() : it->second.back();
  };
  const std::string out = option("--out");
  if (out.empty()) throw EUsage("--out FILE is required");
  if (option("--script").empty() != option("--action").empty())
    throw EUsage("--script and --action go together");

  std::shared_ptr<TCustomMxAction> holder;
  if (!option("--script").empty()) {
    holder = MxCommandServices().LoadScriptAction(option("--script"), option("--action"));
  } else {
    holder = std::make_shared<TMxCBuilderAction>();
  }
  auto* action = dynamic_cast<TMxCBuilderAction*>(holder.get());
  if (!action) throw Exception("\"" + option("--action") + "\" is not a C++Builder 5/6 action");
  if (const auto sets = a.Options.find("--set"); sets != a.Options.end()) {
    for (const auto& s : sets->second) {
      const auto eq = s.find('=');
      if (eq == std::string::npos || eq == 0)
        throw EUsage("--set \"" + s + "\" is not of the form PROP=VALUE");
      SetPropertyByPath(*action, s.substr(0, eq), s.substr(eq + 1));
    }
  }
  action->SetProjectFile(project);
  const std::string expanded = action->ExpandExpression(project, true);
  std::error_code ec;
  if (std::filesystem::weakly_canonical(platform::machinepath::ToFsPath(expanded), ec) ==
      std::filesystem::weakly_canonical(platform::machinepath::ToFsPath(out), ec)) {
    throw EUsage("the output file must not be the project file itself");
  }
  auto parser = ParseProject(expanded, action);
  action->ApplyActionSettings(*parser);
  parser->SaveToFile(out);

  if (std::find(a.Flags.begin(), a.Flags.end(), "--diff") != a.Flags.end()) {
    const auto before = Values(expanded);
    const auto after = Values(out);
    std::map<std::string, std::string> old(before.begin(), before.end());
    int changed = 0;
    for (const auto& [path, value] : after) {
      const auto it = old.find(path);
      if (it != old.end() && it->second == value) continue;
      std::cout << path << "\n  - " << (it == old.end() ? "(absent)" : it->second) << "\n  + "
                << value << "\n";
      ++changed;
    }
    if (changed == 0) std::cout << "No element changed\n";
  }
  return kOk;
}

}  // namespace

int BprCommand(const std::vector<std::string>& args) {
  if (args.empty() || args[0] == "--help" || args[0] == "-h") {
    (args.empty() ? std::cerr : std::cout) << kUsageText;
    return args.empty() ? kUsage : kOk;
  }
  const std::vector<std::string> rest(args.begin() + 1, args.end());
  try {
    if (args[0] == "inspect") return Inspect(rest);
    if (args[0] == "apply") return Apply(rest);
    throw EUsage("unknown bpr command \"" + args[0] + "\"");
  } catch (const EUsage& e) {
    std::cerr << "moxtal bpr: " << e.what() << "\n" << kUsageText;
    return kUsage;
  } catch (const Exception& e) {
    // A project the parser rejects, a script that does not load: the message as it stands.
    std::cerr << e.what() << "\n";
    return kUsage;
  }
  return kFailed;
}

void RegisterBprCommand() {
  MxCommandServices().RegisterCommand(
      {"bpr", "Inspect a C++Builder 5/6 project, or preview what a build forces onto it",
       BprCommand});
}

}  // namespace mx::bcc
