#include "ProjectOutputs.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <optional>
#include <string_view>
#include <unordered_map>

#include "package/projparser/CBuilder2006Project.h"
#include "platform/FileNames.h"
#include "platform/StrUtils.h"

namespace mx::bcc {

namespace {

using platform::LowerCase;
using platform::SameText;
using platform::Trim;
namespace wintext = platform::wintext;

void AddUnique(std::vector<std::string>& list, const std::string& item) {
  if (item.empty()) return;
  if (std::none_of(list.begin(), list.end(),
                   [&](const std::string& i) { return SameText(i, item); }))
    list.push_back(item);
}

// The items of a list separated by blanks or by `separator`.
std::vector<std::string> ListItems(std::string_view text, char separator) {
  std::string normal(text);
  std::replace(normal.begin(), normal.end(), separator, ' ');
  std::replace(normal.begin(), normal.end(), '\t', ' ');
  return platform::SplitList(normal, ' ');
}

// A package name of a list as the file linked: "vcl" is "vcl.bpi".
std::string PackageImport(const std::string& name) {
  return wintext::ExtractFileExt(name).empty() ? name + ".bpi" : name;
}

// `file` in `folder` (either may be empty), in Windows form.
std::string InFolder(const std::string& folder, const std::string& file) {
  if (folder.empty() || folder == ".") return file;
  return wintext::IncludeTrailingPathDelimiter(folder) + file;
}

bool HasSwitch(const std::string& switches, std::string_view name) {
  for (const auto& item : ListItems(switches, ' ')) {
    if (item == name) return true;
  }
  return false;
}

// --- MSBuild properties -------------------------------------------------------------------------

// MSBuild's property names do not depend on case.
struct TNameLess {
  bool operator()(const std::string& a, const std::string& b) const {
    return LowerCase(a) < LowerCase(b);
  }
};
using TProperties = std::map<std::string, std::string, TNameLess>;

// $(Name) references replaced by the properties' values; an unknown one is empty, as in MSBuild.
// A property that doubles itself forty times would take a terabyte; no project's value comes near
// this.
constexpr std::size_t kLongestValue = 64 * 1024;

/// A value that would expand past kLongestValue.
struct ETooLong {};

std::string ExpandProperties(std::string_view text, const TProperties& properties) {
  std::string out;
  std::size_t i = 0;
  while (i < text.size()) {
    const auto open = text.find("$(", i);
    if (open == std::string_view::npos) break;
    const auto close = text.find(')', open + 2);
    if (close == std::string_view::npos) break;
    out.append(text.substr(i, open - i));
    const auto found = properties.find(std::string(text.substr(open + 2, close - open - 2)));
    if (found != properties.end()) out += found->second;
    if (out.size() > kLongestValue) throw ETooLong{};
    i = close + 1;
  }
  out.append(text.substr(i));
  return out;
}

// A condition as MSBuild project files of C++Builder write them:
//   'A'=='B', 'A'!='B', and, or, parentheses, true and false.
// Texts compare without regard to case. nullopt for anything else.
class TCondition {
 public:
  TCondition(std::string_view text, const TProperties& properties)
      : text_(text), properties_(properties) {}

  std::optional<bool> Evaluate() {
    const auto value = Or();
    Blanks();
    if (!value || pos_ != text_.size()) return std::nullopt;
    return value;
  }

 private:
  void Blanks() {
    while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\t' ||
                                   text_[pos_] == '\r' || text_[pos_] == '\n'))
      ++pos_;
  }
  bool Word(std::string_view word) {
    Blanks();
    if (pos_ + word.size() > text_.size() || !SameText(text_.substr(pos_, word.size()), word))
      return false;
    const std::size_t after = pos_ + word.size();
    if (after < text_.size() && std::isalnum(static_cast<unsigned char>(text_[after])))
      return false;
    pos_ = after;
    return true;
  }
  bool Symbol(std::string_view symbol) {
    Blanks();
    if (text_.substr(pos_, symbol.size()) != symbol) return false;
    pos_ += symbol.size();
    return true;
  }
  std::optional<bool> Or() {
    auto value = And();
    while (value && Word("or")) {
      const auto right = And();
      if (!right) return std::nullopt;
      value = *value || *right;
    }
    return value;
  }
  std::optional<bool> And() {
    auto value = Primary();
    while (value && Word("and")) {
      const auto right = Primary();
      if (!right) return std::nullopt;
      value = *value && *right;
    }
    return value;
  }
  std::optional<bool> Primary() {
    if (Symbol("(")) {
      // Projects nest a level or two; a deeper condition is read as one that does not hold.
      if (++depth_ > kDeepest) return std::nullopt;
      const auto value = Or();
      --depth_;
      if (!value || !Symbol(")")) return std::nullopt;
      return value;
    }
    if (Word("true")) return true;
    if (Word("false")) return false;
    const auto left = Quoted();
    if (!left) return std::nullopt;
    bool equal;
    if (Symbol("==")) {
      equal = true;
    } else if (Symbol("!=")) {
      equal = false;
    } else {
      return std::nullopt;
    }
    const auto right = Quoted();
    if (!right) return std::nullopt;
    return SameText(*left, *right) == equal;
  }
  std::optional<std::string> Quoted() {
    Blanks();
    if (pos_ >= text_.size() || text_[pos_] != '\'') return std::nullopt;
    const auto close = text_.find('\'', pos_ + 1);
    if (close == std::string_view::npos) return std::nullopt;
    const std::string value =
        ExpandProperties(text_.substr(pos_ + 1, close - pos_ - 1), properties_);
    pos_ = close + 1;
    return value;
  }

