#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "Event.h"
#include "Exception.h"

namespace mx::platform {

// The pipe holds one byte exactly while the event is signalled, so poll() on its read end
// tells a process wait about a stop request without any polling interval.
TEvent::TEvent(TResetMode mode, bool initiallySignalled) : mode_(mode) {
  if (::pipe2(pipe_, O_CLOEXEC | O_NONBLOCK) != 0) {
    throw Exception(std::string("Cannot create event: ") + std::strerror(errno));
  }
  if (initiallySignalled) SetEvent();
}

TEvent::~TEvent() {
  ::close(pipe_[0]);
  ::close(pipe_[1]);
}

void TEvent::DrainLocked() {
  char buffer[16];
  while (::read(pipe_[0], buffer, sizeof buffer) > 0) {
  }
}

void TEvent::SetEvent() {
  std::lock_guard lock(mutex_);
  if (!signalled_) {
    signalled_ = true;
    const char one = 1;
    [[maybe_unused]] const auto written = ::write(pipe_[1], &one, 1);
  }
  changed_.notify_all();
}

void TEvent::ResetEvent() {
  std::lock_guard lock(mutex_);
  if (signalled_) {
    signalled_ = false;
    DrainLocked();
  }
}

bool TEvent::WaitFor(std::chrono::milliseconds timeout) {
  std::unique_lock lock(mutex_);
  if (!changed_.wait_for(lock, timeout, [this] { return signalled_; })) return false;
  if (mode_ == TResetMode::Auto) {
    signalled_ = false;
    DrainLocked();
  }
  return true;
}

bool TEvent::IsSignalled() const {
  std::lock_guard lock(mutex_);
  return signalled_;
}

}  // namespace mx::platform
