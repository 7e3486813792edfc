// How much of the next picture a present may draw in this frame. The game
// counts frames, so a present must never make a frame late: where scaling
// and swapping cost more than the frame leaves (a software renderer at a
// large size, a busy machine), the picture is drawn in bands over several
// frames and swapped once whole; fewer pictures are shown, never fewer frames
// run. A fast renderer draws and swaps every picture in its own frame.
#pragma once

// A measured cost: its running mean and how far samples stray from it (the
// running mean of the absolute difference), in ms.
struct PresentCost {
    double mean;
    double spread;
};

struct PresentBudget {
    PresentCost row;           // drawing one row of the scaled picture
    PresentCost swap;          // one swap
    int         framesWaited;  // frames since the present last did anything
    double      pictureCredit; // dear pictures that may begin now
};

struct PresentStep {
    int  rows; // rows to draw now, from the first not yet drawn
    bool swap; // swap once they are drawn
};

// Headroom kept before the frame's end, so that the pacing still has its wake
// margin; and how many spreads above its mean a step is planned to cost, for
// the ones that take longer (a core busy elsewhere, the display server still
// taking the last picture, the first band's clear).
constexpr double presentReserveMs = 1.0;
constexpr double presentSpreads   = 3.0;
// After this many frames without room, a present goes ahead anyway, late: a
// machine that cannot draw at all still shows a picture now and then.
constexpr int presentMaxWait = 10;
// A band is at least this many rows (or what is left), so that the fixed
// cost of each draw stays small beside its rows.
constexpr int presentMinRows = 32;

// A picture that costs more than this to draw and swap is begun at most as
// often as the display refreshes: more would never be seen, only torn, and
// drawing them takes the cores that the rest of the machine needs. Cheaper
// pictures, as on any graphics card, are shown every frame.
constexpr double presentDearMs = 2.0;
// The refresh rate assumed where the display does not tell.
constexpr double presentDefaultHz = 60.0;

// The step for a frame with `slackMs` left before its end and `rowsLeft` of
// the picture's rows still to draw (0: only the swap is left).
PresentStep planPresentStep(const PresentBudget& budget, double slackMs, int rowsLeft);

// Folds what a band of `rows` rows and a swap were measured to cost into the
// running figures.
void measureRows(PresentBudget* budget, int rows, double ms);
void measureSwap(PresentBudget* budget, double ms);

// Adds one frame of `frameMs` to the credit for dear pictures, at the
// display's `refreshHz` (0: not known).
void addPictureCredit(PresentBudget* budget, double refreshHz, double frameMs);
// Whether a new picture of `pictureRows` rows may be begun now; and taking
// one from the credit when it is.
bool mayBeginPicture(const PresentBudget& budget, int pictureRows);
void pictureBegun(PresentBudget* budget);
