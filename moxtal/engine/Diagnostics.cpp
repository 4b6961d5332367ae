#include "Diagnostics.h"

#include <algorithm>
#include <filesystem>

#include <nlohmann/json.hpp>

#include "platform/StrUtils.h"

namespace mx::engine {

using nlohmann::ordered_json;

namespace {

std::string LevelName(TDiagnosticSeverity severity) {
  switch (severity) {
    case TDiagnosticSeverity::dsError:
      return "error";
    case TDiagnosticSeverity::dsWarning:
      return "warning";
    case TDiagnosticSeverity::dsNote:
      return "note";
  }
  return "note";
}

// The rule a diagnostic belongs to: its code, or its tool when it has none.
std::string RuleId(const TDiagnostic& d) {
  return d.Code.empty() ? d.Tool : d.Code;
}

std::string Slashed(std::string_view path) {
  std::string s(path);
  std::replace(s.begin(), s.end(), '\\', '/');
  return s;
}

bool IsAbsolute(std::string_view slashed) {
  return !slashed.empty() && (slashed.front() == '/' || (slashed.size() > 1 && slashed[1] == ':'));
}

// A path as the path part of a URI: every byte outside the unreserved set and "/" and ":" is
// percent-encoded.
std::string UriPath(std::string_view path) {
  static const char* const hex = "0123456789ABCDEF";
  std::string out;
  for (const char ch : path) {
    const auto c = static_cast<unsigned char>(ch);
    const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                       c == '-' || c == '.' || c == '_' || c == '~' || c == '/' || c == ':';
    if (plain) {
      out += ch;
    } else {
      out += '%';
      out += hex[c >> 4];
      out += hex[c & 15];
    }
  }
  return out;
}

// "file:///work/app/" for a folder of this machine (or a Windows folder).
std::string FolderUri(const std::string& folder) {
  std::string slashed = Slashed(folder);
  if (!slashed.empty() && slashed.back() != '/') slashed += '/';
  return "file://" + std::string(slashed.front() == '/' ? "" : "/") + UriPath(slashed);
}

// Workflow command text: "%", CR and LF escaped; in properties ":" and "," too.
std::string CommandData(std::string_view text, bool property) {
  std::string out;
  for (const char c : text) {
    switch (c) {
      case '%':
        out += "%25";
        break;
      case '\r':
        out += "%0D";
        break;
      case '\n':
        out += "%0A";
        break;
      case ':':
        out += property ? "%3A" : ":";
        break;
      case ',':
        out += property ? "%2C" : ",";
        break;
      default:
        out += c;
    }
  }
  return out;
}

// "src\Unit1.cpp(12,3): " or "" for a diagnostic without a file.
std::string Place(const TDiagnostic& d) {
  if (d.File.empty()) return {};
  std::string place = d.File;
  if (d.Line > 0) {
    place += "(" + std::to_string(d.Line);
    if (d.Column > 0) place += "," + std::to_string(d.Column);
    place += ")";
  }
  return place + ": ";
}

// The warning codes of an action, most frequent first (then by code), at most five.
std::vector<std::pair<std::string, int>> TopWarnings(const TDiagnostics& diagnostics) {
  std::map<std::string, int> counts;
  for (const auto& d : diagnostics) {
    if (d.Severity == TDiagnosticSeverity::dsWarning) ++counts[RuleId(d)];
  }
  std::vector<std::pair<std::string, int>> top(counts.begin(), counts.end());
  std::stable_sort(top.begin(), top.end(),
                   [](const auto& a, const auto& b) { return a.second > b.second; });
  if (top.size() > 5) top.resize(5);
  return top;
}

const TDiagnostic* FirstError(const TDiagnostics& diagnostics) {
  for (const auto& d : diagnostics) {
    if (d.Severity == TDiagnosticSeverity::dsError) return &d;
  }
  return nullptr;
}

std::string Plural(int n, const char* word) {
  return std::to_string(n) + " " + word + (n == 1 ? "" : "s");
}

}  // namespace

// ---- collector

void TDiagnosticsCollector::Begin(const TLogEntryStart& entry) {
  if (entry.Kind.empty()) return;
  std::lock_guard lock(mutex_);
  const auto it = std::find_if(actions_.begin(), actions_.end(), [&](const TActionDiagnostics& a) {
    return a.Action == entry.Action;
  });
  if (it != actions_.end()) {
    open_[entry.Id] = static_cast<std::size_t>(it - actions_.begin());
    return;
  }
  actions_.push_back({entry.Action, entry.Kind, {}});
  open_[entry.Id] = actions_.size() - 1;
}

void TDiagnosticsCollector::DiagnosticLine(std::uint64_t id, std::string_view,
                                           const TDiagnostics& diagnostics) {
  std::lock_guard lock(mutex_);
  const auto it = open_.find(id);
  if (it == open_.end()) return;
  auto& list = actions_[it->second].Diagnostics;
  list.insert(list.end(), diagnostics.begin(), diagnostics.end());
}

void TDiagnosticsCollector::End(std::uint64_t id) {
  std::lock_guard lock(mutex_);
  open_.erase(id);
}

std::vector<TActionDiagnostics> TDiagnosticsCollector::Actions() const {
  std::lock_guard lock(mutex_);
  return actions_;
}

TDiagnosticCounts CountDiagnostics(const TDiagnostics& diagnostics) {
  TDiagnosticCounts counts;
  for (const auto& d : diagnostics) {
    switch (d.Severity) {
      case TDiagnosticSeverity::dsError:
        ++counts.Errors;
        break;
      case TDiagnosticSeverity::dsWarning:
        ++counts.Warnings;
        break;
      case TDiagnosticSeverity::dsNote:
        ++counts.Notes;
        break;
    }
  }
  return counts;
}

// ---- SARIF

ordered_json SarifLog(const std::vector<TActionDiagnostics>& actions,
                      const std::string& hostVersion) {
  ordered_json runs = ordered_json::array();
  for (const auto& action : actions) {
    ordered_json rules = ordered_json::array();
    std::map<std::string, std::size_t> ruleIndex;
    ordered_json results = ordered_json::array();
    std::string projectFolder;
    for (const auto& d : action.Diagnostics) {
      const std::string id = RuleId(d);
      if (!ruleIndex.count(id)) {
        ruleIndex[id] = rules.size();
        ordered_json rule;
        rule["id"] = id;
        rule["shortDescription"]["text"] = d.Message;
        rule["properties"]["tool"] = d.Tool;
        rules.push_back(std::move(rule));
      }
      ordered_json result;
      result["ruleId"] = id;
      result["ruleIndex"] = ruleIndex[id];
      result["level"] = LevelName(d.Severity);
      result["message"]["text"] = d.Message.empty() ? d.LogLine : d.Message;
      if (!d.File.empty()) {
        ordered_json artifact;
        const std::string slashed = Slashed(d.File);
        if (!d.RelativeFile.empty()) {
          artifact["uri"] = UriPath(d.RelativeFile);
          artifact["uriBaseId"] = "PROJECTROOT";
          projectFolder = d.ProjectFolder;
        } else if (IsAbsolute(slashed)) {
          artifact["uri"] =
              "file://" + std::string(slashed.front() == '/' ? "" : "/") + UriPath(slashed);
        } else {
          artifact["uri"] = UriPath(slashed);
        }
        ordered_json physical;
        physical["artifactLocation"] = std::move(artifact);
        if (d.Line > 0) {
          physical["region"]["startLine"] = d.Line;
          if (d.Column > 0) physical["region"]["startColumn"] = d.Column;
        }
        result["locations"] = ordered_json::array({ordered_json{{"physicalLocation", physical}}});
      }
      result["properties"]["tool"] = d.Tool;
      result["properties"]["logLine"] = d.LogLine;
      results.push_back(std::move(result));
    }
    ordered_json run;
    run["tool"]["driver"]["name"] = action.Kind;
    run["tool"]["driver"]["version"] = hostVersion;
    run["tool"]["driver"]["rules"] = std::move(rules);
    run["automationDetails"]["id"] = action.Action + "/";
    if (!projectFolder.empty())
      run["originalUriBaseIds"]["PROJECTROOT"]["uri"] = FolderUri(projectFolder);
    run["results"] = std::move(results);
    runs.push_back(std::move(run));
  }
  ordered_json log;
  log["$schema"] = "https://json.schemastore.org/sarif-2.1.0.json";
  log["version"] = "2.1.0";
  log["runs"] = std::move(runs);
  return log;
}

// ---- annotations

std::vector<std::string> GitHubAnnotations(const std::vector<TActionDiagnostics>& actions,
                                           const std::string& currentFolder) {
  namespace fs = std::filesystem;
  std::vector<std::string> lines;
  const fs::path current = fs::path(Slashed(currentFolder)).lexically_normal();
  for (const auto& action : actions) {
    for (const auto& d : action.Diagnostics) {
      std::string command = d.Severity == TDiagnosticSeverity::dsError     ? "::error"
                            : d.Severity == TDiagnosticSeverity::dsWarning ? "::warning"
                                                                           : "::notice";
      std::vector<std::string> properties;
      // The file as the workflow's checkout names it: relative to the current folder.
      std::string file;
      if (!d.RelativeFile.empty()) {
        file = Slashed(d.ProjectFolder) + "/" + d.RelativeFile;
      } else if (IsAbsolute(Slashed(d.File))) {
        file = Slashed(d.File);
      }
      if (!file.empty()) {
        const fs::path full = fs::path(file).lexically_normal();
        const fs::path relative = full.lexically_relative(current);
        const std::string shown = relative.empty() || relative.generic_string().starts_with("..")
                                      ? full.generic_string()
                                      : relative.generic_string();
        properties.push_back("file=" + CommandData(shown, true));
        if (d.Line > 0) properties.push_back("line=" + std::to_string(d.Line));
        if (d.Column > 0) properties.push_back("col=" + std::to_string(d.Column));
      }
      properties.push_back("title=" + CommandData(RuleId(d), true));
      command += " ";
      for (std::size_t i = 0; i < properties.size(); ++i)
        command += (i ? "," : "") + properties[i];
      command += "::" + CommandData("[" + action.Action + "] " + d.Message, false);
      lines.push_back(std::move(command));
    }
  }
  return lines;
}

// ---- summary

std::vector<std::string> DiagnosticsSummary(const std::vector<TActionDiagnostics>& actions) {
  std::vector<std::string> lines;
  for (const auto& action : actions) {
    const TDiagnosticCounts counts = CountDiagnostics(action.Diagnostics);
    if (counts.Errors + counts.Warnings + counts.Notes == 0) {
      lines.push_back(action.Action + ": no errors or warnings from the tools");
      continue;
    }
    std::string line = action.Action + ": " + Plural(counts.Errors, "error") + ", " +
                       Plural(counts.Warnings, "warning");
    if (counts.Notes > 0) line += ", " + Plural(counts.Notes, "note");
    lines.push_back(line);
    const auto top = TopWarnings(action.Diagnostics);
    if (!top.empty()) {
      std::string warnings = "  most frequent warnings:";
      for (std::size_t i = 0; i < top.size(); ++i)
        warnings +=
            std::string(i ? ", " : " ") + top[i].first + " (" + std::to_string(top[i].second) + ")";
      lines.push_back(warnings);
    }
    if (const TDiagnostic* first = FirstError(action.Diagnostics)) {
      lines.push_back("  first error: " + Place(*first) +
                      (first->Code.empty() ? "" : first->Code + " ") + first->Message);
    }
  }
  return lines;
}

ordered_json DiagnosticsSummaryJson(const std::vector<TActionDiagnostics>& actions) {
  ordered_json list = ordered_json::array();
  for (const auto& action : actions) {
    const TDiagnosticCounts counts = CountDiagnostics(action.Diagnostics);
    ordered_json a;
    a["action"] = action.Action;
    a["errors"] = counts.Errors;
    a["warnings"] = counts.Warnings;
    a["notes"] = counts.Notes;
    ordered_json top = ordered_json::array();
    for (const auto& [code, count] : TopWarnings(action.Diagnostics))
      top.push_back({{"code", code}, {"count", count}});
    a["topWarnings"] = std::move(top);
    if (const TDiagnostic* first = FirstError(action.Diagnostics)) {
      a["firstError"] = {{"tool", first->Tool},     {"code", first->Code},
                         {"file", first->File},     {"line", first->Line},
                         {"column", first->Column}, {"message", first->Message}};
    }
    list.push_back(std::move(a));
  }
  return ordered_json{{"summary", std::move(list)}};
}

}  // namespace mx::engine
