// The game's high score file "HighScore.dat" in the working directory: read
// once at start, written on quit.
#pragma once
#include <cstdint>

int32_t loadHighScore(); // the saved high score, or 10000
void    saveHighScore(); // writes highScore; keeps the old file if anything fails
