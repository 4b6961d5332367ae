#include "ProjectGroups.h"

#include <algorithm>
#include <map>
#include <optional>
#include <unordered_map>
#include <utility>

#include "package/projparser/CBuilder2006Project.h"
#include "package/projparser/ProjectOutputs.h"
#include "platform/Exception.h"
#include "platform/FileNames.h"
#include "platform/StrUtils.h"
#include "platform/WholeFile.h"
#include "platform/XmlDocument.h"

namespace mx::bcc {

namespace {

using platform::LowerCase;
using platform::SameText;
using platform::Trim;
namespace machinepath = platform::machinepath;

// A group names a few hundred projects; anything past this is not a group.
constexpr std::size_t kGroupLimit = 8u << 20;

[[noreturn]] void Malformed(const std::string& file, int line, const std::string& problem) {
  throw Exception(file + "(" + std::to_string(line) + "): " + problem);
}

// --- .bpg: a makefile -------------------------------------------------------------------------

struct TLogicalLine {
  std::string Text;
  int Line = 0;
  bool Indented = false;  // a rule's command
};

// The lines of a makefile with comments removed and continued lines (ending in "\") joined,
// each with the line it starts on.
std::vector<TLogicalLine> MakefileLines(const std::string& file, const std::string& text) {
  std::vector<TLogicalLine> lines;
  std::optional<TLogicalLine> pending;
  int number = 0;
  std::size_t start = text.starts_with("\xEF\xBB\xBF") ? 3 : 0;
  while (start <= text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    start = end + 1;
    ++number;
    if (line.find('\0') != std::string::npos)
      Malformed(file, number, "a NUL byte; this is not a text file");
    if (const auto hash = line.find('#'); hash != std::string::npos) line.erase(hash);
    line = platform::TrimRight(line);
    const bool continued = line.ends_with('\\');
    if (continued) line.pop_back();
    if (pending) {
      pending->Text += " " + Trim(line);
    } else {
      pending = TLogicalLine{line, number, !line.empty() && (line[0] == ' ' || line[0] == '\t')};
    }
    if (continued && start <= text.size()) continue;
    if (continued)
      Malformed(file, pending->Line, "the last line continues past the end of the file");
    if (!Trim(pending->Text).empty()) lines.push_back(*pending);
    pending.reset();
  }
  return lines;
}

// The words of a makefile line: blank-separated, a double-quoted run kept as one word.
std::vector<std::string> Words(std::string_view text) {
  std::vector<std::string> words;
  std::size_t i = 0;
  while (i < text.size()) {
    if (text[i] == ' ' || text[i] == '\t') {
      ++i;
      continue;
    }
    std::string word;
    if (text[i] == '"') {
      const auto close = text.find('"', i + 1);
      const auto stop = close == std::string_view::npos ? text.size() : close;
      word = std::string(text.substr(i + 1, stop - i - 1));
      i = stop + 1;
    } else {
      while (i < text.size() && text[i] != ' ' && text[i] != '\t')
        word += text[i++];
    }
    words.push_back(std::move(word));
  }
  return words;
}

// Where the targets of a rule end: the first ":" that is not a drive's ("C:\").
std::size_t RuleColon(std::string_view text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != ':') continue;
    const bool drive = i == 1 || (i >= 2 && (text[i - 2] == ' ' || text[i - 2] == '"'));
    if (drive && i + 1 < text.size() && (text[i + 1] == '\\' || text[i + 1] == '/')) continue;
    return i;
  }
  return std::string_view::npos;
}

bool IsMacroName(std::string_view name) {
  return !name.empty() && std::all_of(name.begin(), name.end(), [](char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
  });
}

struct TRule {
  std::vector<std::string> Targets;
  std::vector<std::string> Prerequisites;
  int Line = 0;
};

std::vector<TGroupEntry> ReadMakefileGroup(const std::string& file) {
  const std::string folder = machinepath::ExtractFileDir(file);
  std::optional<std::pair<std::vector<std::string>, int>> projects;
  std::vector<TRule> rules;
  std::vector<int> open;  // the lines of the !if... blocks not yet closed
  for (const auto& [text, line, indented] :
       MakefileLines(file, platform::ReadWholeFile(file, kGroupLimit))) {
    const std::string trimmed = Trim(text);
    if (trimmed.starts_with('!')) {
      // Conditional blocks only choose macro values of the make tool; every project of the group
      // is outside them. They must still pair up.
      const auto words = Words(trimmed.substr(1));
      const std::string directive = words.empty() ? "" : LowerCase(words.front());
      if (directive.starts_with("if")) open.push_back(line);
      if (directive == "endif") {
        if (open.empty())
          Malformed(file, line, "!endif without an !if, !ifdef or !ifndef before it");
        open.pop_back();
      }
      continue;
    }
    if (indented) {
      if (rules.empty()) Malformed(file, line, "a command before any rule: \"" + trimmed + "\"");
      continue;
    }
    const auto equals = text.find('=');
    const auto colon = RuleColon(text);
    if (equals != std::string::npos && (colon == std::string::npos || equals < colon)) {
      const std::string name = Trim(text.substr(0, equals));
      if (!IsMacroName(name)) Malformed(file, line, "\"" + name + "\" is not a macro name");
      if (SameText(name, "PROJECTS")) projects.emplace(Words(text.substr(equals + 1)), line);
      continue;
    }
    if (colon == std::string::npos)
      Malformed(file, line,
                "neither a macro (NAME = ...), a rule (TARGET: PROJECT) nor a directive: \"" +
                    trimmed + "\"");
    const std::size_t after =
        colon + 1 < text.size() && text[colon + 1] == ':' ? colon + 2 : colon + 1;
    rules.push_back({Words(text.substr(0, colon)), Words(text.substr(after)), line});
  }
  if (!open.empty()) Malformed(file, open.back(), "this block has no !endif");
  if (!projects)
    throw Exception(file +
                    ": no PROJECTS list; a project group names its targets in PROJECTS = ...");

  // Each target's rule (the first that names it), found by name without regard to case.
  std::unordered_map<std::string, const TRule*> byTarget;
  for (const auto& rule : rules) {
    for (const auto& t : rule.Targets)
      byTarget.emplace(LowerCase(t), &rule);
  }
  const auto ruleOf = [&byTarget](const std::string& target) -> const TRule* {
    const auto found = byTarget.find(LowerCase(target));
    return found == byTarget.end() ? nullptr : found->second;
  };
  std::vector<TGroupEntry> entries;
  const auto& [targets, projectsLine] = *projects;
  for (const auto& target : targets) {
    if (target.starts_with("$(")) continue;  // a macro of the make tool, not a project
    const TRule* rule = ruleOf(target);
    if (!rule)
      Malformed(file, projectsLine,
                "no rule names the project of \"" + target + "\" (\"" + target + ": PROJECT\")");
    if (rule->Prerequisites.empty())
      Malformed(file, rule->Line, "the rule of \"" + target + "\" names no project file");
    TGroupEntry entry{MachinePathOf(folder, rule->Prerequisites.front()), {}, rule->Line};
    // A prerequisite that is another target of the group is a dependency the group states.
    for (std::size_t i = 1; i < rule->Prerequisites.size(); ++i) {
      const TRule* other = ruleOf(rule->Prerequisites[i]);
      if (other && other != rule && !other->Prerequisites.empty())
        entry.DependsOn.push_back(MachinePathOf(folder, other->Prerequisites.front()));
    }
    entries.push_back(std::move(entry));
  }
  return entries;
}

