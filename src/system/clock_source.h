// Where the frame clock reads the time and how it waits. The game points it at
// the system's monotonic clock; the headless host at a virtual clock that
// never waits.
#pragma once
#include <cstdint>

struct ClockSource {
    int64_t (*counterNow)();        // monotonic counter reading, in ticks
    int64_t (*counterFrequency)();  // ticks per second; 0 when there is no counter
    uint32_t (*millisecondTimer)(); // fallback clock in whole milliseconds
    // Gives the processor away until the counter reads at least counterTicks.
    // May come back late, by up to the wake margin below, or, rarely, early.
    void (*sleepUntil)(int64_t counterTicks);
    void (*sleepMs)(double ms); // for the millisecond timer: give the processor away for about ms
    // How late a sleep may wake, in ms (the platform's measured worst case):
    // the pacing wait sleeps until this long before the frame's end and
    // spins for the rest, so that the frame ends as soon as it may.
    double wakeMarginMs;
    bool   realTime; // false: frames are not paced (replay)
};

// The standard library's steady clock until a host installs its own.
extern ClockSource clockSource;