  std::string_view text_;
  const TProperties& properties_;
  std::size_t pos_ = 0;
  static constexpr int kDeepest = 64;
  int depth_ = 0;
};

// Whether an element's Condition holds; an element without one always does.
bool ConditionHolds(const platform::TXmlNode& element, const TProperties& properties) {
  const auto condition = element.Attribute("Condition");
  if (!condition || Trim(*condition).empty()) return true;
  return TCondition(*condition, properties).Evaluate().value_or(false);
}

bool IsTrue(const TProperties& properties, const std::string& name) {
  const auto found = properties.find(name);
  return found != properties.end() && SameText(Trim(found->second), "true");
}

std::string Property(const TProperties& properties, const std::string& name) {
  const auto found = properties.find(name);
  return found == properties.end() ? std::string() : Trim(found->second);
}

// --- .bdsproj properties ------------------------------------------------------------------------

// The properties of a .bdsproj by category and name, indexed once: a project holds thousands,
// and each is looked up many times.
class TBdsProperties {
 public:
  explicit TBdsProperties(const std::vector<platform::TXmlNode>& nodes) {
    for (const auto& p : nodes) {
      values_.emplace(
          p.Attribute("category").value_or("") + '\n' + p.Attribute("name").value_or(""),
          p.Attribute("value").value_or(""));
    }
  }
  /// The value of property `name` of `category`, or nullopt.
  std::optional<std::string> operator()(std::string_view category, std::string_view name) const {
    const auto found = values_.find(std::string(category) + '\n' + std::string(name));
    if (found == values_.end()) return std::nullopt;
    return found->second;
  }

 private:
  std::unordered_map<std::string, std::string> values_;  // the first of each key counts
};

}  // namespace

std::string MachinePathOf(const std::string& folder, std::string name) {
  namespace machinepath = platform::machinepath;
  if (wintext::IsAbsolute(name) || name.find("$(") != std::string::npos) return name;
#ifndef _WIN32
  std::replace(name.begin(), name.end(), '\\', '/');
  if (name.starts_with('/')) return machinepath::Normalise(name);
#endif
  return machinepath::Normalise(machinepath::Join(folder, name));
}

std::vector<std::string> CBuilder56Outputs(const std::string& finalOutput,
                                           TCBuilderProjectType type,
                                           const std::string& bpiLibFolder,
                                           const std::string& linkerSwitches) {
  std::vector<std::string> outputs;
  if (finalOutput.empty()) return outputs;
  outputs.push_back(finalOutput);
  const std::string folder =
      bpiLibFolder.empty() ? wintext::ExtractFileDir(finalOutput) : bpiLibFolder;
  const std::string name = wintext::ExtractFileName(finalOutput);
  if (type == TCBuilderProjectType::ptBPL) {
    AddUnique(outputs, InFolder(folder, wintext::ChangeFileExt(name, ".bpi")));
    if (HasSwitch(linkerSwitches, "-Gl"))
      AddUnique(outputs, InFolder(folder, wintext::ChangeFileExt(name, ".lib")));
  } else if (type == TCBuilderProjectType::ptDLL && HasSwitch(linkerSwitches, "-Gi")) {
    AddUnique(outputs, InFolder(folder, wintext::ChangeFileExt(name, ".lib")));
  }
  return outputs;
}

