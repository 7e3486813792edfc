// How a present shares its work out over frames, from measured costs and the
// display's refreshes, on simulated times.
#include "host/present_budget.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

namespace {

TEST(PresentBudget, DrawsWhatFitsAndSwapsOnlyAWholePicture)
{
    struct Case {
        const char*   what;
        PresentBudget budget;
        double        slackMs;
        int           rowsLeft;
        PresentStep   expected;
    };
    const Case cases[] = {
        {"nothing measured yet: all at once",
         {{0.0, 0.0}, {0.0, 0.0}, 0, 0},
         9.0,
         1080,
         {1080, true}},
        {"a fast renderer: all at once", {{0.001, 0}, {0.2, 0}, 0, 0}, 8.0, 1080, {1080, true}},
        {"three frames' worth: a third", {{0.01, 0}, {2.0, 0}, 0, 0}, 9.0, 1440, {480, false}},
        {"the rows fit but not the swap: half",
         {{0.005, 0}, {3.0, 0}, 0, 0},
         7.0,
         1000,
         {500, false}},
        {"a band that took longer lately is planned long",
         {{0.005, 4.0}, {0.5, 0}, 0, 0},
         7.0,
         960,
         {400, false}},
        {"only the swap left", {{0.01, 0}, {2.0, 0}, 0, 0}, 9.0, 0, {0, true}},
        {"no room: wait", {{0.01, 0}, {2.0, 0}, 3, 0}, 0.8, 500, {0, false}},
        {"a band too thin to be worth it: wait", {{0.01, 0}, {2.0, 0}, 0, 0}, 1.3, 500, {0, false}},
        {"no room for long: a band anyway",
         {{0.01, 0}, {2.0, 0}, presentMaxWait, 0},
         0.5,
         500,
         {presentMinRows, false}},
        {"no room for long: the swap anyway",
         {{0.01, 0}, {2.0, 0}, presentMaxWait, 0},
         0.5,
         0,
         {0, true}},
    };
    for (const Case& c : cases) {
        const PresentStep step = planPresentStep(c.budget, c.slackMs, c.rowsLeft, 0.0);
        EXPECT_EQ(step.rows, c.expected.rows) << c.what;
        EXPECT_EQ(step.swap, c.expected.swap) << c.what;
    }
}

TEST(PresentBudget, AStallIsForgottenWithinASecond)
{
    struct Case {
        const char* what;
        double      rowsMs, swapMs; // what the stalled picture took
        bool        measuredAfter;  // the usual picture measured every frame after it
    };
    const Case cases[] = {
        {"a draw stalls, nothing measured after", 70.0, 1.0, false},
        {"a swap stalls, nothing measured after", 4.3, 70.0, false},
        {"a draw stalls, then the usual", 70.0, 1.0, true},
        {"the first picture's set-up", 200.0, 100.0, true},
    };
    for (const Case& c : cases) {
        // 1080 rows in 4.3 ms and a 1 ms swap: whole in a frame with 8 ms left.
        PresentBudget budget = {};
        const auto    usual  = [&](double rowsMs, double swapMs) {
            measureRows(&budget, 1080, rowsMs);
            measureSwap(&budget, swapMs);
            decayCosts(&budget, 10.0);
        };
        const auto whole = [&] {
            const PresentStep step = planPresentStep(budget, 8.0, 1080, 0.0);
            return step.rows == 1080 && step.swap;
        };
        const bool setUp = c.rowsMs == 200.0;
        for (int i = 0; i < 20 && !setUp; ++i)
            usual(4.3, 1.0);
        EXPECT_TRUE(setUp || whole()) << c.what;
        usual(c.rowsMs, c.swapMs);
        EXPECT_FALSE(whole()) << c.what;
        int frames = 0;
        for (; !whole() && frames < 300; ++frames)
            c.measuredAfter ? usual(4.3, 1.0) : decayCosts(&budget, 10.0);
        EXPECT_LE(frames, 100) << c.what;
    }
}

TEST(PresentBudget, CostlyPicturesAreTheFramesNearestTheDisplaysRefreshes)
{
    struct Case {
        const char* what;
        double      refreshHz;
        double      msPerRow;
        int         pictures;     // begun in a second of 10 ms frames
        const char* first;        // the frames they begin in
        double      swapMs = 0.0; // each picture's swap, made 3 ms into its frame
    };
    const Case cases[] = {
        {"costly, 60 Hz", 60.0, 0.005, 60, "0 2 3 5 7 8 10 "},
        {"costly, rate not known: 60", 0.0, 0.005, 60, "0 2 3 5 7 8 10 "},
        {"costly, 50 Hz", 50.0, 0.005, 50, "0 2 4 6 8 10 12 "},
        {"costly, 144 Hz: every frame", 144.0, 0.005, 100, "0 1 2 3 4 5 6 "},
        {"cheap: every frame", 60.0, 0.0001, 100, "0 1 2 3 4 5 6 "},
        {"slow swaps that did not wait for the display keep the grid", 60.0, 0.005, 60,
         "0 2 3 5 7 8 10 ", 1.2},
    };
    for (const Case& c : cases) {
        PresentBudget budget = {{c.msPerRow, 0}, {0.5, 0}, 0, false};
        budget.refresh.hz    = c.refreshHz;
        int         begun    = 0;
        std::string first;
        for (int frame = 0; frame < 100; ++frame) {
            noteFrame(&budget, frame * 10.0, 10.0);
            if (mayBeginPicture(budget, 960)) {
                pictureBegun(&budget);
                if (c.swapMs > 0.0)
                    noteSwap(&budget, frame * 10.0 + 3.0, frame * 10.0 + 3.0 + c.swapMs);
                if (++begun <= 7)
                    first += std::to_string(frame) + " ";
            }
        }
        EXPECT_EQ(begun, c.pictures) << c.what;
        EXPECT_EQ(first, c.first) << c.what;
    }
}

// The present thread draws between the game's present and its next wake.
TEST(PresentBudget, ThreadBandsFillTheRoomBeforeTheGamesWake)
{
    struct Band {
        double rowMs;
        int    rowsLeft;
        double roomMs;
        int    rows;
    };
    const Band bands[] = {
        {0.0, 1080, HUGE_VAL, presentMinRows}, // nothing measured yet
        {0.01, 1080, HUGE_VAL, 150},           // presentThreadBandMs of rows
        {0.01, 1080, 0.6, 60},                 // what the room holds
        {0.01, 1080, 0.1, presentMinRows},     // never a sliver
        {0.01, 20, HUGE_VAL, 20},              // the last rows
        {0.0001, 1080, HUGE_VAL, 1080},        // a fast renderer: the whole picture
        {1e-12, 1080, HUGE_VAL, 1080},         // a row next to free
    };
    for (const Band& b : bands)
        EXPECT_EQ(threadBandRows(b.rowMs, b.rowsLeft, b.roomMs), b.rows)
            << b.rowMs << " ms a row, " << b.roomMs << " ms of room";
    struct Step {
        double nowMs, stepMs;
        bool   fits; // in a frame ending at 10 ms, the game waking 0.5 ms before
    };
    const Step steps[] = {
        {2.0, 1.5, true}, {7.5, 1.5, true}, {7.6, 1.5, false}, {10.2, 1.5, false}};
    for (const Step& s : steps)
        EXPECT_EQ(threadStepFits(s.nowMs, s.stepMs, 10.0, 0.5), s.fits) << s.nowMs;
}

TEST(PresentBudget, BandsCoverEveryRowOnceInOrderThenSwapOnceAndBeginAgainWhenResized)
{
    PresentBudget budget = {{0.03, 0}, {0.5, 0}, 0, true};
    const auto    frame  = [&](int w, int h, int rows) {
        return planFramePresent(&budget, 10.0, 0.0, 9.0, w, h, rows);
    };
    // Two bands at 1366 x 768, then the window grows.
    const FramePresent first = frame(1366, 768, 768);
    EXPECT_TRUE(first.keep && first.fromCopy && first.firstRow == 0 && !first.swap);
    const FramePresent second = frame(1366, 768, 768);
    EXPECT_TRUE(!second.keep && second.fromCopy && !second.swap);
    EXPECT_EQ(second.firstRow, first.rows);
    int next = 0, bands = 0, kept = 0, swaps = 0;
    for (int f = 0; f < 50 && swaps == 0; ++f) {
        const FramePresent step = frame(1920, 1080, 1080);
        if (step.rows == 0 && !step.swap)
            continue;
        EXPECT_TRUE(step.fromCopy);
        EXPECT_EQ(step.firstRow, next);
        next += step.rows;
        bands += step.rows > 0;
        kept += step.keep;
        swaps += step.swap;
    }
    EXPECT_EQ(next, 1080) << "rows drawn of the resized picture";
    EXPECT_GE(bands, 3);
    EXPECT_EQ(kept, 1);
    EXPECT_EQ(swaps, 1);
}

// Ten simulated seconds of 10 ms frames: the game draws for 1 to 2 ms, then
// presents a 1080-row picture drawn at `msPerRow`.
struct TenSeconds {
    int frames;   // frames begun
    int late;     // frames whose present ended after the frame's end
    int pictures; // swaps
};

// `gridHz` > 0: every swap waits for the next refresh of a display at that
// rate (which reports 60 Hz); 0: swaps take `swapMs`.
TenSeconds presentForTenSeconds(bool noWaitRefused, double gridHz, double swapMs, double msPerRow)
{
    PresentBudget budget = {};
    budget.refresh       = RefreshGrid{60.0, noWaitRefused, 0.0, 0};
    TenSeconds run       = {0, 0, 0};
    unsigned   seed      = 1;
    double     start     = 0.0;
    while (start < 10000.0) {
        const double end = start + 10.0;
        seed             = seed * 1103515245u + 12345u;
        double     now   = start + 1.0 + (seed >> 16) % 1000 / 1000.0;
        const auto step  = planFramePresent(&budget, 10.0, now, end, 1920, 1080, 1080);
        if (step.rows > 0) {
            measureRows(&budget, step.rows, step.rows * msPerRow);
            now += step.rows * msPerRow;
        }
        if (step.swap) {
            double back = now + swapMs;
            if (gridHz > 0.0) {
                const double period = 1000.0 / gridHz, phase = 3.7;
                back = phase + std::ceil((now + 0.05 - phase) / period) * period + 0.05;
            }
            noteSwap(&budget, now, back);
            now = back;
            ++run.pictures;
        }
        ++run.frames;
        run.late += now > end;
        start = std::max(now, end);
    }
    return run;
}

TEST(PresentBudget, SwapsThatWaitForTheDisplayKeepTheFramesOnTime)
{
    struct Case {
        const char* what;
        bool        noWaitRefused;
        double      gridHz;
        double      swapMs;
        double      msPerRow;
        int         fewestPictures, mostPictures;
    };
    const Case cases[] = {
        {"refused, swaps wait for 60 Hz", true, 60.0, 0, 0.0005, 300, 600},
        {"not refused, swaps wait for 59.94 Hz", false, 59.94, 0, 0.0005, 300, 600},
        {"refused, swaps wait for 60 Hz, costly rows", true, 60.0, 0, 0.004, 150, 600},
        {"refused, swaps never wait: every frame", true, 0.0, 0.2, 0.0005, 990, 1000},
        {"refused, swaps take 3 ms, off any grid", true, 0.0, 3.0, 0.002, 500, 1000},
    };
    for (const Case& c : cases) {
        const TenSeconds run =
            presentForTenSeconds(c.noWaitRefused, c.gridHz, c.swapMs, c.msPerRow);
        std::printf("%s: %d frames, %d late, %d pictures\n", c.what, run.frames, run.late,
                    run.pictures);
        EXPECT_GE(run.frames, 990) << c.what;
        EXPECT_LE(run.late, 10) << c.what;
        EXPECT_GE(run.pictures, c.fewestPictures) << c.what;
        EXPECT_LE(run.pictures, c.mostPictures) << c.what;
    }
}

} // namespace
