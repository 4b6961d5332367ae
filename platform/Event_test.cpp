#include "Event.h"

#include <gtest/gtest.h>

#include <thread>

using namespace mx::platform;
using namespace std::chrono_literals;

TEST(EventTest, ManualResetStaysSignalledUntilReset) {
  TEvent e(TEvent::TResetMode::Manual);
  EXPECT_FALSE(e.TryWait());
  e.SetEvent();
  EXPECT_TRUE(e.TryWait());
  EXPECT_TRUE(e.WaitFor(0ms));
  EXPECT_TRUE(e.IsSignalled());
  e.ResetEvent();
  EXPECT_FALSE(e.WaitFor(20ms));
}

TEST(EventTest, AutoResetReleasesOneWait) {
  TEvent e(TEvent::TResetMode::Auto, true);
  EXPECT_TRUE(e.IsSignalled());  // looking does not consume
  EXPECT_TRUE(e.TryWait());
  EXPECT_FALSE(e.TryWait());
}

TEST(EventTest, SignalFromAnotherThreadWakesWaiter) {
  TEvent e;
  std::thread t([&] {
    std::this_thread::sleep_for(50ms);
    e.SetEvent();
  });
  const auto start = std::chrono::steady_clock::now();
  EXPECT_TRUE(e.WaitFor(10s));
  EXPECT_LT(std::chrono::steady_clock::now() - start, 5s);
  t.join();
}
