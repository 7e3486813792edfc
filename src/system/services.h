// The two services the game itself asks of its host program: presenting a
// finished frame and the calendar time that seeds each new game.
#pragma once
#include <cstdint>

struct HostServices {
    void (*swapBuffers)();        // present the finished frame
    int64_t (*calendarSeconds)(); // wall-clock time in whole seconds
};

// Harmless defaults (no swap, the real calendar) until a host installs its own.
extern HostServices hostServices;
