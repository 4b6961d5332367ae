#include <windows.h>

#include <atomic>
#include <csignal>
#include <cstdlib>

#include "StopRequests.h"

namespace mx::platform {
namespace {

std::atomic<int> requests{0};

BOOL WINAPI CountStopRequest(DWORD event) {
  switch (event) {
    case CTRL_C_EVENT:
    case CTRL_BREAK_EVENT:
    case CTRL_CLOSE_EVENT:
    case CTRL_LOGOFF_EVENT:
    case CTRL_SHUTDOWN_EVENT:
      requests.fetch_add(1);
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

void InstallStopRequestHandlers() {
  requests = 0;
  ::SetConsoleCtrlHandler(CountStopRequest, TRUE);
}

void RemoveStopRequestHandlers() {
  ::SetConsoleCtrlHandler(CountStopRequest, FALSE);
}

int StopRequestCount() {
  return requests.load();
}

int StopExitStatus() {
  return static_cast<int>(STATUS_CONTROL_C_EXIT);
}

void EndByInterrupt() {
  RemoveStopRequestHandlers();
  // The exit status of a console program ended by Ctrl+C.
  ::ExitProcess(STATUS_CONTROL_C_EXIT);
}

void TreatFileSizeLimitAsWriteError() {}

}  // namespace mx::platform
