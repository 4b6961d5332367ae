#include "Pipeline.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <set>
#include <sstream>

#include <nlohmann/json.hpp>

#include "platform/StrUtils.h"

namespace mx::engine {

namespace {

// A YAML double-quoted scalar: JSON's string escapes are YAML's too.
// Everything outside printable ASCII is escaped: YAML readers refuse some control characters
// and fold others (NEL) into blanks.
std::string Quoted(const std::string& text) {
  return nlohmann::json(text).dump(-1, ' ', true, nlohmann::json::error_handler_t::replace);
}

// A word for PowerShell or a POSIX shell, in single quotes.
std::string ShellWord(const std::string& text, bool posix) {
  if (posix) return "'" + platform::ReplaceAll(text, "'", "'\\''") + "'";
  // PowerShell ends a single-quoted string at any of the typographic single quotes too; each is
  // doubled, as the plain one is.
  std::string word = platform::ReplaceAll(text, "'", "''");
  for (const char* quote : {"\xE2\x80\x98", "\xE2\x80\x99", "\xE2\x80\x9A", "\xE2\x80\x9B"})
    word = platform::ReplaceAll(word, quote, std::string(quote) + quote);
  return "'" + word + "'";
}

std::string RunCommand(const TPlan& plan, const TPlannedJob& job, const TPlanOptions& options,
                       bool posix) {
  std::string command = "moxtal run " + ShellWord(plan.Script, posix) + " --action " +
                        ShellWord(job.Action, posix) + " --sarif " +
                        ShellWord(SarifFile(job), posix);
  if (!options.WinePrefix.empty())
    command += " --wine-prefix " + ShellWord(options.WinePrefix, posix);
  return command;
}

// The folder an artifact of `outputs` unpacks into so that each file is where the project
// expects it: an upload of several files is rooted at the deepest folder that holds them all.
std::string ArtifactRoot(const std::vector<std::string>& outputs) {
  std::vector<std::string> common;
  bool first = true;
  for (const auto& output : outputs) {
    std::vector<std::string> parts = platform::SplitList(output, '/');
    parts.pop_back();  // the file's own name
    if (first) {
      common = parts;
      first = false;
      continue;
    }
    std::size_t n = 0;
    while (n < common.size() && n < parts.size() && common[n] == parts[n])
      ++n;
    common.resize(n);
  }
  std::string root;
  for (const auto& part : common)
    root += (root.empty() ? "" : "/") + part;
  return root.empty() ? "." : root;
}

std::string Joined(const std::vector<std::string>& lines) {
  std::string text;
  for (const auto& line : lines)
    text += (text.empty() ? "" : "\n") + line;
  return text;
}

// The marker of the line of a planned file that records its options.
constexpr std::string_view kOptionsMarker = "# moxtal plan options: ";

std::string Header(const TPlan& plan, const TPlanOptions& options, const char* format) {
  return "# Planned by moxtal from " + plan.Script +
         ": one job per action, in the order its dependencies give.\n"
         "# Plan it again when the script's actions or their dependencies change:\n"
         "#   " +
         PlanCommandLine(plan, options, format, "FILE") +
         "\n"
         "# and add --check FILE to fail when FILE is stale.\n" +
         std::string(kOptionsMarker) + PlanOptionsJson(options) + "\n";
}

// A word of a command line a person copies into a POSIX shell or PowerShell alike.
std::string CommandWord(const std::string& word) {
  const bool plain = !word.empty() && std::all_of(word.begin(), word.end(), [](char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || std::strchr("-_./:=@+,", c);
  });
  return plain ? word : ShellWord(word, true);
}
}  // namespace

std::string PlanOptionsJson(const TPlanOptions& options) {
  const nlohmann::ordered_json json{
      {"runsOn", options.RunsOn}, {"winePrefix", options.WinePrefix}, {"actions", options.Actions}};
  return json.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

std::optional<TPlanOptions> RecordedPlanOptions(const std::string& plannedText) {
  nlohmann::json json;
  const auto marker = plannedText.find(kOptionsMarker);
  try {
    if (marker != std::string::npos) {
      const auto start = marker + kOptionsMarker.size();
      json =
          nlohmann::json::parse(plannedText.substr(start, plannedText.find('\n', start) - start));
    } else {
      json = nlohmann::json::parse(plannedText).at("options");
    }
    return TPlanOptions{json.at("runsOn").get<std::vector<std::string>>(),
                        json.at("winePrefix").get<std::string>(),
                        json.at("actions").get<std::vector<std::string>>()};
  } catch (const nlohmann::json::exception&) {
    return std::nullopt;  // a file planned otherwise, or edited by hand
  }
}

std::string PlanCommandLine(const TPlan& plan, const TPlanOptions& options, const char* format,
                            const std::string& file) {
  std::string command = "moxtal plan " + CommandWord(plan.Script) + " --format " + format;
  for (const auto& action : options.Actions)
    command += " --action " + CommandWord(action);
  for (const auto& label : options.RunsOn)
    command += " --runs-on " + CommandWord(label);
  if (!options.WinePrefix.empty()) command += " --wine-runners " + CommandWord(options.WinePrefix);
  return command + " --out " + CommandWord(file);
}

std::string SarifFile(const TPlannedJob& job) {
  return "moxtal-" + job.Id + ".sarif";
}

std::vector<std::string> JobIds(const std::vector<std::string>& names) {
  // GitLab's top-level keywords, which it reads as the pipeline's own rather than as a job (one
  // of them declares the pipeline's inputs); a job named like one gets another id.
  static const std::set<std::string> kReserved{
      "after_script", "before_script", "cache", "default", "image",     "include",
      "pages",        "services",      "spec",  "stages",  "variables", "workflow"};
  std::vector<std::string> ids;
  std::set<std::string> taken;
  for (const auto& name : names) {
    std::string id;
    for (const char c : platform::LowerCase(name)) {
      const bool word = (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' || c == '-';
      if (word) {
        id += c;
      } else if (!id.empty() && id.back() != '-') {
        id += '-';
      }
    }
    while (!id.empty() && id.back() == '-')
      id.pop_back();
    if (id.empty() || !((id[0] >= 'a' && id[0] <= 'z') || id[0] == '_')) id = "build-" + id;
    if (id.back() == '-') id.pop_back();
    if (kReserved.contains(id)) id += "-build";
    std::string unique = id;
    for (int n = 2; taken.contains(unique); ++n)
      unique = id + "-" + std::to_string(n);
    taken.insert(unique);
    ids.push_back(unique);
  }
  return ids;
}

std::string GitHubWorkflow(const TPlan& plan, const TPlanOptions& options) {
  const bool posix = !options.WinePrefix.empty();
  std::ostringstream out;
  out << Header(plan, options, "github") << "name: " << Quoted("moxtal " + plan.Script) << "\n"
      << "\"on\":\n  push:\n  pull_request:\n  workflow_dispatch:\n"
      << "permissions:\n  contents: read\n  actions: read\n  security-events: write\n"
      << "jobs:\n";
  for (const auto& job : plan.Jobs) {
    out << "  " << Quoted(job.Id) << ":\n    name: " << Quoted(job.Action) << "\n";
    if (!job.Needs.empty()) {
      out << "    needs:\n";
      for (const auto n : job.Needs)
        out << "      - " << Quoted(plan.Jobs[n].Id) << "\n";
    }
    out << "    runs-on:\n";
    for (const auto& label : options.RunsOn)
      out << "      - " << Quoted(label) << "\n";
    out << "    defaults:\n      run:\n        shell: " << (posix ? "bash" : "pwsh") << "\n"
        << "    steps:\n      - uses: actions/checkout@v4\n";
    for (const auto n : job.Needs) {
      const TPlannedJob& need = plan.Jobs[n];
      if (need.Outputs.empty()) continue;
      out << "      - name: " << Quoted("Take the outputs of " + need.Action) << "\n"
          << "        uses: actions/download-artifact@v4\n        with:\n"
          << "          name: " << Quoted("moxtal-" + need.Id) << "\n"
          << "          path: " << Quoted(ArtifactRoot(need.Outputs)) << "\n";
    }
    out << "      - name: " << Quoted("Build " + job.Action) << "\n"
        << "        run: " << Quoted(RunCommand(plan, job, options, posix)) << "\n"
        << "      - name: " << Quoted("Show the diagnostics of " + job.Action) << "\n"
        << "        if: always() && hashFiles('" << SarifFile(job) << "') != ''\n"
        << "        uses: github/codeql-action/upload-sarif@v3\n        with:\n"
        << "          sarif_file: " << Quoted(SarifFile(job)) << "\n"
        << "          category: " << Quoted("moxtal/" + plan.Script + "/" + job.Action + "/")
        << "\n";
    if (!job.Outputs.empty()) {
      out << "      - name: " << Quoted("Hand on the outputs of " + job.Action) << "\n"
          << "        uses: actions/upload-artifact@v4\n        with:\n"
          << "          name: " << Quoted("moxtal-" + job.Id) << "\n"
          << "          path: " << Quoted(Joined(job.Outputs)) << "\n"
          << "          if-no-files-found: error\n";
    }
  }
  return out.str();
}

std::string GitLabPipeline(const TPlan& plan, const TPlanOptions& options) {
  const bool posix = !options.WinePrefix.empty();
  std::ostringstream out;
  out << Header(plan, options, "gitlab") << "stages:\n  - build\n";
  for (const auto& job : plan.Jobs) {
    out << Quoted(job.Id) << ":\n  stage: build\n  tags:\n";
    for (const auto& label : options.RunsOn)
      out << "    - " << Quoted(label) << "\n";
    // Without needs a job waits for its stage; with an empty list it starts at once.
    out << "  needs:" << (job.Needs.empty() ? " []\n" : "\n");
    for (const auto n : job.Needs)
      out << "    - job: " << Quoted(plan.Jobs[n].Id) << "\n      artifacts: true\n";
    out << "  script:\n    - " << Quoted(RunCommand(plan, job, options, posix)) << "\n"
        << "  artifacts:\n    when: always\n    paths:\n";
    for (const auto& output : job.Outputs)
      out << "      - " << Quoted(output) << "\n";
    out << "      - " << Quoted(SarifFile(job)) << "\n";
  }
  return out.str();
}

std::string PlanJson(const TPlan& plan, const TPlanOptions& options) {
  nlohmann::ordered_json actions = nlohmann::ordered_json::array();
  for (const auto& job : plan.Jobs) {
    nlohmann::ordered_json needs = nlohmann::ordered_json::array();
    for (const auto n : job.Needs)
      needs.push_back(plan.Jobs[n].Action);
    actions.push_back({{"name", job.Action},
                       {"job", job.Id},
                       {"needs", std::move(needs)},
                       {"level", job.Level},
                       {"project", job.Project},
                       {"outputs", job.Outputs},
                       {"sarif", SarifFile(job)}});
  }
  const nlohmann::ordered_json plan_{
      {"script", plan.Script},
      {"options", nlohmann::ordered_json::parse(PlanOptionsJson(options))},
      {"actions", std::move(actions)}};
  return plan_.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
}

std::string ShortDiff(const std::string& was, const std::string& now, std::size_t limit) {
  const auto lines = [](const std::string& text) {
    std::vector<std::string> list;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
      list.push_back(line);
    return list;
  };
  const auto a = lines(was);
  const auto b = lines(now);
  // The lines both keep, by the longest common subsequence after the common start and end.
  std::size_t head = 0;
  while (head < a.size() && head < b.size() && a[head] == b[head])
    ++head;
  std::size_t tail = 0;
  while (tail < a.size() - head && tail < b.size() - head &&
         a[a.size() - 1 - tail] == b[b.size() - 1 - tail])
    ++tail;
  const std::size_t n = a.size() - head - tail;
  const std::size_t m = b.size() - head - tail;
  if (n == 0 && m == 0) return {};
  std::vector<std::string> diff;
  if (n * m > 4'000'000) {
    diff.push_back("-" + std::to_string(head + 1) + ": " + a[head]);
    diff.push_back("+" + std::to_string(head + 1) + ": " + b[head]);
  } else {
    std::vector<std::vector<std::uint32_t>> common(n + 1, std::vector<std::uint32_t>(m + 1));
    for (std::size_t i = n; i-- > 0;) {
      for (std::size_t j = m; j-- > 0;) {
        common[i][j] = a[head + i] == b[head + j] ? common[i + 1][j + 1] + 1
                                                  : std::max(common[i + 1][j], common[i][j + 1]);
      }
    }
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < n || j < m) {
      if (i < n && j < m && a[head + i] == b[head + j]) {
        ++i;
        ++j;
      } else if (i < n && (j == m || common[i + 1][j] >= common[i][j + 1])) {
        diff.push_back("-" + std::to_string(head + i + 1) + ": " + a[head + i]);
        ++i;
      } else {
        diff.push_back("+" + std::to_string(head + j + 1) + ": " + b[head + j]);
        ++j;
      }
    }
  }
  std::string text;
  for (std::size_t k = 0; k < diff.size() && k < limit; ++k)
    text += diff[k] + "\n";
  if (diff.size() > limit) text += "... and " + std::to_string(diff.size() - limit) + " more\n";
  return text;
}

}  // namespace mx::engine
