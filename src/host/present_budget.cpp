// Sizing each frame's share of presenting from the measured cost of a row and a swap.
#include "host/present_budget.h"

#include <algorithm>
#include <cmath>

namespace {

// How fast the rate follows a change (a new size, a busy machine): samples
// below it at once, as the first picture's set-up is soon gone; samples
// above it slowly.
constexpr double followDown = 0.5;
constexpr double followUp   = 0.2;

// What `units` of a step are planned to cost.
double planned(const PresentCost& cost, int units) { return units * cost.rate + cost.excess; }

double refreshPeriodMs(const PresentBudget& budget)
{
    return 1000.0 / (budget.refresh.hz > 0.0 ? budget.refresh.hz : presentDefaultHz);
}

void measure(PresentCost* cost, int units, double ms)
{
    const double sample = ms / units;
    if (cost->rate == 0.0) {
        cost->rate = sample;
        return;
    }
    const double capped = std::min(sample, 2.0 * cost->rate);
    cost->rate += (sample < cost->rate ? followDown : followUp) * (capped - cost->rate);
    cost->excess = std::max(cost->excess, ms - units * cost->rate);
}

void decay(PresentCost* cost, double elapsedMs)
{
    cost->excess *= std::exp2(-elapsedMs / presentPeakHalfLifeMs);
}

} // namespace

PresentStep planPresentStep(const PresentBudget& budget, double slackMs, int rowsLeft,
                            double refreshInMs)
{
    const double room   = slackMs - presentReserveMs;
    const double rowsMs = rowsLeft > 0 ? planned(budget.row, rowsLeft) : 0.0;
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
    const double whole = rowsMs + (waits ? 0.0 : planned(budget.swap, 1));
    if (whole <= room && !waits)
        return PresentStep{rowsLeft, true};
    int rows = rowsLeft;
    if (rowsMs > room)
        rows = budget.row.rate > 0.0 && room > budget.row.excess
                   ? static_cast<int>((room - budget.row.excess) / budget.row.rate)
                   : 0;
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

int threadBandRows(double rowMs, int rowsLeft, double roomMs)
{
    const int left = std::max(rowsLeft, 1);
    int       band = presentMinRows;
    if (rowMs > 0.0) // bounded before it becomes an int: a row may cost next to nothing
        band = static_cast<int>(
            std::min(std::min(presentThreadBandMs, roomMs) / rowMs, static_cast<double>(left)));
    return std::min(std::max(band, presentMinRows), left);
}

bool threadStepFits(double nowMs, double stepMs, double frameEndMs, double wakeMarginMs)
{
    return nowMs + stepMs + presentThreadGuardMs <= frameEndMs - wakeMarginMs;
}

void measureRows(PresentBudget* budget, int rows, double ms)
{
    if (rows > 0)
        measure(&budget->row, rows, ms);
}

void measureSwap(PresentBudget* budget, double ms) { measure(&budget->swap, 1, ms); }

void decayCosts(PresentBudget* budget, double elapsedMs)
{
    decay(&budget->row, elapsedMs);
    decay(&budget->swap, elapsedMs);
}

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

bool frameNearestRefresh(double refreshHz, double gridMs, double startMs, double frameMs)
{
    // A refresh within half a frame of the frame's start.
    const double period = 1000.0 / (refreshHz > 0.0 ? refreshHz : presentDefaultHz);
    const double from   = std::floor((startMs - frameMs / 2.0 - gridMs) / period);
    const double to     = std::floor((startMs + frameMs / 2.0 - gridMs) / period);
    return to > from;
}

void noteFrame(PresentBudget* budget, double startMs, double frameMs)
{
    // A picture not begun for want of room stays due: the next frame with
    // room shows it. The grid is the swaps' only where they are known to wait
    // for the display; a swap that merely took long says nothing of it.
    const double grid = swapsWaitForRefresh(*budget) ? budget->refresh.lastMs : 0.0;
    if (frameNearestRefresh(budget->refresh.hz, grid, startMs, frameMs))
        budget->pictureDue = true;
}

bool picturesCostly(const PresentBudget& budget, int pictureRows)
{
    return pictureRows * budget.row.rate + budget.swap.rate >= presentCostlyMs;
}

bool mayBeginPicture(const PresentBudget& budget, int pictureRows)
{
    return !picturesCostly(budget, pictureRows) || budget.pictureDue;
}

void pictureBegun(PresentBudget* budget) { budget->pictureDue = false; }

FramePresent planFramePresent(PresentBudget* budget, double frameMs, double nowMs, double endMs,
                              int width, int height, int pictureRows)
{
    PresentBands& bands = budget->bands;
    if (bands.active && (width != bands.width || height != bands.height))
        bands.active = false; // resized meanwhile: begin again
    decayCosts(budget, frameMs);
    noteFrame(budget, endMs - frameMs, frameMs);
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
