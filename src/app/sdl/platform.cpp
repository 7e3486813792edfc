// Host services on SDL2: the performance counter, sleeping, presenting.
#include "app/sdl/platform.h"

#include "app/clock_source.h"
#include "app/platform.h"
#include "app/sdl/display.h"

#include <SDL2/SDL.h>

#include <ctime>

namespace {

int64_t  sdlCounterNow() { return static_cast<int64_t>(SDL_GetPerformanceCounter()); }
int64_t  sdlCounterFrequency() { return static_cast<int64_t>(SDL_GetPerformanceFrequency()); }
uint32_t sdlTicks() { return SDL_GetTicks(); }

void sdlSleep(double ms)
{
    if (ms >= 1.0)
        SDL_Delay(static_cast<Uint32>(ms));
}

int64_t wallClock() { return static_cast<int64_t>(std::time(nullptr)); }

} // namespace

void installSdlPlatform()
{
    clockSource.counterNow       = sdlCounterNow;
    clockSource.counterFrequency = sdlCounterFrequency;
    clockSource.millisecondTimer = sdlTicks;
    clockSource.sleepMs          = sdlSleep;
    clockSource.realTime         = true;
    platform.swapBuffers         = presentDisplay;
    platform.calendarSeconds     = wallClock;
}

void shutDownSdl() { SDL_Quit(); }
