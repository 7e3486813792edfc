// The frame clock and the 10 ms pacing wait, on a fake counter.
#include "system/clock_source.h"
#include "system/frame_clock.h"

#include <gtest/gtest.h>

namespace {

int64_t  fakeTicks    = 0; // microseconds
int64_t  ticksPerRead = 0; // the counter moves on by this at every read
uint32_t fakeTimer    = 0;
double   sleptMs      = 0;
int      reads        = 0;
int      sleeps       = 0;
int64_t  sleptUntil   = 0; // target of the last absolute sleep
int64_t  wakeLateBy   = 0; // how late an absolute sleep wakes, in ticks (negative: early)
int64_t  firstWakeBy  = 0; // the same for the first sleep only, when not 0

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
    ++sleeps;
    sleptMs += ms;
    fakeTicks += static_cast<int64_t>(ms * 1000);
    fakeTimer += static_cast<uint32_t>(ms + 0.999);
}
void fakeSleepUntil(int64_t ticks)
{
    ++sleeps;
    sleptUntil         = ticks;
    const int64_t late = sleeps == 1 && firstWakeBy != 0 ? firstWakeBy : wakeLateBy;
    if (ticks + late > fakeTicks)
        fakeTicks = ticks + late;
}

class FrameClockTest : public ::testing::Test {
  protected:
    void SetUp() override
    {
        saved                        = clockSource;
        clockSource.counterNow       = fakeNow;
        clockSource.counterFrequency = fakeFrequency;
        clockSource.millisecondTimer = fakeMilliseconds;
        clockSource.sleepUntil       = fakeSleepUntil;
        clockSource.sleepMs          = fakeSleep;
        clockSource.wakeMarginMs     = 0.5;
        clockSource.realTime         = true;
        fakeTicks                    = 5000000;
        ticksPerRead                 = 0;
        fakeTimer                    = 0;
        sleptMs                      = 0;
        reads                        = 0;
        sleeps                       = 0;
        sleptUntil                   = 0;
        wakeLateBy                   = 0;
        firstWakeBy                  = 0;
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

TEST_F(FrameClockTest, WaitSleepsToTheMarginBeforeTheEndThenSpins)
{
    startFrameClock();
    frameStart = static_cast<float>(readFrameClock()); // 0
    fakeTicks += 3000;                                 // 3 ms of work
    ticksPerRead = 10;                                 // 10 us per read while spinning
    reads        = 0;
    waitForFrameEnd();
    EXPECT_EQ(sleeps, 1);
    // One absolute sleep to 9.5 ms after the clock's start, whatever the work took.
    EXPECT_NEAR(static_cast<double>(sleptUntil - 5000000), 9500.0, 1.0);
    const double end = readFrameClock();
    EXPECT_GE(end, 10.0);
    EXPECT_LT(end, 10.05) << "ends as soon as the deadline is reached";
    EXPECT_LT(reads, 60) << "only the 0.5 ms margin is spun";
}

TEST_F(FrameClockTest, NeverEndsEarlyWhateverTheSleepDoes)
{
    startFrameClock();
    ticksPerRead = 10;
    // A sleep that wakes 3 ms early sleeps again; one that wakes within the
    // margin is followed by a spin; one later than the end ends the frame.
    for (int64_t late : {-3000, 0, 200, 499, 2000}) {
        SCOPED_TRACE(late);
        frameStart  = static_cast<float>(readFrameClock());
        sleeps      = 0;
        firstWakeBy = late;
        waitForFrameEnd();
        const double end = readFrameClock();
        EXPECT_GE(end, static_cast<double>(frameStart) + 10.0);
        EXPECT_LT(end, static_cast<double>(frameStart) +
                           (late > 500 ? 10.0 + late / 1000.0 : 10.0) + 0.05);
        EXPECT_EQ(sleeps, late < 0 ? 2 : 1);
    }
}

TEST_F(FrameClockTest, TimerFallbackSleepsRelativeThenSpins)
{
    clockSource.counterFrequency = noCounter;
    startFrameClock();
    frameStart = static_cast<float>(readFrameClock());
    // The fake timer moves only when slept; spinning would never end, so the
    // relative sleep has to bring it past the end by itself.
    waitForFrameEnd();
    EXPECT_GE(readFrameClock(), 10.0);
    EXPECT_NEAR(sleptMs, 9.5, 0.01) << "slept up to the margin before the end";
}

TEST_F(FrameClockTest, LateFrameDoesNotWaitAndNextWaitsOnlyItsOwnTen)
{
    startFrameClock();
    frameStart = static_cast<float>(readFrameClock());
    fakeTicks += 25000; // 25 ms of work
    reads = 0;
    waitForFrameEnd();
    EXPECT_EQ(reads, 1) << "a late frame reads the clock once and ends";
    EXPECT_EQ(sleeps, 0);

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
