#include "BuildLog.h"

#include <charconv>
#include <cstring>
#include <ctime>

#include "platform/DateTimeFormat.h"
#include "platform/JsonText.h"
#include "platform/StrUtils.h"

namespace mx::engine {
namespace {

// Output is gathered and written in pieces of this size, or after this long, whichever first.
constexpr std::size_t kWriteSize = 64 * 1024;
constexpr auto kWriteDelay = std::chrono::milliseconds(50);

// Calls `part` for each piece of `line` between line breaks (CR, LF or CR LF); a final break
// adds no piece, and an empty line is one empty piece.
template <class F>
void ForEachPart(std::string_view line, F part) {
  if (line.empty()) {
    part(line);
    return;
  }
  std::size_t pos = 0;
  while (pos < line.size()) {
    const std::size_t end = platform::FindLineBreak(line, pos);
    if (end == std::string_view::npos) {
      part(line.substr(pos));
      return;
    }
    part(line.substr(pos, end - pos));
    pos = end + (line.compare(end, 2, "\r\n") == 0 ? 2 : 1);
  }
}

// The local time of `now` in `format`, computed once a second.
const std::string& Clock(std::chrono::system_clock::time_point now, std::time_t& second,
                         std::string& text, const char* format) {
  const std::time_t t = std::chrono::system_clock::to_time_t(now);
  if (t != second) {
    const std::tm tm = platform::LocalTime(t);
    char buffer[32];
    text.assign(buffer, std::strftime(buffer, sizeof buffer, format, &tm));
    second = t;
  }
  return text;
}

using platform::AppendJsonString;

}  // namespace

void TBatchedWriter::Write(std::string& text, bool force) {
  if (text.empty()) return;
  // The clock is read every few lines only; the host's regular Flush covers the quiet times.
  if (!force && text.size() < kWriteSize && ++sinceClock_ < 64) return;
  sinceClock_ = 0;
  const auto now = std::chrono::steady_clock::now();
  if (!force && text.size() < kWriteSize && now - lastWrite_ < kWriteDelay) return;
  out_.write(text.data(), static_cast<std::streamsize>(text.size()));
  out_.flush();
  text.clear();
  lastWrite_ = now;
}

// ---- Console

void TConsoleLogSink::Begin(const TLogEntryStart& entry) {
  open_[entry.Id] = TOpen{entry.Action, 0, false};
}

void TConsoleLogSink::Heading(std::uint64_t id, TOpen& open) {
  const std::size_t start = buffer_.size();
  buffer_ += Clock(std::chrono::system_clock::now(), clockSecond_, clock_, "%H:%M:%S");
  buffer_ += " [";
  buffer_ += open.Action;
  buffer_ += "] ";
  open.Indent = buffer_.size() - start;
  current_ = id;
}

void TConsoleLogSink::PrintLine(std::uint64_t id, TOpen& open, std::string_view line) {
  if (!open.HasLines || current_ != id || nameEveryLine_) {
    Heading(id, open);
  } else {
    buffer_.append(open.Indent, ' ');
  }
  buffer_ += line;
  buffer_ += '\n';
  open.HasLines = true;
}

void TConsoleLogSink::Line(std::uint64_t id, std::string_view line) {
  const auto it = open_.find(id);
  if (it == open_.end()) return;
  PrintLine(id, it->second, line);
  writer_.Write(buffer_, false);
}

void TConsoleLogSink::End(std::uint64_t id) {
  const auto it = open_.find(id);
  if (it == open_.end()) return;
  // An entry without lines still shows when it happened.
  if (!it->second.HasLines) {
    Heading(id, it->second);
    buffer_ += '\n';
  }
  open_.erase(it);
  writer_.Write(buffer_, false);
}

void TConsoleLogSink::Flush() {
  writer_.Write(buffer_, true);
}

// ---- JSON

void TJsonLogSink::Begin(const TLogEntryStart& entry) {
  std::string action;
  AppendJsonString(action, entry.Action);
  actions_[entry.Id] = std::move(action);
}

void TJsonLogSink::StartEvent(const std::string& action, std::uint64_t id) {
  // The clock is read once between two flushes of the host (a twentieth of a second apart), not
  // for every line of a tool that prints fast.
  if (clockStale_) {
    Clock(std::chrono::system_clock::now(), clockSecond_, clock_, "%Y-%m-%dT%H:%M:%S");
    clockStale_ = false;
  }
  buffer_ += "{\"time\":\"";
  buffer_ += clock_;
  buffer_ += "\",\"action\":";
  buffer_ += action;
  buffer_ += ",\"id\":";
  char number[24];
  buffer_.append(number, std::to_chars(number, number + sizeof number, id).ptr);
}

void TJsonLogSink::Line(std::uint64_t id, std::string_view line) {
  const auto it = actions_.find(id);
  if (it == actions_.end()) return;
  StartEvent(it->second, id);
  buffer_ += ",\"line\":";
  AppendJsonString(buffer_, line);
  buffer_ += "}\n";
  writer_.Write(buffer_, false);
}

void TJsonLogSink::DiagnosticLine(std::uint64_t id, std::string_view line,
                                  const TDiagnostics& diagnostics) {
  const auto it = actions_.find(id);
  if (it == actions_.end()) return;
  StartEvent(it->second, id);
  buffer_ += ",\"line\":";
  AppendJsonString(buffer_, line);
  buffer_ += ",\"diagnostics\":[";
  bool first = true;
  for (const TDiagnostic& d : diagnostics) {
    const auto text = [this](const char* name, std::string_view v) {
      buffer_ += name;
      AppendJsonString(buffer_, v);
    };
    buffer_ += first ? "" : ",";
    first = false;
    text("{\"tool\":", d.Tool);
    static constexpr const char* kSeverities[] = {"error", "warning", "note"};
    text(",\"severity\":", kSeverities[static_cast<int>(d.Severity)]);
    text(",\"code\":", d.Code);
    text(",\"file\":", d.File);
    text(",\"relativeFile\":", d.RelativeFile);
    char number[16];
    buffer_ += ",\"line\":";
    buffer_.append(number, std::to_chars(number, number + sizeof number, d.Line).ptr);
    buffer_ += ",\"column\":";
    buffer_.append(number, std::to_chars(number, number + sizeof number, d.Column).ptr);
    text(",\"message\":", d.Message);
    buffer_ += "}";
  }
  buffer_ += "]}\n";
  writer_.Write(buffer_, false);
}

void TJsonLogSink::End(std::uint64_t id) {
  const auto it = actions_.find(id);
  if (it == actions_.end()) return;
  StartEvent(it->second, id);
  buffer_ += ",\"end\":true}\n";
  actions_.erase(it);
  clockStale_ = true;
  writer_.Write(buffer_, false);
}

void TJsonLogSink::Flush() {
  writer_.Write(buffer_, true);
  clockStale_ = true;
}

// ---- Memory

void TMemoryLogSink::Begin(const TLogEntryStart& entry) {
  std::lock_guard lock(mutex_);
  open_[entry.Id] = TLogEntry{entry.Time, entry.Action, {}};
}

void TMemoryLogSink::Line(std::uint64_t id, std::string_view line) {
  std::lock_guard lock(mutex_);
  if (const auto it = open_.find(id); it != open_.end()) it->second.Lines.emplace_back(line);
}

void TMemoryLogSink::End(std::uint64_t id) {
  std::lock_guard lock(mutex_);
  const auto it = open_.find(id);
  if (it == open_.end()) return;
  entries_.push_back(std::move(it->second));
  open_.erase(it);
}

std::vector<TLogEntry> TMemoryLogSink::Entries() const {
  std::lock_guard lock(mutex_);
  return entries_;
}

std::vector<std::string> TMemoryLogSink::AllLines() const {
  std::lock_guard lock(mutex_);
  std::vector<std::string> lines;
  for (const auto& e : entries_)
    lines.insert(lines.end(), e.Lines.begin(), e.Lines.end());
  return lines;
}

void TMemoryLogSink::Clear() {
  std::lock_guard lock(mutex_);
  entries_.clear();
}

// ---- The log

void TBuildLog::AddSink(std::shared_ptr<ILogSink> sink) {
  std::lock_guard lock(mutex_);
  sinks_.push_back(std::move(sink));
}

void TBuildLog::RemoveSink(const std::shared_ptr<ILogSink>& sink) {
  std::lock_guard lock(mutex_);
  sink->Flush();
  std::erase(sinks_, sink);
}

std::uint64_t TBuildLog::Begin(const std::string& action, const std::string& kind) {
  std::lock_guard lock(mutex_);
  const TLogEntryStart entry{next_++, action, kind, std::chrono::system_clock::now()};
  for (const auto& sink : sinks_)
    sink->Begin(entry);
  return entry.Id;
}

void TBuildLog::Line(std::uint64_t id, std::string_view line) {
  std::lock_guard lock(mutex_);
  ForEachPart(line, [&](std::string_view part) {
    for (const auto& sink : sinks_)
      sink->Line(id, part);
  });
}

void TBuildLog::Line(std::uint64_t id, std::string_view line, const TDiagnostics& diagnostics) {
  if (diagnostics.empty()) {
    Line(id, line);
    return;
  }
  std::lock_guard lock(mutex_);
  if (platform::FindLineBreak(line) == std::string_view::npos) {
    for (const auto& sink : sinks_)
      sink->DiagnosticLine(id, line, diagnostics);
    return;
  }
  // A line that holds several (a tool's whole output as one entry) reaches the sinks line by
  // line, each with the diagnostics recognised in it, in order.
  std::vector<bool> given(diagnostics.size());
  ForEachPart(line, [&](std::string_view part) {
    TDiagnostics found;
    for (std::size_t i = 0; i < diagnostics.size(); ++i) {
      if (given[i] || diagnostics[i].LogLine != part) continue;
      given[i] = true;
      found.push_back(diagnostics[i]);
    }
    for (const auto& sink : sinks_) {
      if (found.empty()) {
        sink->Line(id, part);
      } else {
        sink->DiagnosticLine(id, part, found);
      }
    }
  });
}

void TBuildLog::End(std::uint64_t id) {
  std::lock_guard lock(mutex_);
  for (const auto& sink : sinks_)
    sink->End(id);
}

void TBuildLog::Write(const std::string& action, const std::vector<std::string>& lines) {
  const std::uint64_t id = Begin(action);
  for (const auto& line : lines)
    Line(id, line);
  End(id);
}

void TBuildLog::Flush() {
  std::lock_guard lock(mutex_);
  for (const auto& sink : sinks_)
    sink->Flush();
}

}  // namespace mx::engine
