// The game's one random generator: a 32-bit linear congruential generator.
#pragma once
#include <cstdint>

void     seedRandom(uint32_t seed);
int32_t  randomDraw();  // 0..32767: bits 16 to 30 of the next state
uint32_t randomState(); // the current 32-bit state
