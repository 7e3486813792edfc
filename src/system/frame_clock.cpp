// Frame clock and pacing, on the installed clock source.
#include "system/frame_clock.h"

#include "system/clock_source.h"

FrameClock frameClock                 = {};
int        pacingStepIndex            = pacingStepStart;
float      frameStart                 = 0.0f;
void (*frameWorkDone)(double clockMs) = nullptr;

void startFrameClock()
{
    frameClock              = FrameClock{};
    const int64_t frequency = clockSource.counterFrequency();
    if (frequency > 0) {
        frameClock.counterStart           = clockSource.counterNow();
        frameClock.usesPerformanceCounter = true;
        frameClock.secondsPerTick = static_cast<float>(1.0 / static_cast<double>(frequency));
    } else {
        frameClock.usesPerformanceCounter = false;
        frameClock.timerStart             = clockSource.millisecondTimer();
        frameClock.secondsPerTick         = 0.001f;
    }
}

double readFrameClock()
{
    double ticks;
    if (frameClock.usesPerformanceCounter) {
        ticks = static_cast<double>(clockSource.counterNow() - frameClock.counterStart);
    } else {
        // At rest secondsPerTick is 0, so the clock reads 0 until started.
        const uint32_t elapsed = clockSource.millisecondTimer() - frameClock.timerStart;
        ticks                  = static_cast<double>(elapsed);
    }
    return ticks * static_cast<double>(frameClock.secondsPerTick) * 1000.0;
}

void waitForFrameEnd()
{
    if (frameWorkDone)
        frameWorkDone(readFrameClock());
    if (!clockSource.realTime)
        return;
    // The end is formed anew from the single-precision frameStart at every test.
    const double end  = static_cast<double>(frameStart) + 2.0 * pacingSteps[pacingStepIndex];
    const double wake = end - clockSource.wakeMarginMs;
    for (;;) {
        const double now = readFrameClock();
        if (now >= end)
            return;
        if (now >= wake)
            continue; // spin: a sleep now could wake after the end
        if (frameClock.usesPerformanceCounter) {
            // An absolute deadline: time spent getting here is not slept again.
            const double msPerTick = static_cast<double>(frameClock.secondsPerTick) * 1000.0;
            clockSource.sleepUntil(frameClock.counterStart +
                                   static_cast<int64_t>(wake / msPerTick));
        } else {
            clockSource.sleepMs(wake - now);
        }
    }
}
