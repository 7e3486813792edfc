// The wave-clear tally, the wave transition and the difficulty step.
#pragma once
#include <cstdint>

int32_t hitPercentage(); // hits / shotsFired x 100 in double, truncated
int32_t bonusFor(int32_t percentage);
void    waveTally();
void    raiseDifficulty();
