#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "Exception.h"

namespace mx::platform {

class TEvent;
class TStringList;

/// The exit code reported for a child that was ended because its stop event was signalled.
constexpr int kExitCodeTerminated = 999;

/// A child process could not be started.
class EProcessError : public Exception {
 public:
  using Exception::Exception;
};

/// One child process to run. No shell is involved: `Parameters` is split with the Windows
/// command-line rules (on Windows it is passed on as it stands).
struct TProcessRequest {
  std::string Executable;
  std::string Parameters;
  /// Folder the child starts in; empty for the current folder.
  std::string WorkingDirectory;
  /// When signalled while the child runs, the child and every process it started are ended.
  TEvent* StopEvent = nullptr;
  /// Receives every complete line of standard output and standard error, as it arrives.
  TStringList* Output = nullptr;
  /// Receives the same lines as they arrive, without keeping them; the view lasts for the call.
  std::function<void(std::string_view)> OnLine;
  /// Says, by the program a leftover process runs (its command line's first word), whether it may
  /// outlive a child that ends by itself: the shared services of a runtime that end on their own
  /// once nothing uses them (Wine's server and system processes). A stop ends them all the same.
  /// None: nothing outlives the child. (Where a job object holds the child, as on Windows, nothing
  /// does.)
  std::function<bool(std::string_view program)> MayOutlive;
  /// Receive the raw text of standard output and standard error as it arrives.
  std::function<void(std::string_view)> OnStdOut;
  std::function<void(std::string_view)> OnStdErr;
  /// What the child's environment has that this program's has not: a variable set to a value,
  /// or (nullopt) removed. This program's own environment is left alone, so that tools of
  /// builds that run at once each get their own.
  std::vector<std::pair<std::string, std::optional<std::string>>> Environment;
  /// Start the child with its address space laid out without randomisation (Linux; ignored
  /// elsewhere). A Wine loader that runs without a preloader needs it: a randomly placed heap
  /// now and then takes the address Windows programs expect their shared data at, and the
  /// program ends as it starts.
  bool FixedAddressLayout = false;
};

/// Runs the child and waits for it. Returns its exit code, or kExitCodeTerminated when the stop
/// event ended it. When the child ends, anything it started and left running is ended too.
/// Throws EProcessError 'Cannot run "<executable>": <reason>' when it cannot be started.
int RunProcess(const TProcessRequest& request);

/// Cuts a stream of text into lines at CR LF, LF or a lone CR, holding back an incomplete line
/// until more text or Flush arrives. A line longer than kMaxLineLength is delivered in pieces of
/// at most that length (not splitting a UTF-8 sequence), so that a tool that never ends a line
/// costs no more memory than one that does. A line's view lasts for the call that receives it.
class TLineSplitter {
 public:
  static constexpr std::size_t kMaxLineLength = 64 * 1024;

  explicit TLineSplitter(std::function<void(std::string_view)> onLine)
      : onLine_(std::move(onLine)) {}
  void Feed(std::string_view text);
  /// Delivers a pending incomplete line, if any.
  void Flush();

 private:
  /// Delivers `line` in pieces of at most kMaxLineLength; returns how much of it went out when
  /// `whole` is false, which keeps back a last piece shorter than the limit.
  std::size_t Deliver(std::string_view line, bool whole);

  std::function<void(std::string_view)> onLine_;
  std::string pending_;
  bool afterCR_ = false;
};

}  // namespace mx::platform
