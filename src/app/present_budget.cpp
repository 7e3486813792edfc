// Sizing each frame's share of presenting from the measured cost of a row and a swap.
#include "app/present_budget.h"

namespace {

// How fast the running means follow a change (a new size, a busy machine).
constexpr double follow = 0.2;

double blend(double mean, double sample) { return mean + follow * (sample - mean); }

} // namespace

PresentStep planPresentStep(const PresentBudget& budget, double slackMs, int rowsLeft)
{
    const double room = (slackMs - presentReserveMs) / presentCostMargin;
    if (rowsLeft * budget.msPerRow + budget.swapMs <= room)
        return PresentStep{rowsLeft, true};
    int rows = rowsLeft;
    if (rowsLeft * budget.msPerRow > room)
        rows = budget.msPerRow > 0.0 && room > 0.0 ? static_cast<int>(room / budget.msPerRow) : 0;
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
        budget->msPerRow = blend(budget->msPerRow, ms / rows);
}

void measureSwap(PresentBudget* budget, double ms) { budget->swapMs = blend(budget->swapMs, ms); }