// --- .bdsgroup and .groupproj: XML ------------------------------------------------------------

platform::TXmlDocument LoadGroupXml(const std::string& file) {
  try {
    return platform::TXmlDocument::LoadFromText(platform::ReadWholeFile(file, kGroupLimit), file);
  } catch (const platform::EXmlLoadError& e) {
    Malformed(file, e.Line(), e.Reason());
  }
}

std::vector<TGroupEntry> ReadBdsGroup(const std::string& file) {
  const auto document = LoadGroupXml(file);
  const std::string folder = machinepath::ExtractFileDir(file);
  const auto root = document.DocumentElement();
  if (root.Name() != "BorlandProject")
    Malformed(file, root.Line(), "the root element is <" + root.Name() + ">, not <BorlandProject>");
  const auto list = document.SelectSingleNode("/BorlandProject/Default.Personality/Projects");
  if (!list) Malformed(file, root.Line(), "no <Default.Personality><Projects> list of projects");
  std::vector<TGroupEntry> entries;
  for (const auto& project : list.Elements("Projects")) {
    // The entry named "Targets" lists the others' target names, not a project.
    if (SameText(project.Attribute("Name").value_or(""), "Targets")) continue;
    const std::string name = Trim(project.Data());
    if (name.empty()) Malformed(file, project.Line(), "a <Projects> entry without a project file");
    entries.push_back({MachinePathOf(folder, name), {}, project.Line()});
  }
  return entries;
}

std::vector<TGroupEntry> ReadMSBuildGroup(const std::string& file) {
  auto document = LoadGroupXml(file);
  document.RegisterNamespace("def", kMSBuildNamespace);
  const std::string folder = machinepath::ExtractFileDir(file);
  const auto root = document.DocumentElement();
  if (root.Name() != "Project" || !document.SelectSingleNode("/def:Project"))
    Malformed(
        file, root.Line(),
        "not an MSBuild project (<Project xmlns=\"" + std::string(kMSBuildNamespace) + "\">)");
  std::vector<TGroupEntry> entries;
  for (const auto& item : document.SelectNodes("/def:Project/def:ItemGroup/def:Projects")) {
    // Include may name several projects, separated by ";" as every MSBuild item list is.
    const auto names = platform::SplitList(item.Attribute("Include").value_or(""), ';');
    if (names.empty()) Malformed(file, item.Line(), "a <Projects> item without Include");
    std::vector<std::string> dependsOn;
    for (const auto& dependencies : item.Elements("Dependencies")) {
      for (const auto& d : platform::SplitList(dependencies.Data(), ';'))
        dependsOn.push_back(MachinePathOf(folder, d));
    }
    for (const auto& name : names) {
      if (name.find_first_of("*?") != std::string::npos || name.find("$(") != std::string::npos)
        Malformed(file, item.Line(),
                  "\"" + name + "\" is a wildcard or names a property: give each project's file");
      entries.push_back({MachinePathOf(folder, name), dependsOn, item.Line()});
    }
  }
  return entries;
}

}  // namespace

const std::vector<TGroupKind>& ProjectGroupKinds() {
  static const std::vector<TGroupKind> kinds{
      {".bpg", "C++Builder 5/6 project group"},
      {".bdsgroup", "C++Builder 2006 project group"},
      {".groupproj", "C++Builder 2007 project group"},
  };
  return kinds;
}

std::vector<TGroupEntry> ReadProjectGroup(const std::string& file) {
  const std::string extension = LowerCase(machinepath::ExtractFileExt(file));
  try {
    if (extension == ".bpg") return ReadMakefileGroup(file);
    if (extension == ".bdsgroup") return ReadBdsGroup(file);
    if (extension == ".groupproj") return ReadMSBuildGroup(file);
  } catch (const platform::EFOpenError& e) {
    throw Exception(file + ": cannot read the project group (" + e.Reason() + ")");
  }
  throw Exception(file + ": not a project group; give a .bpg, .bdsgroup or .groupproj file");
}

}  // namespace mx::bcc
