#pragma once
// Child processes as the host offers them to actions.

#include <functional>
#include <memory>
#include <string>
#include <string_view>

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
};

}  // namespace mx
