// Platform services on SDL2: the performance counter, sleeping, presenting.
#include "app/sdl_platform.h"

#include "app/platform.h"
#include "app/sdl_display.h"

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
    platform.counterNow       = sdlCounterNow;
    platform.counterFrequency = sdlCounterFrequency;
    platform.millisecondTimer = sdlTicks;
    platform.sleepMs          = sdlSleep;
    platform.swapBuffers      = presentDisplay;
    platform.calendarSeconds  = wallClock;
    platform.realTime         = true;
}
