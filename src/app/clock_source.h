// Where the frame clock reads the time and how it waits. The game points it at
// SDL's counter; the headless host at a virtual clock that never waits.
#pragma once
#include <cstdint>

struct ClockSource {
    int64_t (*counterNow)();        // monotonic counter reading, in ticks
    int64_t (*counterFrequency)();  // ticks per second; 0 when there is no counter
    uint32_t (*millisecondTimer)(); // fallback clock in whole milliseconds
    void (*sleepMs)(double ms);     // give the processor away for about ms
    bool realTime;                  // false: frames are not paced (replay)
};

// The standard library's steady clock until a host installs its own.
extern ClockSource clockSource;
