// The game's one random generator.
#include "game/random.h"

namespace {
uint32_t state = 0;
}

void seedRandom(uint32_t seed) { state = seed; }

int32_t randomDraw()
{
    state = state * 214013u + 2531011u;
    return static_cast<int32_t>((state >> 16) & 0x7FFFu);
}

uint32_t randomState() { return state; }
