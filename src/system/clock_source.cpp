// The default clock source: the standard library's steady clock.
#include "system/clock_source.h"

#include <chrono>
#include <thread>

namespace {

using Steady = std::chrono::steady_clock;

int64_t steadyNow()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(Steady::now().time_since_epoch())
        .count();
}

int64_t steadyFrequency() { return 1000000000; }

uint32_t steadyMilliseconds() { return static_cast<uint32_t>(steadyNow() / 1000000); }

void steadySleepUntil(int64_t ticks)
{
    std::this_thread::sleep_until(Steady::time_point(
        std::chrono::duration_cast<Steady::duration>(std::chrono::nanoseconds(ticks))));
}

void threadSleep(double ms)
{
    std::this_thread::sleep_for(std::chrono::microseconds(static_cast<int64_t>(ms * 1000.0)));
}

} // namespace

ClockSource clockSource = {
    steadyNow, steadyFrequency, steadyMilliseconds, steadySleepUntil, threadSleep, 2.0, true};
