// A high score file: read, and replaced without ever leaving a damaged file.
#pragma once
#include <cstdint>

// The high score the file holds, or 10000 when it is missing, unreadable or altered.
int32_t readHighScoreFile(const char* fileName);

// Writes highScore with the check factor drawn for it, through a temporary
// file beside it; on any failure keeps the old file and returns false.
bool writeHighScoreFile(const char* fileName, int32_t highScore, int32_t drawnFactor);
