// The browser loop's frames per animation frame.
#include "host/frame_steps.h"

#include <cmath>

int framesDue(FrameStepper* stepper, double nowMs)
{
    if (!stepper->started) {
        stepper->started = true;
        stepper->startMs = nowMs - stepFrameMs;
        stepper->frames  = 0;
    }
    const double reached = std::floor((nowMs - stepper->startMs) / stepFrameMs);
    const double behind  = reached - static_cast<double>(stepper->frames);
    int          due     = behind > 0 ? static_cast<int>(std::fmin(behind, 1e6)) : 0;
    if (due > maxFramesPerStep) {
        // Late frames are not made up: the start moves on to now.
        due              = maxFramesPerStep;
        stepper->startMs = nowMs - static_cast<double>(stepper->frames + due) * stepFrameMs;
    }
    stepper->frames += static_cast<uint64_t>(due);
    return due;
}
