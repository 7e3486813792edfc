// A high score file: read, and replaced without ever leaving a damaged file.
#pragma once
#include "storage/high_score_format.h" // noHighScore

#include <cstddef>
#include <cstdint>

// The most of a high score file that is read: the longest file ever written
// is under 50 bytes, and its numbers must end within this many.
constexpr std::size_t maxHighScoreFileBytes = 512;

// What a host may ask of the high score file for a run that must leave no
// trace (a watched recording): start from the recorded high score, save
// nothing. It also tells the host what this run saved.
struct HighScoreSwitch {
    bool    saves     = true;        // false: writeHighScoreFile writes nothing
    int32_t startFrom = noHighScore; // when set, readHighScoreFile returns it unread
    int32_t lastSaved = noHighScore; // the last high score written by this run
};
extern HighScoreSwitch highScoreSwitch;

// The high score the file holds, or 10000 when it is missing, unreadable,
// altered or not a regular file, or when its numbers do not end within
// maxHighScoreFileBytes.
int32_t readHighScoreFile(const char* fileName);

// The high score that a file's bytes hold, read as readHighScoreFile reads
// the file: only its first maxHighScoreFileBytes count. noHighScore when they
// hold none.
int32_t highScoreOfBytes(const unsigned char* data, std::size_t size);

// Removes the temporary file that a save cut short (a crash, a kill) leaves
// beside the file; the old file, or the new one, stays as it is.
void discardUnfinishedWrite(const char* fileName);

// Writes highScore with the check factor drawn for it, through a temporary
// file beside it. On any failure keeps the old file, says on standard error
// which file could not be saved and why, and returns false.
bool writeHighScoreFile(const char* fileName, int32_t highScore, int32_t drawnFactor);
