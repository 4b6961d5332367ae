#include <signal.h>

#include <atomic>
#include <cstdlib>

#include "StopRequests.h"

namespace mx::platform {
namespace {

std::atomic<int> requests{0};
std::atomic<int> firstSignal{0};
constexpr int kStopSignals[] = {SIGINT, SIGTERM, SIGHUP};

extern "C" void CountStopRequest(int signal) {
  int none = 0;
  firstSignal.compare_exchange_strong(none, signal);
  requests.fetch_add(1);
}

}  // namespace

void InstallStopRequestHandlers() {
  requests = 0;
  firstSignal = 0;
  for (const int signal : kStopSignals)
    ::signal(signal, CountStopRequest);
}

void RemoveStopRequestHandlers() {
  for (const int signal : kStopSignals)
    ::signal(signal, SIG_DFL);
}

int StopRequestCount() {
  return requests.load();
}

int StopExitStatus() {
  const int signal = firstSignal.load();
  return 128 + (signal != 0 ? signal : SIGINT);
}

void EndByInterrupt() {
  RemoveStopRequestHandlers();
  ::raise(SIGINT);
  std::_Exit(130);
}

void TreatFileSizeLimitAsWriteError() {
  ::signal(SIGXFSZ, SIG_IGN);
}

}  // namespace mx::platform
