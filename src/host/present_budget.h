// How much of the next picture a present may draw in this frame. The game
// counts frames, so a present must never make a frame late: where scaling
// and swapping cost more than the frame leaves (a software renderer at a
// large size, a busy machine), the picture is drawn in bands over several
// frames and swapped once whole; fewer pictures are shown, never fewer frames
// run. A fast renderer draws and swaps every picture in its own frame. Where
// every swap waits for the display's next refresh (vsync kept on by the driver
// or the compositor), a picture is swapped only in a frame whose spare time
// that wait fits in: at most one picture a refresh, and the frames on time.
#pragma once

// A measured cost: its running mean and how far samples stray from it (the
// running mean of the absolute difference), in ms.
struct PresentCost {
    double mean;
    double spread;
};

// The display's refreshes as the swaps see them. A swap that waits for the
// display returns just after a refresh, so the times at which such swaps
// return lie on a grid of the refresh period.
struct RefreshGrid {
    double hz;            // the display's rate, 0: not known
    bool   noWaitRefused; // the driver refused to swap without waiting
    double lastMs;        // when the last swap that waited returned, in frame clock ms
    int    onGrid;        // swaps in a row that waited and returned on the grid; 0: none yet
};

// A picture being drawn in bands over several frames.
struct PresentBands {
    bool active;
    int  rowsDrawn;
    int  width, height; // the drawable's size when the picture was begun
};

struct PresentBudget {
    PresentCost  row;           // drawing one row of the scaled picture
    PresentCost  swap;          // one swap
    int          framesWaited;  // frames since the present last did anything
    double       pictureCredit; // costly pictures that may begin now
    RefreshGrid  refresh = {};
    PresentBands bands   = {};
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
constexpr double presentCostlyMs = 2.0;
// The refresh rate assumed where the display does not tell.
constexpr double presentDefaultHz = 60.0;

// A swap that takes this long waited for something: for the display, when it
// returns on the refresh grid.
constexpr double presentSwapWaitedMs = 1.0;
// How far a swap that waited for the display may return off the grid. A swap
// is planned to be made at least this long before the refresh it is to catch,
// and to return this long after it.
constexpr double presentRefreshMarginMs = 0.5;
// Swaps that waited and returned on the grid, in a row, before the swaps are
// taken to wait for the display; fewer where the driver refused to swap
// without waiting.
constexpr int presentOnGridToTrust        = 3;
constexpr int presentOnGridToTrustRefused = 2;

// The step for a frame with `slackMs` left before its end and `rowsLeft` of
// the picture's rows still to draw (0: only the swap is left). Where swaps
// wait for the display, `refreshInMs` is the time from now to its next
// refresh (msToRefresh).
PresentStep planPresentStep(const PresentBudget& budget, double slackMs, int rowsLeft,
                            double refreshInMs);

// Folds what a band of `rows` rows and a swap were measured to cost into the
// running figures.
void measureRows(PresentBudget* budget, int rows, double ms);
void measureSwap(PresentBudget* budget, double ms);

// Folds in a swap made at `madeMs` that returned at `backMs` (frame clock
// ms): its cost, and whether it waited for the display's refresh.
void noteSwap(PresentBudget* budget, double madeMs, double backMs);
// Whether the swaps are known to wait for the display's refresh; and the time
// from `nowMs` to the next refresh, when they are.
bool   swapsWaitForRefresh(const PresentBudget& budget);
double msToRefresh(const PresentBudget& budget, double nowMs);

// Adds one frame of `frameMs` to the credit for costly pictures, at the
// display's `refreshHz` (0: not known).
void addPictureCredit(PresentBudget* budget, double refreshHz, double frameMs);
// Whether a new picture of `pictureRows` rows may be begun now; and taking
// one from the credit when it is.
bool mayBeginPicture(const PresentBudget& budget, int pictureRows);
void pictureBegun(PresentBudget* budget);

// What one frame's present does.
struct FramePresent {
    bool keep;     // a picture is begun in bands: keep a copy of the game's picture for them
    bool fromCopy; // the rows are drawn from that copy
    int  firstRow; // the rows of the scaled picture to draw, from its bottom
    int  rows;
    bool swap; // swap once they are drawn
};

// Plans the present of a frame of `frameMs` that ends at `endMs` and has got
// to `nowMs` (frame clock ms), into a drawable of width x height where the
// scaled picture is `pictureRows` high, and keeps the books: the picture
// credit, the frames waited and how far the bands have got. A new size
// begins the picture again.
FramePresent planFramePresent(PresentBudget* budget, double frameMs, double nowMs, double endMs,
                              int width, int height, int pictureRows);
