#include <windows.h>

#include "Event.h"
#include "Exception.h"

namespace mx::platform {

TEvent::TEvent(TResetMode mode, bool initiallySignalled) : mode_(mode) {
  handle_ = ::CreateEventW(nullptr, mode == TResetMode::Manual ? TRUE : FALSE,
                           initiallySignalled ? TRUE : FALSE, nullptr);
  if (handle_ == nullptr) {
    throw Exception("Cannot create event: error " + std::to_string(::GetLastError()));
  }
}

TEvent::~TEvent() {
  ::CloseHandle(static_cast<HANDLE>(handle_));
}

void TEvent::SetEvent() {
  ::SetEvent(static_cast<HANDLE>(handle_));
}

void TEvent::ResetEvent() {
  ::ResetEvent(static_cast<HANDLE>(handle_));
}

bool TEvent::WaitFor(std::chrono::milliseconds timeout) {
  const auto ms = static_cast<DWORD>(timeout.count());
  return ::WaitForSingleObject(static_cast<HANDLE>(handle_), ms) == WAIT_OBJECT_0;
}

bool TEvent::IsSignalled() const {
  if (mode_ == TResetMode::Manual) {
    return ::WaitForSingleObject(static_cast<HANDLE>(handle_), 0) == WAIT_OBJECT_0;
  }
  // Looking at an auto-reset event resets it; put the signal back.
  if (::WaitForSingleObject(static_cast<HANDLE>(handle_), 0) != WAIT_OBJECT_0) return false;
  ::SetEvent(static_cast<HANDLE>(handle_));
  return true;
}

}  // namespace mx::platform
