#include "Diagnostics.h"

#include <algorithm>
#include <cstring>
#include <filesystem>

#include <nlohmann/json.hpp>

#include "platform/FileNames.h"
#include "platform/JsonText.h"
#include "platform/ScratchFile.h"
#include "platform/StrUtils.h"

namespace mx::engine {

using nlohmann::ordered_json;
using platform::AppendJsonString;

namespace {

// Past this many distinct codes in one action (only a hostile tool gets there), a message goes
// under its tool's rule.
constexpr std::size_t kMostRules = 1000;

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

// A relative reference: a first segment with a colon would read as a scheme ("foo:bar.cpp").
std::string RelativeUri(std::string_view relative) {
  const std::string uri = UriPath(relative);
  const auto colon = uri.find(':');
  return colon != std::string::npos && colon < uri.find('/') ? "./" + uri : uri;
}

// "file:///work/app/x.cpp" for a file of this machine, "file://server/share/x.cpp" for a UNC
// name, "file:///C:/x.cpp" for a Windows name.
std::string FileUri(const std::string& slashed) {
  if (slashed.starts_with("//")) return "file:" + UriPath(slashed);
  return "file://" + std::string(slashed.front() == '/' ? "" : "/") + UriPath(slashed);
}

// A path's text with "/" between its parts. Paths are UTF-8 text, which a Windows path object
// reads only through its UTF-8 forms.
std::string GenericText(const std::filesystem::path& p) {
  const std::u8string text = p.generic_u8string();
  return std::string(text.begin(), text.end());
}

// "file:///work/app/" for a folder.
std::string FolderUri(const std::string& folder) {
  std::string slashed = Slashed(folder);
  if (!slashed.empty() && slashed.back() != '/') slashed += '/';
  return FileUri(slashed);
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
std::vector<std::pair<std::string, std::int64_t>> TopWarnings(const TActionDiagnostics& action) {
  std::vector<std::pair<std::string, std::int64_t>> top(action.WarningRules.begin(),
                                                        action.WarningRules.end());
  std::stable_sort(top.begin(), top.end(),
                   [](const auto& a, const auto& b) { return a.second > b.second; });
  if (top.size() > 5) top.resize(5);
  return top;
}

std::string Plural(std::int64_t n, const char* word) {
  return std::to_string(n) + " " + word + (n == 1 ? "" : "s");
}

// ---- kept diagnostics: a record per diagnostic in a temporary file

void PutNumber(std::string& out, std::uint32_t n) {
  char bytes[4];
  std::memcpy(bytes, &n, 4);
  out.append(bytes, 4);
}

std::uint32_t GetNumber(const std::string& in, std::size_t at) {
  std::uint32_t n;
  std::memcpy(&n, in.data() + at, 4);
  return n;
}

void PutText(std::string& out, std::string_view text) {
  PutNumber(out, static_cast<std::uint32_t>(text.size()));
  out.append(text);
}

// The texts of a record, in order.
constexpr std::size_t kRecordTexts = 7;
std::string TDiagnostic::*const kRecordFields[kRecordTexts] = {
    &TDiagnostic::Tool,         &TDiagnostic::Code,          &TDiagnostic::File,
    &TDiagnostic::RelativeFile, &TDiagnostic::ProjectFolder, &TDiagnostic::Message,
    &TDiagnostic::LogLine};

}  // namespace

// ---- collector

struct TDiagnosticsCollector::TAction {
  TActionDiagnostics Summary;
  std::vector<TDiagnosticRule> Rules;
  std::map<std::string, std::size_t, std::less<>> RuleIndex;
  std::string ProjectFolder;
  std::unique_ptr<platform::TScratchFile> Kept;
  std::string Record;  // reused for every record

  std::vector<std::int64_t> RuleWarnings;  // warnings per rule, by index

