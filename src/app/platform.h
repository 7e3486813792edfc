// The few services the game asks of its host program. The game fills them from
// SDL; the replay tool and the tests fill them with a virtual clock and no window.
#pragma once
#include <cstdint>

struct Platform {
    int64_t (*counterNow)();        // monotonic counter reading, in ticks
    int64_t (*counterFrequency)();  // ticks per second; 0 when there is no counter
    uint32_t (*millisecondTimer)(); // fallback clock in whole milliseconds
    void (*sleepMs)(double ms);     // give the processor away for about ms
    void (*swapBuffers)();          // present the finished frame
    int64_t (*calendarSeconds)();   // wall-clock time in whole seconds
    bool realTime;                  // false: frames are not paced (replay)
};

// Filled with harmless defaults (a standard-library clock, no swap) so that a
// test can run game code without setting anything.
extern Platform platform;
