// Sizing each frame's share of presenting from the measured cost of a row and a swap.
#include "app/present_budget.h"

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

PresentStep planPresentStep(const PresentBudget& budget, double slackMs, int rowsLeft)
{
    const double room   = slackMs - presentReserveMs;
    const double perRow = planned(budget.row);
    const double whole  = rowsLeft * perRow + planned(budget.swap);
    if (whole <= room)
        return PresentStep{rowsLeft, true};
    int rows = rowsLeft;
    if (rowsLeft * perRow > room)
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

void addPictureCredit(PresentBudget* budget, double refreshHz, double frameMs)
{
    // Up to a picture and a frame's share in hand, so that the share left
    // over when a picture begins counts towards the next.
    const double share    = (refreshHz > 0.0 ? refreshHz : presentDefaultHz) * frameMs / 1000.0;
    budget->pictureCredit = std::min(1.0 + share, budget->pictureCredit + share);
}

bool mayBeginPicture(const PresentBudget& budget, int pictureRows)
{
    return pictureRows * budget.row.mean + budget.swap.mean < presentDearMs ||
           budget.pictureCredit >= 1.0;
}

void pictureBegun(PresentBudget* budget)
{
    budget->pictureCredit = std::max(0.0, budget->pictureCredit - 1.0);
}
