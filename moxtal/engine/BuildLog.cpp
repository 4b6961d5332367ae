#include "BuildLog.h"

#include <ctime>
#include <iomanip>
#include <sstream>

#include <nlohmann/json.hpp>

#include "platform/DateTimeFormat.h"
#include "platform/StringList.h"

namespace mx::engine {

void TConsoleLogSink::Write(const TLogEntry& entry) {
  const std::tm tm = platform::LocalTime(std::chrono::system_clock::to_time_t(entry.Time));
  std::ostringstream prefix;
  prefix << std::put_time(&tm, "%H:%M:%S") << " [" << entry.Action << "] ";
  const std::string head = prefix.str();
  const std::string indent(head.size(), ' ');
  // A line that holds line breaks of its own (a tool's whole output) prints as several.
  bool first = true;
  for (const auto& line : entry.Lines) {
    const platform::TStringList parts(line);
    for (const auto& part : parts) {
      out_ << (first ? head : indent) << part << '\n';
      first = false;
    }
    if (line.empty()) {
      out_ << (first ? head : indent) << '\n';
      first = false;
    }
  }
  if (first) out_ << head << '\n';
  out_.flush();
}

void TJsonLogSink::Write(const TLogEntry& entry) {
  const std::tm tm = platform::LocalTime(std::chrono::system_clock::to_time_t(entry.Time));
  std::ostringstream time;
  time << std::put_time(&tm, "%Y-%m-%dT%H:%M:%S");
  // Tool output need not be valid UTF-8; replace what is not rather than fail.
  const nlohmann::json object = {
      {"time", time.str()}, {"action", entry.Action}, {"lines", entry.Lines}};
  out_ << object.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) << '\n';
  out_.flush();
}

void TMemoryLogSink::Write(const TLogEntry& entry) {
  std::lock_guard lock(mutex_);
  entries_.push_back(entry);
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

void TBuildLog::AddSink(std::shared_ptr<ILogSink> sink) {
  std::lock_guard lock(mutex_);
  sinks_.push_back(std::move(sink));
}

void TBuildLog::RemoveSink(const std::shared_ptr<ILogSink>& sink) {
  std::lock_guard lock(mutex_);
  std::erase(sinks_, sink);
}

void TBuildLog::Write(const std::string& action, std::vector<std::string> lines) {
  const TLogEntry entry{std::chrono::system_clock::now(), action, std::move(lines)};
  std::lock_guard lock(mutex_);
  for (const auto& sink : sinks_)
    sink->Write(entry);
}

}  // namespace mx::engine
