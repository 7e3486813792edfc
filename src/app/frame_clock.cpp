// Frame clock and pacing. The clock source comes from the platform services.
#include "app/frame_clock.h"

#include "app/platform.h"

FrameClock frameClock                 = {};
const int  pacingSteps[6]             = {1, 2, 4, 5, 10, 20};
int        pacingStepIndex            = 3;
float      frameStart                 = 0.0f;
void (*frameWorkDone)(double clockMs) = nullptr;

void startFrameClock()
{
    frameClock              = FrameClock{};
    const int64_t frequency = platform.counterFrequency();
    if (frequency > 0) {
        frameClock.counterStart           = platform.counterNow();
        frameClock.usesPerformanceCounter = true;
        frameClock.secondsPerTick = static_cast<float>(1.0 / static_cast<double>(frequency));
    } else {
        frameClock.usesPerformanceCounter = false;
        frameClock.timerStart             = platform.millisecondTimer();
        frameClock.secondsPerTick         = 0.001f;
    }
}

double readFrameClock()
{
    double ticks;
    if (frameClock.usesPerformanceCounter) {
        ticks = static_cast<double>(platform.counterNow() - frameClock.counterStart);
    } else {
        // At rest secondsPerTick is 0, so the clock reads 0 until started.
        const uint32_t elapsed = platform.millisecondTimer() - frameClock.timerStart;
        ticks                  = static_cast<double>(elapsed);
    }
    return ticks * static_cast<double>(frameClock.secondsPerTick) * 1000.0;
}

void waitForFrameEnd()
{
    if (frameWorkDone)
        frameWorkDone(readFrameClock());
    if (!platform.realTime)
        return;
    for (;;) {
        const double now = readFrameClock();
        const double end = static_cast<double>(frameStart) + 2.0 * pacingSteps[pacingStepIndex];
        if (now >= end)
            return;
        if (end - now > 2.0)
            platform.sleepMs(end - now - 2.0);
    }
}
