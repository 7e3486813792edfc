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

// A measured cost, in ms: a steady rate per unit (a row, a swap), and a peak
// of how far samples went over it. A stall adds to a band's time, not to each
// of its rows, so the rate follows samples up to twice itself only and the
// rest is excess. The peak rises to a sample's excess at once and halves
// every presentPeakHalfLifeMs of frames, so that a step that often takes
// longer keeps it high while a stall of the machine is forgotten within a
// second, whether or not anything is measured meanwhile.
struct PresentCost {
    double rate; // 0: nothing measured yet
    double excess;
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
    PresentCost  row;          // drawing one row of the scaled picture
    PresentCost  swap;         // one swap
    int          framesWaited; // frames since the present last did anything
    bool         pictureDue; // a costly picture may begin: a refresh fell in a frame since the last
    RefreshGrid  refresh = {};
    PresentBands bands   = {};
};

struct PresentStep {
    int  rows; // rows to draw now, from the first not yet drawn
    bool swap; // swap once they are drawn
};

// Headroom kept before the frame's end, so that the pacing still has its wake
// margin. A step is planned to cost its rate plus its peak excess, for the
// ones that take longer (a core busy elsewhere, the display server still taking the last
// picture, the first band's clear).
constexpr double presentReserveMs      = 1.0;
constexpr double presentPeakHalfLifeMs = 100.0;
// After this many frames without room, a present goes ahead anyway, late: a
// machine that cannot draw at all still shows a picture now and then.
constexpr int presentMaxWait = 10;
// A band is at least this many rows (or what is left), so that the fixed
// cost of each draw stays small beside its rows.
constexpr int presentMinRows = 32;

// A present thread draws its picture in bands of about this long, each
// finished before the next: a software renderer may share one rasterizer
// between its contexts and take one batch of drawing at a time, and the
// game's frame must wait for at most a band of the picture.
constexpr double presentThreadBandMs = 1.5;

// The rows of the present thread's next band, where a row of the last
// picture cost `rowMs` (0: none drawn yet), `rowsLeft` of the picture are
// still to draw and `roomMs` is left before the game's next wake: about
// presentThreadBandMs of rows, fewer to fit the room, never fewer than
// presentMinRows (or what is left).
int threadBandRows(double rowMs, int rowsLeft, double roomMs);

// Whether a step of the present thread's (a band or a swap), expected to take
// `stepMs`, may be begun at `nowMs`, when the game has presented a frame
// that ends at `frameEndMs`: it ends at least presentThreadGuardMs before the
// game wakes for its next frame, `wakeMarginMs` before that end. Once that
// time has passed, the thread waits for the game's next present, or for
// presentThreadLongestWaitMs at most.
constexpr double presentThreadGuardMs       = 0.5;
constexpr double presentThreadLongestWaitMs = 100.0;
bool threadStepFits(double nowMs, double stepMs, double frameEndMs, double wakeMarginMs);

// A picture that costs more than this to draw and swap is begun at most once
// a refresh of the display: more would never be seen, only torn, and drawing
// them takes the cores that the rest of the machine needs. The frame begun
// nearest each refresh is the one shown (or the next with room for it), so
// that the pictures are as evenly spaced as the frames allow: at 60 Hz and
// 100 frames a second, 20, 10, 20, 20, 10, 20 ms apart. Cheaper pictures, as
// on any graphics card, are shown every frame.
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
// running figures; and lets the peaks fall back over `elapsedMs` of frames.
void measureRows(PresentBudget* budget, int rows, double ms);
void measureSwap(PresentBudget* budget, double ms);
void decayCosts(PresentBudget* budget, double elapsedMs);

// Folds in a swap made at `madeMs` that returned at `backMs` (frame clock
// ms): its cost, and whether it waited for the display's refresh.
void noteSwap(PresentBudget* budget, double madeMs, double backMs);
// Whether the swaps are known to wait for the display's refresh; and the time
// from `nowMs` to the next refresh, when they are.
bool   swapsWaitForRefresh(const PresentBudget& budget);
double msToRefresh(const PresentBudget& budget, double nowMs);

// Whether a refresh of the display, at `refreshHz` (0: not known) on a grid
// through `gridMs`, lies nearer the frame begun at `startMs` than any other
// frame of `frameMs`.
bool frameNearestRefresh(double refreshHz, double gridMs, double startMs, double frameMs);
// Notes the frame begun at `startMs`; whether a new picture of `pictureRows`
// rows may be begun now; and that one was.
void noteFrame(PresentBudget* budget, double startMs, double frameMs);
// Whether a picture of `pictureRows` rows is measured to cost presentCostlyMs
// or more to draw and swap.
bool picturesCostly(const PresentBudget& budget, int pictureRows);
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
// due, the frames waited and how far the bands have got. A new size
// begins the picture again.
FramePresent planFramePresent(PresentBudget* budget, double frameMs, double nowMs, double endMs,
                              int width, int height, int pictureRows);
