// Frame clock and pacing, on the installed clock source.
#include "app/frame_clock.h"

#include "app/clock_source.h"

FrameClock frameClock                 = {};
const int  pacingSteps[6]             = {1, 2, 4, 5, 10, 20};
int        pacingStepIndex            = 3;
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
    for (;;) {
        const double now = readFrameClock();
        const double end = static_cast<double>(frameStart) + 2.0 * pacingSteps[pacingStepIndex];
        if (now >= end)
            return;
        if (end - now > 2.0)
            clockSource.sleepMs(end - now - 2.0);
    }
}
