// Host services on SDL2 and POSIX: the monotonic clock, sleeping, presenting.
#include "host/sdl/sdl_host.h"

#include "host/sdl/present.h"
#include "system/clock_source.h"
#include "system/services.h"

#include <SDL2/SDL.h>
#include <sys/resource.h>

#include <cerrno>
#include <ctime>
#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace {

// How late clock_nanosleep may wake, in ms, before the frame's end: measured
// by bench/run.sh on a 2-core machine, nine sleeps in ten wake within 0.18 ms;
// the rarer, longer delays are waits for a free core, which a spin suffers too.
constexpr double wakeMargin = 0.5;

// CLOCK_MONOTONIC in nanoseconds. SDL's counter reads CLOCK_MONOTONIC_RAW,
// which clock_nanosleep cannot sleep on; counter and sleep share one clock.
int64_t monotonicNow()
{
    timespec t = {};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<int64_t>(t.tv_sec) * 1000000000 + t.tv_nsec;
}
int64_t  monotonicFrequency() { return 1000000000; }
uint32_t sdlTicks() { return SDL_GetTicks(); }

void monotonicSleepUntil(int64_t ns)
{
    timespec t = {};
    t.tv_sec   = static_cast<time_t>(ns / 1000000000);
    t.tv_nsec  = static_cast<long>(ns % 1000000000);
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &t, nullptr) == EINTR) {
    }
}

void sdlSleep(double ms)
{
    if (ms >= 1.0)
        SDL_Delay(static_cast<Uint32>(ms));
}

int64_t wallClock() { return static_cast<int64_t>(std::time(nullptr)); }

} // namespace

void installSdlHost()
{
#ifdef __GLIBC__
    // Mesa's software renderer allocates and frees large blocks every frame
    // (per draw, for the font's display lists). By default glibc hands them
    // back to the kernel at once and every frame pays page faults to get them
    // again: a third of the frame at 640 x 480 (bench/README.md). Keep them.
    mallopt(M_MMAP_THRESHOLD, 32 * 1024 * 1024);
    mallopt(M_TRIM_THRESHOLD, 256 * 1024 * 1024);
#endif
    clockSource.counterNow       = monotonicNow;
    clockSource.counterFrequency = monotonicFrequency;
    clockSource.millisecondTimer = sdlTicks;
    clockSource.sleepUntil       = monotonicSleepUntil;
    clockSource.sleepMs          = sdlSleep;
    clockSource.wakeMarginMs     = wakeMargin;
    clockSource.realTime         = true;
    hostServices.swapBuffers     = presentDisplay;
    hostServices.calendarSeconds = wallClock;
}

long processPeakMemoryKib()
{
    struct rusage usage = {};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

void shutDownSdl() { SDL_Quit(); }
