// How much of the next picture a present may draw in this frame. The game
// counts frames, so a present must never make a frame late: where scaling
// and swapping cost more than the frame leaves (a software renderer at a
// large size, a busy machine), the picture is drawn in bands over several
// frames and swapped once whole; fewer pictures are shown, never fewer frames
// run. A fast renderer draws and swaps every picture in its own frame.
#pragma once

struct PresentBudget {
    double msPerRow;     // drawing one row of the scaled picture (running mean)
    double swapMs;       // one swap (running mean)
    int    framesWaited; // frames since the present last did anything
};

struct PresentStep {
    int  rows; // rows to draw now, from the first not yet drawn
    bool swap; // swap once they are drawn
};

// Headroom kept before the frame's end, so that the pacing still has its wake
// margin; and how much dearer than its running mean a step is planned, for
// the ones that take longer (a core busy elsewhere, the first band's clear).
constexpr double presentReserveMs  = 1.0;
constexpr double presentCostMargin = 1.3;
// After this many frames without room, a present goes ahead anyway, late: a
// machine that cannot draw at all still shows a picture now and then.
constexpr int presentMaxWait = 10;
// A band is at least this many rows (or what is left), so that the fixed
// cost of each draw stays small beside its rows.
constexpr int presentMinRows = 32;

// The step for a frame with `slackMs` left before its end and `rowsLeft` of
// the picture's rows still to draw (0: only the swap is left).
PresentStep planPresentStep(const PresentBudget& budget, double slackMs, int rowsLeft);

// Folds what a band of `rows` rows and a swap were measured to cost into the
// running means.
void measureRows(PresentBudget* budget, int rows, double ms);
void measureSwap(PresentBudget* budget, double ms);
