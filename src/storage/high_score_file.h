// A high score file: read, and replaced without ever leaving a damaged file.
#pragma once
#include <cstddef>
#include <cstdint>

// The most of a high score file that is read: the longest file ever written
// is under 50 bytes, and its numbers must end within this many.
constexpr std::size_t maxHighScoreFileBytes = 512;

// The high score the file holds, or 10000 when it is missing, unreadable,
// altered or not a regular file, or when its numbers do not end within
// maxHighScoreFileBytes.
int32_t readHighScoreFile(const char* fileName);

// Removes the temporary file that a save cut short (a crash, a kill) leaves
// beside the file; the old file, or the new one, stays as it is.
void discardUnfinishedWrite(const char* fileName);

// Writes highScore with the check factor drawn for it, through a temporary
// file beside it; on any failure keeps the old file and returns false.
bool writeHighScoreFile(const char* fileName, int32_t highScore, int32_t drawnFactor);
