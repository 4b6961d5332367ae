#pragma once
// The host's build log. An entry belongs to an action and holds lines; the lines reach the sinks
// as they are added, and the entry is closed when its action sends it. Sinks keep nothing after
// writing it, so a tool that prints a gigabyte costs no memory.

#include <chrono>
#include <cstdint>
#include <ctime>
#include <map>
#include <memory>
#include <mutex>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "moxtal/api/Diagnostics.h"

namespace mx::engine {

/// An entry as it opens: its number, the action (the name the user gave it) and when.
struct TLogEntryStart {
  std::uint64_t Id = 0;
  std::string Action;
  /// The kind of action ("Compile C++Builder Project"); "" for the host's own entries.
  std::string Kind;
  std::chrono::system_clock::time_point Time;
};

/// A whole entry, for the sinks that keep them (tests).
struct TLogEntry {
  std::chrono::system_clock::time_point Time;
  std::string Action;
  std::vector<std::string> Lines;
};

class ILogSink {
 public:
  virtual ~ILogSink() = default;
  virtual void Begin(const TLogEntryStart& entry) = 0;
  /// A line of an open entry; the view lasts for the call.
  virtual void Line(std::uint64_t id, std::string_view line) = 0;
  /// A line in which tools' diagnostics were recognised; by default it is just the line.
  virtual void DiagnosticLine(std::uint64_t id, std::string_view line,
                              const TDiagnostics& /*diagnostics*/) {
    Line(id, line);
  }
  virtual void End(std::uint64_t id) = 0;
  /// Writes out what the sink holds back; the host calls it often enough that a line reaches
  /// the reader within a tenth of a second.
  virtual void Flush() {}
};

/// Writes a sink's text in batches: when 64 KB are held, when 50 ms have passed since the last
/// write, or when forced; a tool that prints fast costs few writes, a slow one loses no time.
class TBatchedWriter {
 public:
  explicit TBatchedWriter(std::ostream& out) : out_(out) {}
  /// Writes and empties `text` when its batch is due (always when `force`).
  void Write(std::string& text, bool force);

 private:
  std::ostream& out_;
  std::chrono::steady_clock::time_point lastWrite_ = std::chrono::steady_clock::now();
  int sinceClock_ = 0;
};

/// Readable text: "hh:mm:ss [action] first line", further lines indented below it. A heading is
/// printed with an entry's first line, and again when another entry's lines came in between;
/// with `nameEveryLine` (actions that run at once) every line has its heading.
class TConsoleLogSink : public ILogSink {
 public:
  explicit TConsoleLogSink(std::ostream& out, bool nameEveryLine = false)
      : writer_(out), nameEveryLine_(nameEveryLine) {}
  ~TConsoleLogSink() override { Flush(); }
  void Begin(const TLogEntryStart& entry) override;
  void Line(std::uint64_t id, std::string_view line) override;
  void End(std::uint64_t id) override;
  void Flush() override;

 private:
  struct TOpen {
    std::string Action;
    std::size_t Indent = 0;
    bool HasLines = false;
  };
  void PrintLine(std::uint64_t id, TOpen& open, std::string_view line);
  void Heading(std::uint64_t id, TOpen& open);

  TBatchedWriter writer_;
  bool nameEveryLine_;
  std::map<std::uint64_t, TOpen> open_;
  std::uint64_t current_ = 0;  // the entry whose heading was printed last
  std::string buffer_;
  std::time_t clockSecond_ = -1;
  std::string clock_;  // "hh:mm:ss " of clockSecond_
};

/// JSON lines: {"time":...,"action":...,"id":N,"line":...} for every line (with
/// "diagnostics":[...] on a line that holds any), then {"time":...,"action":...,"id":N,
/// "end":true} when the entry is sent. Text that is not UTF-8 has its bad bytes replaced by
/// U+FFFD.
class TJsonLogSink : public ILogSink {
 public:
  explicit TJsonLogSink(std::ostream& out) : writer_(out) {}
  ~TJsonLogSink() override { Flush(); }
  void Begin(const TLogEntryStart& entry) override;
  void Line(std::uint64_t id, std::string_view line) override;
  void DiagnosticLine(std::uint64_t id, std::string_view line,
                      const TDiagnostics& diagnostics) override;
  void End(std::uint64_t id) override;
  void Flush() override;

 private:
  /// Starts an event of entry `id` of `action` (JSON text): its time, action and number.
  void StartEvent(const std::string& action, std::uint64_t id);

  TBatchedWriter writer_;
  std::map<std::uint64_t, std::string> actions_;  // the JSON text of each open entry's action
  std::string buffer_;
  std::time_t clockSecond_ = -1;
  std::string clock_;
  bool clockStale_ = true;
};

/// Keeps every entry, whole, in the order the entries were sent: for tests and for callers that
/// inspect the log.
class TMemoryLogSink : public ILogSink {
 public:
  void Begin(const TLogEntryStart& entry) override;
  void Line(std::uint64_t id, std::string_view line) override;
  void End(std::uint64_t id) override;
  std::vector<TLogEntry> Entries() const;
  /// Every line of every entry, in order.
  std::vector<std::string> AllLines() const;
  void Clear();

 private:
  mutable std::mutex mutex_;
  std::map<std::uint64_t, TLogEntry> open_;
  std::vector<TLogEntry> entries_;
};

/// The host's build log: entries go to every attached sink. A line that holds line breaks (CR
/// LF, LF or a lone CR) reaches the sinks as one line each.
class TBuildLog {
 public:
  void AddSink(std::shared_ptr<ILogSink> sink);
  void RemoveSink(const std::shared_ptr<ILogSink>& sink);
  /// Opens an entry of `action` (of kind `kind`); returns its number.
  std::uint64_t Begin(const std::string& action, const std::string& kind = "");
  void Line(std::uint64_t id, std::string_view line);
  void Line(std::uint64_t id, std::string_view line, const TDiagnostics& diagnostics);
  void End(std::uint64_t id);
  /// A whole entry at once.
  void Write(const std::string& action, const std::vector<std::string>& lines);
  void Flush();

 private:
  std::mutex mutex_;
  std::vector<std::shared_ptr<ILogSink>> sinks_;
  std::uint64_t next_ = 1;
};

}  // namespace mx::engine
