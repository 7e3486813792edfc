// Sizing each frame's share of presenting from the measured cost of a row and a swap.
#include "host/present_budget.h"

#include <algorithm>
#include <cmath>

namespace {

// How fast the running figures follow a change (a new size, a busy machine).
constexpr double follow = 0.2;
// A sample counts for at most this many times the mean: one stall of the
// whole machine must not hold pictures back for seconds, while a lasting
// slowdown still raises the mean within a few samples.
constexpr double largestSample = 4.0;

// What a step is planned to cost: most samples fall below it.
double planned(const PresentCost& cost) { return cost.mean + presentSpreads * cost.spread; }

double refreshPeriodMs(const PresentBudget& budget)
{
    return 1000.0 / (budget.refresh.hz > 0.0 ? budget.refresh.hz : presentDefaultHz);
}

void measure(PresentCost* cost, double sample)
{
    if (cost->mean == 0.0) { // the first sample
        *cost = PresentCost{sample, sample / 2.0};
        return;
    }
    sample = std::min(sample, largestSample * cost->mean);
    cost->spread += follow * (std::fabs(sample - cost->mean) - cost->spread);
    cost->mean += follow * (sample - cost->mean);
}

} // namespace

PresentStep planPresentStep(const PresentBudget& budget, double slackMs, int rowsLeft,
                            double refreshInMs)
{
    const double room   = slackMs - presentReserveMs;
    const double perRow = planned(budget.row);
    const double rowsMs = rowsLeft * perRow;
    const bool   waits  = swapsWaitForRefresh(budget);
    if (waits && (rowsLeft == 0 || rowsMs < presentCostlyMs)) {
        // Drawn and swapped in a frame where the swap returns in time: it
        // waits for the first refresh at least a margin after the rows. Cheap
        // rows wait with it, so that the picture swapped is the latest.
        double back = refreshInMs;
        while (back < rowsMs + presentRefreshMarginMs)
            back += refreshPeriodMs(budget);
        if (back + presentRefreshMarginMs <= room || budget.framesWaited >= presentMaxWait)
            return PresentStep{rowsLeft, true};
        return PresentStep{0, false};
    }
    // Where swaps wait for the display, costly rows are drawn in bands and the
    // swap is left to a frame of its own.
    const double whole = rowsMs + (waits ? 0.0 : planned(budget.swap));
    if (whole <= room && !waits)
        return PresentStep{rowsLeft, true};
    int rows = rowsLeft;
    if (rowsMs > room)
        rows = perRow > 0.0 && room > 0.0 ? static_cast<int>(room / perRow) : 0;
    // What is left is shared evenly over the frames it needs, so that no
    // band runs close to its frame's end and none is a sliver.
    if (rows > 0) {
        const int frames = static_cast<int>(std::ceil(whole / room));
        if (frames > 1)
            rows = std::min(rows, (rowsLeft + frames - 1) / frames);
    }
    if (rows < rowsLeft && rows < presentMinRows)
        rows = 0;
    if (rows == 0 && (rowsLeft > 0 || budget.framesWaited < presentMaxWait)) {
        if (budget.framesWaited < presentMaxWait)
            return PresentStep{0, false};
        rows = rowsLeft < presentMinRows ? rowsLeft : presentMinRows;
    }
    // The swap waits for a frame of its own unless it was forced with no
    // rows left.
    return PresentStep{rows, rows == 0};
}

void measureRows(PresentBudget* budget, int rows, double ms)
{
    if (rows > 0)
        measure(&budget->row, ms / rows);
}

void measureSwap(PresentBudget* budget, double ms) { measure(&budget->swap, ms); }

void noteSwap(PresentBudget* budget, double madeMs, double backMs)
{
    measureSwap(budget, backMs - madeMs);
    if (backMs - madeMs < presentSwapWaitedMs)
        return;
    // A whole number of refreshes after the last swap that waited: on the
    // grid. Each such swap sets the grid anew, so that a display's rate a
    // little off the one it reports does not add up.
    RefreshGrid& grid   = budget->refresh;
    const double period = refreshPeriodMs(*budget);
    const double off    = std::fmod(backMs - grid.lastMs, period);
    const bool   onGrid = grid.onGrid > 0 && std::min(off, period - off) <= presentRefreshMarginMs;
    grid.onGrid         = onGrid ? std::min(grid.onGrid + 1, presentOnGridToTrust) : 1;
    grid.lastMs         = backMs;
}

bool swapsWaitForRefresh(const PresentBudget& budget)
{
    return budget.refresh.onGrid >=
           (budget.refresh.noWaitRefused ? presentOnGridToTrustRefused : presentOnGridToTrust);
}

double msToRefresh(const PresentBudget& budget, double nowMs)
{
    const double period = refreshPeriodMs(budget);
    const double since  = std::fmod(nowMs - budget.refresh.lastMs, period);
    return since < 0.0 ? -since : period - since;
}

void addPictureCredit(PresentBudget* budget, double refreshHz, double frameMs)
{
    // Up to a picture and a frame's share in hand, so that the share left
    // over when a picture begins counts towards the next.
    const double share    = (refreshHz > 0.0 ? refreshHz : presentDefaultHz) * frameMs / 1000.0;
    budget->pictureCredit = std::min(1.0 + share, budget->pictureCredit + share);
}

bool mayBeginPicture(const PresentBudget& budget, int pictureRows)
{
    return pictureRows * budget.row.mean + budget.swap.mean < presentCostlyMs ||
           budget.pictureCredit >= 1.0;
}

void pictureBegun(PresentBudget* budget)
{
    budget->pictureCredit = std::max(0.0, budget->pictureCredit - 1.0);
}

FramePresent planFramePresent(PresentBudget* budget, double frameMs, double nowMs, double endMs,
                              int width, int height, int pictureRows)
{
    PresentBands& bands = budget->bands;
    if (bands.active && (width != bands.width || height != bands.height))
        bands.active = false; // resized meanwhile: begin again
    addPictureCredit(budget, budget->refresh.hz, frameMs);
    const FramePresent nothing = {false, false, 0, 0, false};
    if (!bands.active && !mayBeginPicture(*budget, pictureRows))
        return nothing;
    const int         rowsLeft = bands.active ? pictureRows - bands.rowsDrawn : pictureRows;
    const PresentStep step =
        planPresentStep(*budget, endMs - nowMs, rowsLeft, msToRefresh(*budget, nowMs));
    if (step.rows == 0 && !step.swap) {
        ++budget->framesWaited;
        return nothing;
    }
    budget->framesWaited = 0;
    FramePresent present = {false, bands.active, bands.active ? bands.rowsDrawn : 0, step.rows,
                            step.swap};
    if (!bands.active) {
        pictureBegun(budget);
        if (!(step.rows == rowsLeft && step.swap)) {
            // Not all in this frame: the finished picture is kept for the bands.
            present.keep = present.fromCopy = true;
            bands                           = PresentBands{true, 0, width, height};
        }
    }
    if (bands.active)
        bands.rowsDrawn += step.rows;
    if (step.swap)
        bands.active = false;
    return present;
}
