// How many 10 ms game frames the browser's loop runs at each animation frame,
// from the animation frames' times alone. What the time since the start calls
// for, but never more than a few at once: a slow display still plays at full
// speed, while a device too slow for it (or a tab back from hiding) moves the
// start on instead of racing to catch up, and plays slower, as natively.
#pragma once
#include "system/frame_clock.h"

#include <cstdint>

struct FrameStepper {
    bool     started; // false until the first animation frame
    double   startMs; // when frame 0 was due; frame n is due 10 n ms later
    uint64_t frames;  // frames run since the start
};

constexpr double stepFrameMs = gameFrameMs;
// Enough for a 30 Hz display (3 or 4 frames a picture), few enough that a
// picture is never long in coming.
constexpr int maxFramesPerStep = 4;

// The frames to run at an animation frame at `nowMs`, counted as run. The
// first animation frame runs one.
int framesDue(FrameStepper* stepper, double nowMs);