TProjectLinks BdsProjectLinks(const platform::TXmlDocument& document, const std::string& config) {
  const TBdsProperties BdsProperty(document.SelectNodes(
      "/BorlandProject/CPlusPlusBuilder.Personality/BCBPROJECT/project/property"));
  const auto node = [&](std::string_view name) {
    return Trim(BdsProperty("build.node", name).value_or(""));
  };
  // The configuration: its number among build.config.N, found by key or name.
  std::string key = config.empty() ? node("lastconfig") : config;
  std::string number;
  for (int n = 0; number.empty(); ++n) {
    const std::string category = "build.config." + std::to_string(n);
    const auto k = BdsProperty(category, "key");
    if (!k) break;
    if (SameText(*k, key) || SameText(BdsProperty(category, "name").value_or(""), key)) {
      number = std::to_string(n);
      key = *k;
    }
  }
  // The linker's output folder of the configuration (or of all), else the configuration's
  // build folder, else the project's.
  std::string folder;
  for (const std::string& scope : {key, std::string("*")}) {
    const std::string category = "win32." + scope + ".win32b.ilink32";
    if (BdsProperty(category, "option.outputdir.enabled").value_or("0") == "1") {
      folder = Trim(BdsProperty(category, "option.outputdir.arg.1").value_or(""));
      break;
    }
  }
  if (folder.empty() && !number.empty())
    folder = Trim(BdsProperty("build.config." + number, "win32.win32b.builddir").value_or(""));

  TProjectLinks links;
  const std::string output = node("name");
  if (!output.empty()) {
    const std::string extension = LowerCase(wintext::ExtractFileExt(output));
    const auto type = extension == ".bpl"   ? TCBuilderProjectType::ptBPL
                      : extension == ".dll" ? TCBuilderProjectType::ptDLL
                      : extension == ".lib" ? TCBuilderProjectType::ptLIB
                                            : TCBuilderProjectType::ptExe;
    std::string switches;
    for (const std::string& scope : {key, std::string("*")}) {
      const std::string category = "win32." + scope + ".win32b.ilink32";
      for (const char* s : {"Gi", "Gl"}) {
        if (BdsProperty(category, std::string("option.") + s + ".enabled") == "1")
          switches += std::string(" -") + s;
      }
    }
    links.Outputs = CBuilder56Outputs(InFolder(folder, output), type, "", switches);
  }
  for (const char* list : {"libraries", "sparelibs"}) {
    for (const auto& item : ListItems(node(list), ' '))
      AddUnique(links.Links, item);
  }
  for (const auto& item : ListItems(node("packages"), ';'))
    AddUnique(links.Links, PackageImport(item));
  for (const std::string& scope : {key, std::string("*")}) {
    const std::string category = "win32." + scope + ".win32b.ilink32";
    for (int n = 1;; ++n) {
      const auto file = BdsProperty(category, "param.libfiles." + std::to_string(n));
      if (!file) break;
      if (!Trim(*file).starts_with("$(")) AddUnique(links.Links, Trim(*file));
    }
  }
  return links;
}

TProjectLinks MSBuildProjectLinks(const platform::TXmlDocument& document,
                                  const std::string& projectFile, const std::string& config) {
  namespace machinepath = platform::machinepath;
  TProperties properties;
  const std::string name =
      machinepath::ChangeFileExt(machinepath::ExtractFileName(projectFile), "");
  properties["MSBuildProjectName"] = name;
  properties["MSBuildProjectFile"] = machinepath::ExtractFileName(projectFile);
  if (!config.empty()) properties["Config"] = config;
  std::vector<std::string> libFiles;
  const auto root = document.DocumentElement();
  // The element being read, for the message when a value grows past what any project holds.
  platform::TXmlNode at = root;
  try {
    for (const auto& group : root.Elements()) {
      at = group;
      if (!ConditionHolds(group, properties)) continue;
      if (group.Name() == "PropertyGroup") {
        for (const auto& property : group.Elements()) {
          at = property;
          // A property given on MSBuild's command line is not changed by the project.
          if (!config.empty() && SameText(property.Name(), "Config")) continue;
          if (ConditionHolds(property, properties))
            properties[property.Name()] = ExpandProperties(property.Data(), properties);
        }
      } else if (group.Name() == "ItemGroup") {
        for (const auto& item : group.Elements("LibFiles")) {
          at = item;
          if (ConditionHolds(item, properties))
            libFiles.push_back(
                ExpandProperties(item.Attribute("Include").value_or(""), properties));
        }
      }
    }
  } catch (const ETooLong&) {
    throw Exception(projectFile + "(" + std::to_string(at.Line()) + "): <" + at.Name() +
                    "> grows past " + std::to_string(kLongestValue / 1024) +
                    " KiB as its properties expand");
  }

  TProjectLinks links;
  std::string extension = Property(properties, "OutputExt");
  if (extension.empty()) {
    const std::string type = Property(properties, "ProjectType");
    extension = type == "CppPackage"          ? "bpl"
                : type == "CppDynamicLibrary" ? "dll"
                : type == "CppStaticLibrary"  ? "lib"
                                              : "exe";
  }
  if (extension.starts_with('.')) extension.erase(0, 1);
  const std::string lower = LowerCase(extension);
  const auto type = lower == "bpl"   ? TCBuilderProjectType::ptBPL
                    : lower == "dll" ? TCBuilderProjectType::ptDLL
                    : lower == "lib" ? TCBuilderProjectType::ptLIB
                                     : TCBuilderProjectType::ptExe;
  std::string switches;
  if (IsTrue(properties, "ILINK_GenerateImportLibrary")) switches += " -Gi";
  if (IsTrue(properties, "ILINK_GenerateLibFile")) switches += " -Gl";
  const std::string folder = Property(properties, "FinalOutputDir");
  links.Outputs = CBuilder56Outputs(InFolder(folder, name + "." + extension), type,
                                    Property(properties, "BPILibOutputDir"), switches);
  for (const auto& item : ListItems(Property(properties, "PackageImports"), ';'))
    AddUnique(links.Links, PackageImport(item));
  for (const auto& item : ListItems(Property(properties, "AllPackageLibs"), ';'))
    AddUnique(links.Links, item);
  for (const auto& file : libFiles)
    AddUnique(links.Links, Trim(file));
  return links;
}

}  // namespace mx::bcc
