#pragma once
// Child processes as the host offers them to actions.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/Event.h"
#include "platform/StringList.h"

namespace mx {

/// Receives a child's output text as it arrives.
class IMxProcessCallback {
 public:
  virtual ~IMxProcessCallback() = default;
  /// True when the callback must run on the host's main thread (the console host has none
  /// and calls it on the build thread).
  virtual bool RequiresSync() = 0;
  virtual void OnStdOutData(std::string_view text) = 0;
  virtual void OnStdErrData(std::string_view text) = 0;
};

/// A child process prepared by CreateMxProcess.
class IMxProcess {
 public:
  virtual ~IMxProcess() = default;
  /// Runs and waits; returns the exit code, 999 when the stop event ended it.
  virtual int Run() = 0;
  /// Runs and appends the captured output lines to `output`.
  virtual int Run(platform::TStringList& output) = 0;
  /// Runs and hands every captured line of output to `onLine` as the tool writes it, keeping
  /// none; the view lasts for the call.
  virtual int Run(const std::function<void(std::string_view)>& onLine) = 0;
  /// The parameters as the tool gets them, each file of the parameters named the tool's way:
  /// what the log shows. Throws mx::Exception naming a file the tool cannot be given.
  virtual std::string Parameters() = 0;
};

/// How a file of a tool's parameters is quoted once it is named the tool's way.
enum class TToolFileQuote : std::uint8_t {
  tqNone,     // as it is
  tqIfBlank,  // in double quotes when it holds a blank
  tqAlways,   // in double quotes
};

/// Everything CreateMxProcess takes, in its order.
struct TMxProcessParams {
  std::string Executable;
  std::string Parameters;
  bool HideWindow = true;
  bool WaitForExit = true;
  std::string WorkingDirectory;
  platform::TEvent* StopEvent = nullptr;
  bool CaptureStdOut = true;
  bool CaptureStdErr = true;
  std::shared_ptr<IMxProcessCallback> Callback;
  /// The files of this machine that the parameters name through ToolFile, in its order.
  std::vector<std::pair<std::string, TToolFileQuote>> Files;
  /// What the tool's environment has besides this program's: a variable set, or (nullopt)
  /// removed. This program's own environment never changes for a tool.
  std::vector<std::pair<std::string, std::optional<std::string>>> Environment;
};

/// Puts the file `machinePath` (a path of this machine) into a tool's parameters: returns the
/// text that stands for it, which the host replaces with the file's name as the tool sees it (a
/// Windows name for a tool run through Wine), quoted as asked, where it builds the command line.
inline std::string ToolFile(TMxProcessParams& params, std::string_view machinePath,
                            TToolFileQuote quote = TToolFileQuote::tqNone) {
  params.Files.emplace_back(std::string(machinePath), quote);
  // A character no file name or option holds marks the place.
  return "\x1E" + std::to_string(params.Files.size() - 1) + "\x1E";
}

}  // namespace mx