  std::size_t RuleOf(const TDiagnostic& d) {
    std::string_view id = d.Code.empty() ? std::string_view(d.Tool) : std::string_view(d.Code);
    auto it = RuleIndex.find(id);
    if (it != RuleIndex.end()) return it->second;
    if (RuleIndex.size() >= kMostRules) {
      id = d.Tool;
      it = RuleIndex.find(id);
      if (it != RuleIndex.end()) return it->second;
    }
    Rules.push_back({std::string(id), d.Message, d.Tool});
    RuleWarnings.push_back(0);
    RuleIndex.emplace(std::string(id), Rules.size() - 1);
    return Rules.size() - 1;
  }
};

TDiagnosticsCollector::TDiagnosticsCollector(bool keepEach) : keepEach_(keepEach) {}
TDiagnosticsCollector::~TDiagnosticsCollector() = default;

void TDiagnosticsCollector::Begin(const TLogEntryStart& entry) {
  if (entry.Kind.empty()) return;
  std::lock_guard lock(mutex_);
  const auto it = std::find_if(actions_.begin(), actions_.end(),
                               [&](const auto& a) { return a->Summary.Action == entry.Action; });
  if (it != actions_.end()) {
    open_[entry.Id] = static_cast<std::size_t>(it - actions_.begin());
    return;
  }
  auto action = std::make_unique<TAction>();
  action->Summary.Action = entry.Action;
  action->Summary.Kind = entry.Kind;
  actions_.push_back(std::move(action));
  open_[entry.Id] = actions_.size() - 1;
}

void TDiagnosticsCollector::DiagnosticLine(std::uint64_t id, std::string_view,
                                           const TDiagnostics& diagnostics) {
  std::lock_guard lock(mutex_);
  const auto it = open_.find(id);
  if (it == open_.end()) return;
  TAction& action = *actions_[it->second];
  TActionDiagnostics& summary = action.Summary;
  for (const TDiagnostic& d : diagnostics) {
    const std::size_t rule = action.RuleOf(d);
    switch (d.Severity) {
      case TDiagnosticSeverity::dsError:
        ++summary.Counts.Errors;
        if (!summary.FirstError) summary.FirstError = d;
        break;
      case TDiagnosticSeverity::dsWarning:
        ++summary.Counts.Warnings;
        ++action.RuleWarnings[rule];
        break;
      case TDiagnosticSeverity::dsNote:
        ++summary.Counts.Notes;
        break;
    }
    if (!d.RelativeFile.empty() && action.ProjectFolder != d.ProjectFolder)
      action.ProjectFolder = d.ProjectFolder;
    if (!keepEach_) continue;
    if (!action.Kept) action.Kept = std::make_unique<platform::TScratchFile>();
    std::string& record = action.Record;
    record.clear();
    record += static_cast<char>(d.Severity);
    PutNumber(record, static_cast<std::uint32_t>(d.Line));
    PutNumber(record, static_cast<std::uint32_t>(d.Column));
    PutNumber(record, static_cast<std::uint32_t>(rule));
    for (const auto field : kRecordFields)
      PutText(record, d.*field);
    action.Kept->Write(record);
  }
}

void TDiagnosticsCollector::End(std::uint64_t id) {
  std::lock_guard lock(mutex_);
  open_.erase(id);
}

std::vector<TActionDiagnostics> TDiagnosticsCollector::Actions() const {
  std::lock_guard lock(mutex_);
  std::vector<TActionDiagnostics> summaries;
  for (const auto& action : actions_) {
    summaries.push_back(action->Summary);
    for (std::size_t r = 0; r < action->Rules.size(); ++r) {
      if (action->RuleWarnings[r] > 0)
        summaries.back().WarningRules[action->Rules[r].Id] = action->RuleWarnings[r];
    }
  }
  return summaries;
}

std::vector<TDiagnosticRule> TDiagnosticsCollector::Rules(std::size_t index) const {
  std::lock_guard lock(mutex_);
  return actions_.at(index)->Rules;
}

std::string TDiagnosticsCollector::ProjectFolder(std::size_t index) const {
  std::lock_guard lock(mutex_);
  return actions_.at(index)->ProjectFolder;
}

void TDiagnosticsCollector::ForEach(
    std::size_t index, const std::function<void(const TDiagnostic&, std::size_t)>& each) const {
  std::lock_guard lock(mutex_);
  platform::TScratchFile* kept = actions_.at(index)->Kept.get();
  if (!kept) return;
  kept->Rewind();
  std::string header;
  std::string text;
  TDiagnostic d;
  while (kept->Read(header, 13)) {
    d.Severity = static_cast<TDiagnosticSeverity>(header[0]);
    d.Line = static_cast<int>(GetNumber(header, 1));
    d.Column = static_cast<int>(GetNumber(header, 5));
    const std::size_t rule = GetNumber(header, 9);
    for (const auto field : kRecordFields) {
      if (!kept->Read(text, 4) || !kept->Read(d.*field, GetNumber(text, 0))) return;
    }
    each(d, rule);
  }
}

// ---- SARIF

namespace {

// One result of a run, as JSON text.
void AppendResult(std::string& out, const TDiagnostic& d, const std::string& ruleId,
                  std::size_t rule) {
  out += "{\"ruleId\":";
  AppendJsonString(out, ruleId);
  out += ",\"ruleIndex\":" + std::to_string(rule) + ",\"level\":\"" + LevelName(d.Severity) +
         "\",\"message\":{\"text\":";
  AppendJsonString(out, d.Message.empty() ? d.LogLine : d.Message);
  out += "}";
  if (!d.File.empty()) {
    out += ",\"locations\":[{\"physicalLocation\":{\"artifactLocation\":{\"uri\":";
    const std::string slashed = Slashed(d.File);
    if (!d.RelativeFile.empty()) {
      AppendJsonString(out, RelativeUri(d.RelativeFile));
      out += ",\"uriBaseId\":\"PROJECTROOT\"";
    } else if (IsAbsolute(slashed) || d.ProjectFolder.empty()) {
      AppendJsonString(out, IsAbsolute(slashed) ? FileUri(slashed) : RelativeUri(slashed));
    } else {
      // A relative name outside the project ("..\..\etc\x.h"): the tools ran in the project's
      // folder, so the file is named by its absolute URI, never relative to the project's root.
      const std::string full =
          GenericText(platform::machinepath::ToFsPath(Slashed(d.ProjectFolder) + "/" + slashed)
                          .lexically_normal());
      AppendJsonString(out, FileUri(full));
    }
    out += "}";
    if (d.Line > 0) {
      out += ",\"region\":{\"startLine\":" + std::to_string(d.Line);
      if (d.Column > 0) out += ",\"startColumn\":" + std::to_string(d.Column);
      out += "}";
    }
    out += "}}]";
  }
  out += ",\"properties\":{\"tool\":";
  AppendJsonString(out, d.Tool);
  out += ",\"logLine\":";
  AppendJsonString(out, d.LogLine);
  out += "}}";
}

}  // namespace

void WriteSarifLog(const TDiagnosticsCollector& collector, const std::string& hostVersion,
                   const std::string& category,
                   const std::function<void(std::string_view)>& write) {
  std::string out =
      "{\n  \"$schema\": \"https://json.schemastore.org/sarif-2.1.0.json\",\n"
      "  \"version\": \"2.1.0\",\n  \"runs\": [";
  const auto flush = [&](bool force) {
    if (force || out.size() >= 64 * 1024) {
      write(out);
      out.clear();
    }
  };
  const auto actions = collector.Actions();
  for (std::size_t a = 0; a < actions.size(); ++a) {
    const auto rules = collector.Rules(a);
    out += a ? ",\n    {" : "\n    {";
    out += "\n      \"tool\": {\"driver\": {\"name\": ";
    AppendJsonString(out, actions[a].Kind);
    out += ", \"version\": ";
    AppendJsonString(out, hostVersion);
    out += ", \"rules\": [";
    for (std::size_t r = 0; r < rules.size(); ++r) {
      out += r ? ",\n        {\"id\": " : "\n        {\"id\": ";
      AppendJsonString(out, rules[r].Id);
      out += ", \"shortDescription\": {\"text\": ";
      AppendJsonString(out, rules[r].Description);
      out += "}, \"properties\": {\"tool\": ";
      AppendJsonString(out, rules[r].Tool);
      out += "}}";
    }
    out += rules.empty() ? "]}},\n" : "\n      ]}},\n";
    out += "      \"automationDetails\": {\"id\": ";
    AppendJsonString(out, category + actions[a].Action + "/");
    out += "},\n";
    if (const std::string folder = collector.ProjectFolder(a); !folder.empty()) {
      out += "      \"originalUriBaseIds\": {\"PROJECTROOT\": {\"uri\": ";
      AppendJsonString(out, FolderUri(folder));
      out += "}},\n";
    }
    out += "      \"results\": [";
    bool first = true;
    collector.ForEach(a, [&](const TDiagnostic& d, std::size_t rule) {
      out += first ? "\n        " : ",\n        ";
      first = false;
      AppendResult(out, d, rules.at(rule).Id, rule);
      flush(false);
    });
    out += first ? "]\n    }" : "\n      ]\n    }";
  }
  out += actions.empty() ? "]\n}\n" : "\n  ]\n}\n";
  flush(true);
}

// ---- annotations

void WriteGitHubAnnotations(const TDiagnosticsCollector& collector,
                            const std::string& currentFolder,
                            const std::function<void(const std::string&)>& line) {
  namespace fs = std::filesystem;
  using platform::machinepath::ToFsPath;
  const auto generic = GenericText;
  const fs::path current = ToFsPath(Slashed(currentFolder)).lexically_normal();
  // Annotations beyond the limit are counted, per severity.
  std::int64_t written[3] = {0, 0, 0};
  std::int64_t left[3] = {0, 0, 0};
  const auto actions = collector.Actions();
  for (std::size_t a = 0; a < actions.size(); ++a) {
    collector.ForEach(a, [&](const TDiagnostic& d, std::size_t) {
      const auto severity = static_cast<std::size_t>(d.Severity);
      if (written[severity] >= kAnnotationsPerSeverity) {
        ++left[severity];
        return;
      }
      ++written[severity];
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
        std::string shown;
        if (file.starts_with("//")) {
          // A UNC name (//server/share/...) keeps both of its leading slashes.
          shown = file;
        } else {
          try {
            const fs::path full = ToFsPath(file).lexically_normal();
            const std::string relative = generic(full.lexically_relative(current));
            shown = relative.empty() || relative.starts_with("..") ? generic(full) : relative;
          } catch (const std::exception&) {
            // A name that is not UTF-8 (a tool wrote it) has no path form on Windows; it is
            // shown as it is.
            shown = file;
          }
        }
        properties.push_back("file=" + CommandData(shown, true));
        if (d.Line > 0) properties.push_back("line=" + std::to_string(d.Line));
        if (d.Column > 0) properties.push_back("col=" + std::to_string(d.Column));
      }
      properties.push_back("title=" + CommandData(RuleId(d), true));
      command += " ";
      for (std::size_t i = 0; i < properties.size(); ++i)
        command += (i ? "," : "") + properties[i];
      command += "::" + CommandData("[" + actions[a].Action + "] " + d.Message, false);
      line(command);
    });
  }
  if (left[0] + left[1] + left[2] > 0) {
    line("::notice title=moxtal::" + Plural(left[0], "more error") + ", " +
         Plural(left[1], "more warning") + " and " + Plural(left[2], "more note") +
         " are not annotated; the summary counts them and a SARIF log (--sarif) holds them all");
  }
}

// ---- summary

std::vector<std::string> DiagnosticsSummary(const std::vector<TActionDiagnostics>& actions) {
  std::vector<std::string> lines;
  for (const auto& action : actions) {
    const TDiagnosticCounts& counts = action.Counts;
    if (counts.Errors + counts.Warnings + counts.Notes == 0) {
      lines.push_back(action.Action + ": no errors or warnings from the tools");
      continue;
    }
    std::string line = action.Action + ": " + Plural(counts.Errors, "error") + ", " +
                       Plural(counts.Warnings, "warning");
    if (counts.Notes > 0) line += ", " + Plural(counts.Notes, "note");
    lines.push_back(line);
    const auto top = TopWarnings(action);
    if (!top.empty()) {
      std::string warnings = "  most frequent warnings:";
      for (std::size_t i = 0; i < top.size(); ++i)
        warnings +=
            std::string(i ? ", " : " ") + top[i].first + " (" + std::to_string(top[i].second) + ")";
      lines.push_back(warnings);
    }
    if (const auto& first = action.FirstError) {
      lines.push_back("  first error: " + Place(*first) +
                      (first->Code.empty() ? "" : first->Code + " ") + first->Message);
    }
  }
  return lines;
}

ordered_json DiagnosticsSummaryJson(const std::vector<TActionDiagnostics>& actions) {
  ordered_json list = ordered_json::array();
  for (const auto& action : actions) {
    ordered_json a;
    a["action"] = action.Action;
    a["errors"] = action.Counts.Errors;
    a["warnings"] = action.Counts.Warnings;
    a["notes"] = action.Counts.Notes;
    ordered_json top = ordered_json::array();
    for (const auto& [code, count] : TopWarnings(action))
      top.push_back({{"code", code}, {"count", count}});
    a["topWarnings"] = std::move(top);
    if (const auto& first = action.FirstError) {
      a["firstError"] = {{"tool", first->Tool},     {"code", first->Code},
                         {"file", first->File},     {"line", first->Line},
                         {"column", first->Column}, {"message", first->Message}};
    }
    list.push_back(std::move(a));
  }
  return ordered_json{{"summary", std::move(list)}};
}

}  // namespace mx::engine
