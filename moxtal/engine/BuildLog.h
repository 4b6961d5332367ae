#pragma once

#include <chrono>
#include <memory>
#include <mutex>
#include <ostream>
#include <string>
#include <vector>

namespace mx::engine {

/// One entry of the build log: when, which action (the name the user gave it), and its lines.
struct TLogEntry {
  std::chrono::system_clock::time_point Time;
  std::string Action;
  std::vector<std::string> Lines;
};

class ILogSink {
 public:
  virtual ~ILogSink() = default;
  virtual void Write(const TLogEntry& entry) = 0;
};

/// Readable text: "hh:mm:ss [action] first line", further lines indented below it.
class TConsoleLogSink : public ILogSink {
 public:
  explicit TConsoleLogSink(std::ostream& out) : out_(out) {}
  void Write(const TLogEntry& entry) override;

 private:
  std::ostream& out_;
};

/// One JSON object per entry and line of output: {"time": ..., "action": ..., "lines": [...]}.
class TJsonLogSink : public ILogSink {
 public:
  explicit TJsonLogSink(std::ostream& out) : out_(out) {}
  void Write(const TLogEntry& entry) override;

 private:
  std::ostream& out_;
};

/// Keeps every entry, for tests and for callers that inspect the log.
class TMemoryLogSink : public ILogSink {
 public:
  void Write(const TLogEntry& entry) override;
  std::vector<TLogEntry> Entries() const;
  /// Every line of every entry, in order.
  std::vector<std::string> AllLines() const;
  void Clear();

 private:
  mutable std::mutex mutex_;
  std::vector<TLogEntry> entries_;
};

/// The host's build log: entries go to every attached sink, one entry at a time.
class TBuildLog {
 public:
  void AddSink(std::shared_ptr<ILogSink> sink);
  void RemoveSink(const std::shared_ptr<ILogSink>& sink);
  void Write(const std::string& action, std::vector<std::string> lines);

 private:
  std::mutex mutex_;
  std::vector<std::shared_ptr<ILogSink>> sinks_;
};

}  // namespace mx::engine
