// The browser loop's frames per animation frame, on simulated displays.
#include "host/frame_steps.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

struct Played {
    int64_t lag;         // frames the game is behind the time played
    int     most;        // most at one animation frame
    int     fewest;      // fewest at one, the first left out
    int     afterHidden; // run at the first animation frame after the tab was hidden
};

// Animation frames on a display of `hz` for `seconds`, on a device where a
// game frame costs `msPerFrame` (the next animation frame comes at the first
// refresh after the work), with the tab hidden for `hiddenMs` after 2 s.
Played play(double hz, double seconds, double msPerFrame, double hiddenMs)
{
    const double period = 1000.0 / hz, origin = 123456.7, end = origin + seconds * 1000.0;
    FrameStepper stepper = {};
    Played       played  = {0, 0, 1000, -1};
    bool         hidden  = false;
    int64_t      frames  = 0;
    double       now     = origin;
    for (double refresh = 0;;) {
        const int due = framesDue(&stepper, now);
        if (frames > 0) {
            played.most   = std::max(played.most, due);
            played.fewest = std::min(played.fewest, due);
        }
        if (hidden && played.afterHidden < 0)
            played.afterHidden = due;
        frames += due;
        double ready = now + due * msPerFrame;
        if (hiddenMs > 0 && !hidden && now >= origin + 2000.0) {
            hidden = true;
            ready += hiddenMs;
        }
        refresh = std::max(refresh + 1, std::ceil((ready - origin) / period));
        if (origin + refresh * period >= end)
            break;
        now = origin + refresh * period;
    }
    // Frame 0 runs at the first animation frame, frame n is due 10 n ms later.
    played.lag = static_cast<int64_t>(std::floor((now - origin) / 10.0)) + 1 - frames;
    return played;
}

TEST(FrameSteps, EachDisplayPlaysEveryFrameOnceAndASlowDeviceSmoothly)
{
    struct Case {
        const char* what;
        double      hz, msPerFrame, hiddenMs;
        int64_t     lagMin, lagMax;
        int         most, fewest, afterHidden;
    };
    // clang-format off
    const Case cases[] = {
        {"60 Hz: one or two a picture",          60, 0,  0,      0,   0, 2, 1, -1},
        {"120 Hz: never two at once",           120, 0,  0,      0,   0, 1, 0, -1},
        {"144 Hz: never two at once",           144, 0,  0,      0,   0, 1, 0, -1},
        {"30 Hz: full speed, three or four",     30, 0,  0,      0,   0, 4, 3, -1},
        // A few frames for the 5 s away, then full speed again.
        {"a hidden tab back: no race",           60, 0,  5000, 496, 500, 4, 1,  4},
        // At most 4 frames, 60 ms, between pictures: slower, never frozen.
        {"15 ms a frame: slower, smoothly",      60, 15, 0,    300, 450, 4, 1, -1},
    };
    // clang-format on
    for (const Case& c : cases) {
        const Played played = play(c.hz, 10.0, c.msPerFrame, c.hiddenMs);
        EXPECT_GE(played.lag, c.lagMin) << c.what;
        EXPECT_LE(played.lag, c.lagMax) << c.what;
        EXPECT_EQ(played.most, c.most) << c.what;
        EXPECT_EQ(played.fewest, c.fewest) << c.what;
        EXPECT_EQ(played.afterHidden, c.afterHidden) << c.what;
    }
}

} // namespace
