// Frame clock: milliseconds since the clock was started, and the 10 ms frame pacing.
#pragma once
#include <cstdint>

struct FrameClock {
    bool     usesPerformanceCounter; // true: counter ticks; false: millisecond timer
    float    secondsPerTick;         // seconds per counter tick, or 0.001 for the timer
    int64_t  counterStart;           // counter reading when the clock was started
    uint32_t timerStart;             // millisecond timer reading when the clock was started
};

extern FrameClock frameClock; // all zero until startFrameClock
// Half the minimum frame time, in ms, at each pacing step; the game keeps to
// step 3.
inline constexpr int pacingSteps[6]  = {1, 2, 4, 5, 10, 20};
constexpr int        pacingStepStart = 3;
// The game's frame, in ms: what the pacing waits for, and what every host
// that counts frames itself (a virtual clock, the browser's loop) counts.
constexpr int gameFrameMs = 2 * pacingSteps[pacingStepStart];

extern int   pacingStepIndex; // always pacingStepStart: 2 x 5 = 10 ms per frame
extern float frameStart;      // clock reading at the start of this frame, in ms

void   startFrameClock();
double readFrameClock();

// Ends the frame: waits until the clock reads frameStart + 10 ms. Sleeps to an
// absolute deadline the clock source's wake margin before that, then spins,
// so that it neither burns a core nor ends late.
void waitForFrameEnd();

// Called, when set, as the frame's work ends, with the clock reading: lets a
// measuring build of the game record frame times. Null in the game.
extern void (*frameWorkDone)(double clockMs);
