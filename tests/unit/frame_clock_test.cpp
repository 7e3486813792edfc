// The frame clock and the 10 ms pacing wait, on a fake counter.
#include "app/clock_source.h"
#include "app/frame_clock.h"

#include <gtest/gtest.h>

namespace {

int64_t  fakeTicks    = 0; // microseconds
int64_t  ticksPerRead = 0; // the counter moves on by this at every read
uint32_t fakeTimer    = 0;
double   sleptMs      = 0;
int      reads        = 0;

int64_t fakeNow()
{
    ++reads;
    fakeTicks += ticksPerRead;
    return fakeTicks;
}
int64_t  fakeFrequency() { return 1000000; }
int64_t  noCounter() { return 0; }
uint32_t fakeMilliseconds() { return fakeTimer; }
void     fakeSleep(double ms)
{
    sleptMs += ms;
    fakeTicks += static_cast<int64_t>(ms * 1000);
}

class FrameClockTest : public ::testing::Test {
  protected:
    void SetUp() override
    {
        saved                        = clockSource;
        clockSource.counterNow       = fakeNow;
        clockSource.counterFrequency = fakeFrequency;
        clockSource.millisecondTimer = fakeMilliseconds;
        clockSource.sleepMs          = fakeSleep;
        clockSource.realTime         = true;
        fakeTicks                    = 5000000;
        ticksPerRead                 = 0;
        fakeTimer                    = 0;
        sleptMs                      = 0;
        reads                        = 0;
        frameClock                   = FrameClock{};
    }
    void TearDown() override
    {
        clockSource = saved;
        frameClock  = FrameClock{};
    }
    ClockSource saved{};
};

TEST_F(FrameClockTest, ReadsZeroUntilStartedThenMilliseconds)
{
    fakeTimer = 123456;
    EXPECT_EQ(readFrameClock(), 0.0);
    startFrameClock();
    EXPECT_TRUE(frameClock.usesPerformanceCounter);
    EXPECT_EQ(frameClock.counterStart, 5000000);
    EXPECT_EQ(frameClock.secondsPerTick, static_cast<float>(1e-6));
    fakeTicks += 2500; // 2.5 ms
    EXPECT_NEAR(readFrameClock(), 2.5, 1e-6);
}

TEST_F(FrameClockTest, TimerFallbackCountsAHairOverAMillisecond)
{
    clockSource.counterFrequency = noCounter;
    fakeTimer                    = 0xFFFFFFF0u; // wraps during the run
    startFrameClock();
    EXPECT_FALSE(frameClock.usesPerformanceCounter);
    fakeTimer += 0x20; // 32 ms later, across the wrap
    EXPECT_EQ(readFrameClock(), 32.0 * static_cast<double>(0.001f) * 1000.0);
    EXPECT_GT(readFrameClock(), 32.0);
}

TEST_F(FrameClockTest, WaitEndsAtFrameStartPlusTenAndSleepsFirst)
{
    startFrameClock();
    frameStart   = static_cast<float>(readFrameClock()); // 0
    ticksPerRead = 10;                                   // 10 us per read while spinning
    waitForFrameEnd();
    const double end = readFrameClock();
    EXPECT_GE(end, 10.0);
    EXPECT_LT(end, 10.1) << "ends as soon as the deadline is reached";
    EXPECT_GT(sleptMs, 7.0) << "most of the wait is slept, not spun";
    EXPECT_LE(sleptMs, 8.0) << "the last 2 ms are spun";
}

TEST_F(FrameClockTest, LateFrameDoesNotWaitAndNextWaitsOnlyItsOwnTen)
{
    startFrameClock();
    frameStart = static_cast<float>(readFrameClock());
    fakeTicks += 25000; // 25 ms of work
    reads = 0;
    waitForFrameEnd();
    EXPECT_EQ(reads, 1) << "a late frame reads the clock once and ends";
    EXPECT_EQ(sleptMs, 0.0);

    frameStart   = static_cast<float>(readFrameClock()); // 25
    ticksPerRead = 10;
    waitForFrameEnd();
    EXPECT_GE(readFrameClock(), 35.0);
    EXPECT_LT(readFrameClock(), 35.1);
}

TEST_F(FrameClockTest, NoPacingWithoutRealTime)
{
    clockSource.realTime = false;
    startFrameClock();
    frameStart = static_cast<float>(readFrameClock());
    reads      = 0;
    waitForFrameEnd();
    EXPECT_EQ(reads, 0);
}

} // namespace
