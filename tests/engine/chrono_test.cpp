#include "engine/chrono.h"

#include <gtest/gtest.h>

#include <thread>

#include "support/fake_clock.h"

namespace vte {
namespace {

using test::TFakeClock;

TEST(Chrono, CountsFromStartAndKeepsTheFirstStartWhenStartedAgain) {
  TFakeClock Clock;
  TTEChrono C;
  EXPECT_TRUE(C.Stopped());
  EXPECT_EQ(C.Milliseconds(), 0);
  C.Start();
  EXPECT_FALSE(C.Stopped());
  Clock.Advance(5);
  C.Start();  // already running: the count goes on from the first start
  Clock.Advance(2.5);
  EXPECT_DOUBLE_EQ(C.Milliseconds(), 7.5);
}

TEST(Chrono, PauseHoldsTheTimeAndStartResumesFromIt) {
  TFakeClock Clock;
  TTEChrono C;
  C.Pause();  // not running: nothing to hold
  EXPECT_FALSE(C.Paused());
  C.Start();
  Clock.Advance(7);
  C.Pause();
  EXPECT_TRUE(C.Paused());
  Clock.Advance(100);
  EXPECT_DOUBLE_EQ(C.Milliseconds(), 7);
  C.Pause();  // a second pause keeps the held time
  EXPECT_DOUBLE_EQ(C.Milliseconds(), 7);
  C.Start();
  EXPECT_FALSE(C.Paused());
  Clock.Advance(3);
  EXPECT_DOUBLE_EQ(C.Milliseconds(), 10);
}

TEST(Chrono, ResetReadsZeroAndStartsAfreshNextTime) {
  TFakeClock Clock;
  TTEChrono C;
  C.Start();
  Clock.Advance(40);
  C.Reset();
  EXPECT_TRUE(C.Stopped());
  EXPECT_EQ(C.Milliseconds(), 0);
  Clock.Advance(40);
  EXPECT_EQ(C.Milliseconds(), 0);
  C.Start();
  Clock.Advance(1);
  EXPECT_DOUBLE_EQ(C.Milliseconds(), 1);

  C.Pause();
  C.Reset();  // from paused as well
  EXPECT_EQ(C.Milliseconds(), 0);
  EXPECT_TRUE(C.Stopped());
}

TEST(Chrono, RemovingTheSubstituteRestoresTheSteadyClock) {
  { TFakeClock Clock; }
  TTEChrono C;
  C.Start();
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  const double Elapsed = C.Milliseconds();
  EXPECT_GE(Elapsed, 19.0);
  EXPECT_LT(Elapsed, 2000.0);
  // Sub-millisecond resolution: two readings a moment apart differ by far less than a millisecond.
  const double A = TTEChrono::Now(), B = TTEChrono::Now();
  EXPECT_GE(B, A);
  EXPECT_LT(B - A, 0.5);
}

}  // namespace
}  // namespace vte
