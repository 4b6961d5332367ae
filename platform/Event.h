#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace mx::platform {

/// A waitable event shared between threads: the build thread waits on it (directly or while a
/// child process runs), any other thread signals it.
///
/// A manual-reset event stays signalled until ResetEvent; an auto-reset event is reset by the
/// one wait that sees it signalled. The process runner watches an event through its native
/// handle, so signalling it wakes a process wait at once.
class TEvent {
 public:
  enum class TResetMode { Manual, Auto };

  explicit TEvent(TResetMode mode = TResetMode::Manual, bool initiallySignalled = false);
  ~TEvent();
  TEvent(const TEvent&) = delete;
  TEvent& operator=(const TEvent&) = delete;

  void SetEvent();
  void ResetEvent();
  /// Waits until the event is signalled or the timeout passes; true when it was signalled.
  bool WaitFor(std::chrono::milliseconds timeout);
  /// WaitFor with no wait at all.
  bool TryWait() { return WaitFor(std::chrono::milliseconds(0)); }
  /// True while signalled, without resetting an auto-reset event.
  bool IsSignalled() const;
  TResetMode Mode() const { return mode_; }

#ifdef _WIN32
  /// The Windows event handle (a HANDLE).
  void* NativeHandle() const {
    return handle_;
  }
#else
  /// A descriptor that polls readable while the event is signalled.
  int PollDescriptor() const {
    return pipe_[0];
  }
#endif

 private:
  TResetMode mode_;
#ifdef _WIN32
  void* handle_ = nullptr;
#else
  void DrainLocked();
  mutable std::mutex mutex_;
  std::condition_variable changed_;
  bool signalled_ = false;
  int pipe_[2] = {-1, -1};
#endif
};

}  // namespace mx::platform
